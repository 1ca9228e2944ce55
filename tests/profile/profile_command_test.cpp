#include "adapters/profile/profile_command.h"

#include <gtest/gtest.h>

namespace planwarte {
namespace {

using Words = std::vector<std::string>;

TEST(CommandArguments, SplitsWordsAndPutsInThePath) {
    const std::string path = "/home/a b/Kalender; rm -rf ~/x.ics";
    const struct {
        const char* command;
        Words words;
    } cases[] = {
        {"xdg-open %f", {"xdg-open", path}},
        {"  khal   edit\t%f ", {"khal", "edit", path}},
        {"prog --file=%f", {"prog", "--file=" + path}},
        {"\"/opt/mein programm/bin\" \"%f\"", {"/opt/mein programm/bin", path}},
        {"prog \"\" 100%% %x", {"prog", "", "100%", "%x"}},
        {"xdg-open mailto:", {"xdg-open", "mailto:"}},
        {"prog %", {"prog", "%"}},
        {"   ", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CommandArguments(c.command, path), c.words) << c.command;
    }
}

}  // namespace
}  // namespace planwarte
