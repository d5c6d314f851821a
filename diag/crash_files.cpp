#include "diag/crash_files.h"

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

}  // namespace velmora::diag
