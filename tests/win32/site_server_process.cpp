// The loopback web server run from a Windows test (site_server_process.h).
#include "tests/win32/site_server_process.h"

#include <fstream>
#include <sstream>

namespace velmora::testing {

namespace {

constexpr char kInternetSettings[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string NewFolder() {
    static int serial = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "velmora-site-" +
                               std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(++serial) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

}  // namespace

std::string UnixPath(const std::string& windowsPath) {
    using Convert = char*(CDECL*)(const WCHAR*);
    static const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (convert == nullptr) {
        return {};
    }
    std::wstring wide(windowsPath.begin(), windowsPath.end());
    char* unix = convert(wide.c_str());
    if (unix == nullptr) {
        return {};
    }
    std::string result(unix);
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

bool SiteServerProcess::Start(const SiteServerOptions& options) {
    Stop();
    folder_ = NewFolder();
    const std::string root = options.root.empty() ? VELMORA_SITE_DIR : UnixPath(options.root);
    std::ostringstream command;
    command << "/usr/bin/python3 " << VELMORA_SITE_SERVER << " --root " << root << " --port-file "
            << UnixPath(folder_ + "port") << " --record " << UnixPath(folder_ + "record")
            << " --max-requests " << options.maxRequests << " --idle-timeout "
            << options.idleSeconds << " --trickle " << options.trickleSeconds
            << (options.noLength ? " --no-length" : "");
    std::string line = command.str();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // Wine starts a Unix program itself and gives back no handles.
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    if (process.hProcess != nullptr) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    for (int i = 0; i < 1000 && port_ == 0; ++i) {
        port_ = std::atoi(ReadFileText(folder_ + "port").c_str());
        if (port_ == 0) {
            Sleep(10);
        }
    }
    return port_ != 0;
}

void SiteServerProcess::Stop() {
    if (folder_.empty()) {
        return;
    }
    if (port_ != 0) {
        std::ofstream(folder_ + "port.stop") << "stop\n";
        for (int i = 0; i < 500 && FileExists(folder_ + "port"); ++i) {
            Sleep(10);
        }
    }
    DeleteFileA((folder_ + "record").c_str());
    DeleteFileA((folder_ + "port.stop").c_str());
    RemoveDirectoryA(folder_.c_str());
    folder_.clear();
    port_ = 0;
}

std::vector<std::string> SiteServerProcess::Requests() const {
    std::vector<std::string> lines;
    std::istringstream text(ReadFileText(folder_ + "record"));
    for (std::string line; std::getline(text, line);) {
        lines.push_back(line);
    }
    return lines;
}

ScopedProxy::ScopedProxy(int port) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kInternetSettings, 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    DWORD size = sizeof enable_;
    hadEnable_ = RegQueryValueExA(key, "ProxyEnable", nullptr, nullptr,
                                  reinterpret_cast<BYTE*>(&enable_), &size) == ERROR_SUCCESS;
    char server[256] = {};
    size = sizeof server - 1;
    hadServer_ = RegQueryValueExA(key, "ProxyServer", nullptr, nullptr,
                                  reinterpret_cast<BYTE*>(server), &size) == ERROR_SUCCESS;
    server_ = server;
    const DWORD one = 1;
    const std::string address = "127.0.0.1:" + std::to_string(port);
    RegSetValueExA(key, "ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                   sizeof one);
    RegSetValueExA(key, "ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(address.c_str()),
                   static_cast<DWORD>(address.size() + 1));
    RegCloseKey(key);
}

ScopedProxy::~ScopedProxy() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kInternetSettings, 0, KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS) {
        return;
    }
    if (hadEnable_) {
        RegSetValueExA(key, "ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable_),
                       sizeof enable_);
    } else {
        RegDeleteValueA(key, "ProxyEnable");
    }
    if (hadServer_) {
        RegSetValueExA(key, "ProxyServer", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(server_.c_str()),
                       static_cast<DWORD>(server_.size() + 1));
    } else {
        RegDeleteValueA(key, "ProxyServer");
    }
    RegCloseKey(key);
}

}  // namespace velmora::testing
