#include "app/log/portable/LogRotation.h"

bool LogRotationDue(uint64_t fileSize, uint64_t lineBytes, uint64_t limit) {
    // Compared without adding, so no size can wrap around.
    return fileSize > 0 && (fileSize >= limit || lineBytes > limit - fileSize);
}

Text RotatedLogPath(const Text& path) {
    return path + kRotatedLogSuffix;
}
