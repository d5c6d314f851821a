// Turning the file dialog's buffer into the chosen full paths.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lists/chosen_files.h"

namespace velmora::lists {
namespace {

using Paths = std::vector<std::string>;

Paths Chosen(const std::string& buffer, std::size_t offset) {
    return ChosenFiles(buffer.data(), buffer.size(), offset);
}

TEST(ChosenFiles, OneFileIsTheWholePath) {
    EXPECT_EQ(Chosen(std::string("C:\\My.Pics\\a.jpg\0\0", 18), 11), Paths{"C:\\My.Pics\\a.jpg"});
}

TEST(ChosenFiles, SeveralFilesJoinTheFolderWithEachName) {
    const std::string buffer("C:\\Pics\0a.jpg\0b c.png\0\0", 24);
    EXPECT_EQ(Chosen(buffer, 8), (Paths{"C:\\Pics\\a.jpg", "C:\\Pics\\b c.png"}));
    const std::string root("C:\\\0a.jpg\0b.jpg\0\0", 17);
    EXPECT_EQ(Chosen(root, 4), (Paths{"C:\\a.jpg", "C:\\b.jpg"}));
}

TEST(ChosenFiles, TextsWithoutTerminatorInTheBufferAreNotTaken) {
    EXPECT_EQ(Chosen(std::string("C:\\Pics\0a.jpg\0b.jp", 18), 8), Paths{"C:\\Pics\\a.jpg"});
    EXPECT_EQ(Chosen(std::string("C:\\Pics", 7), 3), Paths{});
    EXPECT_EQ(Chosen(std::string("\0\0", 2), 1), Paths{});
}

TEST(ChosenFiles, BackslashOmittedOnlyAfterALongerFolderEndingInOne) {
    EXPECT_EQ(PathInFolder("C:\\", "a"), "C:\\a");
    EXPECT_EQ(PathInFolder("C:", "a"), "C:\\a");
    EXPECT_EQ(PathInFolder("\\", "a"), "\\\\a");
}

}  // namespace
}  // namespace velmora::lists
