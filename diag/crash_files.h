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

// The kernel's name for a full path (\??\C:\..., \??\UNC\server\...), so the crash log can be
// created without the path conversion that needs the process heap.
std::string KernelFileName(const std::string& fullPath);

}  // namespace velmora::diag
