#include "tests/support/InstalledTool.h"

InstalledTool::InstalledTool(bool installNow) : StandInTool("bin", /*copyNow=*/false), value_(std::nullopt) {
    if (installNow)
        Install();
}

bool InstalledTool::Install() {
    installed_ = CopyProgram() && value_.Set(ScratchPath());
    return installed_;
}

bool InstalledTool::Uninstall() {
    installed_ = false;
    return RemoveProgram() && value_.Remove();
}
