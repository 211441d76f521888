#include <limits>
#include <string>
#include <vector>

#include "MovieModuleTest.h"

namespace trelvane::movie {
namespace {

using Texts = std::vector<std::string>;

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST_F(MovieModuleTest, NumberQueriesSetMillisecondsThenAskWithTheBuffer) {
    m_channel.reply(5);
    m_channel.reply(7, "100");
    m_module.getLengthInSec();
    EXPECT_EQ(m_module.Error(), 7);
    m_channel.reply(5);
    m_channel.reply(0, "100");
    m_module.getPositionInSec();
    EXPECT_EQ(m_module.Error(), 0);

    EXPECT_EQ(m_channel.texts(), (Texts{"set movie time format ms", "status movie length",
                                        "set movie time format ms", "status movie position wait"}));
    const std::vector<SentCommand>& sent = m_channel.sent();
    for (std::size_t i = 0; i < sent.size(); ++i) {
        SCOPED_TRACE(sent[i].text);
        const bool isQuery = i % 2 == 1;
        EXPECT_EQ(sent[i].capacity, isQuery ? 128u : 0u);
        EXPECT_EQ(sent[i].hadBuffer, isQuery);
        EXPECT_EQ(sent[i].callbackWindow, 0u);
    }
}

TEST_F(MovieModuleTest, NumberAnswersRoundToMillisecondsAndTruncateToSeconds) {
    struct Case {
        std::string answer;
        std::int32_t ms;
        std::int32_t seconds;
    };
    const std::vector<Case> cases = {
        {"5400000", 5400000, 5400},
        {"1999", 1999, 1},
        {"-1999", -1999, -1},
        {"", 0, 0},
        {"abc", 0, 0},
        {"   42", 42, 0},
        {"1234.5", 1234, 1},
        {"1235.5", 1236, 1},
        {"   -42abc", -42, 0},
        {"12.75", 13, 0},
        {"2147483647", kMax, 2147483},
        {"-2147483648", kMin, -2147483},
        {"1e400", 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("answer \"" + c.answer + "\"");
        m_channel.replyNumberQuery(c.answer);
        EXPECT_EQ(m_module.getLengthInMS(), c.ms);
        m_channel.replyNumberQuery(c.answer);
        EXPECT_EQ(m_module.getLengthInSec(), c.seconds);
        m_channel.replyNumberQuery(c.answer);
        EXPECT_EQ(m_module.getPositionInMS(), c.ms);
        m_channel.replyNumberQuery(c.answer);
        EXPECT_EQ(m_module.getPositionInSec(), c.seconds);
    }
}

TEST_F(MovieModuleTest, NumbersOutsideThe32BitRangeFailWithOverflow) {
    const std::vector<std::function<void(MovieModule&)>> queries = {
        &MovieModule::getLengthInMS, &MovieModule::getLengthInSec, &MovieModule::getPositionInMS,
        &MovieModule::getPositionInSec};
    for (const char* answer : {"3000000000", "2147483647.5", "-2147483649"}) {
        for (const auto& query : queries) {
            SCOPED_TRACE(answer);
            m_channel.reply(0);
            m_channel.reply(99, answer);
            EXPECT_EQ(failureOf([&] { query(m_module); }), kOverflow);
            EXPECT_EQ(m_module.Error(), 99);
        }
    }
}

TEST_F(MovieModuleTest, AnswerBufferIsNeverCleared) {
    // Before any answer the buffer holds only NULs.
    EXPECT_EQ(m_module.getLengthInMS(), 0);
    EXPECT_FALSE(m_module.isMoviePlaying());

    m_channel.replyNumberQuery("5400000");
    EXPECT_EQ(m_module.getLengthInMS(), 5400000);
    // A failed query leaves the earlier answer to be read again.
    m_channel.reply(0);
    m_channel.reply(263);
    EXPECT_EQ(m_module.getPositionInSec(), 5400);
    EXPECT_EQ(m_module.Error(), 263);
    // A shorter answer leaves the tail of the longer one behind its NUL.
    m_channel.replyNumberQuery("42");
    EXPECT_EQ(m_module.getPositionInMS(), 42);
    m_channel.replyNumberQuery("7.");
    EXPECT_EQ(m_module.getPositionInMS(), 7);
}

TEST_F(MovieModuleTest, OnlyAnAnswerStartingWithLowercasePlayingMeansPlaying) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"playing", true},  {"playing now", true}, {"Playing", false},   {"paused", false},
        {"stopped", false}, {"seeking", false},    {"not ready", false}, {"play", false},
        {"", false},        {" playing", false},
    };
    std::uint32_t status = 300;
    for (const auto& [answer, playing] : cases) {
        SCOPED_TRACE("answer \"" + answer + "\"");
        m_channel.forget();
        m_channel.reply(++status, answer);
        EXPECT_EQ(m_module.isMoviePlaying(), playing);
        EXPECT_EQ(m_module.Error(), static_cast<std::int32_t>(status));
        ASSERT_EQ(m_channel.sent().size(), 1u);
        EXPECT_EQ(m_channel.sent()[0].text, "status movie mode");
        EXPECT_EQ(m_channel.sent()[0].capacity, 128u);
        EXPECT_TRUE(m_channel.sent()[0].hadBuffer);
        EXPECT_EQ(m_channel.sent()[0].callbackWindow, 0u);
    }
}

TEST_F(MovieModuleTest, ModeIsReadFromWhateverTheBufferHolds) {
    m_channel.reply(0, "playing");
    EXPECT_TRUE(m_module.isMoviePlaying());
    m_channel.reply(263);
    EXPECT_TRUE(m_module.isMoviePlaying()) << "a failed query re-reads the earlier answer";
    m_channel.reply(0, "pa");
    EXPECT_FALSE(m_module.isMoviePlaying()) << "\"pa\\0ying\" must not match";
    m_channel.reply(0, "stopped");
    m_channel.reply(0, "playing");
    EXPECT_FALSE(m_module.isMoviePlaying());
    EXPECT_TRUE(m_module.isMoviePlaying());
}

}  // namespace
}  // namespace trelvane::movie
