# Writes the bytes of INPUT as a C++ array so the text travels inside the executable.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR byteCount "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," body "${hex}")
string(REGEX REPLACE "(([^,]*,){32})" "\\1\n" body "${body}")
file(WRITE "${OUTPUT}"
"// Generated from ${INPUT}; do not edit.\n#include <string_view>\n"
"namespace {\nconst char kBytes[] = {\n${body}'\\0'};\n}\n"
"extern const std::string_view ${SYMBOL}(kBytes, ${byteCount});\n")
