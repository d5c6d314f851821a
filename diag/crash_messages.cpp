#include "diag/crash_messages.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "diag/diag_texts.h"
#include "diag/dump_status.h"

namespace velmora::diag {

namespace {

constexpr std::string_view kOpening = "A fatal program error occured, ";
constexpr std::string_view kNotCreated = "unfortunately the file \"";
constexpr std::string_view kNotCreatedReason =
    "\" could not be created to allow us to debug and fix the problem.  The reason the file "
    "could not be created was ";

// Appends pieces into a fixed buffer, dropping what does not fit.
class FixedText {
public:
    explicit FixedText(char (&buffer)[kCrashMessageBufferSize]) : buffer_(buffer) {}

    void Append(std::initializer_list<std::string_view> pieces) {
        for (const std::string_view piece : pieces) {
            const std::size_t room = kCrashMessageBufferSize - 1 - length_;
            const std::size_t count = std::min(room, piece.size());
            std::memcpy(buffer_ + length_, piece.data(), count);
            length_ += count;
        }
        buffer_[length_] = '\0';
    }

    std::size_t Length() const { return length_; }

private:
    char* buffer_;
    std::size_t length_ = 0;
};

void DumpCreatedMessage(FixedText& text, const CrashMessageTexts& texts) {
    text.Append({kOpening, "the file \"", texts.dumpFileName,
                 "\" has been created which contains details about the program error and will "
                 "allow us to debug and fix the problem.  Please email this file to ",
                 texts.supportAddress, " at your earliest convience, thank you."});
}

void NoLibraryMessage(FixedText& text, const CrashMessageTexts& texts, std::string_view reason) {
    text.Append({kOpening, kNotCreated, texts.dumpFileName, kNotCreatedReason,
                 "because the file DBGHELP.DLL ", reason,
                 "\r\n\r\nIf you would like to help us in fixing this problem by issueing a "
                 "report, then all you have to do is download and install the Microsoft "
                 "Debugging Tools for your operating system.  Available at:\r\n\r\n",
                 texts.debuggingToolsPage,
                 "\r\n\r\nAfter you have installed the debug tools simply run this program again "
                 "to obtain a diagnostic file which you can send to us."});
}

void OtherFailureMessage(FixedText& text, const CrashMessageTexts& texts, std::uint32_t status) {
    text.Append({kOpening, kNotCreated, texts.dumpFileName, kNotCreatedReason,
                 DumpStatusName(status),
                 ".  Please email a screenshot of this dialog as well as steps to reproduce the "
                 "error to ",
                 texts.supportAddress,
                 " at your earliest convience so we can look into this issue, thank you."});
}

}  // namespace

std::size_t ComposeCrashMessage(std::uint32_t status, const CrashMessageTexts& texts,
                                char (&buffer)[kCrashMessageBufferSize]) {
    FixedText text(buffer);
    switch (status) {
        case kDumpSucceeded:
            DumpCreatedMessage(text, texts);
            break;
        case kDbgHelpNotFound:
            NoLibraryMessage(text, texts, "is not on your system.");
            break;
        case kDbgHelpMissingExports:
            NoLibraryMessage(text, texts, "is the wrong version on your system.");
            break;
        default:
            OtherFailureMessage(text, texts, status);
            break;
    }
    return text.Length();
}

std::string CrashMessage(std::uint32_t status, const std::string& dumpFileName) {
    const std::string support = DecodeText(texts::kSupportAddress);
    const std::string toolsPage = DecodeText(texts::kDebuggingToolsPage);
    char buffer[kCrashMessageBufferSize];
    const std::size_t length =
        ComposeCrashMessage(status, {dumpFileName, support, toolsPage}, buffer);
    return std::string(buffer, length);
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
