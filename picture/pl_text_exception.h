// The one kind of failure the picture library reports: a code and a message.
#pragma once

#include <exception>
#include <string>

#include "picture/pl_object.h"

namespace velmora::picture {

// Error codes of PLTextException.
namespace pl_error {
inline constexpr int WrongSignature = 1;
inline constexpr int FormatError = 2;
inline constexpr int PathNotFound = 3;
inline constexpr int OpenFailed = 4;
inline constexpr int AccessDenied = 5;
inline constexpr int NotSupported = 6;
inline constexpr int InternalLimit = 7;
inline constexpr int UnknownFileType = 8;
inline constexpr int OutOfMemory = 10;
inline constexpr int EndOfFile = 11;
}  // namespace pl_error

// Also a standard exception, so callers that catch those catch it too.
class PLTextException : public PLObject, public std::exception {
public:
    // Also puts the process's error mode back to the system default.
    PLTextException(int code, std::string message);

    int GetCode() const { return code_; }
    const char* GetMessage() const { return message_.c_str(); }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    int code_;
    std::string message_;
};

// Traces "Decoder error: <text>" and throws it with the code.
[[noreturn]] void PLRaiseError(int code, const std::string& text);

}  // namespace velmora::picture
