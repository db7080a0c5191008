# Writes a C++ source holding a file's bytes as an array:
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DNAME=kName -P embed_file.cmake
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" length)
math(EXPR size "${length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT} "// Generated from ${INPUT}: do not edit.\n#include <cstddef>\n\nnamespace ovlet::resources {\n\nextern const unsigned char ${NAME}[];\nextern const std::size_t ${NAME}Size;\nconst unsigned char ${NAME}[] = {\n${bytes}\n};\nconst std::size_t ${NAME}Size = ${size};\n\n}  // namespace ovlet::resources\n")
