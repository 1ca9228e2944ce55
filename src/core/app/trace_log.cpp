#include "core/app/trace_log.h"

#include "core/app/file_system.h"

namespace planwarte {

TraceLog::TraceLog(FileSystem& files, std::string temp_folder)
    : files_(files), path_(std::move(temp_folder) + "planwartedebug.log") {}

void TraceLog::StartRun() {
    const std::lock_guard lock(mutex_);
    if (first_write_) {
        first_write_ = false;
        files_.WriteTempFile(path_, "", false);
    }
}

void TraceLog::DebugTrace(const std::string& message) {
    const std::lock_guard lock(mutex_);
    const bool append = !first_write_;
    first_write_ = false;
    // A failed write is dropped on purpose: the trace must never disturb the program.
    files_.WriteTempFile(path_, message + "\n", append);
}

}  // namespace planwarte
