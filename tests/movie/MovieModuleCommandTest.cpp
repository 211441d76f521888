#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "MovieModuleTest.h"

namespace trelvane::movie {
namespace {

using Texts = std::vector<std::string>;

void expectSentWithoutAnswer(const RecordingChannel& channel) {
    for (const SentCommand& command : channel.sent()) {
        SCOPED_TRACE(command.text);
        EXPECT_EQ(command.capacity, 0u);
        EXPECT_FALSE(command.hadBuffer);
        EXPECT_EQ(command.callbackWindow, 0u);
    }
}

TEST_F(MovieModuleTest, OpenInWindowQuotesFilenameAndClosesFirst) {
    m_module.setFilename(R"(C:\v\a b.vob)");
    m_module.openMovieWindow(1234, "child");

    EXPECT_EQ(
        m_channel.texts(),
        (Texts{"close movie",
               R"(open "C:\v\a b.vob" type mpegvideo alias movie parent 1234 style child )"}));
    EXPECT_EQ(m_module.Filename(), R"("C:\v\a b.vob")");
    expectSentWithoutAnswer(m_channel);
}

TEST_F(MovieModuleTest, EveryOpenWrapsFilenameInAnotherPairOfQuotes) {
    m_module.setFilename("/m/a.vob");
    m_module.openMovieWindow(7, "child");
    m_module.openMovie();

    EXPECT_EQ(
        m_channel.texts(),
        (Texts{"close movie", R"(open "/m/a.vob" type mpegvideo alias movie parent 7 style child )",
               "close movie", R"(open ""/m/a.vob"" type mpegvideo alias movie)"}));
    EXPECT_EQ(m_module.Filename(), R"(""/m/a.vob"")");
    expectSentWithoutAnswer(m_channel);
}

TEST_F(MovieModuleTest, OpenWritesHandleAndStyleAsGiven) {
    m_module.openMovieWindow(-5, "");
    m_module.setFilename("x");
    m_module.openMovieWindow(std::numeric_limits<std::int32_t>::min(), "popup child");
    m_module.setFilename("");
    m_module.openMovie();

    EXPECT_EQ(m_channel.texts(),
              (Texts{"close movie", R"(open "" type mpegvideo alias movie parent -5 style  )",
                     "close movie",
                     R"(open "x" type mpegvideo alias movie parent -2147483648 style popup child )",
                     "close movie", R"(open "" type mpegvideo alias movie)"}));
}

TEST_F(MovieModuleTest, OpenKeepsTheStatusOfTheOpenCommand) {
    m_channel.reply(263);
    m_channel.reply(275);
    m_module.openMovie();
    EXPECT_EQ(m_module.Error(), 275);

    m_channel.reply(263);
    m_channel.reply(0);
    m_module.openMovieWindow(1, "child");
    EXPECT_EQ(m_module.Error(), 0);
}

TEST_F(MovieModuleTest, PlainCommandsSendOneCommandAndStoreItsStatus) {
    const std::vector<std::pair<std::function<void(MovieModule&)>, std::string>> cases = {
        {&MovieModule::playMovie, "play movie"},   {&MovieModule::stopMovie, "stop movie"},
        {&MovieModule::pauseMovie, "pause movie"}, {&MovieModule::resumeMovie, "resume movie"},
        {&MovieModule::closeMovie, "close all"},
    };
    std::uint32_t status = 261;
    for (const auto& [operation, text] : cases) {
        SCOPED_TRACE(text);
        m_channel.forget();
        m_channel.reply(++status);
        operation(m_module);
        EXPECT_EQ(m_channel.texts(), Texts{text});
        EXPECT_EQ(m_module.Error(), static_cast<std::int32_t>(status));
        expectSentWithoutAnswer(m_channel);
    }
}

TEST_F(MovieModuleTest, StatusesAreStoredBitForBitAndNeverJudged) {
    m_channel.reply(0xFFFFFFFFu);
    m_module.playMovie();
    EXPECT_EQ(m_module.Error(), -1);

    m_channel.reply(0);
    m_module.stopMovie();
    EXPECT_EQ(m_module.Error(), 0);

    m_module.setError(17);
    EXPECT_EQ(m_module.Error(), 17);
}

TEST(MovieModuleLifetime, CreatingAndDestroyingSendNothing) {
    RecordingChannel channel;
    FakeClock clock(0.0);
    FakeEventPass eventPass(clock, 0.1);
    {
        MovieModule module(channel, clock, eventPass);
        EXPECT_EQ(module.Error(), 0);
        EXPECT_EQ(module.Filename(), "");
    }
    EXPECT_TRUE(channel.sent().empty());
}

}  // namespace
}  // namespace trelvane::movie
