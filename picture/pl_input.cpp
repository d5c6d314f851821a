#include "picture/pl_input.h"

#include "picture/pl_bytes.h"
#include "picture/pl_text_exception.h"

namespace velmora::picture {

namespace {

// What a reader may still look back at; the rest behind it can go.
constexpr std::size_t kKeptBehind = std::size_t{1} << 20;

}  // namespace

void PLInput::SetSource(std::string name, const std::uint8_t* data, std::size_t size) {
    name_ = std::move(name);
    data_ = data;
    size_ = data != nullptr ? size : 0;
    position_ = 0;
}

void PLInput::ThrowEndOfFile() {
    throw PLTextException(pl_error::EndOfFile, "End of file reached while decoding.\n");
}

const std::uint8_t* PLInput::ReadNBytes(std::size_t n) {
    if (n > size_ - position_) {
        ThrowEndOfFile();
    }
    const std::uint8_t* bytes = data_ + position_;
    const std::size_t before = position_;
    position_ += n;
    if (notifier_ && before / 1024 != position_ / 1024) {
        notifier_(static_cast<double>(position_) / static_cast<double>(size_));
    }
    if (before / kKeptBehind != position_ / kKeptBehind && position_ > 2 * kKeptBehind) {
        ReleaseBefore(position_ - kKeptBehind);
    }
    return bytes;
}

void PLInput::ConsumedUpTo(const std::uint8_t* position) {
    if (position < data_ || position > data_ + size_) {
        return;
    }
    const auto offset = static_cast<std::size_t>(position - data_);
    if (offset > 2 * kKeptBehind) {
        ReleaseBefore(offset - kKeptBehind);
    }
}

void PLInput::ConsumedRange(const std::uint8_t* begin, const std::uint8_t* end) {
    if (begin < data_ || end > data_ + size_ || begin >= end) {
        return;
    }
    ReleaseRange(static_cast<std::size_t>(begin - data_), static_cast<std::size_t>(end - data_));
}

const std::uint8_t* PLInput::PeekNBytes(std::size_t n) const {
    if (n > size_ - position_) {
        ThrowEndOfFile();
    }
    return data_ + position_;
}

std::uint16_t PLInput::ReadU16LE() {
    return bytes::LoadU16LE(ReadNBytes(2));
}

std::uint32_t PLInput::ReadU32LE() {
    return bytes::LoadU32LE(ReadNBytes(4));
}

std::uint16_t PLInput::ReadU16BE() {
    return bytes::LoadU16BE(ReadNBytes(2));
}

std::uint32_t PLInput::ReadU32BE() {
    return bytes::LoadU32BE(ReadNBytes(4));
}

PLMemoryInput::PLMemoryInput(const std::uint8_t* data, std::size_t size) {
    SetSource("Mem", data, size);
}

PLFileInput::PLFileInput(const std::string& path) {
    const MappedFile::Error error = file_.Open(path);
    int code = 0;
    switch (error) {
        case MappedFile::Error::None:
            break;
        case MappedFile::Error::PathNotFound:
            code = pl_error::PathNotFound;
            break;
        case MappedFile::Error::AccessDenied:
        case MappedFile::Error::MapFailed:
            code = pl_error::AccessDenied;
            break;
        case MappedFile::Error::OpenFailed:
            code = pl_error::OpenFailed;
            break;
    }
    if (code != 0) {
        PLRaiseError(code, "Opening " + path + " failed");
    }
    SetSource(path, file_.Data(), file_.Size());
}

}  // namespace velmora::picture
