#include "tests/support/FixedClock.h"

namespace {

SYSTEMTIME g_fixedNow;

}  // namespace

void SetFixedClock(const SYSTEMTIME& utc) {
    g_fixedNow = utc;
}

SYSTEMTIME FixedClock() {
    return g_fixedNow;
}
