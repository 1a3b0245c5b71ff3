/* A console program that uses the engine for one box and nothing else. */
#include <vindle.h>

int main(void) {
    alert("%d", getZQGameVersion());
    return 0;
}
