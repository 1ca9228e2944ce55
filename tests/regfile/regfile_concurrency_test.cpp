#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "adapters/regfile/regfile_store.h"
#include "common/temp_folder.h"
#include "core/settings/setting_values.h"

namespace planwarte {
namespace {

constexpr int kWritesPerProcess = 200;

std::string ValueName(int process, int i) {
    return "P" + std::to_string(process) + "_" + std::to_string(i);
}

// In the child: waits for the start signal, then writes its values one handle at a time.
[[noreturn]] void WriteValuesAndExit(const std::string& path, int process, int start_fd) {
    char signal;
    const bool started = ::read(start_fd, &signal, 1) == 0;  // end of file: go
    int failures = started ? 0 : 1;
    RegFileStore store(path, [&](const std::string&) { ++failures; });
    for (int i = 0; i < kWritesPerProcess; ++i) {
        auto key = store.OpenKey(kSettingsKeyPath, true);
        if (!key) {
            ++failures;
            continue;
        }
        key->WriteInteger(ValueName(process, i), i);
    }
    ::_exit(failures == 0 ? 0 : 1);
}

TEST(RegFileConcurrencyTest, TwoProcessesWritingAtOnceLoseNoWrite) {
    testing_support::TempFolder folder;
    const std::string path = folder / "settings.reg";
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    std::vector<pid_t> children;
    for (int process = 0; process < 2; ++process) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(start[1]);
            WriteValuesAndExit(path, process, start[0]);
        }
        children.push_back(child);
    }
    ::close(start[0]);
    ::close(start[1]);  // both children start writing now
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    }

    auto key = RegFileStore(path, {}).OpenKey(kSettingsKeyPath, false);
    ASSERT_NE(key, nullptr);
    int missing = 0;
    for (int process = 0; process < 2; ++process) {
        for (int i = 0; i < kWritesPerProcess; ++i) {
            try {
                if (key->ReadInteger(ValueName(process, i)) != i) {
                    ++missing;
                }
            } catch (const SettingsError&) {
                ++missing;
            }
        }
    }
    EXPECT_EQ(missing, 0);
}

}  // namespace
}  // namespace planwarte
