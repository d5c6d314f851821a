// The list editor's readers of outside bytes: a JPEG's frame header, the
// file dialog's buffer and stored names in any encoding. None reads past the
// end; what they give back lies inside what they were given, and a name comes
// back through UTF-16 as its valid UTF-8 form.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/utf8.h"
#include "lists/chosen_files.h"
#include "picture/pl_jpeg_frame_size.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<velmora::picture::PLFrameSize> frame =
        velmora::picture::ReadJpegFrameSize(data, size);
    if (frame && (frame->width <= 0 || frame->height <= 0)) {
        std::abort();
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string valid = velmora::ValidUtf8(text);
    if (!velmora::IsValidUtf8(valid) ||
        velmora::Utf8FromUtf16(velmora::Utf16FromUtf8(text)) != valid ||
        velmora::Utf16Length(text) != velmora::Utf16FromUtf8(text).size()) {
        std::abort();
    }
    if (size < 2) {
        return 0;
    }
    // The first two bytes are the offset of the first file name.
    const std::size_t offset = data[0] | static_cast<std::size_t>(data[1]) << 8;
    const std::vector<char> buffer(data + 2, data + size);
    const std::vector<std::string> paths =
        velmora::lists::ChosenFiles(buffer.data(), buffer.size(), offset);
    std::size_t total = 0;
    for (const std::string& path : paths) {
        total += path.size();
    }
    // Each path is at most the folder, a backslash and one name of the buffer.
    if (total > buffer.size() * (paths.size() + 1)) {
        std::abort();
    }
    return 0;
}
