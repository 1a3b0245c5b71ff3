// Scene S(N) in a real window: a game that moves every object all the time.
// BENCH_N sets N; the frame timer preloaded by bench/scene.sh measures.
// "bench_scene_game --write DIR" only writes the scene's files into DIR, for
// the Windows build of the same game (bench/windows/scene.sh).
#include <cstdlib>
#include <string>

#include "../scene_pictures.h"

namespace {

int count() {
    const char* n = getenv("BENCH_N");
    return n ? atoi(n) : 100;
}

TempDir& resources() {
    static TempDir* dir = new TempDir;
    return *dir;
}

void gameMain() {
    scene::writeResources(resources().path());
    setResourcesDir(resources().path().c_str());
    const int n = count();
    scene::create(n);
    for (int frame = 1;; ++frame) {
        scene::move(n, frame);
        pauseGame(2);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--write") {
        scene::writeResources(argv[2]);
        return 0;
    }
    zqInit(gameMain);
    return 0;
}
