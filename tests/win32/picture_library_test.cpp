// The picture library on Windows: mapped file input and its error codes,
// module resources, and painting a device-independent bitmap.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "picture/pl_auto_decoder.h"
#include "picture/pl_dib_raster.h"
#include "picture/pl_raster.h"
#include "picture/pl_text_exception.h"
#include "picture/win32/pl_dib_painting.h"
#include "picture/win32/pl_resource_input.h"
#include "picture/win32/pl_wic_reader.h"
#include "tests/win32/process_runner.h"

namespace velmora::testing {
namespace {

using namespace velmora::picture;

int FailureCode(const std::string& path) {
    PLMemoryRaster raster;
    try {
        PLAutoDecoder().DecodeFileToRaster(path, raster, 32);
    } catch (const PLTextException& e) {
        return e.GetCode();
    }
    return 0;
}

void ExpectFourColours(const PLRaster& raster) {
    ASSERT_EQ(raster.GetWidth(), 2);
    ASSERT_EQ(raster.GetHeight(), 2);
    const std::uint8_t red[4] = {0, 0, 255, 255};
    const std::uint8_t blue[4] = {255, 0, 0, 255};
    EXPECT_EQ(0, std::memcmp(raster.GetLine(0), red, 4));
    EXPECT_EQ(0, std::memcmp(raster.GetLine(1), blue, 4));
}

TEST(PictureFiles, MappedFilesDecodeAndOpenErrorsHaveTheirCodes) {
    TempFolder folder;
    ASSERT_TRUE(folder.Valid());
    const std::string picture = folder.File("four.png");
    ASSERT_TRUE(CopyFileA(PathBesideTestProgram("fixtures\\four_colours.png").c_str(),
                          picture.c_str(), FALSE));
    PLMemoryRaster raster;
    PLAutoDecoder().DecodeFileToRaster(picture, raster, 32);
    ExpectFourColours(raster);

    EXPECT_EQ(FailureCode(folder.File("absent.png")), pl_error::OpenFailed);
    EXPECT_EQ(FailureCode(folder.File("no-folder\\absent.png")), pl_error::PathNotFound);

    // Another program holding the file without sharing it: access denied.
    HANDLE locked = CreateFileA(picture.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_EQ(FailureCode(picture), pl_error::AccessDenied);
    CloseHandle(locked);

    const std::string empty = folder.File("empty.png");
    HANDLE created = CreateFileA(empty.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    CloseHandle(created);
    EXPECT_EQ(FailureCode(empty), pl_error::UnknownFileType);
}

// Files made by ImageMagick that no built-in reader claims: WIC decodes them
// whole or scaled to the box, turned by their orientation tag.
TEST(SystemDecoders, TakeWhatNoBuiltInReaderClaims) {
    const struct {
        const char* file;
        PLDecodeHint hint;
        int width, height;
        std::uint8_t blue, green, red;
    } cases[] = {
        {"red.tif", {}, 16, 12, 20, 20, 230},
        {"red.tif", {8, 8, true}, 8, 6, 20, 20, 230},
        {"green_turned.tif", {}, 12, 16, 20, 230, 20},
        {"blue.gif", {4, 4, false}, 4, 4, 230, 20, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = PathBesideTestProgram(std::string("fixtures\\") + c.file);
        PLDibRaster raster;
        PLAutoDecoder().DecodeFileToRaster(path, raster, 32, c.hint.boxWidth ? &c.hint : nullptr);
        ASSERT_EQ(raster.GetWidth(), c.width);
        ASSERT_EQ(raster.GetHeight(), c.height);
        const std::uint8_t* pixel = raster.GetLine(c.height / 2) + 4 * (c.width / 2);
        EXPECT_NEAR(pixel[PL_BLUE], c.blue, 3);
        EXPECT_NEAR(pixel[PL_GREEN], c.green, 3);
        EXPECT_NEAR(pixel[PL_RED], c.red, 3);
        EXPECT_FALSE(raster.HasAlpha());
    }
    EXPECT_EQ(ReadWicFrameSize(PathBesideTestProgram("fixtures\\green_turned.tif")),
              (PLFrameSize{12, 16}));
    const int code = FailureCode(PathBesideTestProgram("fixtures\\broken.heic"));
    EXPECT_TRUE(code == pl_error::UnknownFileType || code == pl_error::FormatError) << code;
    // Without the fallback the same file is refused as before.
    PLMemoryRaster raster;
    EXPECT_THROW(PLAutoDecoder(nullptr).DecodeFileToRaster(
                     PathBesideTestProgram("fixtures\\red.tif"), raster, 32),
                 PLTextException);
}

TEST(PictureResources, DecodeFromTheModuleAndFailWithCodeFour) {
    PLAutoDecoder decoder;
    PLMemoryRaster raster;
    DecodeResourceToRaster(decoder, GetModuleHandleA(nullptr), 101, raster, 32);
    ExpectFourColours(raster);
    try {
        DecodeResourceToRaster(decoder, GetModuleHandleA(nullptr), 999, raster, 32);
        FAIL();
    } catch (const PLTextException& e) {
        EXPECT_EQ(e.GetCode(), pl_error::OpenFailed);
        EXPECT_EQ(std::string(e.GetMessage()), "Decoder error: Opening resource 999 failed\n");
    }
}

TEST(DibRaster, PaintsItselfAndCopiesForTheClipboard) {
    PLDibRaster dib;
    PLAutoDecoder decoder;
    DecodeResourceToRaster(decoder, GetModuleHandleA(nullptr), 101, dib, 32);
    ExpectFourColours(dib);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    PLDibDraw(dib, memory, 1, 1);
    EXPECT_EQ(GetPixel(memory, 1, 1), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(memory, 2, 1), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(memory, 1, 2), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(memory, 2, 2), RGB(255, 255, 255));
    const RECT target{4, 4, 8, 8};
    PLDibStretchDraw(dib, memory, target);
    EXPECT_EQ(GetPixel(memory, 4, 4), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(memory, 7, 7), RGB(255, 255, 255));
    PLDibSetToDevice(dib, memory, 0, 0);
    EXPECT_EQ(GetPixel(memory, 1, 0), RGB(0, 255, 0));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);

    HGLOBAL copy = PLDibCopyToGlobal(dib);
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(GlobalSize(copy), dib.GetBlockSize());
    const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(copy));
    EXPECT_EQ(header->biSize, 40u);
    EXPECT_EQ(header->biWidth, 2);
    EXPECT_EQ(header->biHeight, 2);
    EXPECT_EQ(header->biBitCount, 32);
    GlobalUnlock(copy);
    GlobalFree(copy);
}

}  // namespace
}  // namespace velmora::testing
