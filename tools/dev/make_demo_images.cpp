// Draws the demo's pictures and writes them as PNG files into the folder given
// on the command line: bg.png, a landscape, and glass.png, a half-transparent
// panel with rounded corners. Given a second folder, it also draws the frames
// of the walker sprite there: walker/walk/1.png to 6.png and walker/stand/1.png.
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
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


// The walker: a figure in a cap facing right (so a mirrored one faces left),
// on a clear background. phase runs once round the circle per stride.
constexpr int kWalkerWidth = 48, kWalkerHeight = 64;

double segmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

std::vector<png_byte> walkerFrame(double phase, bool walking) {
    const double swing = walking ? 0.55 * std::sin(phase) : 0.0;
    const double bob = walking ? std::fabs(std::sin(phase)) * 1.5 : 0.0;  // up at mid-stride
    const double hipX = 24, hipY = 40 - bob, shoulderY = 25 - bob, headY = 14 - bob;
    struct Limb {
        double angle;
        bool back;
    };
    const Limb legs[] = {{swing, false}, {-swing, true}};
    const Limb arms[] = {{-0.8 * swing, false}, {0.8 * swing, true}};
    std::vector<png_byte> data;
    for (int y = 0; y < kWalkerHeight; ++y)
        for (int x = 0; x < kWalkerWidth; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            png_byte r = 0, g = 0, b = 0, a = 0;
            auto paint = [&](png_byte pr, png_byte pg, png_byte pb) { r = pr, g = pg, b = pb, a = 255; };
            // Back limbs first, then body, front limbs, head: later shapes cover earlier ones.
            for (int layer = 0; layer < 2; ++layer) {
                const bool back = layer == 0;
                for (const Limb& leg : legs) {
                    if (leg.back != back) continue;
                    const double footX = hipX + 20 * std::sin(leg.angle), footY = hipY + 19 * std::cos(leg.angle);
                    if (segmentDistance(px, py, hipX, hipY, footX, footY) < 3.2)
                        back ? paint(35, 50, 120) : paint(50, 70, 160);
                    if (std::hypot((px - footX - 2.5) / 4.5, (py - footY - 1) / 2.2) < 1) paint(60, 40, 30);
                }
                if (back && segmentDistance(px, py, hipX, shoulderY - 1, hipX, hipY) < 5.5) paint(210, 60, 50);
                for (const Limb& arm : arms) {
                    if (arm.back != back) continue;
                    const double handX = hipX + 14 * std::sin(arm.angle), handY = shoulderY + 14 * std::cos(arm.angle);
                    if (segmentDistance(px, py, hipX, shoulderY, handX, handY) < 2.6)
                        back ? paint(170, 45, 40) : paint(230, 80, 65);
                    if (std::hypot(px - handX, py - handY) < 2.8) paint(240, 200, 160);
                }
            }
            if (std::hypot(px - 24, py - headY) < 8.5) paint(240, 200, 160);
            if (std::hypot(px - 24, py - headY) < 8.5 && py < headY - 2) paint(40, 60, 140);  // cap
            if (px > 28 && px < 38 && py > headY - 3.5 && py < headY - 1) paint(40, 60, 140);  // visor, to the right
            if (std::hypot(px - 28.5, py - headY) < 1.3) paint(20, 20, 20);                     // eye
            data.insert(data.end(), {r, g, b, a});
        }
    return data;
}

bool writeWalker(const std::string& sprites) {
    const std::string walk = sprites + "/walker/walk", stand = sprites + "/walker/stand";
    std::error_code error;
    std::filesystem::create_directories(walk, error);
    std::filesystem::create_directories(stand, error);
    const int frames = 6;
    for (int f = 0; f < frames; ++f) {
        const double phase = 2 * 3.14159265358979 * f / frames;
        if (!writePicture(walk + "/" + std::to_string(f + 1) + ".png", kWalkerWidth, kWalkerHeight, 4,
                          walkerFrame(phase, true)))
            return false;
    }
    return writePicture(stand + "/1.png", kWalkerWidth, kWalkerHeight, 4, walkerFrame(0, false));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        fprintf(stderr, "usage: %s OUTPUT_FOLDER [SPRITES_FOLDER]\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    bool ok = writePicture(folder + "/bg.png", 800, 360, 3, landscape(800, 360)) &&
              writePicture(folder + "/glass.png", 260, 160, 4, glassPanel(260, 160));
    if (!ok) fprintf(stderr, "%s: cannot write the pictures into %s\n", argv[0], folder.c_str());
    if (ok && argc == 3 && !writeWalker(argv[2])) {
        fprintf(stderr, "%s: cannot write the sprite frames into %s\n", argv[0], argv[2]);
        ok = false;
    }
    return ok ? 0 : 1;
}
