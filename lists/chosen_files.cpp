#include "lists/chosen_files.h"

#include <cstring>
#include <optional>

namespace velmora::lists {

namespace {

// The NUL-terminated text at offset, when its terminator lies in the buffer.
std::optional<std::string_view> TextAt(const char* buffer, std::size_t size, std::size_t offset) {
    if (offset >= size) {
        return std::nullopt;
    }
    const void* end = std::memchr(buffer + offset, '\0', size - offset);
    if (end == nullptr) {
        return std::nullopt;
    }
    return std::string_view(buffer + offset, static_cast<const char*>(end) - (buffer + offset));
}

}  // namespace

std::string PathInFolder(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (folder.size() <= 1 || folder.back() != '\\') {
        path.push_back('\\');
    }
    path.append(name);
    return path;
}

std::vector<std::string> ChosenFiles(const char* buffer, std::size_t size, std::size_t fileOffset) {
    std::vector<std::string> paths;
    const std::optional<std::string_view> first = TextAt(buffer, size, 0);
    if (!first || first->empty()) {
        return paths;
    }
    if (fileOffset == 0 || fileOffset > size || buffer[fileOffset - 1] != '\0') {
        paths.emplace_back(*first);
        return paths;
    }
    for (std::size_t offset = first->size() + 1;;) {
        const std::optional<std::string_view> name = TextAt(buffer, size, offset);
        if (!name || name->empty()) {
            return paths;
        }
        paths.push_back(PathInFolder(*first, *name));
        offset += name->size() + 1;
    }
}

}  // namespace velmora::lists
