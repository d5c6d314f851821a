// Where a picture's bytes come from: a mapped file, a caller's buffer or a
// module resource. Reading past the end throws code 11.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "base/mapped_file.h"
#include "picture/pl_object.h"

namespace velmora::picture {

class PLInput : public PLObject {
public:
    // Told the fraction read so far, each time another 1,024 bytes are read.
    using ProgressNotifier = std::function<void(double fractionRead)>;

    PLInput(const PLInput&) = delete;
    PLInput& operator=(const PLInput&) = delete;
    ~PLInput() override = default;

    const std::string& GetName() const { return name_; }
    std::size_t GetFileSize() const { return size_; }
    std::size_t GetPosition() const { return position_; }
    std::size_t GetRemaining() const { return size_ - position_; }

    void SetProgressNotifier(ProgressNotifier notifier) { notifier_ = std::move(notifier); }
    // For readers whose library reports progress itself.
    void NotifyProgress(double fractionDone) const {
        if (notifier_) {
            notifier_(fractionDone);
        }
    }

    // Returns the next n bytes and moves past them.
    const std::uint8_t* ReadNBytes(std::size_t n);
    // Returns the next n bytes without moving.
    const std::uint8_t* PeekNBytes(std::size_t n) const;
    void Skip(std::size_t n) { ReadNBytes(n); }

    std::uint8_t ReadByte() { return *ReadNBytes(1); }
    std::uint16_t ReadU16LE();
    std::uint32_t ReadU32LE();
    std::uint16_t ReadU16BE();
    std::uint32_t ReadU32BE();

    // Bytes from the current position to the end, for readers that hand the
    // rest of the input to a library in one piece.
    const std::uint8_t* RemainingBytes() const { return data_ + position_; }

    // Readers that hand the bytes to a library say how far it has read, so
    // the input can let go of what lies well behind.
    void ConsumedUpTo(const std::uint8_t* position);
    // The same for the bytes in [begin, end) of the input, for a reader
    // that moves through several parts of it at once.
    void ConsumedRange(const std::uint8_t* begin, const std::uint8_t* end);

protected:
    PLInput() = default;
    void SetSource(std::string name, const std::uint8_t* data, std::size_t size);
    // Bytes before offset will not be needed again soon.
    virtual void ReleaseBefore(std::size_t) {}
    virtual void ReleaseRange(std::size_t, std::size_t) {}

private:
    [[noreturn]] static void ThrowEndOfFile();

    std::string name_;
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t position_ = 0;
    ProgressNotifier notifier_;
};

// A caller's buffer; named "Mem".
class PLMemoryInput : public PLInput {
public:
    PLMemoryInput(const std::uint8_t* data, std::size_t size);
};

// A whole file, mapped read-only. Open errors become codes 3, 4 and 5.
class PLFileInput : public PLInput {
public:
    explicit PLFileInput(const std::string& path);

protected:
    void ReleaseBefore(std::size_t offset) override { file_.ReleaseBefore(offset); }
    void ReleaseRange(std::size_t begin, std::size_t end) override {
        file_.ReleaseRange(begin, end);
    }

private:
    MappedFile file_;
};

}  // namespace velmora::picture
