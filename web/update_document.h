// The update document the maker's server answers with: a signature at the
// start, a section per product, and in it one line per field (key, blanks,
// value, line end).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora::web {

// Longest version text kept, without its terminator.
inline constexpr std::size_t kVersionTextSize = 32;

// Finds the first occurrence of key in text and takes the value after it and
// any blanks and tabs: up to the first carriage return, or without one the
// first line feed, or the end of the text. The value loses its trailing
// blanks and tabs. output (size bytes) is zero-filled first and stays empty
// on failure: no key, or a value of size characters or more. The text ends
// at its first zero byte.
bool ReadField(std::string_view text, std::string_view key, char* output, std::size_t size);

enum class UpdateDocumentOutcome {
    Accepted,
    OtherAddress,
    NoSignature,
    NoSection,
    NoVersion,  // the field is missing, empty, too long or not a version
};

// Digits in groups joined by single dots, after at most one leading letter
// ("1.1", "v2.0.3"): what the settings dialog may show as a release.
bool LooksLikeVersion(std::string_view text);

struct UpdateDocumentResult {
    UpdateDocumentOutcome outcome = UpdateDocumentOutcome::NoSignature;
    std::string version;  // set when accepted
};

// Checks a received document: fetched from exactly the expected address,
// starting with the signature (compared over at most 16 characters), holding
// the product's section, and in it the version field. The document ends at
// its first zero byte.
UpdateDocumentResult CheckUpdateDocument(std::string_view fetchedAddress,
                                         std::string_view document);

}  // namespace velmora::web
