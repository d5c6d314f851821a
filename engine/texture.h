// A picture for OpenGL: R, G, B (or R, G, B, A) bytes, rows bottom-up, with
// the TEX record and conversions from picture files.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/array_record.h"
#include "engine/serializable.h"

namespace velmora::engine {

class Texture : public Serializable {
public:
    static constexpr std::uint8_t kMagic = 0x47;
    static constexpr std::size_t kFixedBytes = 14;

    // Empty: sizes 0, no pixels, GL name 0, dirty, empty name.
    Texture();

    // The TEX record.
    HRESULT Serialize(SerializeDirection direction, std::uint8_t* buffer, std::size_t bufferLength,
                      std::size_t* byteCounter, bool bodyOnly) override;

    // A packed TEX file on disk.
    HRESULT LoadPackedFile(const char* path);

    // Builds the texture from a picture file: power-of-two sizing, or the
    // requested size (-1: the picture's own), optionally fitted into a square
    // with the fill colour around it; then the alpha companions unless noAlpha.
    HRESULT LoadFromPicture(const char* path, int width, int height, std::uint8_t fillR,
                            std::uint8_t fillG, std::uint8_t fillB, bool fit, bool noAlpha,
                            bool powerOfTwo);
    HRESULT LoadPictureAsTexture(const char* path, bool noAlpha);
    // Adds an alpha channel taken from the red bytes of another picture of
    // the same size.
    HRESULT AddAlphaFromPicture(const char* path);

    // Resamples the pixels; 1 when the size is already that.
    HRESULT Resize(int newWidth, int newHeight, bool smooth, bool swapRedBlue);
    // Drops the pixels after an upload; the GL name stays.
    void ReleasePixels();
    // Makes the texture empty again: no pixels, sizes and GL name 0, dirty,
    // empty name.
    void Reset();

    // Takes a block of width × height × bytesPerPixel bytes.
    void SetPixels(int width, int height, int bytesPerPixel,
                   std::unique_ptr<std::uint8_t[]> pixels);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int BytesPerPixel() const { return bytesPerPixel_; }
    std::uint8_t* Pixels() { return pixels_.get(); }
    const std::uint8_t* Pixels() const { return pixels_.get(); }
    std::size_t PixelBytes() const;

    std::uint32_t GlName() const { return glName_; }
    void SetGlName(std::uint32_t name) { glName_ = name; }
    bool IsDirty() const { return dirty_ != 0; }
    void SetDirty(bool dirty) { dirty_ = dirty ? 1 : 0; }

    // The NUL-terminated name ("" when none).
    const char* Name() const;
    void SetName(const char* name);

private:
    HRESULT WriteRecord(std::uint8_t* buffer, std::size_t bufferLength, std::size_t* byteCounter,
                        bool bodyOnly);
    bool WriteHeader(RecordCursor& out);
    HRESULT ReadBody(RecordCursor& in, std::size_t* byteCounter);
    HRESULT ReadRecord(RecordCursor& in, std::size_t* byteCounter);

    int width_ = 0;
    int height_ = 0;
    int bytesPerPixel_ = 0;
    std::unique_ptr<std::uint8_t[]> pixels_;
    std::uint32_t glName_ = 0;
    std::uint8_t dirty_ = 1;
    ByteArray name_;
};

}  // namespace velmora::engine
