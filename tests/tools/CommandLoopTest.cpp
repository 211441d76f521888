#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "tools/CommandLoop.h"

namespace trelvane::tools {
namespace {

// Answers every command with its own text, filling as much of the buffer as
// the capacity allows, so that the loop's handling of the buffer shows.
class EchoChannel : public movie::CommandChannel {
public:
    std::uint32_t sendCommand(const char* command, char* answer, std::uint32_t capacity,
                              std::uintptr_t) override {
        m_commands.emplace_back(command);
        if (capacity == 0) {
            return 0;
        }
        const std::size_t length = std::min<std::size_t>(std::strlen(command), capacity);
        std::memcpy(answer, command, length);  // unterminated when it fills the buffer
        if (length < capacity) {
            answer[length] = '\0';
        }
        return static_cast<std::uint32_t>(length);
    }
    std::vector<std::string> m_commands;
};

std::string runLoop(EchoChannel& channel, std::uint32_t capacity, const std::string& input) {
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    EXPECT_EQ(::write(fds[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));
    ::close(fds[1]);
    LineReader reader(fds[0]);
    std::ostringstream out;
    CommandLoop(channel, capacity).run(reader, out);
    ::close(fds[0]);
    return out.str();
}

TEST(CommandLoop, PrintsTheStatusAndTheAnswerOfEachCommand) {
    EchoChannel channel;
    EXPECT_EQ(runLoop(channel, 128, "status movie mode\nplay\n"),
              "17\tstatus movie mode\n4\tplay\n");
    EXPECT_EQ(channel.m_commands, (std::vector<std::string>{"status movie mode", "play"}));
}

TEST(CommandLoop, NeverPrintsMoreThanTheCapacity) {
    EchoChannel channel;
    EXPECT_EQ(runLoop(channel, 4, "status\nab\n"), "4\tstat\n2\tab\n");
}

TEST(CommandLoop, CapacityZeroPassesNoBuffer) {
    EchoChannel channel;
    EXPECT_EQ(runLoop(channel, 0, "status movie length\n"), "0\t\n");
}

}  // namespace
}  // namespace trelvane::tools
