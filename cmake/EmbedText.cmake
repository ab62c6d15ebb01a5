# Turns a text file into a C++ source holding its bytes as a character array (no string literal,
# whose length some compilers limit), so a document travels inside the program.
#   cmake -DINPUT=guide.md -DOUTPUT=guide.cpp -DSYMBOL=kGuide -P EmbedText.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
# Sixteen bytes a line (the regular expressions of CMake count no repetitions).
string(REPEAT "'[^']*'," 16 sixteen)
string(REGEX REPLACE "(${sixteen})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT}; do not edit.\n#include <cstddef>\n\nnamespace mlk {\nextern const char ${SYMBOL}[];\nextern const std::size_t ${SYMBOL}Size;\nconst char ${SYMBOL}[] = {\n    ${bytes}'\\0'};\nconst std::size_t ${SYMBOL}Size = ${size};\n}  // namespace mlk\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
