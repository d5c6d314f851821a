#include <windows.h>

#include "base/directory_listing.h"
#include "base/utf8.h"
#include "base/win32/wide_text.h"

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
        const std::wstring pattern = WideFromUtf8(folder + "*");
        WIN32_FIND_DATAW data{};
        const FindHandle find(FindFirstFileW(pattern.c_str(), &data));
        if (!find.IsValid()) {
            return false;
        }
        do {
            // A name holding an unpaired surrogate has no UTF-8 form that
            // opens it again: it is left out, the rest of the folder stays.
            const std::wstring_view wide(data.cFileName);
            if (!IsValidUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()),
                                                  wide.size()))) {
                continue;
            }
            entries.push_back(
                {Utf8FromWide(wide), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
        } while (FindNextFileW(find.Get(), &data));
        return true;
    }
};

}  // namespace

DirectoryLister& SystemDirectoryLister() {
    static Win32DirectoryLister lister;
    return lister;
}

}  // namespace velmora
