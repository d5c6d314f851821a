// What the setup assistant and installer tests share (setup_testing.h).
#include "tests/win32/setup_testing.h"

#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>

namespace velmora::testing {

namespace {

constexpr char kMakerKey[] = "Software\\Quillfen Graphics";
constexpr char kAskedName[] = "ci asked";
constexpr char kBaseFile[] = "/external/install.txt";
constexpr char kReport[] = "/external/installed.html?install=true";

std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    return static_cast<bool>(file);
}

// "GET http://host:80/path?query" gives "/path?query".
std::string PathOfRequest(const std::string& line) {
    const auto scheme = line.find("://");
    const auto path = line.find('/', scheme == std::string::npos ? 0 : scheme + 3);
    return path == std::string::npos ? line : line.substr(path);
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

std::optional<DWORD> RegistryNumber(const char* key, const char* value) {
    DWORD number = 0;
    DWORD size = sizeof number;
    if (RegGetValueA(HKEY_CURRENT_USER, key, value, RRF_RT_REG_DWORD, nullptr, &number, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return number;
}

std::optional<DWORD> AskedValue::Get() const {
    return RegistryNumber(kMakerKey, kAskedName);
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
    SiteServerOptions options;
    if (kind == Trickled || baseFileSize > 0) {
        options.root = WriteOwnSite(baseFileSize);
    }
    options.trickleSeconds = kind == Trickled ? 0.03 : 0;
    if (folder_.Valid() && server_.Start(options)) {
        proxy_.emplace(server_.Port());
    }
}

ReportSite::~ReportSite() {
    DeleteFileA(folder_.File("external\\install.txt").c_str());
    DeleteFileA(folder_.File("external\\installed.html").c_str());
    RemoveDirectoryA(folder_.File("external").c_str());
}

// The base address of the build's site, padded to the size asked for, and a
// short answer to the report; the folder served.
std::string ReportSite::WriteOwnSite(std::size_t baseFileSize) const {
    std::string base = SiteBaseAddress();
    if (baseFileSize > base.size()) {
        // Dots all along: Wine's URL cache overruns a buffer when the text
        // after the last dot of an address is longer than about 260.
        base += "?pad=";
        while (base.size() < baseFileSize) {
            base += base.size() % 2 == 0 ? '.' : 'x';
        }
    }
    CreateDirectoryA(folder_.File("external").c_str(), nullptr);
    WriteText(folder_.File("external\\install.txt"), base);
    WriteText(folder_.File("external\\installed.html"), "ok\n");
    return folder_.File("");
}

std::vector<std::string> ReportSite::Requests() const {
    std::vector<std::string> requests;
    for (const std::string& line : server_.Requests()) {
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
    return ReadText("Z:" VELMORA_TEST_SITE_DIR "/external/install.txt");
}

std::vector<std::string> ReportRequests(const std::string& tail) {
    return {kBaseFile, kReport + tail};
}

}  // namespace velmora::testing
