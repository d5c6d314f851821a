// Where the crash files go: beside the program file.
#pragma once

#include <cstddef>
#include <string>

namespace velmora::diag {

// Longest file name the dump writer accepts, in characters.
inline constexpr std::size_t kMaxDumpNameLength = 260;

// The program's folder: its full path cut after the last backslash (kept);
// empty, meaning the current folder, when the path has no backslash.
std::string ProgramFolder(const std::string& programPath);

// folder + "Ovix " + product + ".dmp" / ".log".
std::string CrashDumpFileName(const std::string& folder);
std::string CrashLogFileName(const std::string& folder);

}  // namespace velmora::diag
