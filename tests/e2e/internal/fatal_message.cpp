// A game that ends with a fatal error from its own thread while the window is
// open (no exported function reaches fatalError on its own yet).
#include "engine/diagnostics.h"
#include "engine/messages.h"
#include "vindle.h"

static void gameMain() { fatalError(kMsgPngMissing, "missing.png"); }

int main() {
    zqInit(gameMain);
    return 0;
}
