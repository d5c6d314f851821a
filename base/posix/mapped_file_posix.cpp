#include <errno.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "base/mapped_file.h"

namespace velmora {

namespace {

MappedFile::Error ErrorFromErrno(int error) {
    switch (error) {
        case ENOTDIR:
            return MappedFile::Error::PathNotFound;
        case EACCES:
        case EPERM:
            return MappedFile::Error::AccessDenied;
        default:
            return MappedFile::Error::OpenFailed;
    }
}

// A missing file in an existing folder is OpenFailed; a missing folder is
// PathNotFound, as on Windows.
MappedFile::Error MissingFileError(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return MappedFile::Error::PathNotFound;
    }
    return MappedFile::Error::OpenFailed;
}

}  // namespace

MappedFile::Error MappedFile::Open(const std::string& path) {
    Close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return error == ENOENT ? MissingFileError(path) : ErrorFromErrno(error);
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return Error::OpenFailed;
    }
    descriptor_ = fd;
    size_ = static_cast<std::size_t>(info.st_size);
    if (size_ == 0) {
        return Error::None;
    }
    void* view = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
    if (view == MAP_FAILED) {
        Close();
        return Error::MapFailed;
    }
    madvise(view, size_, MADV_SEQUENTIAL);
    data_ = static_cast<const std::uint8_t*>(view);
    return Error::None;
}

void MappedFile::ReleaseBefore(std::size_t offset) {
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t end = std::min(offset, size_) / page * page;
    if (data_ == nullptr || end <= released_) {
        return;
    }
    madvise(const_cast<std::uint8_t*>(data_) + released_, end - released_, MADV_DONTNEED);
    released_ = end;
}

void MappedFile::ReleaseRange(std::size_t begin, std::size_t end) {
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    // Only a hint: a page shared with bytes before begin may go too, and is
    // read in again if they are.
    const std::size_t first = begin / page * page;
    const std::size_t last = std::min(end, size_) / page * page;
    if (data_ != nullptr && last > first) {
        madvise(const_cast<std::uint8_t*>(data_) + first, last - first, MADV_DONTNEED);
    }
}

void MappedFile::Close() {
    if (data_ != nullptr) {
        munmap(const_cast<std::uint8_t*>(data_), size_);
        data_ = nullptr;
    }
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
    size_ = 0;
    released_ = 0;
}

}  // namespace velmora
