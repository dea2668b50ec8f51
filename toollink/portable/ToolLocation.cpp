#include "toollink/portable/ToolLocation.h"

#include <mutex>

namespace {

struct Location {
    std::mutex lock;
    Text toolDir;
    Text toolPath;
    Text targetId;
};

Location& TheLocation() {
    // Never destroyed: a worker still running while the process exits may read it.
    static Location* location = new Location;
    return *location;
}

Text Read(Text Location::*member) {
    Location& l = TheLocation();
    std::lock_guard<std::mutex> guard(l.lock);
    return l.*member;
}

void Write(Text Location::*member, const Text& value) {
    Location& l = TheLocation();
    Text copy = value;  // made outside the lock
    std::lock_guard<std::mutex> guard(l.lock);
    (l.*member).swap(copy);
}

}  // namespace

Text ToolDir() {
    return Read(&Location::toolDir);
}

Text ToolPath() {
    return Read(&Location::toolPath);
}

Text TargetId() {
    return Read(&Location::targetId);
}

void SetToolDir(const Text& value) {
    Write(&Location::toolDir, value);
}

void SetToolPath(const Text& value) {
    Write(&Location::toolPath, value);
}

void SetTargetId(const Text& value) {
    Write(&Location::targetId, value);
}

void ClearToolLocation() {
    Location& l = TheLocation();
    Text dir, path, id;
    std::lock_guard<std::mutex> guard(l.lock);
    l.toolDir.swap(dir);
    l.toolPath.swap(path);
    l.targetId.swap(id);
}
