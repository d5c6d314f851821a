// Any update document, as it arrives in pieces, is checked and its fields
// read without reading or writing past a buffer, and a value read is a
// trimmed piece of the text that fits its buffer.
//
// Input: one byte of buffer size, one byte of key length, the key, then the
// document (also tried behind the signature and the product's section).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "web/download_buffer.h"
#include "web/update_document.h"
#include "web/web_texts.h"

namespace {

void CheckField(std::string_view text, std::string_view key, std::size_t size) {
    // Exactly sized heap blocks, so a sanitizer sees any step past them.
    std::unique_ptr<char[]> ownText(new char[text.size()]);
    std::memcpy(ownText.get(), text.data(), text.size());
    std::unique_ptr<char[]> output(new char[size]);
    const std::string_view heldText(ownText.get(), text.size());
    if (!velmora::web::ReadField(heldText, key, output.get(), size)) {
        for (std::size_t i = 0; i < size; ++i) {
            if (output[i] != '\0') {
                std::abort();
            }
        }
        return;
    }
    const std::size_t length = strnlen(output.get(), size);
    if (length >= size) {
        std::abort();
    }
    if (length > 0 && (output[length - 1] == ' ' || output[length - 1] == '\t')) {
        std::abort();
    }
    if (heldText.find(std::string_view(output.get(), length)) == std::string_view::npos) {
        std::abort();
    }
}

void CheckDocument(std::string_view document) {
    velmora::web::DownloadBuffer buffer;
    if (!buffer.Allocate(document.size() % 3 == 0 ? std::optional<std::uint32_t>{}
                                                  : std::optional<std::uint32_t>{7})) {
        std::abort();
    }
    // Pieces of varying size, the last one empty, as the worker appends them.
    std::size_t at = 0;
    for (std::size_t step = 1; at < document.size(); step = step * 3 + 1) {
        const std::size_t length = std::min(step, document.size() - at);
        if (!buffer.Append(document.data() + at, static_cast<std::uint32_t>(length))) {
            std::abort();
        }
        at += length;
    }
    if (!buffer.Append("", 0) || buffer.Text() != document) {
        std::abort();
    }
    const auto address = velmora::DecodeText(velmora::texts::kUpdateAddress);
    const velmora::web::UpdateDocumentResult result =
        velmora::web::CheckUpdateDocument(address, buffer.Text());
    const bool accepted = result.outcome == velmora::web::UpdateDocumentOutcome::Accepted;
    if (accepted != !result.version.empty() ||
        result.version.size() >= velmora::web::kVersionTextSize) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::size_t bufferSize = data[0] % 64;
    const std::size_t keyLength = std::min<std::size_t>(data[1] % 16, size - 2);
    const std::string_view key(reinterpret_cast<const char*>(data + 2), keyLength);
    const std::string_view text(reinterpret_cast<const char*>(data + 2 + keyLength),
                                size - 2 - keyLength);
    CheckField(text, key, bufferSize);
    CheckDocument(text);
    CheckDocument("#QUILLFEN-UPDATE\r\n[Velmora]\r\n" + std::string(text));
    return 0;
}
