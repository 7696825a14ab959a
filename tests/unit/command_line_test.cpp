// The command line: a folder or song to open, --help and --version, unknown options refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line.h"

TEST(CommandLine, FirstPathOrFirstOptionDecides) {
    using Kind = CommandLine::Kind;
    const struct {
        std::vector<std::string> arguments;
        Kind kind;
        std::string path;
    } cases[] = {
        {{}, Kind::Run, ""},
        {{"/musik/alben/"}, Kind::Run, "/musik/alben/"},
        {{"lied.mp3", "zwei.mp3"}, Kind::Run, "lied.mp3"},
        {{"--", "-seltsam.mp3"}, Kind::Run, "-seltsam.mp3"},
        {{"-"}, Kind::Run, "-"},
        {{"/musik/", "--help"}, Kind::Help, ""},
        {{"--version", "--help"}, Kind::Version, ""},
        {{"-x"}, Kind::Unknown, ""},
        {{"--hilfe", "--help"}, Kind::Unknown, ""},
        {{"--", "--help"}, Kind::Run, "--help"},
    };
    for (const auto& c : cases) {
        const CommandLine line = ParseCommandLine(c.arguments);
        EXPECT_EQ(line.kind, c.kind) << testing::PrintToString(c.arguments);
        EXPECT_EQ(line.path, c.path) << testing::PrintToString(c.arguments);
    }
}
