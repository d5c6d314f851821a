#include "web/update_document.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/product_texts.h"
#include "web/web_texts.h"

namespace velmora::web {

namespace {

constexpr std::size_t kSignatureLength = 16;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string SectionKey() {
    const std::string format = DecodeText(texts::kUpdateSectionFormat);
    const std::string product = DecodeText(texts::kProduct);
    char key[128] = {};
    std::snprintf(key, sizeof key, format.c_str(), product.c_str());
    return key;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

bool LooksLikeVersion(std::string_view text) {
    if (!text.empty() && IsLetter(text.front())) {
        text.remove_prefix(1);
    }
    bool digitBefore = false;
    for (const char c : text) {
        if (c == '.' && digitBefore) {
            digitBefore = false;
        } else if (IsDigit(c)) {
            digitBefore = true;
        } else {
            return false;
        }
    }
    return digitBefore;
}

bool ReadField(std::string_view text, std::string_view key, char* output, std::size_t size) {
    if (size > 0) {
        std::memset(output, 0, size);
    }
    text = text.substr(0, std::min(text.find('\0'), text.size()));
    const std::size_t found = text.find(key);
    if (found == std::string_view::npos) {
        return false;
    }
    std::size_t start = found + key.size();
    while (start < text.size() && IsBlank(text[start])) {
        ++start;
    }
    const std::string_view rest = text.substr(start);
    std::size_t length = rest.find('\r');
    if (length == std::string_view::npos) {
        length = rest.find('\n');
    }
    if (length == std::string_view::npos) {
        length = rest.size();
    }
    if (length >= size) {
        return false;
    }
    while (length > 0 && IsBlank(rest[length - 1])) {
        --length;
    }
    std::memcpy(output, rest.data(), length);
    return true;
}

UpdateDocumentResult CheckUpdateDocument(std::string_view fetchedAddress,
                                         std::string_view document) {
    UpdateDocumentResult result;
    document = document.substr(0, std::min(document.find('\0'), document.size()));
    if (fetchedAddress != DecodeText(texts::kUpdateAddress)) {
        result.outcome = UpdateDocumentOutcome::OtherAddress;
        return result;
    }
    const std::string signature = DecodeText(texts::kUpdateSignature);
    const std::size_t compared = std::min(signature.size(), kSignatureLength);
    if (document.substr(0, compared) != std::string_view(signature).substr(0, compared)) {
        result.outcome = UpdateDocumentOutcome::NoSignature;
        return result;
    }
    const std::string sectionKey = SectionKey();
    const std::size_t section = document.find(sectionKey);
    if (section == std::string_view::npos) {
        result.outcome = UpdateDocumentOutcome::NoSection;
        return result;
    }
    char version[kVersionTextSize];
    if (!ReadField(document.substr(section + sectionKey.size()),
                   DecodeText(texts::kUpdateVersionKey), version, sizeof version) ||
        !LooksLikeVersion(version)) {
        result.outcome = UpdateDocumentOutcome::NoVersion;
        return result;
    }
    result.outcome = UpdateDocumentOutcome::Accepted;
    result.version = version;
    return result;
}

}  // namespace velmora::web
