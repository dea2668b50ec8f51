// The native build (the sanitizer run of the platform-free code) has no ANSI code page to ask: the
// product's own, 936, stands in for it, as the Wine test run sets it.
#include "common/portable/ActiveLeadBytes.h"

const LeadBytes& ActiveLeadBytes() {
    return LeadBytes::CodePage936();
}
