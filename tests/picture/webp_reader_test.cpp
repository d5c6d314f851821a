// WebP pictures made by Debian's cwebp and img2webp, decoded against dwebp's own output.
#include "picture/pl_webp_reader.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "picture/pl_auto_decoder.h"
#include "picture/pl_input.h"
#include "picture/pl_raster.h"
#include "picture/pl_text_exception.h"
#include "tests/support/picture_samples.h"

namespace velmora::picture {
namespace {

using testing::Bytes;
using testing::TempFile;

struct Picture {
    int width = 0;
    int height = 0;
    Bytes rgba;
};

// A colourful 60 × 40 picture; with alpha, its alpha falls from left to right.
Bytes Samples(bool alpha, std::uint8_t tint = 0) {
    Bytes samples;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 60; ++x) {
            samples.insert(samples.end(), {static_cast<std::uint8_t>(x * 4 + tint),
                                           static_cast<std::uint8_t>(y * 6),
                                           static_cast<std::uint8_t>((x + y) * 2)});
            if (alpha) {
                samples.push_back(static_cast<std::uint8_t>(255 - x * 4));
            }
        }
    }
    return samples;
}

std::string Folder(const TempFile& file) {
    return file.Path().substr(0, file.Path().rfind('/') + 1);
}

void RunTool(const std::string& command) {
    ASSERT_EQ(std::system((command + " >/dev/null 2>&1").c_str()), 0) << command;
}

Bytes ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// dwebp's PAM output: a text header ending in "ENDHDR\n", then R, G, B, A.
Picture ReadPam(const std::string& path) {
    const Bytes pam = ReadAll(path);
    const std::string text(pam.begin(), pam.end());
    Picture picture;
    std::sscanf(text.c_str() + text.find("WIDTH"), "WIDTH %d", &picture.width);
    std::sscanf(text.c_str() + text.find("HEIGHT"), "HEIGHT %d", &picture.height);
    picture.rgba.assign(pam.begin() + static_cast<std::ptrdiff_t>(text.find("ENDHDR\n") + 7),
                        pam.end());
    return picture;
}

int LargestDifference(const PLRaster& raster, const Picture& reference) {
    int largest = 0;
    for (int y = 0; y < reference.height; ++y) {
        for (int x = 0; x < reference.width; ++x) {
            const std::uint8_t* ours = raster.GetLine(y) + 4 * x;
            const std::uint8_t* theirs = &reference.rgba[4 * (y * reference.width + x)];
            for (const auto& [a, b] :
                 {std::pair{ours[PL_RED], theirs[0]}, std::pair{ours[PL_GREEN], theirs[1]},
                  std::pair{ours[PL_BLUE], theirs[2]}, std::pair{ours[PL_ALPHA], theirs[3]}}) {
                largest = std::max(largest, std::abs(a - b));
            }
        }
    }
    return largest;
}

struct Made {
    TempFile png;
    std::string webp;
};

TEST(WebPReader, DecodesAsDwebpDoesWholeAndScaled) {
    struct Case {
        const char* name;
        const char* options;
        bool alpha;
        PLDecodeHint hint;
        int width, height;
    };
    const Case cases[] = {
        {"lossy", "-q 80", false, {}, 60, 40},
        {"lossless", "-lossless", false, {}, 60, 40},
        {"alpha", "-q 80 -alpha_q 100", true, {}, 60, 40},
        {"fitted", "-q 80", false, {32, 32, true}, 32, 21},
        {"stretched", "-lossless", true, {20, 30, false}, 20, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFile png(
            "in.png", testing::EncodePng(60, 40, c.alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                                         8, Samples(c.alpha)));
        const std::string webp = Folder(png) + "out.webp";
        const std::string pam = Folder(png) + "out.pam";
        RunTool("cwebp " + std::string(c.options) + " " + png.Path() + " -o " + webp);
        const bool hinted = c.hint.boxWidth > 0;
        RunTool(
            "dwebp " + webp + " -pam -o " + pam +
            (hinted ? " -scale " + std::to_string(c.width) + " " + std::to_string(c.height) : ""));
        const Picture reference = ReadPam(pam);

        PLMemoryRaster raster;
        PLAutoDecoder().DecodeFileToRaster(webp, raster, 32, hinted ? &c.hint : nullptr);
        std::remove(webp.c_str());
        std::remove(pam.c_str());
        ASSERT_EQ(raster.GetWidth(), c.width);
        ASSERT_EQ(raster.GetHeight(), c.height);
        EXPECT_EQ(raster.HasAlpha(), c.alpha);
        EXPECT_LE(LargestDifference(raster, reference), 2);
    }
}

TEST(WebPReader, AnAnimationShowsItsFirstFrame) {
    const TempFile first("first.png",
                         testing::EncodePng(60, 40, PNG_COLOR_TYPE_RGB, 8, Samples(false, 0)));
    const TempFile second("second.png",
                          testing::EncodePng(60, 40, PNG_COLOR_TYPE_RGB, 8, Samples(false, 12)));
    const std::string webp = Folder(first) + "anim.webp";
    const std::string pam = Folder(first) + "first.pam";
    RunTool("img2webp -lossless " + first.Path() + " -d 100 " + second.Path() + " -o " + webp);
    RunTool("cwebp -lossless " + first.Path() + " -o " + webp + ".still");
    RunTool("dwebp " + webp + ".still -pam -o " + pam);
    const Picture reference = ReadPam(pam);
    const Bytes bytes = ReadAll(webp);
    std::remove(webp.c_str());
    std::remove((webp + ".still").c_str());
    std::remove(pam.c_str());

    EXPECT_EQ(ReadWebPFrameSize(bytes.data(), bytes.size()), (PLFrameSize{60, 40}));
    PLMemoryRaster raster;
    PLAutoDecoder().DecodeMemoryToRaster(bytes.data(), bytes.size(), raster, 32);
    ASSERT_EQ(raster.GetWidth(), 60);
    EXPECT_EQ(LargestDifference(raster, reference), 0);
}

// A lossless header claiming 16384 × 16384 pixels and nothing after it.
Bytes HugeLosslessHeader() {
    Bytes file = {'R',  'I',  'F',  'F', 0,   0,  0, 0, 'W', 'E',  'B',
                  'P',  'V',  'P',  '8', 'L', 13, 0, 0, 0,   0x2F, 0xFF,
                  0xFF, 0xFF, 0x0F, 0,   0,   0,  0, 0, 0,   0,    0};
    file[4] = static_cast<std::uint8_t>(file.size() - 8);
    return file;
}

TEST(WebPReader, BadInputFailsCleanlyBeforeAllocating) {
    const Bytes huge = HugeLosslessHeader();
    EXPECT_EQ(ReadWebPFrameSize(huge.data(), huge.size()), (PLFrameSize{16384, 16384}));
    const std::size_t limit = PLRaster::GetMaximumBytes();
    PLRaster::SetMaximumBytes(std::size_t{64} << 20);
    const Bytes truncated(huge.begin(), huge.begin() + 18);
    const struct {
        Bytes file;
        int code;
    } cases[] = {{huge, pl_error::OutOfMemory}, {truncated, pl_error::EndOfFile}};
    for (const auto& c : cases) {
        PLMemoryRaster raster;
        PLMemoryInput input(c.file.data(), c.file.size());
        try {
            PLWebPReader().Decode(input, raster, nullptr);
            ADD_FAILURE() << "decoded";
        } catch (const PLTextException& e) {
            EXPECT_EQ(e.GetCode(), c.code);
        }
    }
    PLRaster::SetMaximumBytes(limit);
}

}  // namespace
}  // namespace velmora::picture
