// Starts one of our programs, waits for it with a time limit and notes the
// top-level windows it showed meanwhile.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
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

// Runs "program" with the given arguments (the program path is passed as the
// first, quoted, word of the command line). Kills it after timeoutMs.
ProgramResult RunProgram(const std::string& program, const std::string& arguments, DWORD timeoutMs);

std::vector<std::uint8_t> ReadWholeFile(const std::string& path);

}  // namespace velmora::testing
