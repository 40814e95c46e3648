# Renders the skin artwork (assets/skin/*.svg) to PNG at build time and
# compiles the PNG bytes into olvo_skin, so the program carries its skin
# without any image files beside it. Each image keeps its SVG's own pixel
# size: the strips are cut into frames and pieces by exact pixel positions.
find_program(RSVG_CONVERT rsvg-convert)
if(NOT RSVG_CONVERT)
  message(FATAL_ERROR
    "rsvg-convert not found. The skin artwork is rendered from SVG at build time: "
    "install librsvg2-bin (scripts/setup.sh installs every package the build needs).")
endif()

file(GLOB SKIN_SVG_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/skin/*.svg)
if(NOT SKIN_SVG_FILES)
  message(FATAL_ERROR "No skin artwork found in ${CMAKE_SOURCE_DIR}/assets/skin")
endif()
set(SKIN_PNG_DIR ${CMAKE_BINARY_DIR}/generated/skin)
set(SKIN_PNG_FILES)
foreach(svg IN LISTS SKIN_SVG_FILES)
  get_filename_component(stem ${svg} NAME_WE)
  set(png ${SKIN_PNG_DIR}/${stem}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${SKIN_PNG_DIR}
    COMMAND ${RSVG_CONVERT} --format=png --output=${png} ${svg}
    DEPENDS ${svg}
    COMMENT "Rendering skin image ${stem}"
    VERBATIM)
  list(APPEND SKIN_PNG_FILES ${png})
endforeach()

# The list travels to the script with '|' between names: a ';' inside a
# custom command argument would split it.
string(REPLACE ";" "|" skinPngArg "${SKIN_PNG_FILES}")
set(SKIN_ARTWORK_CPP ${CMAKE_BINARY_DIR}/generated/skin_artwork_table.cpp)
add_custom_command(OUTPUT ${SKIN_ARTWORK_CPP}
  COMMAND ${CMAKE_COMMAND} -DINPUTS=${skinPngArg} -DOUTPUT=${SKIN_ARTWORK_CPP}
          -P ${CMAKE_SOURCE_DIR}/cmake/embed_skin.cmake
  DEPENDS ${SKIN_PNG_FILES} ${CMAKE_SOURCE_DIR}/cmake/embed_skin.cmake
  COMMENT "Compiling in the skin artwork"
  VERBATIM)
target_sources(olvo_skin PRIVATE ${SKIN_ARTWORK_CPP})
