#include "framework/handles_win.h"

#include <atomic>

namespace tallyglass {

namespace {
std::atomic<long> g_live{0};
}

namespace handles {
long LiveCount() { return g_live.load(); }
void CountAcquired() { ++g_live; }
void CountReleased() { --g_live; }
}  // namespace handles

}  // namespace tallyglass
