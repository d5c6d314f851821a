#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

#include "base/directory_listing.h"

namespace velmora {

namespace {

class Directory {
public:
    explicit Directory(const std::string& path) : handle_(opendir(path.c_str())) {}
    Directory(const Directory&) = delete;
    Directory& operator=(const Directory&) = delete;
    ~Directory() {
        if (handle_ != nullptr) {
            closedir(handle_);
        }
    }
    DIR* Get() const { return handle_; }

private:
    DIR* handle_;
};

// Links and file systems without types in their entries need a stat; a link
// to a folder counts as a folder, as a junction does on Windows.
bool IsDirectory(const std::string& folder, const dirent& entry) {
    if (entry.d_type == DT_DIR) {
        return true;
    }
    if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) {
        return false;
    }
    struct stat info {};
    return stat((folder + entry.d_name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

class PosixDirectoryLister final : public DirectoryLister {
public:
    bool List(const std::string& folder, std::vector<DirectoryEntry>& entries) override {
        entries.clear();
        std::string path = folder;
        std::replace(path.begin(), path.end(), '\\', '/');
        if (path.empty()) {
            return false;
        }
        if (path.back() != '/') {
            path += '/';
        }
        const Directory directory(path);
        if (directory.Get() == nullptr) {
            return false;
        }
        while (const dirent* entry = readdir(directory.Get())) {
            entries.push_back({entry->d_name, IsDirectory(path, *entry)});
        }
        return true;
    }
};

}  // namespace

DirectoryLister& SystemDirectoryLister() {
    static PosixDirectoryLister lister;
    return lister;
}

}  // namespace velmora
