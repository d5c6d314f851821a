#include <windows.h>

#include "base/encoded_text.h"
#include "base/win32/library_entry.h"
#include "base/win32/wide_text.h"
#include "scene/special_folders.h"

namespace velmora::scene {

namespace {

constexpr auto kShellFolderLibrary = EncodeText("SHFolder.dll");
constexpr auto kGetFolderPathEntry = EncodeText("SHGetFolderPathW");

using GetFolderPathFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);

constexpr DWORD kCurrentFolderPath = 0;  // SHGFP_TYPE_CURRENT

// Frees the library on every way out of a lookup.
class Library {
public:
    explicit Library(const std::string& name) : module_(LoadLibraryA(name.c_str())) {}
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    ~Library() {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }
    HMODULE Get() const { return module_; }

private:
    HMODULE module_;
};

// Looked up at run time: older systems may lack the library.
class ShellFolderLocator final : public FolderLocator {
public:
    bool Locate(SpecialFolder folder, std::string& path) override {
        path.clear();
        const Library library(DecodeText(kShellFolderLibrary));
        if (library.Get() == nullptr) {
            return false;
        }
        const auto getFolderPath = FindLibraryEntry<GetFolderPathFunction>(
            library.Get(), DecodeText(kGetFolderPathEntry).c_str());
        if (getFolderPath == nullptr) {
            return false;
        }
        wchar_t buffer[MAX_PATH] = {};
        if (FAILED(getFolderPath(nullptr, static_cast<int>(folder), nullptr, kCurrentFolderPath,
                                 buffer))) {
            return false;
        }
        buffer[MAX_PATH - 1] = L'\0';
        path = Utf8FromWide(buffer);
        return !path.empty();
    }
};

}  // namespace

FolderLocator& SystemFolderLocator() {
    static ShellFolderLocator locator;
    return locator;
}

}  // namespace velmora::scene
