// Drawing the program's icon in its sizes (program_icon.h).
#include "tools/program_icon.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

// As in the art: only +, -, *, /, sqrt and floor on doubles, so the bytes
// never change.

namespace velmora::tools {

namespace {

struct Point {
    double x = 0.0;
    double y = 0.0;
};

struct Colour {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
};

// One visible face of the cube: P = origin + u * edgeU + v * edgeV, in a unit
// square with y downwards; u and v index the face's picture.
struct Face {
    Point origin;
    Point edgeU;
    Point edgeV;
    const ArtPicture* picture = nullptr;
    double light = 1.0;
};

// The cube's corners seen from above and to the front.
constexpr Point kTop{0.5, 0.05};
constexpr Point kLeft{0.08, 0.28};
constexpr Point kRight{0.92, 0.28};
constexpr Point kCentre{0.5, 0.51};
constexpr Point kBottomLeft{0.08, 0.74};
constexpr Point kBottom{0.5, 0.97};

constexpr Colour kEdge{0.07, 0.11, 0.22};

Point Minus(Point a, Point b) {
    return {a.x - b.x, a.y - b.y};
}

double Cross(Point a, Point b) {
    return a.x * b.y - a.y * b.x;
}

double Length(Point a) {
    return std::sqrt(a.x * a.x + a.y * a.y);
}

double Clamp01(double v) {
    return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
}

std::uint8_t ToByte(double v) {
    return static_cast<std::uint8_t>(std::floor(Clamp01(v) * 255.0 + 0.5));
}

// The picture's colour at (u, v) in [0, 1], u to the right and v down,
// bilinear between pixel centres.
Colour Sample(const ArtPicture& picture, double u, double v) {
    const double x = Clamp01(u) * (picture.width - 1);
    const double y = (1.0 - Clamp01(v)) * (picture.height - 1);  // rows run bottom-up
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const int x1 = std::min(x0 + 1, picture.width - 1);
    const int y1 = std::min(y0 + 1, picture.height - 1);
    const double tx = x - x0;
    const double ty = y - y0;
    const auto channel = [&](int px, int py, int c) {
        return picture.pixels[(static_cast<std::size_t>(py) * picture.width + px) *
                                  picture.bytesPerPixel +
                              c] /
               255.0;
    };
    Colour out;
    double* parts[3] = {&out.r, &out.g, &out.b};
    for (int c = 0; c < 3; ++c) {
        const double top = channel(x0, y0, c) + (channel(x1, y0, c) - channel(x0, y0, c)) * tx;
        const double bottom = channel(x0, y1, c) + (channel(x1, y1, c) - channel(x0, y1, c)) * tx;
        *parts[c] = top + (bottom - top) * ty;
    }
    return out;
}

// The colour of the cube at p, or false where p lies beside it. edgeWidth is
// the dark outline's width in the unit square.
bool ShadeCube(const Face (&faces)[3], Point p, double edgeWidth, Colour& colour) {
    for (const Face& face : faces) {
        const double area = Cross(face.edgeU, face.edgeV);
        const Point d = Minus(p, face.origin);
        const double u = Cross(d, face.edgeV) / area;
        const double v = Cross(face.edgeU, d) / area;
        if (u < 0.0 || u > 1.0 || v < 0.0 || v > 1.0) {
            continue;
        }
        // Distances to the four sides, in the unit square.
        const double acrossU = std::fabs(area) / Length(face.edgeV);
        const double acrossV = std::fabs(area) / Length(face.edgeU);
        const double side =
            std::min(std::min(u, 1.0 - u) * acrossU, std::min(v, 1.0 - v) * acrossV);
        const Colour art = Sample(*face.picture, u, v);
        const double edge = side < edgeWidth ? 1.0 : 0.0;
        colour.r = art.r * face.light * (1.0 - edge) + kEdge.r * edge;
        colour.g = art.g * face.light * (1.0 - edge) + kEdge.g * edge;
        colour.b = art.b * face.light * (1.0 - edge) + kEdge.b * edge;
        return true;
    }
    return false;
}

void AppendLittle16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void AppendLittle32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    AppendLittle16(out, value & 0xFFFF);
    AppendLittle16(out, value >> 16);
}

// A BITMAPINFOHEADER of doubled height, the BGRA rows bottom-up and the
// AND mask (1 = transparent), rows padded to four bytes.
std::vector<std::uint8_t> BitmapImage(const ArtPicture& picture) {
    const int size = picture.width;
    const std::uint32_t maskStride = ((size + 31) / 32) * 4;
    const std::uint32_t pixelBytes = static_cast<std::uint32_t>(size) * size * 4;
    std::vector<std::uint8_t> out;
    AppendLittle32(out, 40);
    AppendLittle32(out, static_cast<std::uint32_t>(size));
    AppendLittle32(out, static_cast<std::uint32_t>(size * 2));
    AppendLittle16(out, 1);
    AppendLittle16(out, 32);
    AppendLittle32(out, 0);
    AppendLittle32(out, pixelBytes + maskStride * size);
    for (int i = 0; i < 4; ++i) {
        AppendLittle32(out, 0);
    }
    for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
        out.push_back(picture.pixels[i + 2]);
        out.push_back(picture.pixels[i + 1]);
        out.push_back(picture.pixels[i]);
        out.push_back(picture.pixels[i + 3]);
    }
    for (int y = 0; y < size; ++y) {
        std::vector<std::uint8_t> row(maskStride, 0);
        for (int x = 0; x < size; ++x) {
            if (picture.pixels[(static_cast<std::size_t>(y) * size + x) * 4 + 3] == 0) {
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

bool WritePngImage(png_structp png, png_infop info, const ArtPicture& picture,
                   std::vector<std::uint8_t>& out) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_write_fn(png, &out, AppendToVector, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
                 static_cast<png_uint_32>(picture.height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    const std::size_t stride = static_cast<std::size_t>(picture.width) * 4;
    for (int y = picture.height - 1; y >= 0; --y) {
        png_write_row(png, const_cast<png_bytep>(&picture.pixels[y * stride]));
    }
    png_write_end(png, nullptr);
    return true;
}

std::vector<std::uint8_t> PngImage(const ArtPicture& picture) {
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    const bool ok = png != nullptr && info != nullptr && WritePngImage(png, info, picture, out);
    png_destroy_write_struct(&png, &info);
    return ok ? out : std::vector<std::uint8_t>{};
}

}  // namespace

ArtPicture MakeIconPicture(const ArtPicture& leftFace, const ArtPicture& rightFace,
                           const ArtPicture& topFace, int size) {
    const Face faces[3] = {
        {kLeft, Minus(kTop, kLeft), Minus(kCentre, kLeft), &topFace, 1.08},
        {kLeft, Minus(kCentre, kLeft), Minus(kBottomLeft, kLeft), &leftFace, 0.94},
        {kCentre, Minus(kRight, kCentre), Minus(kBottom, kCentre), &rightFace, 0.80},
    };
    // The outline stays about one pixel wide at every size.
    const double edgeWidth = (size < 64 ? 0.9 : 1.6) / size;
    const int samples = size < 64 ? 8 : 4;

    ArtPicture picture;
    picture.width = size;
    picture.height = size;
    picture.bytesPerPixel = 4;
    picture.pixels.resize(static_cast<std::size_t>(size) * size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            Colour sum;
            int covered = 0;
            for (int j = 0; j < samples; ++j) {
                for (int i = 0; i < samples; ++i) {
                    const Point p{(x + (i + 0.5) / samples) / size,
                                  (y + (j + 0.5) / samples) / size};
                    Colour c;
                    if (ShadeCube(faces, p, edgeWidth, c)) {
                        sum.r += c.r;
                        sum.g += c.g;
                        sum.b += c.b;
                        ++covered;
                    }
                }
            }
            const std::size_t at = (static_cast<std::size_t>(size - 1 - y) * size + x) * 4;
            if (covered > 0) {
                picture.pixels[at] = ToByte(sum.r / covered);
                picture.pixels[at + 1] = ToByte(sum.g / covered);
                picture.pixels[at + 2] = ToByte(sum.b / covered);
                picture.pixels[at + 3] = ToByte(static_cast<double>(covered) / (samples * samples));
            }
        }
    }
    return picture;
}

std::vector<std::uint8_t> WriteIconFile(const std::vector<ArtPicture>& pictures) {
    std::vector<std::vector<std::uint8_t>> images;
    for (const ArtPicture& picture : pictures) {
        if (picture.bytesPerPixel != 4 || picture.width != picture.height || picture.width <= 0 ||
            picture.width > 256 ||
            picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.width * 4) {
            return {};
        }
        images.push_back(picture.width == 256 ? PngImage(picture) : BitmapImage(picture));
        if (images.back().empty()) {
            return {};
        }
    }
    std::vector<std::uint8_t> out;
    AppendLittle16(out, 0);
    AppendLittle16(out, 1);
    AppendLittle16(out, static_cast<std::uint32_t>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int size = pictures[i].width;
        out.push_back(static_cast<std::uint8_t>(size == 256 ? 0 : size));
        out.push_back(static_cast<std::uint8_t>(size == 256 ? 0 : size));
        out.push_back(0);
        out.push_back(0);
        AppendLittle16(out, 1);
        AppendLittle16(out, 32);
        AppendLittle32(out, static_cast<std::uint32_t>(images[i].size()));
        AppendLittle32(out, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const auto& image : images) {
        out.insert(out.end(), image.begin(), image.end());
    }
    return out;
}

std::vector<std::uint8_t> GenerateProgramIcon(const std::string& fontFolder) {
    ArtPicture card;
    try {
        card = MakeDefaultPicture(fontFolder);
    } catch (const std::runtime_error&) {
        return {};
    }
    const ArtPicture sky = MakeSkyEnvironment();
    const ArtPicture chrome = MakeChromeEnvironment();
    std::vector<ArtPicture> pictures;
    for (int size : kIconSizes) {
        pictures.push_back(MakeIconPicture(sky, card, chrome, size));
    }
    return WriteIconFile(pictures);
}

}  // namespace velmora::tools
