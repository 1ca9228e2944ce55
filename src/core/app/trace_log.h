#pragma once

#include <mutex>
#include <string>

namespace planwarte {

class FileSystem;

// The debug trace: one line per call, in planwartedebug.log of the temporary folder.
// The first line of a run starts the file anew; a folder that cannot be written is silent.
// Worker threads trace too, so lines are written one at a time.
class TraceLog {
  public:
    TraceLog(FileSystem& files, std::string temp_folder);

    // Starts this run's log: an empty file, unless the run has already traced. So the file
    // never shows an earlier run's lines as if they were this run's, also when this run has
    // nothing to report.
    void StartRun();

    void DebugTrace(const std::string& message);

    const std::string& FilePath() const { return path_; }

  private:
    FileSystem& files_;
    std::string path_;
    std::mutex mutex_;
    bool first_write_ = true;
};

}  // namespace planwarte
