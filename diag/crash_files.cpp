#include "diag/crash_files.h"

#include <string_view>

#include "base/product_texts.h"

namespace velmora::diag {

namespace {

std::string CrashFileName(const std::string& folder, const char* extension) {
    return folder + "Ovix " + DecodeText(texts::kProduct) + extension;
}

}  // namespace

std::string ProgramFolder(const std::string& programPath) {
    const auto slash = programPath.rfind('\\');
    return slash == std::string::npos ? std::string() : programPath.substr(0, slash + 1);
}

std::string CrashDumpFileName(const std::string& folder) {
    return CrashFileName(folder, ".dmp");
}

std::string CrashLogFileName(const std::string& folder) {
    return CrashFileName(folder, ".log");
}

std::string KernelFileName(const std::string& fullPath) {
    constexpr std::string_view kPrefix = "\\??\\";
    if (fullPath.starts_with("\\\\?\\") || fullPath.starts_with("\\\\.\\")) {
        return std::string(kPrefix) + fullPath.substr(4);
    }
    if (fullPath.starts_with("\\\\")) {
        return std::string(kPrefix) + "UNC\\" + fullPath.substr(2);
    }
    return std::string(kPrefix) + fullPath;
}

}  // namespace velmora::diag
