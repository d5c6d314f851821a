// Writes a photo-like PPM for the picture benchmarks: smooth light, a few
// shapes with edges and fine grain, the same bytes on every run.
// bench_sample WIDTH HEIGHT OUT.ppm
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_sample WIDTH HEIGHT OUT.ppm\n");
        return 2;
    }
    const int width = std::atoi(argv[1]);
    const int height = std::atoi(argv[2]);
    FILE* out = std::fopen(argv[3], "wb");
    if (out == nullptr || width < 1 || height < 1) {
        return 1;
    }
    std::fprintf(out, "P6\n%d %d\n255\n", width, height);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
    std::uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
        const double v = static_cast<double>(y) / height;
        for (int x = 0; x < width; ++x) {
            const double u = static_cast<double>(x) / width;
            seed = seed * 1664525u + 1013904223u;
            const double grain = ((seed >> 24) & 0x0F) - 7.5;
            // Sky, a sun, hills and stripes of a building.
            double r = 90 + 120 * v;
            double g = 140 + 60 * v;
            double b = 230 - 90 * v;
            const double du = u - 0.7;
            const double dv = v - 0.25;
            if (du * du + dv * dv < 0.01) {
                r = 250, g = 220, b = 120;
            }
            const double hill = 0.65 + 0.08 * std::sin(u * 9.0) + 0.03 * std::sin(u * 37.0);
            if (v > hill) {
                r = 60 + 40 * std::sin(u * 50.0 + v * 20.0);
                g = 120 + 50 * std::sin(u * 23.0);
                b = 50;
            }
            if (u > 0.1 && u < 0.3 && v > 0.35) {
                const bool window = (x / 40) % 2 == 0 && (y / 60) % 2 == 0;
                r = window ? 240 : 150, g = window ? 230 : 140, b = window ? 180 : 130;
            }
            row[3 * x] = static_cast<std::uint8_t>(std::clamp(r + grain, 0.0, 255.0));
            row[3 * x + 1] = static_cast<std::uint8_t>(std::clamp(g + grain, 0.0, 255.0));
            row[3 * x + 2] = static_cast<std::uint8_t>(std::clamp(b + grain, 0.0, 255.0));
        }
        std::fwrite(row.data(), 1, row.size(), out);
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
