#include "app/passes/portable/ProgressFigures.h"

#include <algorithm>

#include "app/window/portable/ControlIds.h"
#include "common/portable/SharedTexts.h"
#include "common/portable/TextOps.h"

namespace {

Text PositionText(const PassPosition& p) {
    return IntToText(p.position) + kProgressSep + IntToText(p.total);
}

}  // namespace

Text ProgressTitle(const PassesShown& shown) {
    Text doing;
    if (shown.backup)
        doing = kBackingUpText + PositionText(*shown.backup);
    if (shown.restore)
        doing += (doing.empty() ? Text() : Text(kProgressPassesSep)) + kRestoringText + PositionText(*shown.restore);
    return doing.empty() ? Text(kMainWindowTitle) : kMainWindowTitle + Text(kProgressTitleSep) + doing;
}

WorkDone TaskbarWorkDone(const PassesShown& shown) {
    WorkDone work = {0, 0};
    for (const std::optional<PassPosition>& pass : {shown.backup, shown.restore}) {
        if (!pass || pass->total <= 0)
            continue;
        const int total = pass->total;
        work.total += static_cast<uint64_t>(total);
        work.done += static_cast<uint64_t>(std::clamp(pass->position - 1, 0, total));
    }
    return work;
}
