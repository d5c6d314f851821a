// A program the test starts and acts on while it runs: waits for its
// windows, makes it fault, reads and answers its message boxes.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace velmora::testing {

struct MessageBoxSeen {
    std::string caption;
    std::string text;
};

class ChildProcess {
public:
    // The program path (UTF-8) is passed as the first, quoted, word of the
    // command line.
    ChildProcess(const std::string& program, const std::string& arguments);
    // A command line started as it is, the program found in it the way
    // CreateProcess finds one when given no program name (as the system
    // starts the screen saver from its registry value).
    struct CommandLine {
        std::string text;
    };
    explicit ChildProcess(const CommandLine& commandLine);
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    // Kills the program if it still runs.
    ~ChildProcess();

    bool Started() const { return process_.hProcess != nullptr; }
    DWORD Id() const { return process_.dwProcessId; }

    // A visible top-level window of the program with this class, or null
    // when none appeared in time.
    HWND WaitForWindow(const std::string& windowClass, DWORD timeoutMs) const;

    // Waits for the end: the exit code, or none when the time ran out.
    std::optional<DWORD> WaitForEnd(DWORD timeoutMs) const;

    // Starts a thread in the program at address 0, where it faults at once.
    bool InjectFault() const;

    // Waits for the end, reading and answering (OK) every message box shown
    // meanwhile; the exit code, or none when the time ran out (then killed).
    std::optional<DWORD> WaitClosingBoxes(DWORD timeoutMs, std::vector<MessageBoxSeen>* boxes);

private:
    void Start(const wchar_t* program, const std::string& commandLine);

    PROCESS_INFORMATION process_{};
};

}  // namespace velmora::testing
