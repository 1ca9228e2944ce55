#include "adapters/linux/lock_file_instance_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/temp_folder.h"

namespace planwarte {
namespace {

using testing_support::TempFolder;

// The lock is a per-process one, so the second instance is played by a child process.
bool AcquiredInChild(const std::string& folder, const std::string& name) {
    const pid_t child = ::fork();
    if (child == 0) {
        LockFileInstanceLock lock(folder);
        ::_exit(lock.Acquire(name) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(LockFileInstanceLockTest, SecondProcessIsRefusedWhileTheFirstHoldsTheLock) {
    TempFolder folder;
    {
        LockFileInstanceLock first(folder.Path());
        ASSERT_TRUE(first.Acquire("MKF (for Outlook)"));
        EXPECT_FALSE(AcquiredInChild(folder.Path(), "MKF (for Outlook)"));
        EXPECT_TRUE(AcquiredInChild(folder.Path(), "another name"));
    }
    // Released with its holder, as when the program ends or crashes.
    EXPECT_TRUE(AcquiredInChild(folder.Path(), "MKF (for Outlook)"));
}

}  // namespace
}  // namespace planwarte
