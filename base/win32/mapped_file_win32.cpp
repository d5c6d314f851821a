#include <windows.h>

#include <algorithm>

#include "base/mapped_file.h"
#include "base/win32/wide_text.h"

namespace velmora {

MappedFile::Error MappedFile::Open(const std::string& path) {
    Close();
    HANDLE file = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        switch (GetLastError()) {
            case ERROR_PATH_NOT_FOUND:
                return Error::PathNotFound;
            case ERROR_ACCESS_DENIED:
            case ERROR_SHARING_VIOLATION:
                return Error::AccessDenied;
            default:
                return Error::OpenFailed;
        }
    }
    fileHandle_ = file;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 0) {
        Close();
        return Error::MapFailed;
    }
    size_ = static_cast<std::size_t>(size.QuadPart);
    if (size_ == 0) {
        return Error::None;  // an empty file cannot be mapped, and needs no mapping
    }
    HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping == nullptr) {
        Close();
        return Error::MapFailed;
    }
    mappingHandle_ = mapping;
    data_ = static_cast<const std::uint8_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    if (data_ == nullptr) {
        Close();
        return Error::MapFailed;
    }
    return Error::None;
}

// The working-set manager trims unused pages of a read-only view by itself.
void MappedFile::ReleaseBefore(std::size_t offset) {
    released_ = std::min(offset, size_);
}

void MappedFile::ReleaseRange(std::size_t, std::size_t) {}

void MappedFile::Close() {
    if (data_ != nullptr) {
        UnmapViewOfFile(data_);
        data_ = nullptr;
    }
    if (mappingHandle_ != nullptr) {
        CloseHandle(mappingHandle_);
        mappingHandle_ = nullptr;
    }
    if (fileHandle_ != nullptr) {
        CloseHandle(fileHandle_);
        fileHandle_ = nullptr;
    }
    size_ = 0;
    released_ = 0;
}

}  // namespace velmora
