// The list editor's readers of outside bytes: a JPEG's frame header and the
// file dialog's buffer. Neither reads past the end; what they give back lies
// inside what they were given.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "lists/chosen_files.h"
#include "picture/pl_jpeg_frame_size.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<velmora::picture::PLFrameSize> frame =
        velmora::picture::ReadJpegFrameSize(data, size);
    if (frame && (frame->width <= 0 || frame->height <= 0)) {
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
