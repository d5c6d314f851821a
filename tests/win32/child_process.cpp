// A started program the test waits for and acts on (child_process.h).
#include "tests/win32/child_process.h"

namespace velmora::testing {

namespace {

// The static control of a message box that holds its text.
constexpr int kMessageBoxTextId = 0xFFFF;

struct WindowSearch {
    DWORD processId;
    const char* windowClass;
    HWND found = nullptr;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (owner == search->processId && IsWindowVisible(window) &&
        lstrcmpA(name, search->windowClass) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND ProcessWindow(DWORD processId, const char* windowClass) {
    WindowSearch search{processId, windowClass};
    EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string WindowText(HWND window) {
    char text[4096] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Paths are UTF-8, so a program can live in a folder named outside the code page.
std::wstring WideText(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(
                    CP_UTF8, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()))) -
                1);
    return wide;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::string& arguments) {
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty()) {
        commandLine += " " + arguments;
    }
    std::wstring wideProgram = WideText(program);
    std::wstring wideLine = WideText(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(wideProgram.c_str(), wideLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process_)) {
        process_ = PROCESS_INFORMATION{};
    }
}

ChildProcess::~ChildProcess() {
    if (!Started()) {
        return;
    }
    if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, INFINITE);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND ChildProcess::WaitForWindow(const std::string& windowClass, DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    while (Started() && GetTickCount() - start < timeoutMs) {
        if (HWND window = ProcessWindow(process_.dwProcessId, windowClass.c_str())) {
            return window;
        }
        if (WaitForSingleObject(process_.hProcess, 20) == WAIT_OBJECT_0) {
            break;
        }
    }
    return nullptr;
}

std::optional<DWORD> ChildProcess::WaitForEnd(DWORD timeoutMs) const {
    DWORD code = 0;
    if (!Started() || WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_.hProcess, &code)) {
        return std::nullopt;
    }
    return code;
}

bool ChildProcess::InjectFault() const {
    HANDLE thread = CreateRemoteThread(process_.hProcess, nullptr, 0, nullptr, nullptr, 0, nullptr);
    if (thread == nullptr) {
        return false;
    }
    CloseHandle(thread);
    return true;
}

std::optional<DWORD> ChildProcess::WaitClosingBoxes(DWORD timeoutMs,
                                                    std::vector<MessageBoxSeen>* boxes) {
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(process_.hProcess, 20) != WAIT_OBJECT_0) {
        if (HWND box = ProcessWindow(process_.dwProcessId, "#32770")) {
            boxes->push_back({WindowText(box), WindowText(GetDlgItem(box, kMessageBoxTextId))});
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            // Until this box is gone, so it is read once.
            for (int i = 0; i < 250 && IsWindow(box) && IsWindowVisible(box); ++i) {
                Sleep(20);
            }
        }
        if (GetTickCount() - start > timeoutMs) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, INFINITE);
            return std::nullopt;
        }
    }
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

}  // namespace velmora::testing
