// Draws the demo's pictures and writes them as PNG files into the folder given
// on the command line: bg.png, a landscape, and glass.png, a half-transparent
// panel with rounded corners.
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

bool writePicture(const std::string& path, int width, int height, int channels, const std::vector<png_byte>& data) {
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp write = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(write);
    if (!write || !info || setjmp(png_jmpbuf(write))) {
        png_destroy_write_struct(&write, &info);
        fclose(file);
        return false;
    }
    png_init_io(write, file);
    png_set_IHDR(write, info, width, height, 8, channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(write, info);
    for (int y = 0; y < height; ++y) png_write_row(write, &data[static_cast<size_t>(y) * width * channels]);
    png_write_end(write, info);
    png_destroy_write_struct(&write, &info);
    return fclose(file) == 0;
}

png_byte mix(double a, double b, double t) { return static_cast<png_byte>(std::lround(a + (b - a) * t)); }

// Sky fading towards the horizon, a sun, and two rows of hills.
std::vector<png_byte> landscape(int width, int height) {
    std::vector<png_byte> data;
    for (int y = 0; y < height; ++y) {
        const double up = 1.0 - static_cast<double>(y) / height;  // 1 at the top row
        for (int x = 0; x < width; ++x) {
            const double far = height * (0.45 + 0.08 * std::sin(x / 90.0) + 0.04 * std::sin(x / 31.0));
            const double near = height * (0.25 + 0.10 * std::sin(x / 140.0 + 1.0) + 0.03 * std::sin(x / 17.0));
            const double fromBottom = height - 1 - y;
            const double sun = std::hypot(x - 620.0, y - 80.0);
            png_byte r, g, b;
            if (fromBottom < near) {
                r = 60, g = mix(140, 110, fromBottom / near), b = 50;
            } else if (fromBottom < far) {
                r = 110, g = 170, b = 100;
            } else if (sun < 40) {
                r = 255, g = 220, b = 90;
            } else {
                r = mix(250, 120, up), g = mix(235, 180, up), b = mix(210, 245, up);
            }
            data.insert(data.end(), {r, g, b});
        }
    }
    return data;
}

// A pale panel at half opacity, with an opaque rim and clear corners.
std::vector<png_byte> glassPanel(int width, int height) {
    const double radius = 24, rim = 4;
    std::vector<png_byte> data;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            // Distance outside the rounded rectangle's inner corner square.
            const double dx = std::max({radius - x, x - (width - 1 - radius), 0.0});
            const double dy = std::max({radius - y, y - (height - 1 - radius), 0.0});
            const double edge = radius - std::hypot(dx, dy);  // depth inside the shape
            png_byte alpha = edge < 0 ? 0 : edge < rim ? 230 : 128;
            data.insert(data.end(), {235, 245, 255, alpha});
        }
    return data;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    bool ok = writePicture(folder + "/bg.png", 800, 360, 3, landscape(800, 360)) &&
              writePicture(folder + "/glass.png", 260, 160, 4, glassPanel(260, 160));
    if (!ok) fprintf(stderr, "%s: cannot write the pictures into %s\n", argv[0], folder.c_str());
    return ok ? 0 : 1;
}
