#include "tests/support/ToolForPasses.h"

#include "toollink/portable/ToolLocation.h"

ToolForPasses::ToolForPasses() : commands_(std::make_shared<ToolCommands>()) {
    // Whatever the command object's construction located, this copy is the tool from now on.
    SetToolDir(Folder());
    SetToolPath(Exe());
}

std::vector<Text> ToolForPasses::ListedNames() const {
    EntryList list;
    commands_->ListEntries(list);
    std::vector<Text> names;
    for (const EntryRecord& record : list)
        names.push_back(record.text1);
    return names;
}
