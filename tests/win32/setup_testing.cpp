#include "tests/win32/setup_testing.h"

#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>

namespace velmora::testing {

namespace {

constexpr char kMakerKey[] = "Software\\Quillfen Graphics";
constexpr char kAskedName[] = "ci asked";
constexpr char kInternetSettings[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr char kBaseFile[] = "/external/install.txt";
constexpr char kReport[] = "/external/installed.html?install=true";

// Unix paths reach Windows programs through the Z: drive.
std::string WindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    return static_cast<bool>(file);
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void SetProxy(const std::string& server) {
    const DWORD enable = 1;
    RegSetKeyValueA(HKEY_CURRENT_USER, kInternetSettings, "ProxyEnable", REG_DWORD, &enable,
                    sizeof enable);
    RegSetKeyValueA(HKEY_CURRENT_USER, kInternetSettings, "ProxyServer", REG_SZ, server.c_str(),
                    static_cast<DWORD>(server.size() + 1));
}

// "GET http://host:80/path?query" gives "/path?query".
std::string PathOfRequest(const std::string& line) {
    const auto scheme = line.find("://");
    if (scheme == std::string::npos) {
        const auto blank = line.find(' ');
        return blank == std::string::npos ? line : line.substr(blank + 1);
    }
    const auto path = line.find('/', scheme + 3);
    return path == std::string::npos ? "/" : line.substr(path);
}

}  // namespace

DWORD SecondsNow() {
    return static_cast<DWORD>(std::time(nullptr));
}

std::string WindowText(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

AskedValue::AskedValue() : saved_(Get()) {}

AskedValue::~AskedValue() {
    Set(saved_);
}

std::optional<DWORD> AskedValue::Get() const {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, kMakerKey, kAskedName, RRF_RT_REG_DWORD, nullptr, &value,
                     &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

void AskedValue::Set(std::optional<DWORD> seconds) const {
    if (!seconds) {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kMakerKey, kAskedName);
        return;
    }
    const DWORD value = *seconds;
    RegSetKeyValueA(HKEY_CURRENT_USER, kMakerKey, kAskedName, REG_DWORD, &value, sizeof value);
}

ReportSite::ReportSite(Kind kind, std::size_t baseFileSize) {
    unixFolder_ = "/tmp/velmora-report-site-" + std::to_string(GetCurrentProcessId()) + "-" +
                  std::to_string(GetTickCount()) + "/";
    windowsFolder_ = WindowsPath(unixFolder_);
    if (!CreateDirectoryA(windowsFolder_.c_str(), nullptr)) {
        return;
    }
    root_ = VELMORA_TEST_SITE_DIR;
    if (kind == Trickled || baseFileSize > 0) {
        WriteOwnSite(baseFileSize);
    }
    started_ = Start(kind == Trickled);
}

ReportSite::~ReportSite() {
    Stop();
    for (const char* name : {"site\\external\\install.txt", "site\\external\\installed.html",
                             "record.txt", "port", "port.stop", "port.tmp"}) {
        DeleteFileA((windowsFolder_ + name).c_str());
    }
    for (const char* folder : {"site\\external", "site", ""}) {
        RemoveDirectoryA((windowsFolder_ + folder).c_str());
    }
}

// The base address of the build's site, padded to the size asked for; a
// short answer to the report.
void ReportSite::WriteOwnSite(std::size_t baseFileSize) {
    std::string base = SiteBaseAddress();
    if (baseFileSize > base.size()) {
        // Dots all along: Wine's URL cache overruns a buffer when the text
        // after the last dot of an address is longer than about 260.
        base += "?pad=";
        while (base.size() < baseFileSize) {
            base += base.size() % 2 == 0 ? '.' : 'x';
        }
    }
    CreateDirectoryA((windowsFolder_ + "site").c_str(), nullptr);
    CreateDirectoryA((windowsFolder_ + "site\\external").c_str(), nullptr);
    WriteText(windowsFolder_ + "site\\external\\install.txt", base);
    WriteText(windowsFolder_ + "site\\external\\installed.html", "ok\n");
    root_ = unixFolder_ + "site";
}

bool ReportSite::Start(bool trickled) {
    std::string command = "/usr/bin/python3 " VELMORA_TEST_SITE_SERVER " --root " + root_ +
                          " --port-file " + unixFolder_ + "port --record " + unixFolder_ +
                          "record.txt --idle-timeout 60 --overall-timeout 120";
    if (trickled) {
        command += " --trickle 0.03";
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // Wine runs a Unix program and gives back no process handle.
    CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                   &process);
    const std::string portFile = windowsFolder_ + "port";
    for (int i = 0; i < 500 && !FileExists(portFile); ++i) {
        Sleep(20);
    }
    const std::string port = ReadText(portFile);
    if (port.empty() || port.back() != '\n') {
        return false;
    }
    SetProxy("127.0.0.1:" + port.substr(0, port.size() - 1));
    return true;
}

void ReportSite::Stop() {
    if (!started_) {
        return;
    }
    started_ = false;
    WriteText(windowsFolder_ + "port.stop", "");
    for (int i = 0; i < 250 && FileExists(windowsFolder_ + "port"); ++i) {
        Sleep(20);
    }
}

std::vector<std::string> ReportSite::Requests() {
    Stop();
    std::vector<std::string> requests;
    std::istringstream lines(ReadText(windowsFolder_ + "record.txt"));
    for (std::string line; std::getline(lines, line);) {
        requests.push_back(PathOfRequest(line));
    }
    return requests;
}

DebugOutputMonitor::DebugOutputMonitor() {
    constexpr DWORD kSize = 4096;
    mapping_ =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSize, "DBWIN_BUFFER");
    bufferReady_ = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_BUFFER_READY");
    dataReady_ = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_DATA_READY");
    if (mapping_ != nullptr) {
        view_ = static_cast<const char*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, kSize));
    }
    if (view_ != nullptr && bufferReady_ != nullptr && dataReady_ != nullptr) {
        thread_ = std::thread([this] { Listen(); });
    }
}

DebugOutputMonitor::~DebugOutputMonitor() {
    stop_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    if (view_ != nullptr) {
        UnmapViewOfFile(view_);
    }
    for (HANDLE handle : {mapping_, bufferReady_, dataReady_}) {
        if (handle != nullptr) {
            CloseHandle(handle);
        }
    }
}

// The buffer holds the writer's process id, then its zero-terminated text.
void DebugOutputMonitor::Listen() {
    SetEvent(bufferReady_);
    while (!stop_) {
        if (WaitForSingleObject(dataReady_, 20) != WAIT_OBJECT_0) {
            continue;
        }
        DWORD processId = 0;
        std::memcpy(&processId, view_, sizeof processId);
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            seen_.emplace_back(processId, std::string(view_ + sizeof processId));
        }
        SetEvent(bufferReady_);
    }
}

std::vector<std::string> DebugOutputMonitor::Of(DWORD processId) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> texts;
    for (const auto& [writer, text] : seen_) {
        if (writer == processId) {
            texts.push_back(text);
        }
    }
    return texts;
}

std::string SiteBaseAddress() {
    return ReadText(WindowsPath(std::string(VELMORA_TEST_SITE_DIR) + kBaseFile));
}

std::vector<std::string> ReportRequests(const std::string& tail) {
    return {kBaseFile, kReport + tail};
}

}  // namespace velmora::testing
