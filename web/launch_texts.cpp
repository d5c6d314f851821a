#include "web/launch_texts.h"

#include <cstdio>

#include "base/product_texts.h"
#include "settings/program_version.h"
#include "web/web_texts.h"

namespace velmora::web {

namespace {

constexpr std::string_view kFailureText = "The web browser could not be started, please visit the ";
constexpr std::string_view kNoHomeSwitch = "-nohome";
constexpr std::string_view kAddressPlaceholder = "%1";
constexpr std::size_t kSubjectSize = 256;
constexpr std::size_t kMessageSize = 1024;

double Version() {
    return static_cast<double>(settings::ProgramVersion);
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
    if (from.empty()) {
        return text;
    }
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string EscapeBlanks(std::string text) {
    return ReplaceAll(std::move(text), DecodeText(texts::kQueryBlank),
                      DecodeText(texts::kQueryBlankEscaped));
}

}  // namespace

std::string BrowserFailureText(std::string_view address) {
    return std::string(kFailureText).append(address);
}

std::string BrowserCommandLine(std::string_view registeredCommand, std::string_view address) {
    std::string command(registeredCommand.substr(0, registeredCommand.find(kNoHomeSwitch)));
    // Commands registered as `browser "%1"` name where the address goes.
    const std::size_t placeholder = command.find(kAddressPlaceholder);
    if (placeholder != std::string::npos) {
        return command.replace(placeholder, kAddressPlaceholder.size(), address);
    }
    while (!command.empty() && command.back() == ' ') {
        command.pop_back();
    }
    return command.append(" ").append(address);
}

std::string WebPageAddress(std::string_view base, std::string_view source) {
    char version[32] = {};
    std::snprintf(version, sizeof version, DecodeText(texts::kQueryVersionFormat).c_str(),
                  Version());
    std::string query = DecodeText(texts::kQueryProductKey) + DecodeText(texts::kProduct) +
                        DecodeText(texts::kQueryVersionKey) + version;
    if (!source.empty()) {
        query += DecodeText(texts::kQuerySourceKey);
        query += source;
    }
    return std::string(base) + EscapeBlanks(std::move(query));
}

std::string DownloadPageAddress() {
    return DecodeText(texts::kDownloadPage);
}

std::string SupportMailSubject() {
    char subject[kSubjectSize] = {};
    std::snprintf(subject, sizeof subject, DecodeText(texts::kMailSubjectFormat).c_str(),
                  DecodeText(texts::kProduct).c_str(), Version());
    std::string text(subject);
    text += DecodeText(texts::kMailSubjectSuffix);
    return text.substr(0, kSubjectSize - 1);
}

std::string SupportMailMessage(std::string_view subject, const LocalDateTime& now) {
    char message[kMessageSize] = {};
    const std::string subjectText(subject);
    std::snprintf(message, sizeof message, DecodeText(texts::kMailMessageFormat).c_str(),
                  subjectText.c_str(), "", "", now.year, now.month, now.day, now.hour, now.minute,
                  now.second);
    return message;
}

std::string SupportMailAddress(std::string_view subject) {
    return DecodeText(texts::kMailAddressPrefix) + EscapeBlanks(std::string(subject)) +
           DecodeText(texts::kMailAddressSuffix);
}

}  // namespace velmora::web
