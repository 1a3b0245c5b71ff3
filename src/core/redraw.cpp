#include "core/redraw.h"

#include <atomic>

namespace {
std::atomic<uint64_t> version{1};
}

void noteSceneChange() { version.fetch_add(1, std::memory_order_relaxed); }
uint64_t sceneVersion() { return version.load(std::memory_order_relaxed); }
