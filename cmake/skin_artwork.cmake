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

# The program's logo is one SVG: rendered at every icon size, it is the
# caption logo (16), the tray's pixmaps (compiled in as icon_<n>) and the
# desktop's application icon (an icon theme tree beside the executable, which
# is installed as it is). One rsvg-convert call per size: each size is drawn
# from the vector shapes, never scaled from another size.
set(LOGO_SVG ${CMAKE_SOURCE_DIR}/assets/icons/olvo-reminder.svg)
set(ICON_THEME_DIR ${CMAKE_BINARY_DIR}/bin/icons/hicolor)
foreach(size 16 22 24 32 48 64 128 256)
  set(png ${SKIN_PNG_DIR}/icon_${size}.png)
  set(themeDir ${ICON_THEME_DIR}/${size}x${size}/apps)
  set(outputs ${png} ${themeDir}/olvo-reminder.png)
  set(copyLogo)
  if(size EQUAL 16)
    list(APPEND outputs ${SKIN_PNG_DIR}/logo.png)
    set(copyLogo COMMAND ${CMAKE_COMMAND} -E copy ${png} ${SKIN_PNG_DIR}/logo.png)
    list(APPEND SKIN_PNG_FILES ${SKIN_PNG_DIR}/logo.png)
  endif()
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${SKIN_PNG_DIR} ${themeDir}
    COMMAND ${RSVG_CONVERT} --format=png -w ${size} -h ${size} --output=${png} ${LOGO_SVG}
    COMMAND ${CMAKE_COMMAND} -E copy ${png} ${themeDir}/olvo-reminder.png
    ${copyLogo}
    DEPENDS ${LOGO_SVG}
    COMMENT "Rendering the program icon at ${size} pixels"
    VERBATIM)
  list(APPEND SKIN_PNG_FILES ${png})
endforeach()
set(scalableIcon ${ICON_THEME_DIR}/scalable/apps/olvo-reminder.svg)
add_custom_command(OUTPUT ${scalableIcon}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ICON_THEME_DIR}/scalable/apps
  COMMAND ${CMAKE_COMMAND} -E copy ${LOGO_SVG} ${scalableIcon}
  DEPENDS ${LOGO_SVG}
  VERBATIM)

# The list travels to the script with '|' between names: a ';' inside a
# custom command argument would split it.
string(REPLACE ";" "|" skinPngArg "${SKIN_PNG_FILES}")
set(SKIN_ARTWORK_CPP ${CMAKE_BINARY_DIR}/generated/skin_artwork_table.cpp)
add_custom_command(OUTPUT ${SKIN_ARTWORK_CPP}
  COMMAND ${CMAKE_COMMAND} -DINPUTS=${skinPngArg} -DOUTPUT=${SKIN_ARTWORK_CPP}
          -P ${CMAKE_SOURCE_DIR}/cmake/embed_skin.cmake
  DEPENDS ${SKIN_PNG_FILES} ${scalableIcon} ${CMAKE_SOURCE_DIR}/cmake/embed_skin.cmake
  COMMENT "Compiling in the skin artwork"
  VERBATIM)
target_sources(olvo_skin PRIVATE ${SKIN_ARTWORK_CPP})
install(DIRECTORY ${ICON_THEME_DIR} DESTINATION share/icons)
