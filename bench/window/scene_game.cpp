// Scene S(N) in a real window: a game that moves every object all the time.
// BENCH_N sets N; the frame timer preloaded by bench/scene.sh measures.
#include <cstdlib>
#include <string>

#include "../scene.h"

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

int main() {
    zqInit(gameMain);
    return 0;
}
