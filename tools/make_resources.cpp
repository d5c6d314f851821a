// Writes the program's packed resources into a folder:
// make_resources OUT-DIR [--fonts FOLDER] [--preview PNG-DIR] [--icon ICO-FILE]
#include <cstdio>
#include <string>

#include "tools/program_icon.h"
#include "tools/resource_art.h"
#include "tools/resource_generator.h"

namespace {

bool WriteIcon(const std::string& path, const std::string& fonts) {
    const auto bytes = velmora::tools::GenerateProgramIcon(fonts);
    FILE* file = bytes.empty() ? nullptr : std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "make_resources: cannot make the icon %s\n", path.c_str());
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "make_resources: cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s: %zu bytes\n", path.c_str(), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace velmora::tools;
    std::string out;
    std::string fonts = kDefaultFontFolder;
    std::string preview;
    std::string icon;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--fonts" && i + 1 < argc) {
            fonts = argv[++i];
        } else if (arg == "--preview" && i + 1 < argc) {
            preview = argv[++i];
        } else if (arg == "--icon" && i + 1 < argc) {
            icon = argv[++i];
        } else if (out.empty()) {
            out = arg;
        } else {
            std::fprintf(
                stderr,
                "usage: make_resources OUT-DIR [--fonts DIR] [--preview DIR] [--icon FILE]\n");
            return 2;
        }
    }
    if (out.empty()) {
        std::fprintf(stderr,
                     "usage: make_resources OUT-DIR [--fonts DIR] [--preview DIR] [--icon FILE]\n");
        return 2;
    }
    const auto resources = GenerateResources(fonts);
    if (resources.empty()) {
        std::fprintf(stderr, "make_resources: could not make the resources (fonts in %s?)\n",
                     fonts.c_str());
        return 1;
    }
    for (const auto& r : resources) {
        const std::string path = out + "/" + r.name;
        FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr ||
            std::fwrite(r.packed.data(), 1, r.packed.size(), file) != r.packed.size()) {
            std::fprintf(stderr, "make_resources: cannot write %s\n", path.c_str());
            if (file != nullptr) {
                std::fclose(file);
            }
            return 1;
        }
        std::fclose(file);
        std::printf("%s: %zu bytes\n", path.c_str(), r.packed.size());
    }
    if (!icon.empty() && !WriteIcon(icon, fonts)) {
        return 1;
    }
    if (!preview.empty()) {
        const bool written = WriteArtPng(MakeChromeEnvironment(), preview + "/chrome.png") &&
                             WriteArtPng(MakeSkyEnvironment(), preview + "/sky.png") &&
                             WriteArtPng(MakeDefaultPicture(fonts), preview + "/default.png") &&
                             WriteArtPng(MakeFontPicture(fonts), preview + "/font1-a.png");
        if (!written) {
            std::fprintf(stderr, "make_resources: cannot write the previews\n");
            return 1;
        }
    }
    return 0;
}
