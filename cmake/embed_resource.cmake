# Turns a file into a C++ source holding its bytes, so the program carries
# it as a built-in resource. Called as:
#   cmake -DINPUT=<file> -DOUTPUT=<cpp> -DSYMBOL=<name> -P embed_resource.cmake
# The source defines <name>ResourceData (bytes) and <name>ResourceSize.
file(READ "${INPUT}" content HEX)
string(LENGTH "${content}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${content}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT}; do not edit.\n#include <cstddef>\n\n"
"extern const unsigned char ${SYMBOL}ResourceData[] = {\n${bytes}0x00};\n"
"extern const std::size_t ${SYMBOL}ResourceSize = ${size};\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
