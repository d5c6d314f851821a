// The list editor's preview: fitting, full size, format and info text.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "lists/list_file_types.h"
#include "lists/preview_choice.h"
#include "lists/preview_geometry.h"
#include "lists/preview_info.h"
#include "scene/media_lists.h"

namespace velmora::lists {
namespace {

TEST(ListPreview, FitKeepsTheShapeInsideTheBox) {
    struct Case {
        PictureSize picture, box, fitted;
    };
    const Case cases[] = {
        {{4000, 3000}, {180, 166}, {180, 135}}, {{3000, 4000}, {180, 166}, {124, 166}},
        {{1000, 1000}, {180, 166}, {166, 166}}, {{10000, 1}, {180, 166}, {180, 1}},
        {{40, 30}, {180, 166}, {180, 135}},     {{40, 30}, {180, 0}, {40, 30}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FitPreview(c.picture, c.box), c.fitted) << c.picture.width;
    }
}

TEST(ListPreview, FullSizeUndoesAReducedDecode) {
    const PictureSize header{6001, 4001};
    EXPECT_EQ(FullPictureSize({751, 501}, header), header);
    EXPECT_EQ(FullPictureSize({180, 120}, header), header);
    EXPECT_EQ(FullPictureSize({120, 180}, header), (PictureSize{4001, 6001}));
    EXPECT_EQ(FullPictureSize({180, 125}, header), (PictureSize{180, 125}));
    EXPECT_EQ(FullPictureSize({501, 751}, header), (PictureSize{4001, 6001}));
    EXPECT_EQ(FullPictureSize({6001, 4001}, header), header);
    EXPECT_EQ(FullPictureSize({640, 480}, header), (PictureSize{640, 480}));
    EXPECT_EQ(FullPictureSize({640, 480}, std::nullopt), (PictureSize{640, 480}));
}

TEST(ListPreview, FormatIsTheFileNamesLastExtension) {
    EXPECT_EQ(FormatText("C:\\My.Pictures\\beach"), "none found");
    EXPECT_EQ(FormatText("C:\\Pics\\beach.photo.JPG"), ".JPG");
    EXPECT_EQ(FormatText("C:\\Pics\\trailing."), ".");
}

TEST(ListPreview, InfoTextGivesPositionFormatAndFullSize) {
    EXPECT_EQ(PreviewInfoText(2, 5, "C:\\a.jpg", {4000, 3000}),
              "Item 2 of 5\nFormat: .jpg\nDimensions: 4000 x 3000");
}

TEST(ListPreview, OnlyOneSelectedFileIsPreviewed) {
    EXPECT_EQ(ChoosePreview(1, false, "C:\\a.jpg", ""), PreviewChoice::Request);
    EXPECT_EQ(ChoosePreview(1, false, "C:\\a.jpg", "C:\\a.jpg"), PreviewChoice::Keep);
    EXPECT_EQ(ChoosePreview(2, false, "C:\\a.jpg", ""), PreviewChoice::Clear);
    EXPECT_EQ(ChoosePreview(1, false, "C:\\Pics\\", ""), PreviewChoice::Clear);
    EXPECT_EQ(ChoosePreview(1, true, "C:\\a.jpg", ""), PreviewChoice::Clear);
}

TEST(ListPreview, FileTypesOfferOnlyWhatARunAccepts) {
    const struct {
        std::string block;
        std::vector<std::string> extensions;
    } lists[] = {{PictureFileTypes(), scene::PictureExtensions()},
                 {MusicFileTypes(), scene::AudioExtensions()}};
    for (const auto& list : lists) {
        ASSERT_GE(list.block.size(), 2u);
        EXPECT_EQ(list.block.substr(list.block.size() - 2), std::string(2, '\0'));
        std::vector<std::string> texts;
        for (std::size_t at = 0; list.block[at] != '\0'; at += texts.back().size() + 1) {
            texts.emplace_back(list.block.c_str() + at);
        }
        ASSERT_EQ(texts.size() % 2, 0u);
        for (std::size_t i = 1; i < texts.size(); i += 2) {
            std::string patterns = texts[i];
            std::replace(patterns.begin(), patterns.end(), ';', ',');
            for (const std::string& pattern : scene::SplitExtensionList(patterns)) {
                ASSERT_EQ(pattern.rfind("*.", 0), 0u) << pattern;
                EXPECT_TRUE(scene::MatchesExtension(pattern.substr(1), list.extensions)) << pattern;
            }
        }
    }
}

}  // namespace
}  // namespace velmora::lists
