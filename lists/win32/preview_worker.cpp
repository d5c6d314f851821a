#include "lists/win32/preview_worker.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "base/mapped_file.h"
#include "picture/pl_auto_decoder.h"
#include "picture/pl_format.h"
#include "picture/pl_jpeg_frame_size.h"
#include "picture/pl_scale_filter.h"
#include "picture/pl_webp_reader.h"
#include "picture/win32/pl_wic_reader.h"

namespace velmora::lists {

namespace {

PictureSize BoxSize(const ListEditorRequest& request) {
    RECT box{};
    GetWindowRect(GetDlgItem(request.dialog, kPreviewBoxId), &box);
    return {box.right - box.left, box.bottom - box.top};
}

// A picture decoded at a reduced scale no longer tells its own size.
std::optional<picture::PLFrameSize> StoredSize(const std::string& path, const MappedFile& file) {
    if (auto frame = picture::ReadJpegFrameSize(file.Data(), file.Size())) {
        return frame;
    }
    if (auto frame = picture::ReadWebPFrameSize(file.Data(), file.Size())) {
        return frame;
    }
    const std::size_t head = std::min(file.Size(), picture::kRecognitionBytes);
    if (picture::HasBuiltInReader(picture::RecognizeFormat(file.Data(), head, file.Size()))) {
        return std::nullopt;
    }
    return picture::ReadWicFrameSize(path);
}

std::optional<PictureSize> HeaderSize(const std::string& path) {
    MappedFile file;
    if (file.Open(path) != MappedFile::Error::None) {
        return std::nullopt;
    }
    const std::optional<picture::PLFrameSize> frame = StoredSize(path, file);
    if (!frame) {
        return std::nullopt;
    }
    return PictureSize{frame->width, frame->height};
}

struct DecodedPreview {
    std::unique_ptr<picture::PLDibRaster> raster;
    PictureSize fullSize;
};

std::optional<DecodedPreview> Decode(const std::string& path, PictureSize box) {
    try {
        DecodedPreview result{std::make_unique<picture::PLDibRaster>(), {}};
        // A reader that scales while decoding tells the picture's own size
        // and hands back the preview already fitted.
        std::optional<PictureSize> scaledFrom;
        picture::PLDecodeHint hint{box.width, box.height, true};
        hint.scaledSize = [&scaledFrom, box](picture::PLSize seen) {
            scaledFrom = PictureSize{seen.width, seen.height};
            const PictureSize fitted = FitPreview(*scaledFrom, box);
            return picture::PLSize{fitted.width, fitted.height};
        };
        picture::PLAutoDecoder decoder;
        decoder.DecodeFileToRaster(path, *result.raster, 32, &hint);
        if (scaledFrom) {
            result.fullSize = *scaledFrom;
            return result;
        }
        const PictureSize decoded{result.raster->GetWidth(), result.raster->GetHeight()};
        result.fullSize = FullPictureSize(decoded, HeaderSize(path));
        const PictureSize fitted = FitPreview(decoded, box);
        if (!(fitted == decoded)) {
            result.raster->ApplyRasterFilter(picture::PLScaleFilter(fitted.width, fitted.height));
        }
        return result;
    } catch (...) {
        // PLTextException for a file the library refuses; nothing may end the
        // worker's thread.
        return std::nullopt;
    }
}

// Publishes a result (or, with none, clears the preview) when its path is
// still the one asked for: an older result would show a picture that the
// selection no longer names.
void Publish(ListEditorRequest& request, const std::string& path,
             std::optional<DecodedPreview> decoded) {
    {
        PreviewLock lock(request);
        if (path != request.requestedPath) {
            return;
        }
        if (decoded) {
            request.preview = std::move(decoded->raster);
            request.fullSize = decoded->fullSize;
            request.shownPath = path;
        } else {
            request.preview.reset();
            request.shownPath.clear();
        }
    }
    PostMessageA(request.dialog, WM_USER, 0, 0);
}

DWORD WINAPI PreviewWorker(void* parameter) {
    auto& request = *static_cast<ListEditorRequest*>(parameter);
    // The quit event comes first so that it wins over a pending request.
    const HANDLE events[] = {request.quitEvent, request.requestEvent};
    while (WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        LoadPreview(request);
        InvalidateRect(request.dialog, nullptr, FALSE);
    }
    return 0;
}

}  // namespace

bool StartPreviewWorker(ListEditorRequest& request) {
    request.worker = CreateThread(nullptr, 0, PreviewWorker, &request, 0, nullptr);
    return request.worker != nullptr;
}

void StopPreviewWorker(ListEditorRequest& request) {
    if (request.worker == nullptr) {
        return;
    }
    SetEvent(request.quitEvent);
    WaitForSingleObject(request.worker, INFINITE);
    CloseHandle(request.worker);
    request.worker = nullptr;
}

bool LoadPreview(ListEditorRequest& request) {
    const PictureSize box = BoxSize(request);
    std::string path;
    {
        PreviewLock lock(request);
        path = request.requestedPath;
    }
    // A request cleared before the worker came to it.
    if (path.empty()) {
        return false;
    }
    std::optional<DecodedPreview> decoded = Decode(path, box);
    const bool loaded = decoded.has_value();
    Publish(request, path, std::move(decoded));
    return loaded;
}

}  // namespace velmora::lists
