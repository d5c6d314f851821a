// What the setup assistant and installer tests share: the "ci asked" value,
// the maker's site served on 127.0.0.1 as the prefix's proxy, the debugger
// output of the programs they start.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/win32/process_runner.h"
#include "tests/win32/site_server_process.h"

namespace velmora::testing {

DWORD SecondsNow();

// The text of a window of any process (no message is sent).
std::string WindowText(HWND window);

// A DWORD value under HKEY_CURRENT_USER, if there is one.
std::optional<DWORD> RegistryNumber(const char* key, const char* value);

// HKCU "Software\Quillfen Graphics" "ci asked", put back as it was at the end.
class AskedValue {
public:
    AskedValue();
    AskedValue(const AskedValue&) = delete;
    AskedValue& operator=(const AskedValue&) = delete;
    ~AskedValue();

    std::optional<DWORD> Get() const;
    // None deletes the value.
    void Set(std::optional<DWORD> seconds) const;

private:
    std::optional<DWORD> saved_;
};

// The loopback server with the prefix's proxy pointing at it, for as long as
// the object lives.
class ReportSite {
public:
    enum Kind {
        // The build's copy of the maker's site.
        Normal,
        // The same base address, sent a byte every 30 ms.
        Trickled,
    };
    // baseFileSize > 0: a base file padded to that many bytes.
    explicit ReportSite(Kind kind = Normal, std::size_t baseFileSize = 0);
    // A site whose base file holds this text.
    explicit ReportSite(const std::string& baseText);
    ReportSite(const ReportSite&) = delete;
    ReportSite& operator=(const ReportSite&) = delete;
    ~ReportSite();

    bool Started() const { return proxy_.has_value(); }
    // The path and query of every request so far, in order (the https
    // tunnels' CONNECT lines left out).
    std::vector<std::string> Requests() const;

private:
    void Start(const SiteServerOptions& options);
    std::string WriteOwnSite(const std::string& base) const;

    TempFolder folder_;
    SiteServerProcess server_;
    std::optional<ScopedProxy> proxy_;
};

// The debugger output of other programs, read as a system-wide monitor
// reads it (the DBWIN_BUFFER section), while the object lives.
class DebugOutputMonitor {
public:
    DebugOutputMonitor();
    DebugOutputMonitor(const DebugOutputMonitor&) = delete;
    DebugOutputMonitor& operator=(const DebugOutputMonitor&) = delete;
    ~DebugOutputMonitor();

    bool Started() const { return thread_.joinable(); }
    // Each string the process wrote so far, as it was written.
    std::vector<std::string> Of(DWORD processId) const;

private:
    void Listen();

    HANDLE mapping_ = nullptr;
    HANDLE bufferReady_ = nullptr;
    HANDLE dataReady_ = nullptr;
    const char* view_ = nullptr;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::pair<DWORD, std::string>> seen_;
    std::thread thread_;
};

// The base address the build's site names.
std::string SiteBaseAddress();

// The two requests of a report: the base file and the report with this tail
// after "?install=true".
std::vector<std::string> ReportRequests(const std::string& tail);

}  // namespace velmora::testing
