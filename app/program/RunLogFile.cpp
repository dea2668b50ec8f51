#include "app/program/RunLogFile.h"

#include <memory>

#include "app/log/Log.h"
#include "app/log/LogFile.h"

ScopedRunLogFile::ScopedRunLogFile(const CommandLineRequest& request) {
    if (!request.logFile.empty())
        SetRunLogFile(std::make_shared<LogFile>(request.logFile));
}

ScopedRunLogFile::~ScopedRunLogFile() {
    SetRunLogFile(nullptr);
}
