# Writes a C++ source that holds files as byte arrays, each under the name the viewer serves it by
# (see webfiles.h). Run at build time:
#   cmake -DMANIFEST=files.txt -DOUTPUT=webfiles.cpp -P embed.cmake
# The manifest holds one NAME=PATH a line. Byte arrays, not string literals: no content can end them.
file(STRINGS "${MANIFEST}" entries)
set(arrays "")
set(table "")
set(count 0)
foreach(entry IN LISTS entries)
  string(FIND "${entry}" "=" at)
  string(SUBSTRING "${entry}" 0 ${at} name)
  math(EXPR from "${at} + 1")
  string(SUBSTRING "${entry}" ${from} -1 path)
  file(READ "${path}" hex HEX)
  # Sixteen bytes a line.
  string(REGEX REPLACE "([0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])" "\\1 " hex "${hex}")
  string(REGEX REPLACE "([^ ]+ [^ ]+ [^ ]+ [^ ]+ )" "\\1\n" hex "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REPLACE " " "" bytes "${bytes}")
  # A NUL after the content, so that no array is empty; it is not counted.
  string(APPEND arrays "const unsigned char file${count}[] = {\n${bytes}0};\n")
  string(APPEND table "    {\"${name}\", file${count}, sizeof file${count} - 1},\n")
  math(EXPR count "${count} + 1")
endforeach()
file(WRITE "${OUTPUT}.new" "// Written by embed.cmake from the files of the web page; not to be edited.
#include \"webfiles.h\"

namespace {

${arrays}
}  // namespace

namespace view {

const EmbeddedFile embeddedFiles[] = {
${table}};
const size_t embeddedFileCount = ${count};

}  // namespace view
")
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
