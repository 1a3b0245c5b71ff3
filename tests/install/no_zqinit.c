/* The mistake: main never starts the engine, zqInit is forgotten. */
#include <vindle.h>

void gameMain(void) { createText(1, "hi"); }

int main(void) { return 0; }
