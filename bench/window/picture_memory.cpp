// How much a game grows for the pictures it shows: 40 distinct 1024 x 768 RGB
// pictures, each partly visible in a window of that size, drawn for a second.
// Prints the decoded size of the pictures and how much the process's resident
// memory grew from before the first image to after the frames.
//   bench_picture_memory    (under X; LD_LIBRARY_PATH picks another build's
//                            libvindle.so to compare)
#include <cstdio>
#include <string>

#include "../scene_pictures.h"

namespace {

constexpr int kPictures = 40, kWidth = 1024, kHeight = 768;

TempDir& resources() {
    static TempDir* dir = new TempDir;
    return *dir;
}

double residentMiB() {
    long pages = 0, resident = 0;
    FILE* statm = fopen("/proc/self/statm", "r");
    if (!statm) return 0;
    if (fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    fclose(statm);
    return resident * 4096.0 / (1 << 20);
}

void gameMain() {
    std::filesystem::create_directories(resources().path() + "/Images");
    for (int i = 0; i < kPictures; ++i) {
        PngPicture picture = patternPicture(kWidth, kHeight, 3);
        picture.rows[0] = static_cast<png_byte>(i);  // distinct files, distinct pictures
        writePng(resources().path() + "/Images/p" + std::to_string(i) + ".png", picture);
    }
    setResourcesDir(resources().path().c_str());
    setGameSize(kWidth, kHeight);
    pauseGame(500);
    const double before = residentMiB();
    for (int i = 0; i < kPictures; ++i) {
        createImage(i, ("p" + std::to_string(i) + ".png").c_str());
        setImagePosition(i, i * 20, i * 15);
    }
    pauseGame(1000);
    const double grown = residentMiB() - before;
    const double decoded = kPictures * ((kWidth * 3 + 3) / 4 * 4.0) * kHeight / (1 << 20);
    printf("[memory] %d pictures decoded %.1f MiB, the game grew %.1f MiB (%.2f x)\n", kPictures, decoded, grown,
           grown / decoded);
    fflush(stdout);
}

}  // namespace

int main() {
    zqInit(gameMain);
    return 0;
}
