#include "diag/crash_messages.h"

#include <algorithm>

#include "diag/diag_texts.h"
#include "diag/dump_status.h"

namespace velmora::diag {

namespace {

constexpr char kOpening[] = "A fatal program error occured, ";

std::string DumpCreatedMessage(const std::string& dumpFileName) {
    return std::string(kOpening) + "the file \"" + dumpFileName +
           "\" has been created which contains details about the program error and will allow "
           "us to debug and fix the problem.  Please email this file to " +
           DecodeText(texts::kSupportAddress) + " at your earliest convience, thank you.";
}

std::string NoLibraryMessage(const std::string& dumpFileName, const char* reason) {
    return std::string(kOpening) + "unfortunately the file \"" + dumpFileName +
           "\" could not be created to allow us to debug and fix the problem.  The reason the "
           "file could not be created was because the file DBGHELP.DLL " +
           reason +
           "\r\n\r\nIf you would like to help us in fixing this problem by issueing a report, "
           "then all you have to do is download and install the Microsoft Debugging Tools for "
           "your operating system.  Available at:\r\n\r\n" +
           DecodeText(texts::kDebuggingToolsPage) +
           "\r\n\r\nAfter you have installed the debug tools simply run this program again to "
           "obtain a diagnostic file which you can send to us.";
}

std::string OtherFailureMessage(const std::string& dumpFileName, std::uint32_t status) {
    return std::string(kOpening) + "unfortunately the file \"" + dumpFileName +
           "\" could not be created to allow us to debug and fix the problem.  The reason the "
           "file could not be created was " +
           DumpStatusName(status) +
           ".  Please email a screenshot of this dialog as well as steps to reproduce the error "
           "to " +
           DecodeText(texts::kSupportAddress) +
           " at your earliest convience so we can look into this issue, thank you.";
}

std::string ComposeCrashMessage(std::uint32_t status, const std::string& dumpFileName) {
    switch (status) {
        case kDumpSucceeded:
            return DumpCreatedMessage(dumpFileName);
        case kDbgHelpNotFound:
            return NoLibraryMessage(dumpFileName, "is not on your system.");
        case kDbgHelpMissingExports:
            return NoLibraryMessage(dumpFileName, "is the wrong version on your system.");
        default:
            return OtherFailureMessage(dumpFileName, status);
    }
}

}  // namespace

std::string CrashMessage(std::uint32_t status, const std::string& dumpFileName) {
    std::string message = ComposeCrashMessage(status, dumpFileName);
    if (message.size() >= kCrashMessageBufferSize) {
        message.resize(kCrashMessageBufferSize - 1);
    }
    return message;
}

std::string LastCrashMessage(std::string_view logBytes) {
    const auto end = logBytes.find('\0');
    const std::string_view text =
        logBytes.substr(0, std::min(end, std::min(logBytes.size(), kMaxLogBytesShown)));
    std::string message =
        "A fatal program error occured the last time this program was run.  The details of the "
        "error are below.\r\n\r\n";
    message.append(text);
    return message;
}

}  // namespace velmora::diag
