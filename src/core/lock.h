// The engine lock: the one lock that guards the scene's object tables, every
// record in them and the PNG cache. Non-recursive (never take it twice on one
// thread), made on first use and never destroyed, so it outlives every thread
// at process end.
#pragma once

void lockEngine();
void unlockEngine();
