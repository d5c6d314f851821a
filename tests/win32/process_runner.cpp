// Starting our programs with a time limit and noting their windows (process_runner.h).
#include "tests/win32/process_runner.h"

#include <cstdio>
#include <cstring>
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

bool SameName(const std::string& entry, const std::string& name) {
    return entry.size() > name.size() && entry[name.size()] == '=' &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, entry.c_str(),
                          static_cast<int>(name.size()), name.c_str(),
                          static_cast<int>(name.size())) == CSTR_EQUAL;
}

// The current environment with the changes applied, as a CreateProcess block.
std::vector<char> EnvironmentBlock(const EnvironmentChanges& changes) {
    std::vector<std::string> entries;
    if (char* current = GetEnvironmentStringsA()) {
        for (const char* entry = current; *entry != '\0'; entry += std::strlen(entry) + 1) {
            entries.emplace_back(entry);
        }
        FreeEnvironmentStringsA(current);
    }
    for (const auto& [name, value] : changes) {
        std::erase_if(entries, [&](const std::string& e) { return SameName(e, name); });
        entries.push_back(name + "=" + value);
    }
    std::vector<char> block;
    for (const std::string& entry : entries) {
        block.insert(block.end(), entry.begin(), entry.end());
        block.push_back('\0');
    }
    block.push_back('\0');
    return block;
}

}  // namespace

TempFolder::TempFolder() {
    char base[MAX_PATH] = {};
    if (GetTempPathA(MAX_PATH, base) == 0) {
        return;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = std::string(base) + "velmora-test-" +
                                      std::to_string(GetCurrentProcessId()) + "-" +
                                      std::to_string(GetTickCount() + attempt);
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = candidate + "\\";
            return;
        }
    }
}

TempFolder::~TempFolder() {
    if (path_.empty()) {
        return;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path_ + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                DeleteFileA((path_ + found.cFileName).c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
}

WineDllOverride::WineDllOverride(const std::string& programName, const std::string& dll,
                                 const std::string& loadOrder)
    : programKey_("Software\\Wine\\AppDefaults\\" + programName), dll_(dll) {
    HKEY key = nullptr;
    const std::string path = programKey_ + "\\DllOverrides";
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    applied_ = RegSetValueExA(key, dll.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(loadOrder.c_str()),
                              static_cast<DWORD>(loadOrder.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(key);
}

WineDllOverride::~WineDllOverride() {
    RegDeleteTreeA(HKEY_CURRENT_USER, programKey_.c_str());
}

std::string PathBesideTestProgram(const std::string& fileName) {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    const auto slash = folder.find_last_of("\\/");
    folder = slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
    return folder + fileName;
}

ProgramResult RunProgram(const std::string& program, const std::string& arguments, DWORD timeoutMs,
                         const EnvironmentChanges& environment, ShownWindows shown) {
    ProgramResult result;
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty()) {
        commandLine += " " + arguments;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::vector<char> block = EnvironmentBlock(environment);
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        block.data(), nullptr, &startup, &process)) {
        return result;
    }
    result.started = true;
    std::set<HWND> windows;
    std::set<HWND> closed;
    WindowSearch search{process.dwProcessId, &windows};
    const DWORD start = GetTickCount();
    for (;;) {
        EnumWindows(CollectProcessWindows, reinterpret_cast<LPARAM>(&search));
        if (shown == ShownWindows::Close) {
            for (HWND window : windows) {
                if (closed.insert(window).second) {
                    PostMessageA(window, WM_CLOSE, 0, 0);
                }
            }
        }
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
