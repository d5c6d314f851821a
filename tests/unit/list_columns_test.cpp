// The list editor's name and folder columns of an entry.
#include <gtest/gtest.h>

#include "lists/list_columns.h"

namespace velmora::lists {
namespace {

TEST(ListColumns, FolderEntryShowsABlankNameAndItsWholePath) {
    const auto texts = ColumnTexts("C:\\Photos\\");
    EXPECT_EQ(texts.name, " ");
    EXPECT_EQ(texts.folder, "C:\\Photos\\");
}

TEST(ListColumns, FileNameLosesOnlyItsLastExtension) {
    const auto texts = ColumnTexts("C:\\My.Pictures\\beach.photo.jpg");
    EXPECT_EQ(texts.name, "beach.photo");
    EXPECT_EQ(texts.folder, "C:\\My.Pictures");
}

TEST(ListColumns, DotInTheFolderIsNotTheFilesExtension) {
    const auto texts = ColumnTexts("C:\\My.Pictures\\beach");
    EXPECT_EQ(texts.name, "beach");
    EXPECT_EQ(texts.folder, "C:\\My.Pictures");
}

TEST(ListColumns, NameThatIsAllExtensionShowsABlank) {
    EXPECT_EQ(ColumnTexts("C:\\Music\\.mp3").name, " ");
    EXPECT_EQ(ColumnTexts("").name, " ");
}

TEST(ListColumns, PathWithoutBackslashIsAllName) {
    const auto texts = ColumnTexts("song.mp3");
    EXPECT_EQ(texts.name, "song");
    EXPECT_EQ(texts.folder, "");
}

TEST(ListColumns, FileAtTheDriveRootHasTheDriveAsFolder) {
    const auto texts = ColumnTexts("D:\\a.b.c");
    EXPECT_EQ(texts.name, "a.b");
    EXPECT_EQ(texts.folder, "D:");
}

}  // namespace
}  // namespace velmora::lists
