#include "adapters/linux/directory_watcher.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>

#include "common/temp_folder.h"

namespace planwarte {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Paths = std::vector<std::string>;
using testing_support::TempFolder;

constexpr auto kQuiet = 200ms;
constexpr auto kPatience = 5s;  // bounds every wait; a passing test never waits this long

// The calls of on_change, as they come on the watcher thread.
class Reports {
  public:
    DirectoryWatcher::ChangeHandler Handler() {
        return [this](Paths changed) {
            std::lock_guard lock(mutex_);
            calls_.push_back(std::move(changed));
            arrived_.notify_all();
        };
    }
    // The calls once there are `count` of them, or after the patience has run out.
    std::vector<Paths> WaitFor(std::size_t count) {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, kPatience, [&] { return calls_.size() >= count; });
        return calls_;
    }
    std::size_t Count() {
        std::lock_guard lock(mutex_);
        return calls_.size();
    }
    // The calls after a pause long enough for any further report to come.
    std::vector<Paths> AfterPause() {
        std::this_thread::sleep_for(kQuiet * 4);
        std::lock_guard lock(mutex_);
        return calls_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Paths> calls_;
};

class DirectoryWatcherTest : public ::testing::Test {
  protected:
    DirectoryWatcherTest() : a_(folder_ / "a"), b_(folder_ / "b") {
        fs::create_directories(a_);
        fs::create_directories(b_);
    }
    static void Write(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    std::unique_ptr<DirectoryWatcher> Watch(const Paths& directories) {
        return std::make_unique<DirectoryWatcher>(
            directories, reports_.Handler(),
            [this](const std::string& line) { trace_.push_back(line); }, kQuiet);
    }

    TempFolder folder_;
    const std::string a_;
    const std::string b_;
    Reports reports_;
    std::vector<std::string> trace_;
};

TEST_F(DirectoryWatcherTest, ReportsABurstOnceAfterTheQuietTime) {
    Write(a_ + "/x.ics", "alt");
    auto watcher = Watch({a_, b_});
    // A client replaces one file by rename and writes another, in another folder.
    Write(a_ + "/.x.ics.tmp", "neu");
    fs::rename(a_ + "/.x.ics.tmp", a_ + "/x.ics");
    for (int i = 0; i < 5; ++i) {
        Write(b_ + "/y.ics", std::to_string(i));
    }
    EXPECT_EQ(reports_.WaitFor(1), (std::vector<Paths>{{a_, b_}}));
    EXPECT_EQ(reports_.AfterPause().size(), 1u);

    fs::remove(a_ + "/x.ics");
    EXPECT_EQ(reports_.WaitFor(2), (std::vector<Paths>{{a_, b_}, {a_}}));
}

TEST_F(DirectoryWatcherTest, ReportsATouchedFile) {
    Write(a_ + "/x.ics", "alt");
    auto watcher = Watch({a_});
    fs::last_write_time(a_ + "/x.ics", fs::file_time_type::clock::now());
    EXPECT_EQ(reports_.WaitFor(1), (std::vector<Paths>{{a_}}));
}

TEST_F(DirectoryWatcherTest, WatchesOnlyTheGivenFolderItself) {
    fs::create_directories(a_ + "/sub");
    auto watcher = Watch({a_});
    Write(a_ + "/sub/inner.ics", "x");
    Write(folder_ / "outside.ics", "x");
    EXPECT_TRUE(reports_.AfterPause().empty());
}

TEST_F(DirectoryWatcherTest, ReportsAndDropsARemovedOrMovedFolder) {
    auto watcher = Watch({a_, b_});
    fs::remove_all(a_);
    EXPECT_EQ(reports_.WaitFor(1), (std::vector<Paths>{{a_}}));
    EXPECT_EQ(watcher->WatchedDirectories(), Paths{b_});

    fs::rename(b_, folder_ / "c");
    EXPECT_EQ(reports_.WaitFor(2), (std::vector<Paths>{{a_}, {b_}}));
    EXPECT_TRUE(watcher->WatchedDirectories().empty());
    Write(folder_ / "c/x.ics", "x");  // no longer the folder that was named
    EXPECT_EQ(reports_.AfterPause().size(), 2u);
}

TEST_F(DirectoryWatcherTest, TracesAFolderItCannotWatch) {
    Write(folder_ / "file", "x");
    auto watcher = Watch({folder_ / "missing", a_, folder_ / "file"});
    EXPECT_EQ(watcher->WatchedDirectories(), Paths{a_});
    ASSERT_EQ(trace_.size(), 2u);
    EXPECT_NE(trace_[0].find(folder_ / "missing"), std::string::npos);
    EXPECT_NE(trace_[1].find(folder_ / "file"), std::string::npos);
    Write(a_ + "/x.ics", "x");
    EXPECT_EQ(reports_.WaitFor(1), (std::vector<Paths>{{a_}}));
}

TEST_F(DirectoryWatcherTest, StopsAtOnceAndReportsNothingAfterwards) {
    auto watcher = Watch({a_});
    Write(a_ + "/x.ics", "x");  // pending, not yet reported
    const auto start = std::chrono::steady_clock::now();
    watcher.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, kQuiet);
    EXPECT_TRUE(reports_.AfterPause().empty());
}

TEST_F(DirectoryWatcherTest, ReportsAFolderThatKeepsChangingAfterTheLongestDelay) {
    auto watcher = Watch({a_});
    const auto start = std::chrono::steady_clock::now();
    // Writes closer together than the quiet time, for longer than the longest delay.
    while (reports_.Count() == 0 &&
           std::chrono::steady_clock::now() - start < DirectoryWatcher::kLongestDelay + kPatience) {
        Write(a_ + "/x.ics", "x");
        std::this_thread::sleep_for(kQuiet / 4);
    }
    const auto reported_after = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(reports_.Count(), 1u);
    EXPECT_GE(reported_after, DirectoryWatcher::kLongestDelay);
    EXPECT_LT(reported_after, DirectoryWatcher::kLongestDelay + kPatience);
}

}  // namespace
}  // namespace planwarte
