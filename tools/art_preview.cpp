// Writes the built-in textures as PNG files, to look at them:
// art_preview output-folder [font-folder]
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "tools/resource_art.h"

namespace {

constexpr const char* kDefaultFontFolder = "/usr/share/fonts/truetype/dejavu";

}  // namespace

int main(int argc, char** argv) {
    using namespace velmora::tools;
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: art_preview output-folder [font-folder]\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::string fonts = argc > 2 ? argv[2] : kDefaultFontFolder;
    try {
        std::filesystem::create_directories(folder);
        const struct {
            const char* name;
            ArtPicture picture;
        } pictures[] = {
            {"chrome.png", MakeChromeEnvironment()},
            {"sky.png", MakeSkyEnvironment()},
            {"default.png", MakeDefaultPicture(fonts)},
            {"font.png", MakeFontPicture(fonts)},
        };
        for (const auto& entry : pictures) {
            const std::string path = (folder / entry.name).string();
            if (!WriteArtPng(entry.picture, path)) {
                std::fprintf(stderr, "art_preview: cannot write %s\n", path.c_str());
                return 1;
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "art_preview: %s\n", error.what());
        return 1;
    }
    return 0;
}
