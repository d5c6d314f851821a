// Starts one of our programs, waits for it with a time limit and notes the
// top-level windows it showed meanwhile.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace velmora::testing {

struct ProgramResult {
    bool started = false;
    bool timedOut = false;
    DWORD exitCode = 0;
    // Visible top-level windows of the process seen while it ran.
    int windowsSeen = 0;
};

// Full path of a file in the folder of the running test program.
std::string PathBesideTestProgram(const std::string& fileName);

using EnvironmentChanges = std::vector<std::pair<std::string, std::string>>;

// What RunProgram does with the visible top-level windows the program shows.
enum class ShownWindows {
    Leave,
    // Each is sent WM_CLOSE once, as a user closing it would: a modal dialog
    // then ends as with "Cancel".
    Close,
};

// Runs "program" with the given arguments (the program path is passed as the
// first, quoted, word of the command line) and this process's environment
// with the given variables replaced or added. Kills it after timeoutMs.
ProgramResult RunProgram(const std::string& program, const std::string& arguments, DWORD timeoutMs,
                         const EnvironmentChanges& environment = {},
                         ShownWindows shown = ShownWindows::Leave);

// A folder of its own under the temporary folder; removed with its files.
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    // Path of a file in the folder.
    std::string File(const std::string& name) const { return path_ + name; }
    bool Valid() const { return !path_.empty(); }

private:
    std::string path_;  // with a trailing backslash
};

// Sets how Wine loads one DLL for one program, in the test prefix's
// registry, for as long as the object lives ("native", "builtin", or "" to
// refuse to load it). Wine reads DLL overrides from its own environment at
// start-up, not from the environment a test hands to a child process.
class WineDllOverride {
public:
    WineDllOverride(const std::string& programName, const std::string& dll,
                    const std::string& loadOrder);
    WineDllOverride(const WineDllOverride&) = delete;
    WineDllOverride& operator=(const WineDllOverride&) = delete;
    ~WineDllOverride();

    bool Applied() const { return applied_; }

private:
    std::string programKey_;
    std::string dll_;
    bool applied_ = false;
};

std::vector<std::uint8_t> ReadWholeFile(const std::string& path);

}  // namespace velmora::testing
