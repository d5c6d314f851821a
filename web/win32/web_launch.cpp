#include "web/win32/web_launch.h"

#include <shellapi.h>

#include "diag/win32/clipboard.h"
#include "diag/win32/system_report.h"
#include "web/launch_texts.h"
#include "web/support_mail.h"
#include "web/web_texts.h"

namespace velmora::web {

namespace {

constexpr char kBrowserCommandKey[] = "http\\shell\\open\\command";
constexpr char kBrowserErrorCaption[] = "Error Opening Web Browser";
constexpr DWORD kCommandSize = 260;

// The default value of the http class's open command; false without one.
bool ReadBrowserCommand(std::string& command) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kBrowserCommandKey, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    char value[kCommandSize + 1] = {};
    DWORD size = kCommandSize;
    DWORD type = 0;
    const LONG result =
        RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return false;
    }
    command = value;
    return true;
}

bool StartProcess(std::string commandLine, BrowserWait wait) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    if (wait == BrowserWait::UntilClosed) {
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

LocalDateTime Now() {
    SYSTEMTIME time{};
    GetLocalTime(&time);
    return LocalDateTime{time.wYear, time.wMonth,  time.wDay,
                         time.wHour, time.wMinute, time.wSecond};
}

}  // namespace

bool OpenDocument(const std::string& address) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOW));
    if (result > 32) {
        return true;
    }
    return OpenInBrowser(address, BrowserWait::No);
}

bool OpenInBrowser(const std::string& address, BrowserWait wait) {
    const std::string failure = BrowserFailureText(address);
    std::string command;
    if (ReadBrowserCommand(command) && StartProcess(BrowserCommandLine(command, address), wait)) {
        return true;
    }
    MessageBoxA(nullptr, failure.c_str(), kBrowserErrorCaption, MB_OK);
    return false;
}

bool OpenWebPage(const std::string& base, const std::string& source, BrowserWait wait) {
    const std::string address = WebPageAddress(base, source);
    return wait == BrowserWait::UntilClosed ? OpenInBrowser(address, wait) : OpenDocument(address);
}

SupportMailCalls SystemSupportMailCalls() {
    return SupportMailCalls{diag::CopyTextToClipboard, Sleep, ShellExecuteA, MessageBoxA};
}

bool ComposeSupportEmail(HWND dialog, const SupportMailCalls& calls) {
    const std::string subject = SupportMailSubject();
    const std::string text = diag::BuildSystemReport(dialog) + SupportMailMessage(subject, Now());
    const SupportMailSteps steps{
        [&] { return calls.copyText(text) == S_OK; },
        [&](unsigned milliseconds) { calls.sleep(milliseconds); },
        [&] {
            calls.shellExecute(nullptr, DecodeText(texts::kMailVerb).c_str(),
                               SupportMailAddress(subject).c_str(), nullptr, nullptr,
                               SW_SHOWNORMAL);
        },
        [&] {
            calls.showMessageBox(dialog, ClipboardBusyText().c_str(),
                                 ClipboardBusyCaption().c_str(), MB_OK | MB_ICONWARNING);
        },
    };
    return SendSupportMail(steps);
}

}  // namespace velmora::web
