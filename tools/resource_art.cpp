// The procedural pixel art of the built-in textures (resource_art.h).
#include "tools/resource_art.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <png.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

// Only +, -, *, /, sqrt and floor are used on doubles: IEEE rounds them the
// same way everywhere, unlike sin, exp or pow, so the bytes never change.

namespace velmora::tools {
namespace {

struct Rgb {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
};

Rgb operator+(Rgb a, Rgb b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
Rgb operator*(Rgb a, double s) {
    return {a.r * s, a.g * s, a.b * s};
}
double Clamp01(double v) {
    return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
}

Rgb Mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double SmoothStep(double edge0, double edge1, double x) {
    const double t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

std::uint8_t ToByte(double v) {
    return static_cast<std::uint8_t>(std::floor(Clamp01(v) * 255.0 + 0.5));
}

// An RGB picture with its top row first, as it is drawn.
class Canvas {
public:
    Canvas(int width, int height)
        : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgb& At(int x, int y) { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }

    ArtPicture ToPicture() const {
        ArtPicture picture;
        picture.width = width_;
        picture.height = height_;
        picture.bytesPerPixel = 3;
        picture.pixels.resize(static_cast<std::size_t>(width_) * height_ * 3);
        std::size_t out = 0;
        for (int y = height_ - 1; y >= 0; --y) {
            for (int x = 0; x < width_; ++x) {
                const Rgb& c = pixels_[static_cast<std::size_t>(y) * width_ + x];
                picture.pixels[out++] = ToByte(c.r);
                picture.pixels[out++] = ToByte(c.g);
                picture.pixels[out++] = ToByte(c.b);
            }
        }
        return picture;
    }

private:
    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

// Coverage values in [0, 1], top row first.
class Mask {
public:
    Mask(int width, int height)
        : width_(width), height_(height), values_(static_cast<std::size_t>(width) * height) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    double& At(int x, int y) { return values_[static_cast<std::size_t>(y) * width_ + x]; }
    double Get(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) {
            return 0.0;
        }
        return values_[static_cast<std::size_t>(y) * width_ + x];
    }

    // Repeated box blurs approach a gaussian: soft shadows.
    void Blur(int radius, int passes) {
        for (int pass = 0; pass < passes; ++pass) {
            BlurLine(radius, true);
            BlurLine(radius, false);
        }
    }

private:
    void BlurLine(int radius, bool horizontal) {
        const int lines = horizontal ? height_ : width_;
        const int length = horizontal ? width_ : height_;
        std::vector<double> line(static_cast<std::size_t>(length));
        for (int l = 0; l < lines; ++l) {
            for (int i = 0; i < length; ++i) {
                line[i] = horizontal ? Get(i, l) : Get(l, i);
            }
            for (int i = 0; i < length; ++i) {
                double sum = 0.0;
                for (int k = -radius; k <= radius; ++k) {
                    const int j = std::clamp(i + k, 0, length - 1);
                    sum += line[j];
                }
                (horizontal ? At(i, l) : At(l, i)) = sum / (2 * radius + 1);
            }
        }
    }

    int width_;
    int height_;
    std::vector<double> values_;
};

// Smooth 2D value noise over a lattice filled by a fixed seeded LCG.
class ValueNoise {
public:
    explicit ValueNoise(std::uint32_t seed) {
        std::uint32_t state = seed;
        auto next = [&state]() {
            state = state * 1664525u + 1013904223u;
            return state >> 8;
        };
        for (int i = 0; i < 256; ++i) {
            values_[i] = static_cast<double>(next()) / 16777216.0;
            order_[i] = i;
        }
        for (int i = 255; i > 0; --i) {
            std::swap(order_[i], order_[next() % static_cast<std::uint32_t>(i + 1)]);
        }
    }

    double At(double x, double y) const {
        const double fx = std::floor(x);
        const double fy = std::floor(y);
        const int ix = static_cast<int>(fx);
        const int iy = static_cast<int>(fy);
        const double tx = Fade(x - fx);
        const double ty = Fade(y - fy);
        const double top = Lattice(ix, iy) + (Lattice(ix + 1, iy) - Lattice(ix, iy)) * tx;
        const double bottom =
            Lattice(ix, iy + 1) + (Lattice(ix + 1, iy + 1) - Lattice(ix, iy + 1)) * tx;
        return top + (bottom - top) * ty;
    }

    // Octaves of halving strength; the result stays in [0, 1].
    double Fractal(double x, double y, int octaves) const {
        double sum = 0.0;
        double weight = 0.5;
        double total = 0.0;
        for (int i = 0; i < octaves; ++i) {
            sum += At(x, y) * weight;
            total += weight;
            // The shift keeps the octaves' lattices from lining up.
            x = x * 2.0 + 17.31;
            y = y * 2.0 - 5.77;
            weight *= 0.5;
        }
        return sum / total;
    }

private:
    static double Fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }
    double Lattice(int ix, int iy) const { return values_[order_[(order_[ix & 255] + iy) & 255]]; }

    std::array<double, 256> values_{};
    std::array<int, 256> order_{};
};

struct Direction {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

double Dot(const Direction& a, const Direction& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Direction Normalised(Direction d) {
    const double length = std::sqrt(Dot(d, d));
    return {d.x / length, d.y / length, d.z / length};
}

// The reflection GL_SPHERE_MAP texgen turns into the point (u, v) of the
// circle (each in [-1, 1], v up): y is up, z points back at the viewer.
// Points past the rim repeat the colour just inside it.
Direction SphereMapDirection(double u, double v) {
    constexpr double kLimit = 0.992 * 0.992;
    double rho2 = u * u + v * v;
    if (rho2 > kLimit) {
        const double scale = std::sqrt(kLimit / rho2);
        u *= scale;
        v *= scale;
        rho2 = u * u + v * v;
    }
    const double nz = std::sqrt(1.0 - rho2);
    return {2.0 * nz * u, 2.0 * nz * v, 2.0 * nz * nz - 1.0};
}

template <typename Environment>
ArtPicture RenderSphereMap(const Environment& environment) {
    constexpr int kSize = 128;
    constexpr int kSamples = 4;  // per axis: smooth rim and horizon
    Canvas canvas(kSize, kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            Rgb sum;
            for (int j = 0; j < kSamples; ++j) {
                for (int i = 0; i < kSamples; ++i) {
                    const double u = 2.0 * (x + (i + 0.5) / kSamples) / kSize - 1.0;
                    const double v = 1.0 - 2.0 * (y + (j + 0.5) / kSamples) / kSize;
                    sum = sum + environment(SphereMapDirection(u, v));
                }
            }
            canvas.At(x, y) = sum * (1.0 / (kSamples * kSamples));
        }
    }
    return canvas.ToPicture();
}

// A polished metal world: studio-bright sky, a sharp dark skyline on the
// horizon, a warm floor and a few hard lights.
class ChromeEnvironment {
public:
    ChromeEnvironment() : noise_(0xC4A0E5u) {}

    Rgb operator()(const Direction& d) const {
        // Where on the horizon circle d points, as a 2D point: no angles needed.
        const double flat = std::sqrt(d.x * d.x + d.z * d.z) + 1e-9;
        const double skyline =
            0.10 * SmoothStep(0.45, 0.75, noise_.Fractal(3.0 * d.x / flat, 3.0 * d.z / flat, 3));
        // Detail behind the viewer crowds the rim of the map: calm it there.
        const double behind = SmoothStep(-0.97, -0.55, d.z);
        Rgb colour;
        if (d.y >= skyline) {
            const double up = std::sqrt(d.y);
            colour = Mix({0.98, 0.99, 1.0}, {0.34, 0.48, 0.74}, up);
            // Faint high clouds, so the metal has something to show moving.
            const double lift = d.y + 0.3;
            const double cloud = SmoothStep(
                0.50, 0.80, noise_.Fractal(d.x / lift * 1.2 + 9.5, d.z / lift * 1.2 + 2.5, 4));
            colour =
                Mix(colour, {0.96, 0.97, 1.0}, 0.55 * cloud * behind * SmoothStep(0.0, 0.3, d.y));
        } else if (d.y >= 0.0) {
            colour = {0.16, 0.17, 0.20};
        } else {
            // Kept off zero so the plane's coordinates stay small.
            const double down = std::max(-d.y, 1e-3);
            const Rgb band{0.05, 0.05, 0.07};
            // The floor as a flat plane: mottled, darker far away, light underfoot.
            const double ground = noise_.Fractal(d.x / down * 1.5 - 4.0, d.z / down * 1.5 + 6.0, 4);
            Rgb floor = Mix({0.26, 0.21, 0.17}, {0.74, 0.68, 0.60}, SmoothStep(0.12, 1.0, down));
            floor = floor * (1.0 + 0.44 * (ground - 0.5) * behind);
            colour = Mix(band, floor, SmoothStep(0.06, 0.24, down));
        }
        // Lights: a hard sun-like spot and a wide soft window give the highlights.
        const Direction sun = Normalised({-0.45, 0.62, 0.64});
        const double toSun = Dot(d, sun);
        const double glow = SmoothStep(0.80, 1.0, toSun);
        colour = colour +
                 Rgb{1.0, 0.98, 0.94} * (SmoothStep(0.9930, 0.9970, toSun) + 0.30 * glow * glow);
        if (d.z > 0.0 && d.y > 0.0) {
            const double across = SmoothStep(0.42, 0.36, std::fabs(d.x - 0.30));
            const double high = SmoothStep(0.20, 0.24, d.y) * SmoothStep(0.40, 0.36, d.y);
            colour = colour + Rgb{0.35, 0.36, 0.38} * (across * high);
        }
        return colour;
    }

private:
    ValueNoise noise_;
};

// Blue sky with soft clouds, lighter towards the hazy horizon; below it a
// sea of haze with a few faint cloud tops.
class SkyEnvironment {
public:
    SkyEnvironment() : noise_(0x5EEDC10Du) {}

    Rgb operator()(const Direction& d) const {
        const Rgb horizon{0.88, 0.93, 0.98};
        // Clouds behind the viewer crowd the rim of the map: leave them out there.
        const double behind = SmoothStep(-0.97, -0.55, d.z);
        if (d.y >= 0.0) {
            const Rgb zenith{0.14, 0.38, 0.80};
            const double up = std::sqrt(d.y);
            Rgb colour = Mix(horizon, zenith, up * (2.0 - up));
            const double cloud = Clouds(d.x, d.y, d.z, 3.1, -7.4);
            const double thick = cloud * cloud;
            const Rgb white = Mix({1.0, 1.0, 1.0}, {0.84, 0.87, 0.93}, 0.6 * thick);
            const double fade = 0.3 + 0.7 * SmoothStep(0.02, 0.30, d.y);
            return Mix(colour, white, 0.92 * cloud * fade * behind);
        }
        const double down = std::sqrt(-d.y);
        Rgb colour = Mix(horizon, {0.40, 0.56, 0.80}, down * (2.0 - down));
        const double cloud = Clouds(d.x, -d.y, d.z, -11.2, 5.3);
        const double fade = 0.3 + 0.7 * SmoothStep(0.02, 0.30, -d.y);
        return Mix(colour, {0.90, 0.93, 0.98}, 0.5 * cloud * fade * behind);
    }

private:
    // Cloud cover of a flat layer at height 1, seen along (x, y, z), y > 0.
    double Clouds(double x, double y, double z, double shiftU, double shiftV) const {
        const double lift = y + 0.25;
        const double cover = noise_.Fractal(x / lift * 0.9 + shiftU, z / lift * 0.9 + shiftV, 4);
        return SmoothStep(0.46, 0.78, cover);
    }

    ValueNoise noise_;
};

// A FreeType face, loaded from the font folder.
class Font {
public:
    Font(const std::string& folder, const char* file) {
        if (FT_Init_FreeType(&library_) != 0) {
            throw std::runtime_error("FreeType cannot start");
        }
        const std::string path = (std::filesystem::path(folder) / file).string();
        if (FT_New_Face(library_, path.c_str(), 0, &face_) != 0) {
            FT_Done_FreeType(library_);
            throw std::runtime_error("cannot load the font " + path);
        }
    }
    ~Font() {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    void SetPixelSize(int pixels) {
        if (FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixels)) != 0) {
            throw std::runtime_error("cannot size the font");
        }
    }

    // Renders a character as an antialiased coverage bitmap.
    const FT_GlyphSlotRec& Render(char32_t character, FT_Int32 hinting) {
        if (FT_Load_Char(face_, character, FT_LOAD_RENDER | hinting) != 0 ||
            face_->glyph->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) {
            throw std::runtime_error("cannot render a glyph");
        }
        return *face_->glyph;
    }

    // Pen movement between two characters, 26.6 fixed point.
    long Kerning(char32_t left, char32_t right) const {
        if (!FT_HAS_KERNING(face_)) {
            return 0;
        }
        FT_Vector kern{};
        FT_Get_Kerning(face_, FT_Get_Char_Index(face_, left), FT_Get_Char_Index(face_, right),
                       FT_KERNING_DEFAULT, &kern);
        return kern.x;
    }

private:
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

// Coverage byte of a glyph bitmap, row 0 at the top whichever way it is stored.
std::uint8_t BitmapByte(const FT_Bitmap& bitmap, int column, int row) {
    const int pitch = bitmap.pitch;
    const int line = pitch >= 0 ? row : static_cast<int>(bitmap.rows) - 1 - row;
    const unsigned char* bytes =
        bitmap.buffer + static_cast<std::ptrdiff_t>(line) * (pitch >= 0 ? pitch : -pitch);
    return bytes[column];
}

// Adds a line of text, centred on centreX, to a coverage mask.
void DrawText(Font& font, int pixelSize, const std::string& text, double centreX, int baseline,
              Mask& mask) {
    font.SetPixelSize(pixelSize);
    constexpr FT_Int32 kHinting = FT_LOAD_TARGET_LIGHT;
    long width = 0;  // 26.6
    for (std::size_t i = 0; i < text.size(); ++i) {
        width += font.Render(static_cast<unsigned char>(text[i]), kHinting).advance.x;
        if (i + 1 < text.size()) {
            width += font.Kerning(static_cast<unsigned char>(text[i]),
                                  static_cast<unsigned char>(text[i + 1]));
        }
    }
    // Whole-pixel start keeps the hinted stems sharp.
    long pen = static_cast<long>(std::floor(centreX - width / 128.0 + 0.5)) * 64;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const FT_GlyphSlotRec& glyph = font.Render(static_cast<unsigned char>(text[i]), kHinting);
        const int left = static_cast<int>((pen + 32) >> 6) + glyph.bitmap_left;
        const int top = baseline - glyph.bitmap_top;
        for (int row = 0; row < static_cast<int>(glyph.bitmap.rows); ++row) {
            for (int column = 0; column < static_cast<int>(glyph.bitmap.width); ++column) {
                const int x = left + column;
                const int y = top + row;
                if (x >= 0 && y >= 0 && x < mask.Width() && y < mask.Height()) {
                    double& cover = mask.At(x, y);
                    cover = std::min(1.0, cover + BitmapByte(glyph.bitmap, column, row) / 255.0);
                }
            }
        }
        pen += glyph.advance.x;
        if (i + 1 < text.size()) {
            pen += font.Kerning(static_cast<unsigned char>(text[i]),
                                static_cast<unsigned char>(text[i + 1]));
        }
    }
}

struct Point {
    double x = 0.0;
    double y = 0.0;
};

// Rotation by a fixed angle, with its cosine and sine written out.
Point Rotate(Point p, double cosine, double sine) {
    return {p.x * cosine + p.y * sine, -p.x * sine + p.y * cosine};
}

// Signed distance to a rounded rectangle centred on the origin.
double RoundedBoxDistance(Point p, double halfWidth, double halfHeight, double radius) {
    const double qx = std::fabs(p.x) - halfWidth + radius;
    const double qy = std::fabs(p.y) - halfHeight + radius;
    const double ox = std::max(qx, 0.0);
    const double oy = std::max(qy, 0.0);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - radius;
}

// Height of a ridge line through the given points at x (y grows downwards).
template <std::size_t N>
double Ridge(const std::array<Point, N>& points, double x) {
    if (x <= points[0].x) {
        return points[0].y;
    }
    for (std::size_t i = 1; i < N; ++i) {
        if (x <= points[i].x) {
            const double t = (x - points[i - 1].x) / (points[i].x - points[i - 1].x);
            return points[i - 1].y + (points[i].y - points[i - 1].y) * t;
        }
    }
    return points[N - 1].y;
}

// The placeholder "photo" icon: a pale card behind a framed landscape.
struct IconSample {
    bool covered = false;
    Rgb colour;
};

constexpr Point kBackCentre{136.0, 94.0};
constexpr Point kFrontCentre{122.0, 100.0};
constexpr double kCardHalfWidth = 56.0;
constexpr double kCardHalfHeight = 42.0;
constexpr double kCardRadius = 4.0;
constexpr double kBorder = 5.0;
// cos and sin of 8 and -5 degrees.
constexpr double kBackCos = 0.9902680687415704;
constexpr double kBackSin = 0.13917310096006544;
constexpr double kFrontCos = 0.9961946980917455;
constexpr double kFrontSin = -0.08715574274765817;

Rgb Landscape(Point q) {
    // q: inside the frame, x in [-51, 51], y in [-37, 37], down positive.
    constexpr double kInnerHalfHeight = kCardHalfHeight - kBorder;
    const double fromTop = (q.y + kInnerHalfHeight) / (2.0 * kInnerHalfHeight);
    Rgb colour = Mix({0.36, 0.62, 0.92}, {0.86, 0.92, 0.98}, SmoothStep(0.0, 0.62, fromTop));
    const Point sun{26.0, -17.0};
    const double sunDistance =
        std::sqrt((q.x - sun.x) * (q.x - sun.x) + (q.y - sun.y) * (q.y - sun.y));
    colour = colour + Rgb{0.30, 0.22, 0.05} * (0.5 * SmoothStep(20.0, 8.0, sunDistance));
    if (sunDistance < 8.0) {
        colour = {1.0, 0.86, 0.42};
    }
    constexpr std::array<Point, 7> far{
        {{-52, 6}, {-34, -10}, {-22, -2}, {-6, -20}, {14, 2}, {30, -6}, {52, 8}}};
    const double farTop = Ridge(far, q.x);
    if (q.y > farTop) {
        colour = Mix({0.42, 0.52, 0.68}, {0.52, 0.62, 0.76}, SmoothStep(-20.0, 10.0, q.y));
        // Snow on the high peaks.
        if (q.y < farTop + 5.0 && farTop < -7.0) {
            colour = {0.95, 0.97, 1.0};
        }
    }
    constexpr std::array<Point, 6> near{
        {{-52, 20}, {-30, 10}, {-8, 18}, {18, 8}, {40, 16}, {52, 14}}};
    if (q.y > Ridge(near, q.x)) {
        colour = Mix({0.38, 0.66, 0.36}, {0.22, 0.48, 0.26}, SmoothStep(8.0, 37.0, q.y));
    }
    return colour;
}

IconSample SampleIcon(Point p) {
    IconSample sample;
    const Point back = Rotate({p.x - kBackCentre.x, p.y - kBackCentre.y}, kBackCos, kBackSin);
    if (RoundedBoxDistance(back, kCardHalfWidth, kCardHalfHeight, kCardRadius) <= 0.0) {
        sample.covered = true;
        const bool inner = RoundedBoxDistance(back, kCardHalfWidth - kBorder,
                                              kCardHalfHeight - kBorder, 1.5) <= 0.0;
        sample.colour = inner ? Rgb{0.80, 0.85, 0.92} : Rgb{0.90, 0.92, 0.95};
    }
    const Point front = Rotate({p.x - kFrontCentre.x, p.y - kFrontCentre.y}, kFrontCos, kFrontSin);
    if (RoundedBoxDistance(front, kCardHalfWidth, kCardHalfHeight, kCardRadius) <= 0.0) {
        sample.covered = true;
        const bool inner = RoundedBoxDistance(front, kCardHalfWidth - kBorder,
                                              kCardHalfHeight - kBorder, 1.5) <= 0.0;
        sample.colour = inner ? Landscape(front) : Rgb{0.98, 0.98, 0.99};
    }
    return sample;
}

Rgb Background(double x, double y) {
    const double down = y / 256.0;
    Rgb colour = Mix({0.27, 0.38, 0.58}, {0.10, 0.14, 0.26}, down);
    const double dx = x - 128.0;
    const double dy = y - 100.0;
    const double glow = SmoothStep(140.0, 0.0, std::sqrt(dx * dx + dy * dy));
    colour = colour + Rgb{0.10, 0.12, 0.15} * (glow * glow);
    const double cx = x - 128.0;
    const double cy = y - 128.0;
    return colour * (1.0 - 0.28 * SmoothStep(110.0, 185.0, std::sqrt(cx * cx + cy * cy)));
}

constexpr int kFontPictureSize = 256;
constexpr int kColumns = 12;
constexpr int kRows = 8;
constexpr int kCellHeight = kFontPictureSize / kRows;
// Pixels kept clear inside every cell edge: linear filtering reads across it.
constexpr int kCellMargin = 2;

// First and last pixel column a glyph of cell column `column` may use.
int CellFirstX(int column) {
    // ceil(column * 256 / 12 + margin)
    return (column * kFontPictureSize + kCellMargin * kColumns + kColumns - 1) / kColumns;
}
int CellLastX(int column) {
    // floor((column + 1) * 256 / 12 - margin) - 1
    return ((column + 1) * kFontPictureSize - kCellMargin * kColumns) / kColumns - 1;
}

struct GlyphExtent {
    int width = 0;
    int above = 0;  // rows above the baseline
    int below = 0;  // rows below it
};

GlyphExtent MeasureFont(Font& font) {
    GlyphExtent extent;
    for (char c : FontPictureCharacters()) {
        const FT_GlyphSlotRec& glyph =
            font.Render(static_cast<unsigned char>(c), FT_LOAD_TARGET_NORMAL);
        if (glyph.bitmap.rows == 0 || glyph.bitmap.width == 0) {
            continue;
        }
        extent.width = std::max(extent.width, static_cast<int>(glyph.bitmap.width));
        extent.above = std::max(extent.above, glyph.bitmap_top);
        extent.below =
            std::max(extent.below, static_cast<int>(glyph.bitmap.rows) - glyph.bitmap_top);
    }
    return extent;
}

// The cell the glyph table draws every character the font lacks from
// (engine/glyph_table.h); the character string never names it.
constexpr int kReplacementCell = 7;
constexpr int kReplacementStroke = 2;

// A hollow box the size of a capital letter: plainly no letter at all.
void DrawReplacementBox(Font& font, int baseline, ArtPicture& picture) {
    const FT_GlyphSlotRec& capital = font.Render('H', FT_LOAD_TARGET_NORMAL);
    const int width = static_cast<int>(capital.bitmap.width);
    const int height = capital.bitmap_top;
    const int column = kReplacementCell % kColumns;
    const int top = (kReplacementCell / kColumns) * kCellHeight + baseline - height;
    const int left =
        std::clamp(CellFirstX(column) + (CellLastX(column) - CellFirstX(column) + 1 - width) / 2,
                   CellFirstX(column), CellLastX(column) - width + 1);
    for (int row = 0; row < height; ++row) {
        const int y = kFontPictureSize - 1 - (top + row);
        for (int x = 0; x < width; ++x) {
            const bool edge = row < kReplacementStroke || row >= height - kReplacementStroke ||
                              x < kReplacementStroke || x >= width - kReplacementStroke;
            std::uint8_t* pixel =
                &picture.pixels[(static_cast<std::size_t>(y) * kFontPictureSize + left + x) * 4];
            const std::uint8_t grey = edge ? 255 : 0;
            pixel[0] = pixel[1] = pixel[2] = pixel[3] = grey;
        }
    }
}

ArtPicture MakeFontPictureFrom(Font& font) {
    int narrowest = kFontPictureSize;
    for (int column = 0; column < kColumns; ++column) {
        narrowest = std::min(narrowest, CellLastX(column) - CellFirstX(column) + 1);
    }
    const int tallest = kCellHeight - 2 * kCellMargin;
    // The largest size at which every glyph fits its cell.
    GlyphExtent extent;
    for (int size = kCellHeight;; --size) {
        if (size < 6) {
            throw std::runtime_error("the font's glyphs do not fit the cells");
        }
        font.SetPixelSize(size);
        extent = MeasureFont(font);
        if (extent.width <= narrowest && extent.above + extent.below <= tallest) {
            break;
        }
    }
    // One baseline for all cells, centring the tallest glyphs' span.
    const int baseline = kCellMargin + (tallest - extent.above - extent.below) / 2 + extent.above;

    ArtPicture picture;
    picture.width = kFontPictureSize;
    picture.height = kFontPictureSize;
    picture.bytesPerPixel = 4;
    picture.pixels.assign(static_cast<std::size_t>(kFontPictureSize) * kFontPictureSize * 4, 0);
    const std::string& characters = FontPictureCharacters();
    for (int cell = 0; cell < static_cast<int>(characters.size()); ++cell) {
        if (cell == kReplacementCell) {
            DrawReplacementBox(font, baseline, picture);
            continue;
        }
        const FT_GlyphSlotRec& glyph =
            font.Render(static_cast<unsigned char>(characters[cell]), FT_LOAD_TARGET_NORMAL);
        const int width = static_cast<int>(glyph.bitmap.width);
        const int rows = static_cast<int>(glyph.bitmap.rows);
        if (width == 0 || rows == 0) {
            continue;
        }
        const int column = cell % kColumns;
        const int top = (cell / kColumns) * kCellHeight + baseline - glyph.bitmap_top;
        // Centre the ink on the cell, on whole pixels so stems stay crisp.
        const int centreTwice = (2 * column + 1) * kFontPictureSize;  // 2 * 12 * centre
        int left = (centreTwice - width * kColumns + kColumns) / (2 * kColumns);
        left = std::clamp(left, CellFirstX(column), CellLastX(column) - width + 1);
        for (int row = 0; row < rows; ++row) {
            // OpenGL order: the picture's top row is stored last.
            const int y = kFontPictureSize - 1 - (top + row);
            for (int x = 0; x < width; ++x) {
                const std::uint8_t grey = BitmapByte(glyph.bitmap, x, row);
                std::uint8_t* pixel =
                    &picture
                         .pixels[(static_cast<std::size_t>(y) * kFontPictureSize + left + x) * 4];
                pixel[0] = pixel[1] = pixel[2] = pixel[3] = grey;
            }
        }
    }
    return picture;
}

bool WritePngRows(png_structp png, png_infop info, FILE* file, const ArtPicture& picture,
                  png_bytep* rows) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
                 static_cast<png_uint_32>(picture.height), 8,
                 picture.bytesPerPixel == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

ArtPicture MakeChromeEnvironment() {
    return RenderSphereMap(ChromeEnvironment());
}

ArtPicture MakeSkyEnvironment() {
    return RenderSphereMap(SkyEnvironment());
}

ArtPicture MakeDefaultPicture(const std::string& fontFolder) {
    constexpr int kSize = 256;
    constexpr int kSamples = 6;  // per axis, for the icon's edges
    Canvas canvas(kSize, kSize);
    Mask iconMask(kSize, kSize);
    std::vector<Rgb> icon(static_cast<std::size_t>(kSize) * kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            canvas.At(x, y) = Background(x + 0.5, y + 0.5);
            Rgb sum;
            int covered = 0;
            for (int j = 0; j < kSamples; ++j) {
                for (int i = 0; i < kSamples; ++i) {
                    const IconSample sample =
                        SampleIcon({x + (i + 0.5) / kSamples, y + (j + 0.5) / kSamples});
                    if (sample.covered) {
                        sum = sum + sample.colour;
                        ++covered;
                    }
                }
            }
            if (covered > 0) {
                icon[static_cast<std::size_t>(y) * kSize + x] = sum * (1.0 / covered);
            }
            iconMask.At(x, y) = static_cast<double>(covered) / (kSamples * kSamples);
        }
    }

    // A thin light line just inside the edge frames the face like a card.
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const double d =
                RoundedBoxDistance({x + 0.5 - 128.0, y + 0.5 - 128.0}, 120.0, 120.0, 10.0);
            const double line = Clamp01(1.0 - std::fabs(d));
            canvas.At(x, y) = Mix(canvas.At(x, y), {1.0, 1.0, 1.0}, 0.16 * line);
        }
    }

    Mask shadow = iconMask;
    shadow.Blur(3, 3);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const double dark = shadow.Get(x - 3, y - 5);
            canvas.At(x, y) = canvas.At(x, y) * (1.0 - 0.55 * dark);
            const double cover = iconMask.Get(x, y);
            if (cover > 0.0) {
                canvas.At(x, y) =
                    Mix(canvas.At(x, y), icon[static_cast<std::size_t>(y) * kSize + x], cover);
            }
        }
    }

    Mask title(kSize, kSize);
    Mask hint(kSize, kSize);
    {
        Font bold(fontFolder, "DejaVuSans-Bold.ttf");
        DrawText(bold, 21, "No picture yet", 128.0, 186, title);
    }
    {
        Font regular(fontFolder, "DejaVuSans.ttf");
        DrawText(regular, 12, "Choose your pictures in Settings", 128.0, 210, hint);
    }
    Mask textShadow(kSize, kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            textShadow.At(x, y) = std::max(title.Get(x, y), hint.Get(x, y));
        }
    }
    textShadow.Blur(1, 2);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            Rgb& c = canvas.At(x, y);
            c = c * (1.0 - 0.45 * textShadow.Get(x - 1, y - 1));
            c = Mix(c, {0.97, 0.98, 1.0}, title.Get(x, y));
            c = Mix(c, {0.76, 0.82, 0.92}, hint.Get(x, y));
        }
    }
    return canvas.ToPicture();
}

const std::string& FontPictureCharacters() {
    static const std::string characters = [] {
        std::string text;
        for (int c = 32; c <= 95; ++c) {
            text += static_cast<char>(c);
        }
        text += '\'';
        for (char c = 'a'; c <= 'z'; ++c) {
            text += c;
        }
        text += "{|}\"~";
        return text;
    }();
    return characters;
}

ArtPicture MakeFontPicture(const std::string& fontFolder) {
    Font font(fontFolder, "DejaVuSansMono-Bold.ttf");
    return MakeFontPictureFrom(font);
}

bool WriteArtPng(const ArtPicture& picture, const std::string& path) {
    if ((picture.bytesPerPixel != 3 && picture.bytesPerPixel != 4) || picture.width <= 0 ||
        picture.height <= 0 ||
        picture.pixels.size() !=
            static_cast<std::size_t>(picture.width) * picture.height * picture.bytesPerPixel) {
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const std::size_t stride = static_cast<std::size_t>(picture.width) * picture.bytesPerPixel;
    std::vector<png_bytep> rows(static_cast<std::size_t>(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        // PNG wants the top row first; ours is stored last.
        rows[y] = const_cast<png_bytep>(&picture.pixels[(picture.height - 1 - y) * stride]);
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool ok =
        png != nullptr && info != nullptr && WritePngRows(png, info, file, picture, rows.data());
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0) {
        ok = false;
    }
    return ok;
}

}  // namespace velmora::tools
