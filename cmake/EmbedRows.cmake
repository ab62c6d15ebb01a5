# Turns a tab-separated data file into a C++ source holding one string literal per line,
# so the reference rows travel inside the program and need no file beside it.
#   cmake -DINPUT=rows.tsv -DOUTPUT=rows.cpp -DSYMBOL=kRows -P EmbedRows.cmake
file(STRINGS "${INPUT}" lines ENCODING UTF-8)
set(body "")
set(count 0)
foreach(line IN LISTS lines)
    if(line STREQUAL "")
        continue()
    endif()
    string(REPLACE "\\" "\\\\" line "${line}")
    string(REPLACE "\"" "\\\"" line "${line}")
    string(REPLACE "\t" "\\t" line "${line}")
    string(APPEND body "    \"${line}\",\n")
    math(EXPR count "${count} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT}; do not edit.\n#include <cstddef>\n\nnamespace mlk {\nextern const char* const ${SYMBOL}[];\nextern const std::size_t ${SYMBOL}Count;\nconst char* const ${SYMBOL}[] = {\n${body}};\nconst std::size_t ${SYMBOL}Count = ${count};\n}  // namespace mlk\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
