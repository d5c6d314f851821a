// The report's lines and the pixel-format scoring of its OpenGL step.
#include <gtest/gtest.h>

#include <vector>

#include "diag/pixel_format_choice.h"
#include "diag/report_text.h"

namespace velmora::diag {
namespace {

TEST(ReportText, LinesInOrderWithPaddedLabels) {
    SystemFacts facts;
    facts.windowsName = "Windows XP";
    facts.server = true;
    facts.versionText = "5.1.2600 Service Pack 2";
    facts.processorText = "Intel Pentium III 733 MHz";
    facts.totalPhysicalBytes = (512ull << 20) + 1048575;
    facts.gl = GlStrings{"V", "R", "1.1"};
    EXPECT_EQ(ReportText(facts),
              "Windows:     Windows XP Server 5.1.2600 Service Pack 2\r\n"
              "Processor:   Intel Pentium III 733 MHz\r\n"
              "Memory:      512 MB\r\n"
              "GL_VENDOR:   V\r\n"
              "GL_RENDERER: R\r\n"
              "GL_VERSION:  1.1\r\n");
}

TEST(ReportText, ErrorLinesReplaceWhatFailed) {
    SystemFacts facts;
    facts.windowsName = "unknown Windows version";
    EXPECT_EQ(ReportText(facts),
              "Windows:     unknown Windows version \r\n"
              "Processor:   CPU:         There was an error getting your CPU info, please fill "
              "this in.\r\n"
              "Memory:      0 MB\r\n"
              "OpenGL: There was an error getting your OpenGL info, please fill this in.\r\n");
}

constexpr std::uint32_t kUsable = kPfdDrawToWindow | kPfdSupportOpenGl | kPfdDoubleBuffer;

TEST(PixelFormat, Score) {
    const struct {
        PixelFormatTraits format;
        int score;
    } rows[] = {
        {{kUsable, kPfdTypeRgba, 16, 16}, 2048},
        {{kUsable, kPfdTypeRgba, 32, 24}, 2072},  // 32 + 48 - 8
        {{kUsable, kPfdTypeRgba, 17, 0}, 2017},   // (16 - 17) / 2 rounds to 0
        {{kUsable | kPfdGenericFormat, kPfdTypeRgba, 24, 16}, 52},
        {{kUsable | kPfdGenericFormat | kPfdGenericAccelerated, kPfdTypeRgba, 24, 16}, 1052},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(PixelFormatScore(row.format), row.score);
    }
}

TEST(PixelFormat, BestCandidateFirstOfEqualScores) {
    const std::vector<PixelFormatTraits> formats = {
        {kUsable & ~kPfdDoubleBuffer, kPfdTypeRgba, 32, 32},  // single-buffered
        {kUsable, 1 /* colour index */, 32, 32},
        {kUsable | kPfdGenericFormat, kPfdTypeRgba, 32, 24},
        {kUsable, kPfdTypeRgba, 16, 16},
        {kUsable, kPfdTypeRgba, 16, 16},
        {kUsable & ~kPfdSupportOpenGl, kPfdTypeRgba, 32, 32},
    };
    EXPECT_EQ(ChooseBestPixelFormat(formats), 4);
    EXPECT_EQ(ChooseBestPixelFormat(std::span(formats).first(2)), 0);
    EXPECT_EQ(ChooseBestPixelFormat({}), 0);
}

}  // namespace
}  // namespace velmora::diag
