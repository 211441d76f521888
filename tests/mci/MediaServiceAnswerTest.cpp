#include <array>
#include <cstring>

#include "ServiceTest.h"

namespace trelvane::mci::testing {
namespace {

constexpr char kGuard = '#';

class MediaServiceAnswer : public ServiceTest {
protected:
    void SetUp() override {
        factory().next.lengthMs = 123456;  // six characters
        ASSERT_EQ(openMovie(), status::Ok);
        m_buffer.fill(kGuard);
    }

    Status ask(const char* command, std::uint32_t capacity) {
        return service().sendCommand(command, m_buffer.data(), capacity, 0);
    }

    // True when nothing at or after `from` was touched.
    bool untouchedFrom(std::size_t from) const {
        return std::all_of(m_buffer.begin() + from, m_buffer.end(),
                           [](char c) { return c == kGuard; });
    }

    std::array<char, 32> m_buffer{};
};

TEST_F(MediaServiceAnswer, AnAnswerFitsOnlyWithItsTerminator) {
    EXPECT_EQ(ask("status movie length", 7), status::Ok);
    EXPECT_STREQ(m_buffer.data(), "123456");
    EXPECT_TRUE(untouchedFrom(7));

    m_buffer.fill(kGuard);
    EXPECT_EQ(ask("status movie length", 6), status::ParamOverflow);
    EXPECT_EQ(m_buffer[0], '\0');
    EXPECT_TRUE(untouchedFrom(6));

    m_buffer.fill(kGuard);
    EXPECT_EQ(ask("status movie mode", 1), status::ParamOverflow);
    EXPECT_EQ(m_buffer[0], '\0');
    EXPECT_TRUE(untouchedFrom(1));
}

TEST_F(MediaServiceAnswer, NoRoomMeansNothingWritten) {
    EXPECT_EQ(ask("status movie length", 0), status::Ok);
    EXPECT_EQ(ask("bogus", 0), status::UnrecognizedCommand);
    EXPECT_EQ(ask("play movie", 0), status::Ok);
    EXPECT_TRUE(untouchedFrom(0));
    EXPECT_EQ(service().sendCommand("status movie mode", nullptr, 0, 0), status::Ok);
    EXPECT_EQ(service().sendCommand("status movie mode", nullptr, 128, 0), status::Ok);
    EXPECT_EQ(service().sendCommand(nullptr, nullptr, 0, 0), status::MissingCommandString);
    EXPECT_EQ(service().sendCommand("status movie mode", m_buffer.data(), 8, 99), status::Ok);
    EXPECT_STREQ(m_buffer.data(), "playing");
}

TEST_F(MediaServiceAnswer, FailuresAndPlainCommandsLeaveAnEmptyText) {
    const char* commands[] = {
        "close nobody", "status movie volume",     "play movie from x", "open \"unterminated", "",
        "stop movie",   "set movie time format ms"};
    for (const char* command : commands) {
        m_buffer.fill(kGuard);
        ask(command, 16);
        EXPECT_EQ(m_buffer[0], '\0') << command;
        EXPECT_TRUE(untouchedFrom(1)) << command;
    }
    m_buffer.fill(kGuard);
    EXPECT_EQ(ask(nullptr, 16), status::MissingCommandString);
    EXPECT_EQ(m_buffer[0], '\0');
    EXPECT_EQ(ask("status movie length", 16), status::Ok);
    EXPECT_STREQ(m_buffer.data(), "123456");
}

TEST_F(MediaServiceAnswer, TextIsPassedThroughAsBytes) {
    const std::string name = "f\xC3\xBCr \xE2\x82\xAC \"\".vob";
    const std::string withQuotes = m_dir.makeFile(name);
    EXPECT_EQ(send("open \"" + withQuotes + "\" alias q").status, status::UnrecognizedKeyword);
    const std::string unicode = m_dir.makeFile("f\xC3\xBCr \xE2\x82\xAC.vob");
    ASSERT_EQ(send("open \"" + unicode + "\" alias \xC3\xA9t\xC3\xA9").status, status::Ok);
    EXPECT_EQ(factory().last().opened->path, unicode);
    EXPECT_EQ(mode("\xC3\xA9T\xC3\xA9"), "stopped");
}

}  // namespace
}  // namespace trelvane::mci::testing
