#include "picture/win32/pl_wic_reader.h"

#include <windows.h>

#include <propidl.h>
#include <wincodec.h>

#include <algorithm>
#include <utility>

#include "base/win32/wide_text.h"
#include "picture/pl_decode_size.h"
#include "picture/pl_input.h"
#include "picture/pl_orientation.h"
#include "picture/pl_oriented_rows.h"
#include "picture/pl_raster.h"
#include "picture/pl_text_exception.h"

namespace velmora::picture {

namespace {

// A COM pointer released when it goes.
template <typename T>
class Com {
public:
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com() {
        if (p_ != nullptr) {
            p_->Release();
        }
    }
    T** Out() { return &p_; }
    T* operator->() const { return p_; }
    T* Get() const { return p_; }

private:
    T* p_ = nullptr;
};

// COM for this thread while a call runs: a multithreaded apartment unless
// the thread has one already. Every successful initialisation is undone.
class ComScope {
public:
    ComScope() {
        const HRESULT result = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        initialised_ = SUCCEEDED(result);
        if (FAILED(result) && result != RPC_E_CHANGED_MODE) {
            PLRaiseError(pl_error::NotSupported, "System picture decoders unavailable.");
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (initialised_) {
            CoUninitialize();
        }
    }

private:
    bool initialised_ = false;
};

void Check(HRESULT result, const char* what) {
    if (SUCCEEDED(result)) {
        return;
    }
    if (result == WINCODEC_ERR_COMPONENTNOTFOUND) {
        PLRaiseError(pl_error::UnknownFileType, "Unknown file type.");
    }
    if (result == E_OUTOFMEMORY) {
        PLRaiseError(pl_error::OutOfMemory, what);
    }
    PLRaiseError(pl_error::FormatError, what);
}

struct OpenFrame {
    Com<IWICImagingFactory> factory;
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> frame;
    UINT width = 0;
    UINT height = 0;
};

// The file by its wide name, or a buffer through a stream over it.
void OpenFirstFrame(const std::string& path, const std::uint8_t* data, std::size_t size,
                    OpenFrame& open) {
    Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                           IID_PPV_ARGS(open.factory.Out())),
          "System picture decoders unavailable.");
    if (!path.empty()) {
        Check(open.factory->CreateDecoderFromFilename(WideFromUtf8(path).c_str(), nullptr,
                                                      GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                      open.decoder.Out()),
              "The system cannot decode this picture.");
    } else {
        Check(open.factory->CreateStream(open.stream.Out()), "Cannot read picture from memory.");
        Check(
            open.stream->InitializeFromMemory(
                const_cast<BYTE*>(data), static_cast<DWORD>(std::min<std::size_t>(size, MAXDWORD))),
            "Cannot read picture from memory.");
        Check(open.factory->CreateDecoderFromStream(
                  open.stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, open.decoder.Out()),
              "The system cannot decode this picture.");
    }
    Check(open.decoder->GetFrame(0, open.frame.Out()), "The picture has no frame.");
    Check(open.frame->GetSize(&open.width, &open.height), "The picture has no size.");
    if (open.width < 1 || open.height < 1 || open.width > 0x7FFFFFFF || open.height > 0x7FFFFFFF) {
        PLRaiseError(pl_error::FormatError, "Invalid bitmap dimensions.");
    }
}

// The EXIF orientation tag where JPEG-like and TIFF-like containers keep it,
// or the photo orientation WIC maps from either; Upright when none is there.
PLOrientation ReadOrientation(IWICBitmapFrameDecode* frame) {
    Com<IWICMetadataQueryReader> query;
    if (FAILED(frame->GetMetadataQueryReader(query.Out()))) {
        return PLOrientation::Upright;
    }
    for (const wchar_t* name :
         {L"/app1/ifd/{ushort=274}", L"/ifd/{ushort=274}", L"System.Photo.Orientation"}) {
        PROPVARIANT value;
        PropVariantInit(&value);
        const bool found = SUCCEEDED(query->GetMetadataByName(name, &value)) &&
                           value.vt == VT_UI2 && value.uiVal >= 1 && value.uiVal <= 8;
        const auto orientation = static_cast<PLOrientation>(found ? value.uiVal : 1);
        PropVariantClear(&value);
        if (found) {
            return orientation;
        }
    }
    return PLOrientation::Upright;
}

PLFrameSize SeenSize(const OpenFrame& open, PLOrientation orientation) {
    const PLFrameSize stored{static_cast<std::int32_t>(open.width),
                             static_cast<std::int32_t>(open.height)};
    return SwapsSides(orientation) ? PLFrameSize{stored.height, stored.width} : stored;
}

// WIC's own scaled decode when the box asks for less than the frame, then
// the conversion to 32-bit B, G, R, A.
void PrepareSource(OpenFrame& open, PLFrameSize storedTarget, Com<IWICBitmapScaler>& scaler,
                   Com<IWICFormatConverter>& converter) {
    IWICBitmapSource* source = open.frame.Get();
    if (storedTarget.width != static_cast<std::int32_t>(open.width) ||
        storedTarget.height != static_cast<std::int32_t>(open.height)) {
        Check(open.factory->CreateBitmapScaler(scaler.Out()), "Cannot scale picture.");
        Check(scaler->Initialize(source, static_cast<UINT>(storedTarget.width),
                                 static_cast<UINT>(storedTarget.height),
                                 WICBitmapInterpolationModeFant),
              "Cannot scale picture.");
        source = scaler.Get();
    }
    Check(open.factory->CreateFormatConverter(converter.Out()), "Cannot convert picture.");
    Check(converter->Initialize(source, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                nullptr, 0.0, WICBitmapPaletteTypeCustom),
          "Cannot convert picture.");
}

// Row by row into the places the oriented rows give; true when any pixel is
// less than opaque.
bool CopyRows(IWICBitmapSource* source, PLRaster& raster, PLOrientation orientation) {
    PLOrientedRows rows(raster, orientation);
    const auto width = static_cast<UINT>(rows.StoredWidth());
    const UINT rowBytes = width * 4;
    bool translucent = false;
    for (std::int32_t y = 0; y < rows.StoredHeight(); ++y) {
        const WICRect line{0, y, static_cast<INT>(width), 1};
        std::uint8_t* target = rows.RowBuffer(y);
        Check(source->CopyPixels(&line, rowBytes, rowBytes, target), "Cannot read picture rows.");
        for (UINT x = 0; x < width && !translucent; ++x) {
            translucent = target[4 * x + PL_ALPHA] != 255;
        }
        rows.RowDone(y);
    }
    rows.Finish();
    return translucent;
}

}  // namespace

void PLWicReader::Decode(PLInput& input, const std::string& path, PLRaster& raster,
                         const PLDecodeHint* hint) {
    ComScope com;
    OpenFrame open;
    OpenFirstFrame(path, input.RemainingBytes(), input.GetRemaining(), open);
    const PLOrientation orientation = ReadOrientation(open.frame.Get());
    const PLFrameSize seen = DecodeSizeForHint(SeenSize(open, orientation), hint);
    const PLFrameSize stored =
        SwapsSides(orientation) ? PLFrameSize{seen.height, seen.width} : seen;

    Com<IWICBitmapScaler> scaler;
    Com<IWICFormatConverter> converter;
    PrepareSource(open, stored, scaler, converter);
    raster.Create(seen.width, seen.height, 32, false);
    raster.SetHasAlpha(CopyRows(converter.Get(), raster, orientation));
    input.NotifyProgress(1.0);
}

std::optional<PLFrameSize> ReadWicFrameSize(const std::string& path) {
    try {
        ComScope com;
        OpenFrame open;
        OpenFirstFrame(path, nullptr, 0, open);
        return SeenSize(open, ReadOrientation(open.frame.Get()));
    } catch (const PLTextException&) {
        return std::nullopt;
    }
}

PLFallbackReader* SystemFallbackReader() {
    static PLWicReader reader;
    return &reader;
}

}  // namespace velmora::picture
