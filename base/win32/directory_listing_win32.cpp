#include <windows.h>

#include "base/directory_listing.h"

namespace velmora {

namespace {

// Closes the search on every way out of the listing.
class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    ~FindHandle() {
        if (IsValid()) {
            FindClose(handle_);
        }
    }
    bool IsValid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

class Win32DirectoryLister final : public DirectoryLister {
public:
    bool List(const std::string& folder, std::vector<DirectoryEntry>& entries) override {
        entries.clear();
        const std::string pattern = folder + "*";
        WIN32_FIND_DATAA data{};
        const FindHandle find(FindFirstFileA(pattern.c_str(), &data));
        if (!find.IsValid()) {
            return false;
        }
        do {
            entries.push_back(
                {data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
        } while (FindNextFileA(find.Get(), &data));
        return true;
    }
};

}  // namespace

DirectoryLister& SystemDirectoryLister() {
    static Win32DirectoryLister lister;
    return lister;
}

}  // namespace velmora
