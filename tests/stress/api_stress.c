/* Four threads call the whole API at random while the window draws: create,
   change, hide and show, clear, animate, retitle, resize. Usage:
   api_stress <seconds>. Prints the calls made per second and, once a second,
   the resident set size ("rss <second> <kB>"); ends with status 1 when the
   time is up. The game keeps to the rules a game must keep: a number is
   created only when it is free (checked and created under the game's own
   lock), so no call is fatal. */
#include <png.h>
#include <pthread.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <vindle.h>

enum { kThreads = 4, kNumbers = 24 };

static int seconds = 10;
static char resources[256];
static atomic_long calls;
static atomic_int running;
static atomic_int finished;
static pthread_mutex_t creating = PTHREAD_MUTEX_INITIALIZER;

static double nowSeconds(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

static void writePicture(const char* relative, int width, int height, unsigned seed) {
    char path[512];
    snprintf(path, sizeof path, "%s/%s", resources, relative);
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = (png_uint_32)width;
    image.height = (png_uint_32)height;
    image.format = PNG_FORMAT_RGBA;
    unsigned char* pixels = malloc((size_t)width * height * 4);
    for (int i = 0; i < width * height * 4; ++i) pixels[i] = (unsigned char)(i * 31 + seed);
    if (!png_image_write_to_file(&image, path, 0, pixels, 0, NULL)) {
        fprintf(stderr, "cannot write %s\n", path);
        exit(2);
    }
    free(pixels);
}

static void makeResources(void) {
    snprintf(resources, sizeof resources, "/tmp/vindle-stress-XXXXXX");
    if (!mkdtemp(resources)) exit(2);
    const char* folders[] = {"Images", "Sprites", "Sprites/hero", "Sprites/hero/walk", "Sprites/hero/jump"};
    for (size_t i = 0; i < sizeof folders / sizeof *folders; ++i) {
        char path[512];
        snprintf(path, sizeof path, "%s/%s", resources, folders[i]);
        mkdir(path, 0755);
    }
    writePicture("Images/a.png", 40, 30, 1);
    writePicture("Images/b.png", 90, 70, 2);
    writePicture("Images/c.png", 8, 120, 3);
    writePicture("Sprites/hero/walk/1.png", 32, 32, 4);
    writePicture("Sprites/hero/walk/2.png", 36, 30, 5);
    writePicture("Sprites/hero/walk/10.png", 20, 44, 6);
    writePicture("Sprites/hero/jump/1.png", 50, 50, 7);
    writePicture("Sprites/hero/jump/2.png", 10, 10, 8);
}

static void removeResources(void) {
    char command[600];
    snprintf(command, sizeof command, "rm -rf '%s'", resources);
    if (system(command) != 0) fprintf(stderr, "cannot remove %s\n", resources);
}

static unsigned next(unsigned* state) {
    *state ^= *state << 13;
    *state ^= *state >> 17;
    *state ^= *state << 5;
    return *state;
}

static void createOne(unsigned* r) {
    int id = (int)(next(r) % kNumbers) - 4;
    static const char* const pictures[] = {"a.png", "B.PNG", "c.png"};
    pthread_mutex_lock(&creating);
    switch (next(r) % 3) {
        case 0:
            if (!isValidText(id)) createText(id, next(r) % 2 ? "压力测试" : "stress");
            break;
        case 1:
            if (!isValidImage(id)) createImage(id, pictures[next(r) % 3]);
            break;
        default:
            if (!isValidSprite(id)) createSprite(id, "hero");
            break;
    }
    pthread_mutex_unlock(&creating);
}

static void callOne(unsigned* r) {
    int id = (int)(next(r) % kNumbers) - 4;
    int x = (int)(next(r) % 900) - 50, y = (int)(next(r) % 700) - 50;
    float c = (float)(next(r) % 100) / 100.0f;
    char text[64];
    switch (next(r) % 40) {
        case 0: case 1: case 2: case 3: createOne(r); break;
        case 4: setTextPosition(id, x, y); break;
        case 5: snprintf(text, sizeof text, "第%d行 %d", id, x); setText(id, text); break;
        case 6: setTextColor(id, c, 1.0f - c, 0.5f); break;
        case 7: setTextFontSize(id, 8 + (int)(next(r) % 5) * 6); break;
        case 8: if (next(r) % 2) hideText(id); else showText(id); break;
        case 9: getTextX(id); getTextY(id); isTextVisible(id); break;
        case 10: setImagePosition(id, x, y); break;
        case 11: setImageSource(id, next(r) % 2 ? "b.png" : "A.png"); break;
        case 12: if (next(r) % 2) hideImage(id); else showImage(id); break;
        case 13: getImageX(id); getImageY(id); getImageWidth(id); getImageHeight(id); isImageVisible(id); break;
        case 14: setSpritePosition(id, x, y); break;
        case 15: playSpriteAnimate(id, next(r) % 2 ? "walk" : "jump"); break;
        case 16: setSpriteFlipX(id, (int)(next(r) % 3)); setSpriteFlipY(id, (int)(next(r) % 2)); break;
        case 17: if (next(r) % 2) hideSprite(id); else showSprite(id); break;
        case 18: setSpriteRepeatPlay(id, (int)(next(r) % 2)); break;
        case 19: getSpriteX(id); getSpriteY(id); getSpriteWidth(id); getSpriteHeight(id); isSpriteVisible(id); break;
        case 20: isValidText(id); isValidImage(id); isValidSprite(id); break;
        case 21: if (next(r) % 20 == 0) clearGameUI(); break;
        case 22: snprintf(text, sizeof text, "标题 %u", next(r) % 1000); setGameTitle(text); break;
        case 23: if (next(r) % 10 == 0) setGameSize(300 + (int)(next(r) % 500), 200 + (int)(next(r) % 400)); break;
        case 24: setBgColor(c, c, 1.0f - c); break;
        case 25: setViewPortPosition((int)(next(r) % 40), (int)(next(r) % 40)); break;
        case 26: getGameWidth(); getGameHeight(); getViewPortPositionX(); getViewPortPositionY(); break;
        case 27: getMousePositionX(); getMousePositionY(); isMouseLeftButtonDown(); break;
        case 28: getPressedKeyCode(); getPressedNormalKeyCode(); getPressedSpecialKeyCode(); break;
        case 29: if (next(r) % 2) hideMouseCursor(); else showMouseCursor(); break;
        case 30: getZQGameVersion(); break;
        default: createOne(r); break;
    }
    atomic_fetch_add_explicit(&calls, 1, memory_order_relaxed);
}

static void worker(void* argument) {
    unsigned state = (unsigned)(size_t)argument * 2654435761u + 1u;
    while (atomic_load(&running)) callOne(&state);
    atomic_fetch_add(&finished, 1);
}

static long residentKb(void) {
    long pages = 0, resident = 0;
    FILE* statm = fopen("/proc/self/statm", "r");
    if (!statm) return -1;
    if (fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = -1;
    fclose(statm);
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

static void gameMain(void) {
    static int numbers[kThreads];
    atomic_store(&running, 1);
    const double start = nowSeconds();
    for (int i = 0; i < kThreads; ++i) {
        numbers[i] = i + 1;
        asyncRun(worker, (void*)(size_t)numbers[i]);
    }
    for (int second = 1; second <= seconds; ++second) {
        pauseGame(1000);
        printf("rss %d %ld\n", second, residentKb());
        fflush(stdout);
    }
    atomic_store(&running, 0);
    while (atomic_load(&finished) < kThreads) pauseGame(10);
    const double took = nowSeconds() - start;
    const long total = atomic_load(&calls);
    printf("calls %ld in %.1f s: %.0f calls/s\n", total, took, total / took);
    fflush(stdout);
    removeResources();
}

int main(int argc, char** argv) {
    if (argc > 1) seconds = atoi(argv[1]);
    makeResources();
    setResourcesDir(resources);
    zqInit(gameMain);
    return 0;
}
