#include "engine/texture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <string>

#include "picture/pl_auto_decoder.h"
#include "picture/pl_raster.h"
#include "picture/pl_scale_filter.h"
#include "picture/pl_text_exception.h"

namespace velmora::engine {

namespace {

std::unique_ptr<std::uint8_t[]> Allocate(std::size_t bytes) {
    return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[bytes == 0 ? 1 : bytes]);
}

// Largest power of two not above n (1 for 1).
int PowerOfTwoBelow(int n) {
    int p = 1;
    while (p <= n / 2) {
        p *= 2;
    }
    return p;
}

bool EndsWithTex(const std::string& path) {
    if (path.size() <= 4) {
        return false;
    }
    std::string tail = path.substr(path.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == ".tex";
}

// Companion names are built in 256-byte buffers; longer paths get none.
constexpr std::size_t kCompanionBuffer = 256;

struct Size {
    int width = 0;
    int height = 0;
};

// Where the scaled picture sits inside the texture.
struct Placement {
    int textureWidth = 0;
    int textureHeight = 0;
    int scaledWidth = 0;
    int scaledHeight = 0;
    int offsetX = 0;
    int offsetY = 0;
};

// The sizes in a TEX record's header.
struct RecordSizes {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bytesPerPixel = 0;
};

bool ReadMagic(RecordCursor& in) {
    std::uint8_t magic = 0;
    std::uint8_t version = 0;
    return in.ReadU8(magic) && in.ReadU8(version) && magic == Texture::kMagic &&
           static_cast<std::int8_t>(version) <= 1;
}

bool ReadSizes(RecordCursor& in, RecordSizes& sizes) {
    return in.ReadU32(sizes.width) && in.ReadU32(sizes.height) && in.ReadU32(sizes.bytesPerPixel) &&
           (sizes.bytesPerPixel == 3 || sizes.bytesPerPixel == 4);
}

HRESULT ReadName(RecordCursor& in, ByteArray& name, std::size_t& nameBytes) {
    const HRESULT result =
        name.Serialize(SerializeDirection::Read, in.Here(), in.Remaining(), &nameBytes, false);
    if (FAILED(result)) {
        return result;
    }
    if (name.Empty() || name[name.Count() - 1] != 0) {
        return E_FAIL;  // a name must end in its terminator
    }
    in.Advance(nameBytes);
    return S_OK;
}

// Tells the decoder how large the picture will end up, so a large JPEG is
// decoded small. A size taken from the picture needs its full size.
std::optional<picture::PLDecodeHint> DecodeHint(int width, int height, bool fit,
                                                bool sizeFromPicture) {
    if (sizeFromPicture || width <= 0 || height <= 0) {
        return std::nullopt;
    }
    if (fit) {
        const int side = std::max(width, height);
        return picture::PLDecodeHint{side, side, true};
    }
    return picture::PLDecodeHint{width, height, false};
}

// The picture library reports failures by throwing.
bool Decode(const std::string& file, picture::PLMemoryRaster& raster,
            const picture::PLDecodeHint* hint) {
    try {
        picture::PLAutoDecoder().DecodeFileToRaster(file, raster, 32, hint);
    } catch (...) {
        return false;
    }
    return true;
}

Size TargetSize(Size picture, Size requested, bool powerOfTwo, bool ownSize) {
    if (powerOfTwo) {
        return {PowerOfTwoBelow(picture.width), PowerOfTwoBelow(picture.height)};
    }
    return ownSize ? picture : requested;
}

// A fitted picture keeps its aspect, centred in a square texture whose side
// is the target's height for upright pictures and its width otherwise.
Placement Place(Size picture, Size target, bool fitted) {
    Placement placement{target.width, target.height, target.width, target.height};
    if (!fitted) {
        return placement;
    }
    const float ratio = static_cast<float>(picture.width) / static_cast<float>(picture.height);
    int side = 0;
    if (picture.width < picture.height) {
        side = target.height;
        placement.scaledWidth = std::max(1, static_cast<int>(ratio * side));
        placement.scaledHeight = side;
        placement.offsetX = (side - placement.scaledWidth) / 2;
    } else {
        side = target.width;
        placement.scaledWidth = side;
        placement.scaledHeight = std::max(1, static_cast<int>(side / ratio));
        placement.offsetY = (side - placement.scaledHeight) / 2;
    }
    placement.textureWidth = side;
    placement.textureHeight = side;
    placement.scaledWidth = std::min(placement.scaledWidth, side);
    placement.scaledHeight = std::min(placement.scaledHeight, side);
    return placement;
}

bool Scale(picture::PLMemoryRaster& raster, Size picture, const Placement& placement) {
    if (placement.scaledWidth == picture.width && placement.scaledHeight == picture.height) {
        return true;
    }
    try {
        raster.ApplyRasterFilter(
            picture::PLScaleFilter(placement.scaledWidth, placement.scaledHeight));
    } catch (...) {
        return false;
    }
    return true;
}

// R, G, B rows bottom-up for OpenGL; the fill colour, when given, shows
// around the picture. Null when out of memory.
std::unique_ptr<std::uint8_t[]> ToTexturePixels(picture::PLMemoryRaster& raster,
                                                const Placement& placement,
                                                const std::uint8_t* fill) {
    const int textureWidth = placement.textureWidth;
    const std::size_t count = static_cast<std::size_t>(textureWidth) * placement.textureHeight;
    auto pixels = Allocate(count * 3);
    if (!pixels) {
        return pixels;
    }
    if (fill != nullptr) {
        for (std::size_t i = 0; i < count; ++i) {
            std::memcpy(&pixels[3 * i], fill, 3);
        }
    }
    for (int row = 0; row < placement.scaledHeight; ++row) {
        const std::uint8_t* in = raster.GetLine(row);
        const int textureRow = placement.textureHeight - 1 - (row + placement.offsetY);
        std::uint8_t* out =
            pixels.get() +
            (static_cast<std::size_t>(textureRow) * textureWidth + placement.offsetX) * 3;
        for (int x = 0; x < placement.scaledWidth; ++x) {
            out[3 * x] = in[4 * x + picture::PL_RED];
            out[3 * x + 1] = in[4 * x + picture::PL_GREEN];
            out[3 * x + 2] = in[4 * x + picture::PL_BLUE];
        }
    }
    return pixels;
}

// Alpha comes from a companion "name_a.ext" beside the picture, and from the
// picture itself when its name has "-a" in it.
void AddAlphaCompanions(Texture& texture, const std::string& file) {
    if (file.size() >= 4 && file.size() < kCompanionBuffer) {
        char companion[kCompanionBuffer + 8];
        std::snprintf(companion, sizeof companion, "%s_a.%s",
                      file.substr(0, file.size() - 4).c_str(),
                      file.substr(file.size() - 3).c_str());
        texture.AddAlphaFromPicture(companion);
    }
    if (file.find("-a") != std::string::npos) {
        texture.AddAlphaFromPicture(file.c_str());
    }
}

}  // namespace

Texture::Texture() {
    SetName("");
}

std::size_t Texture::PixelBytes() const {
    return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) *
           static_cast<std::size_t>(bytesPerPixel_);
}

const char* Texture::Name() const {
    if (name_.Empty()) {
        return "";
    }
    return reinterpret_cast<const char*>(name_.Data());
}

void Texture::SetName(const char* name) {
    // The name may point into this texture's own name, which Resize frees.
    const std::string copy = name != nullptr ? name : "";
    if (!name_.Resize(copy.size() + 1)) {
        name_.Free();
        return;
    }
    std::memcpy(name_.Data(), copy.c_str(), copy.size() + 1);
}

void Texture::Reset() {
    pixels_.reset();
    width_ = 0;
    height_ = 0;
    bytesPerPixel_ = 0;
    glName_ = 0;
    dirty_ = 1;
    SetName("");
}

void Texture::ReleasePixels() {
    pixels_.reset();
    width_ = 0;
    height_ = 0;
    bytesPerPixel_ = 0;
    dirty_ = 0;
}

void Texture::SetPixels(int width, int height, int bytesPerPixel,
                        std::unique_ptr<std::uint8_t[]> pixels) {
    width_ = width;
    height_ = height;
    bytesPerPixel_ = bytesPerPixel;
    pixels_ = std::move(pixels);
    dirty_ = 1;
}

HRESULT Texture::Serialize(SerializeDirection direction, std::uint8_t* buffer,
                           std::size_t bufferLength, std::size_t* byteCounter, bool bodyOnly) {
    if (direction == SerializeDirection::Write) {
        return WriteRecord(buffer, bufferLength, byteCounter, bodyOnly);
    }
    RecordCursor in(buffer, buffer != nullptr ? bufferLength : 0);
    return bodyOnly ? ReadBody(in, byteCounter) : ReadRecord(in, byteCounter);
}

HRESULT Texture::WriteRecord(std::uint8_t* buffer, std::size_t bufferLength,
                             std::size_t* byteCounter, bool bodyOnly) {
    const std::size_t pixelBytes = pixels_ ? PixelBytes() : 0;
    if (buffer != nullptr) {
        RecordCursor out(buffer, bufferLength);
        if ((!bodyOnly && !WriteHeader(out)) || !out.WriteBytes(pixels_.get(), pixelBytes)) {
            return E_FAIL;
        }
    }
    if (byteCounter != nullptr) {
        *byteCounter += kFixedBytes + name_.RecordBytes() + pixelBytes;
    }
    return S_OK;
}

bool Texture::WriteHeader(RecordCursor& out) {
    if (!out.WriteU8(kMagic) || !out.WriteU8(1) ||
        !out.WriteU32(static_cast<std::uint32_t>(width_)) ||
        !out.WriteU32(static_cast<std::uint32_t>(height_)) ||
        !out.WriteU32(static_cast<std::uint32_t>(bytesPerPixel_))) {
        return false;
    }
    if (FAILED(name_.Serialize(SerializeDirection::Write, out.Here(), out.Remaining(), nullptr,
                               false))) {
        return false;
    }
    out.Advance(name_.RecordBytes());
    return true;
}

// Only the pixels, into a texture that already has its size.
HRESULT Texture::ReadBody(RecordCursor& in, std::size_t* byteCounter) {
    if (!pixels_ || !in.ReadBytes(pixels_.get(), PixelBytes())) {
        return E_FAIL;
    }
    dirty_ = 1;
    if (byteCounter != nullptr) {
        *byteCounter += kFixedBytes + name_.RecordBytes() + PixelBytes();
    }
    return S_OK;
}

HRESULT Texture::ReadRecord(RecordCursor& in, std::size_t* byteCounter) {
    // A record that is not a texture leaves this one untouched.
    if (!ReadMagic(in)) {
        return E_FAIL;
    }
    Reset();
    RecordSizes sizes;
    if (!ReadSizes(in, sizes)) {
        return E_FAIL;
    }
    // The name is kept aside until the pixels have read too, so a failed
    // read leaves the texture wholly empty.
    ByteArray name;
    std::size_t nameBytes = 0;
    const HRESULT nameResult = ReadName(in, name, nameBytes);
    if (FAILED(nameResult)) {
        return nameResult;
    }
    const std::uint64_t pixelBytes = std::uint64_t{sizes.width} * std::uint64_t{sizes.height} *
                                     std::uint64_t{sizes.bytesPerPixel};
    if (pixelBytes > in.Remaining() || sizes.width > 0x7FFFFFFF || sizes.height > 0x7FFFFFFF) {
        return E_FAIL;
    }
    auto pixels = Allocate(static_cast<std::size_t>(pixelBytes));
    if (!pixels) {
        return E_OUTOFMEMORY;
    }
    in.ReadBytes(pixels.get(), static_cast<std::size_t>(pixelBytes));
    SetPixels(static_cast<int>(sizes.width), static_cast<int>(sizes.height),
              static_cast<int>(sizes.bytesPerPixel), std::move(pixels));
    name_.Swap(name);
    if (byteCounter != nullptr) {
        *byteCounter += kFixedBytes + nameBytes + static_cast<std::size_t>(pixelBytes);
    }
    return S_OK;
}

HRESULT Texture::LoadPackedFile(const char* path) {
    if (path == nullptr) {
        return E_POINTER;
    }
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return E_FAIL;
    }
    std::fseek(file, 0, SEEK_END);
    const long length = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    if (length < 0) {
        std::fclose(file);
        return E_FAIL;
    }
    auto buffer = Allocate(static_cast<std::size_t>(length) + 1);
    if (!buffer) {
        std::fclose(file);
        return E_OUTOFMEMORY;
    }
    const std::size_t got = std::fread(buffer.get(), 1, static_cast<std::size_t>(length), file);
    std::fclose(file);
    buffer[got] = 0;
    return LoadPacked(buffer.get(), got);
}

HRESULT Texture::LoadFromPicture(const char* path, int width, int height, std::uint8_t fillR,
                                 std::uint8_t fillG, std::uint8_t fillB, bool fit, bool noAlpha,
                                 bool powerOfTwo) {
    if (path == nullptr) {
        return E_POINTER;
    }
    // From here on only this copy is used: the path may be this texture's
    // own name, which the reset below replaces.
    const std::string file = path;
    if (EndsWithTex(file)) {
        return E_FAIL;
    }
    Reset();

    const bool ownSize = !powerOfTwo && (width == -1 || height == -1);
    const bool fitted = fit && !ownSize;
    picture::PLMemoryRaster raster;
    auto hint = DecodeHint(width, height, fit, powerOfTwo || ownSize);
    // A reader that scales while decoding tells the picture's own size and
    // hands back the raster already at its placement's size.
    std::optional<Size> scaledFrom;
    if (hint) {
        hint->scaledSize = [&scaledFrom, width, height, fitted](picture::PLSize seen) {
            scaledFrom = Size{seen.width, seen.height};
            const Placement placement = Place(*scaledFrom, {width, height}, fitted);
            return picture::PLSize{placement.scaledWidth, placement.scaledHeight};
        };
    }
    if (!Decode(file, raster, hint ? &*hint : nullptr)) {
        return E_FAIL;
    }
    const Size pictureSize = scaledFrom.value_or(Size{raster.GetWidth(), raster.GetHeight()});
    const Size target = TargetSize(pictureSize, {width, height}, powerOfTwo, ownSize);
    if (target.width < 1 || target.height < 1) {
        return E_FAIL;
    }
    const Placement placement = Place(pictureSize, target, fitted);
    if (!scaledFrom && !Scale(raster, pictureSize, placement)) {
        return E_FAIL;
    }
    const std::uint8_t fill[3] = {fillR, fillG, fillB};
    auto pixels = ToTexturePixels(raster, placement, fitted ? fill : nullptr);
    if (!pixels) {
        return E_OUTOFMEMORY;
    }
    SetPixels(placement.textureWidth, placement.textureHeight, 3, std::move(pixels));
    SetName(file.c_str());
    if (!noAlpha) {
        AddAlphaCompanions(*this, file);
    }
    return S_OK;
}

HRESULT Texture::LoadPictureAsTexture(const char* path, bool noAlpha) {
    return LoadFromPicture(path, -1, -1, 0, 0, 0, false, noAlpha, true);
}

HRESULT Texture::AddAlphaFromPicture(const char* path) {
    Texture mask;
    const HRESULT loaded = mask.LoadPictureAsTexture(path, true);
    if (FAILED(loaded)) {
        return loaded;
    }
    if (mask.Width() != width_ || mask.Height() != height_ || !pixels_) {
        return E_FAIL;
    }
    const std::size_t count = static_cast<std::size_t>(width_) * height_;
    auto pixels = Allocate(count * 4);
    if (!pixels) {
        return E_OUTOFMEMORY;
    }
    // This texture may already carry alpha from a companion: step by its own size.
    const int step = bytesPerPixel_;
    const int maskStep = mask.BytesPerPixel();
    for (std::size_t i = 0; i < count; ++i) {
        pixels[4 * i] = pixels_[step * i];
        pixels[4 * i + 1] = pixels_[step * i + 1];
        pixels[4 * i + 2] = pixels_[step * i + 2];
        pixels[4 * i + 3] = mask.Pixels()[maskStep * i];
    }
    pixels_ = std::move(pixels);
    bytesPerPixel_ = 4;
    glName_ = 0;
    dirty_ = 1;
    return S_OK;
}

HRESULT Texture::Resize(int newWidth, int newHeight, bool smooth, bool swapRedBlue) {
    if (!pixels_ || width_ < 1 || height_ < 1 || newWidth < 1 || newHeight < 1) {
        return E_FAIL;
    }
    if (newWidth == width_ && newHeight == height_) {
        return S_FALSE;
    }
    const int bpp = bytesPerPixel_;
    auto pixels = Allocate(static_cast<std::size_t>(newWidth) * newHeight * bpp);
    if (!pixels) {
        return E_OUTOFMEMORY;
    }
    const float stepX = static_cast<float>(width_) / static_cast<float>(newWidth);
    const float stepY = static_cast<float>(height_) / static_cast<float>(newHeight);
    auto source = [&](int x, int y) {
        return pixels_.get() + (static_cast<std::size_t>(y) * width_ + x) * bpp;
    };
    float y = 0.0f;
    for (int row = 0; row < newHeight; ++row, y += stepY) {
        const int y0 = std::min(static_cast<int>(y), height_ - 1);
        const int y1 = y0 + 1 < height_ ? y0 + 1 : y0;
        const float fy = y - static_cast<float>(y0);
        float x = 0.0f;
        for (int column = 0; column < newWidth; ++column, x += stepX) {
            const int x0 = std::min(static_cast<int>(x), width_ - 1);
            std::uint8_t* out =
                pixels.get() + (static_cast<std::size_t>(row) * newWidth + column) * bpp;
            if (!smooth) {
                std::memcpy(out, source(x0, y0), static_cast<std::size_t>(bpp));
                continue;
            }
            const int x1 = x0 + 1 < width_ ? x0 + 1 : x0;
            const float fx = x - static_cast<float>(x0);
            for (int c = 0; c < 3; ++c) {
                const float a = source(x0, y0)[c];
                const float b = source(x1, y0)[c];
                const float cc = source(x0, y1)[c];
                const float d = source(x1, y1)[c];
                const auto top = static_cast<float>(static_cast<int>(a * (1 - fx) + b * fx));
                const auto bottom = static_cast<float>(static_cast<int>(cc * (1 - fx) + d * fx));
                const int value = static_cast<int>(top * (1 - fy) + bottom * fy);
                out[swapRedBlue ? 2 - c : c] = static_cast<std::uint8_t>(value);
            }
            if (bpp == 4) {
                // Only colour is interpolated; alpha comes from the nearest pixel.
                out[3] = source(x0, y0)[3];
            }
        }
    }
    pixels_ = std::move(pixels);
    width_ = newWidth;
    height_ = newHeight;
    dirty_ = 1;
    return S_OK;
}

}  // namespace velmora::engine
