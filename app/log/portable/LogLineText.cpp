#include "app/log/portable/LogLineText.h"

#include <algorithm>

#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"

namespace {

Text Line(const Text& stamp, const Text& message) {
    Text line = stamp + kLogSeparator + message + kLineSep;
    std::replace(line.begin(), line.end(), '\0', '?');
    return line;
}

}  // namespace

Text BoxLogLine(const Text& dateText, const Text& message) {
    return Line(RightText(dateText, kLogStampLength), message);
}

Text FileLogLine(const Text& dateText, const Text& message) {
    return Line(dateText, message);
}

Text LogFileLineBreakBefore(std::optional<char> lastByte) {
    if (!lastByte || *lastByte == '\n')
        return Text();
    return *lastByte == '\r' ? Text("\n") : Text(kLineSep);
}
