# Writes a C++ table holding every file of RESOURCE_DIR under its file name,
# so native builds find the packed resources as the Windows program does.
file(GLOB files RELATIVE ${RESOURCE_DIR} ${RESOURCE_DIR}/*)
list(SORT files)
set(body "")
set(entries "")
set(index 0)
foreach(name IN LISTS files)
  file(READ ${RESOURCE_DIR}/${name} hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND body "const std::uint8_t kResource${index}[] = {${bytes}};\n")
  string(APPEND entries "    {\"${name}\", kResource${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT} "// Made by embed_packed_resources.cmake; do not edit.
#include <cstring>

#include \"engine/packed_resources.h\"

namespace velmora::engine {
namespace {
${body}
struct Entry {
    const char* name;
    const std::uint8_t* data;
    std::size_t size;
};
const Entry kEntries[] = {
${entries}    {nullptr, nullptr, 0},
};
}  // namespace

bool FindPackedResource(const char* name, const std::uint8_t*& data, std::size_t& size) {
    for (const Entry* e = kEntries; e->name != nullptr; ++e) {
        if (std::strcmp(e->name, name) == 0) {
            data = e->data;
            size = e->size;
            return true;
        }
    }
    return false;
}

}  // namespace velmora::engine
")
