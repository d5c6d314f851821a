#include "diag/win32/clipboard.h"

#include <windows.h>

#include <cstring>

namespace velmora::diag {

Status CopyTextToClipboard(const std::string& text) {
    if (!OpenClipboard(nullptr)) {
        return E_FAIL;
    }
    if (!EmptyClipboard()) {
        CloseClipboard();
        return E_FAIL;
    }
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1);
    void* bytes = block != nullptr ? GlobalLock(block) : nullptr;
    if (bytes == nullptr) {
        if (block != nullptr) {
            GlobalFree(block);
        }
        CloseClipboard();
        return E_OUTOFMEMORY;
    }
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    const bool handedOver = SetClipboardData(CF_TEXT, block) != nullptr;
    if (!handedOver) {
        // Still ours when the clipboard did not take it.
        GlobalFree(block);
    }
    CloseClipboard();
    return handedOver ? S_OK : E_FAIL;
}

}  // namespace velmora::diag
