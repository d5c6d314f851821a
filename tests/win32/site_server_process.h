// The loopback web server of tests/support/site_server.py, run from a
// Windows test under Wine, and the prefix's proxy pointed at it: WinINet then
// sends every request for the maker's address to it as an absolute URL.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace velmora::testing {

struct SiteServerOptions {
    // Windows path of the folder served; empty: the build's copy of the
    // maker's site.
    std::string root;
    bool noLength = false;
    // Seconds between the bytes of an answer; 0 sends at once.
    double trickleSeconds = 0;
    int maxRequests = 20;
    double idleSeconds = 20;
    // https is served for the maker's host with a certificate from an
    // authority made once for the test process and trusted by the prefix's
    // current user while the process runs; false: from an authority made for
    // this server alone, trusted by nobody.
    bool trustAuthority = true;
};

// The Unix path Wine maps a Windows path to; empty when there is none.
std::string UnixPath(const std::string& windowsPath);

class SiteServerProcess {
public:
    SiteServerProcess() = default;
    SiteServerProcess(const SiteServerProcess&) = delete;
    SiteServerProcess& operator=(const SiteServerProcess&) = delete;
    ~SiteServerProcess() { Stop(); }

    // Starts the server and waits (at most 10 s) until it listens.
    bool Start(const SiteServerOptions& options = {});
    // Asks it to end and waits (at most 5 s) until it has.
    void Stop();
    int Port() const { return port_; }
    // One line per request: method, blank, target as received; a request
    // inside an https tunnel with its absolute https address. The tunnels'
    // CONNECT lines are left out.
    std::vector<std::string> Requests() const;
    // How many CONNECT requests came.
    std::size_t Tunnels() const;

private:
    std::vector<std::string> RecordLines() const;

    std::string folder_;  // Windows path with a trailing backslash
    int port_ = 0;
};

// Sets HKCU ...\Internet Settings ProxyEnable 1 and ProxyServer
// "127.0.0.1:port" for its lifetime; the earlier values come back after.
class ScopedProxy {
public:
    explicit ScopedProxy(int port);
    ScopedProxy(const ScopedProxy&) = delete;
    ScopedProxy& operator=(const ScopedProxy&) = delete;
    ~ScopedProxy();

private:
    DWORD enable_ = 0;
    bool hadEnable_ = false;
    std::string server_;
    bool hadServer_ = false;
};

}  // namespace velmora::testing
