# Turns the rendered skin PNGs into one C++ source: each image's bytes as a
# string literal and a table of (name, bytes) sorted by name, the name being
# the file stem. Called as:
#   cmake -DINPUTS=<png>|<png>|... -DOUTPUT=<cpp> -P embed_skin.cmake
# The table is constant-initialised (string_view over literals), so it can
# be read even while other static objects are being built.
string(REPLACE "|" ";" inputs "${INPUTS}")
list(SORT inputs)
set(literals "")
set(rows "")
set(index 0)
foreach(png IN LISTS inputs)
  get_filename_component(stem "${png}" NAME_WE)
  if(NOT stem MATCHES "^[a-z0-9_]+$")
    message(FATAL_ERROR "skin image name '${stem}' must be lower case letters, digits and '_'")
  endif()
  file(READ "${png}" content HEX)
  string(LENGTH "${content}" hexLength)
  math(EXPR size "${hexLength} / 2")
  if(size EQUAL 0)
    message(FATAL_ERROR "skin image ${png} is empty")
  endif()
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${content}")
  # 24 bytes a line keeps the generated source readable in an editor.
  string(REPEAT "\\\\x.." 24 lineBytes)
  string(REGEX REPLACE "(${lineBytes})" "\\1\"\n    \"" escaped "${escaped}")
  string(APPEND literals "constexpr char Image${index}[] =\n    \"${escaped}\";\n")
  string(APPEND rows "    {\"${stem}\", std::string_view(Image${index}, ${size})},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp"
"// Generated from assets/skin and assets/icons by embed_skin.cmake; do not edit.\n"
"#include <cstddef>\n#include <string_view>\n#include <utility>\n\n"
"namespace {\n${literals}}  // namespace\n\n"
"extern const std::pair<std::string_view, std::string_view> SkinArtworkTable[] = {\n${rows}};\n"
"extern const std::size_t SkinArtworkTableSize = ${index};\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
