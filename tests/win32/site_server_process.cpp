// The loopback web server run from a Windows test (site_server_process.h).
#include "tests/win32/site_server_process.h"

#include <wincrypt.h>

#include "velmora/maker_site.h"

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

// The maker's host name, from the site address.
std::string MakerHost() {
    std::string host = VELMORA_MAKER_SITE;
    host = host.substr(host.find("://") + 3);
    return host.substr(0, host.find_first_of(":/"));
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

constexpr const char* kTlsFiles[] = {"server.pem", "server.key", "authority.cer"};

void RemoveTlsFiles(const std::string& folder) {
    for (const char* name : kTlsFiles) {
        DeleteFileA((folder + name).c_str());
    }
}

// The authority the servers of this process share. Windows reads the trusted
// roots once per process, so one made later would never be trusted. Wine
// keeps a certificate added to the "Root" system store (a collection)
// nowhere; added to the user's registry store below it, it is trusted. It
// leaves the store, and its files the disk, when the process ends.
class SharedAuthority {
public:
    SharedAuthority() : folder_(NewFolder()) {}
    ~SharedAuthority() {
        if (trusted_ != nullptr) {
            CertDeleteCertificateFromStore(trusted_);  // frees the context too
        }
        RemoveTlsFiles(folder_);
        RemoveDirectoryA(folder_.c_str());
    }
    SharedAuthority(const SharedAuthority&) = delete;
    SharedAuthority& operator=(const SharedAuthority&) = delete;

    const std::string& Folder() const { return folder_; }

    // Once the first server has made it.
    void Trust() {
        if (trusted_ != nullptr) {
            return;
        }
        const std::string authority = ReadFileText(folder_ + "authority.cer");
        const HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_W, 0, 0,
                                               CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
        if (store == nullptr) {
            return;
        }
        CertAddEncodedCertificateToStore(
            store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(authority.data()),
            static_cast<DWORD>(authority.size()), CERT_STORE_ADD_REPLACE_EXISTING, &trusted_);
        CertCloseStore(store, 0);
    }

private:
    std::string folder_;
    PCCERT_CONTEXT trusted_ = nullptr;
};

SharedAuthority& TheSharedAuthority() {
    static SharedAuthority authority;
    return authority;
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
            << (options.noLength ? " --no-length" : "") << " --tls-host " << MakerHost()
            << " --tls-dir "
            << UnixPath(options.trustAuthority ? TheSharedAuthority().Folder() : folder_);
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
    if (port_ != 0 && options.trustAuthority) {
        TheSharedAuthority().Trust();
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
    RemoveTlsFiles(folder_);
    RemoveDirectoryA(folder_.c_str());
    folder_.clear();
    port_ = 0;
}

std::vector<std::string> SiteServerProcess::RecordLines() const {
    std::vector<std::string> lines;
    std::istringstream text(ReadFileText(folder_ + "record"));
    for (std::string line; std::getline(text, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> SiteServerProcess::Requests() const {
    std::vector<std::string> requests;
    for (std::string& line : RecordLines()) {
        if (line.rfind("CONNECT ", 0) != 0) {
            requests.push_back(std::move(line));
        }
    }
    return requests;
}

std::size_t SiteServerProcess::Tunnels() const {
    return RecordLines().size() - Requests().size();
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
