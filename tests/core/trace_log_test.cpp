#include "core/app/trace_log.h"

#include <gtest/gtest.h>

#include "adapters/fake/memory_file_system.h"

namespace planwarte {
namespace {

constexpr const char* kLog = "/tmp/pw/planwartedebug.log";

TEST(TraceLogTest, FirstWriteOfARunStartsTheFileAnew) {
    MemoryFileSystem files;
    files.AddFile(kLog, "_3_ from the run before\n");
    TraceLog trace(files, "/tmp/pw/");
    EXPECT_EQ(trace.FilePath(), kLog);
    trace.DebugTrace("_4_boom");
    trace.DebugTrace("MAIN:::bang");
    EXPECT_EQ(files.ReadFile(kLog), "_4_boom\nMAIN:::bang\n");
}

TEST(TraceLogTest, ARunWithoutLinesLeavesNoLinesOfTheRunBefore) {
    MemoryFileSystem files;
    files.AddFile(kLog, "_3_ from the run before\n");
    TraceLog trace(files, "/tmp/pw/");
    trace.StartRun();
    EXPECT_EQ(files.ReadFile(kLog), "");
    trace.DebugTrace("_21_");
    EXPECT_EQ(files.ReadFile(kLog), "_21_\n");
}

TEST(TraceLogTest, LinesTracedBeforeTheRunStartsAreKept) {
    MemoryFileSystem files;
    TraceLog trace(files, "/tmp/pw/");
    trace.DebugTrace("settings file moved aside");
    trace.StartRun();
    EXPECT_EQ(files.ReadFile(kLog), "settings file moved aside\n");
}

TEST(TraceLogTest, UnwritableFolderIsSilent) {
    MemoryFileSystem files;
    files.MakeReadOnly("/tmp/pw/");
    TraceLog trace(files, "/tmp/pw/");
    trace.StartRun();
    trace.DebugTrace("_3_x");
    EXPECT_FALSE(files.FileExists(kLog));
}

}  // namespace
}  // namespace planwarte
