#include <limits>
#include <string>
#include <vector>

#include "MovieModuleTest.h"

namespace trelvane::movie {
namespace {

using Texts = std::vector<std::string>;

TEST_F(MovieModuleTest, SetPositionWhilePlayingPlaysFromTheNewPosition) {
    m_channel.reply(11, "playing");
    m_channel.reply(22);
    m_module.setPositionTo(12);

    EXPECT_EQ(m_channel.texts(), (Texts{"status movie mode", "play movie from 12000"}));
    EXPECT_EQ(m_channel.sent()[1].capacity, 0u);
    EXPECT_FALSE(m_channel.sent()[1].hadBuffer);
    EXPECT_EQ(m_channel.sent()[1].callbackWindow, 0u);
    EXPECT_EQ(m_module.Error(), 11) << "the play command's status is not kept";
}

TEST_F(MovieModuleTest, SetPositionOtherwiseAsksAgainThenSeeks) {
    m_channel.reply(11, "paused");
    m_channel.reply(12, "paused");
    m_channel.reply(33);
    m_module.setPositionTo(12);

    EXPECT_EQ(m_channel.texts(),
              (Texts{"status movie mode", "status movie mode", "seek movie to 12000"}));
    EXPECT_EQ(m_channel.sent()[2].capacity, 0u);
    EXPECT_FALSE(m_channel.sent()[2].hadBuffer);
    EXPECT_EQ(m_module.Error(), 12) << "the seek command's status is not kept";
}

TEST_F(MovieModuleTest, SetPositionSendsNothingWhenPlayingStartsBetweenTheQueries) {
    m_channel.reply(0, "paused");
    m_channel.reply(0, "playing");
    m_module.setPositionTo(12);
    EXPECT_EQ(m_channel.texts(), (Texts{"status movie mode", "status movie mode"}));
}

TEST_F(MovieModuleTest, SetPositionWritesMillisecondsInDecimal) {
    const std::vector<std::pair<std::int32_t, std::string>> cases = {
        {0, "0"},
        {-3, "-3000"},
        {2147483, "2147483000"},
        {-2147483, "-2147483000"},
    };
    for (const auto& [second, ms] : cases) {
        SCOPED_TRACE(second);
        m_channel.forget();
        m_channel.reply(0, "stopped");
        m_channel.reply(0, "stopped");
        m_channel.reply(0);
        m_channel.reply(0, "playing");
        m_module.setPositionTo(second);
        m_module.setPositionTo(second);
        EXPECT_EQ(m_channel.texts(),
                  (Texts{"status movie mode", "status movie mode", "seek movie to " + ms,
                         "status movie mode", "play movie from " + ms}));
    }
}

TEST_F(MovieModuleTest, SetPositionOverflowFailsBeforeAnyCommand) {
    for (const std::int32_t second : {2147484, -2147484, std::numeric_limits<std::int32_t>::max(),
                                      std::numeric_limits<std::int32_t>::min()}) {
        SCOPED_TRACE(second);
        m_module.setError(99);
        EXPECT_EQ(failureOf([&] { m_module.setPositionTo(second); }), kOverflow);
        EXPECT_TRUE(m_channel.sent().empty());
        EXPECT_EQ(m_module.Error(), 99);
    }
}

}  // namespace
}  // namespace trelvane::movie
