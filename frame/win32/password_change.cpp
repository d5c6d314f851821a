#include "frame/win32/password_change.h"

#include <string>

#include "base/win32/library_entry.h"
#include "frame/frame_texts.h"

namespace velmora {

namespace {

using ChangePasswordEntry = DWORD(WINAPI*)(LPCSTR provider, HWND parent, DWORD, LPVOID);

}  // namespace

void ChangeScreenSaverPassword(HWND parent) {
    const std::string libraryName = DecodeText(texts::kPasswordChangeLibrary);
    HMODULE library = LoadLibraryA(libraryName.c_str());
    if (library == nullptr) {
        return;
    }
    const std::string entryName = DecodeText(texts::kPasswordChangeEntry);
    const auto entry = FindLibraryEntry<ChangePasswordEntry>(library, entryName.c_str());
    if (entry != nullptr) {
        const std::string provider = DecodeText(texts::kPasswordProvider);
        entry(provider.c_str(), parent, 0, nullptr);
    }
    FreeLibrary(library);
}

}  // namespace velmora
