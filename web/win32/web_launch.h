// Opening the maker's web pages in the user's browser and the support e-mail
// in the user's mail program.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace velmora::web {

enum class BrowserWait { No, UntilClosed };

// Asks the shell to open the address; when it cannot, the browser's own
// command (OpenInBrowser without waiting). True when either started.
bool OpenDocument(const std::string& address);

// Starts the browser registered for http with the address; with UntilClosed,
// waits for it to end. When it cannot be started, shows "Error Opening Web
// Browser" naming the address and returns false.
bool OpenInBrowser(const std::string& address, BrowserWait wait);

// The page at base with the product, the version and the source (may be
// empty) in its query: through the browser and waiting with UntilClosed,
// otherwise through the shell.
bool OpenWebPage(const std::string& base, const std::string& source, BrowserWait wait);

// The calls the support e-mail makes; tests put their own in place.
struct SupportMailCalls {
    // S_OK once the text is on the clipboard.
    HRESULT (*copyText)(const std::string& text);
    void(WINAPI* sleep)(DWORD milliseconds);
    decltype(&ShellExecuteA) shellExecute;
    int(WINAPI* showMessageBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
};

// The clipboard copy of the system report, Sleep, ShellExecuteA, MessageBoxA.
SupportMailCalls SystemSupportMailCalls();

// Puts the system report of the dialog's window with a support message on
// the clipboard, then hands the support mail address to the shell. When the
// clipboard stays busy, tells the user in a box owned by the dialog and opens
// no mail. True when the mail was handed over.
bool ComposeSupportEmail(HWND dialog, const SupportMailCalls& calls = SystemSupportMailCalls());

}  // namespace velmora::web
