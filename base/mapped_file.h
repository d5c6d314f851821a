// A whole file mapped read-only into memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmora {

class MappedFile {
public:
    enum class Error {
        None,
        PathNotFound,  // a folder on the way does not exist
        AccessDenied,  // no permission, or the file is locked by another
        OpenFailed,    // missing file or any other reason
        MapFailed,
    };

    MappedFile() = default;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile() { Close(); }

    // Opens and maps the file (a UTF-8 path; read access, others may read,
    // sequential).
    Error Open(const std::string& path);
    void Close();

    // Tells the system that the bytes before offset will not be read again
    // soon, so their pages need not stay in memory; reading them again still
    // works. Keeps a long sequential read from holding the whole file.
    void ReleaseBefore(std::size_t offset);
    // The same for the bytes in [begin, end), for a read that moves through
    // several parts of the file at once.
    void ReleaseRange(std::size_t begin, std::size_t end);

    const std::uint8_t* Data() const { return data_; }
    std::size_t Size() const { return size_; }

private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t released_ = 0;
    [[maybe_unused]] void* fileHandle_ = nullptr;  // Windows only
    [[maybe_unused]] void* mappingHandle_ = nullptr;
    [[maybe_unused]] int descriptor_ = -1;  // POSIX only
};

}  // namespace velmora
