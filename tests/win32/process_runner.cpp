#include "tests/win32/process_runner.h"

#include <cstdio>
#include <set>

namespace velmora::testing {

namespace {

struct WindowSearch {
    DWORD processId;
    std::set<HWND>* found;
};

BOOL CALLBACK CollectProcessWindows(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        search->found->insert(window);
    }
    return TRUE;
}

}  // namespace

std::string PathBesideTestProgram(const std::string& fileName) {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    const auto slash = folder.find_last_of("\\/");
    folder = slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
    return folder + fileName;
}

ProgramResult RunProgram(const std::string& program, const std::string& arguments,
                         DWORD timeoutMs) {
    ProgramResult result;
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty()) {
        commandLine += " " + arguments;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return result;
    }
    result.started = true;
    std::set<HWND> windows;
    WindowSearch search{process.dwProcessId, &windows};
    const DWORD start = GetTickCount();
    for (;;) {
        EnumWindows(CollectProcessWindows, reinterpret_cast<LPARAM>(&search));
        if (WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0) {
            break;
        }
        if (GetTickCount() - start > timeoutMs) {
            result.timedOut = true;
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, INFINITE);
            break;
        }
    }
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    result.windowsSeen = static_cast<int>(windows.size());
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return bytes;
    }
    std::uint8_t buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    std::fclose(file);
    return bytes;
}

}  // namespace velmora::testing
