// Decodes a picture the way the saver does and optionally writes the result
// as a PPM: pldecode [--fit N | --stretch N | --full] [--out file.ppm] picture
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "picture/pl_auto_decoder.h"
#include "picture/pl_raster.h"
#include "picture/pl_scale_filter.h"
#include "picture/pl_text_exception.h"

namespace {

using namespace velmora::picture;

int Usage() {
    std::fprintf(stderr,
                 "usage: pldecode [--fit N | --stretch N | --full] [--out file.ppm] picture\n");
    return 2;
}

bool WritePpm(const PLRaster& raster, const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    std::fprintf(file, "P6\n%d %d\n255\n", raster.GetWidth(), raster.GetHeight());
    std::string row(static_cast<std::size_t>(raster.GetWidth()) * 3, '\0');
    for (int y = 0; y < raster.GetHeight(); ++y) {
        const std::uint8_t* in = raster.GetLine(y);
        for (int x = 0; x < raster.GetWidth(); ++x) {
            row[3 * x] = static_cast<char>(in[4 * x + PL_RED]);
            row[3 * x + 1] = static_cast<char>(in[4 * x + PL_GREEN]);
            row[3 * x + 2] = static_cast<char>(in[4 * x + PL_BLUE]);
        }
        std::fwrite(row.data(), 1, row.size(), file);
    }
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    int box = 512;
    bool fit = true;
    bool full = false;
    std::string out;
    std::string input;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--fit" || arg == "--stretch") && i + 1 < argc) {
            fit = arg == "--fit";
            box = std::atoi(argv[++i]);
        } else if (arg == "--full") {
            full = true;
        } else if (arg == "--out" && i + 1 < argc) {
            out = argv[++i];
        } else if (!arg.empty() && arg[0] != '-' && input.empty()) {
            input = arg;
        } else {
            return Usage();
        }
    }
    if (input.empty() || box < 1) {
        return Usage();
    }
    try {
        // The size the picture is scaled to: fitted into the box, or the box.
        const auto scaledSize = [box, fit](PLSize picture) {
            if (!fit) {
                return PLSize{box, box};
            }
            const double factor = std::min(static_cast<double>(box) / picture.width,
                                           static_cast<double>(box) / picture.height);
            return PLSize{std::max(1, static_cast<int>(picture.width * factor + 0.5)),
                          std::max(1, static_cast<int>(picture.height * factor + 0.5))};
        };
        bool scaledWhileDecoding = false;
        PLDecodeHint hint{box, box, fit};
        hint.scaledSize = [&](PLSize picture) {
            scaledWhileDecoding = true;
            return scaledSize(picture);
        };
        PLMemoryRaster raster;
        PLAutoDecoder().DecodeFileToRaster(input, raster, 32, full ? nullptr : &hint);
        if (!full && !scaledWhileDecoding) {
            const PLSize size = scaledSize({raster.GetWidth(), raster.GetHeight()});
            raster.ApplyRasterFilter(PLScaleFilter(size.width, size.height));
        }
        if (!out.empty() && !WritePpm(raster, out)) {
            std::fprintf(stderr, "pldecode: cannot write %s\n", out.c_str());
            return 1;
        }
        std::printf("%s: %d x %d\n", input.c_str(), raster.GetWidth(), raster.GetHeight());
    } catch (const PLTextException& e) {
        std::fprintf(stderr, "pldecode: %s (code %d)", e.GetMessage(), e.GetCode());
        return 1;
    }
    return 0;
}
