#include <vector>

#include "ServiceTest.h"

namespace trelvane::mci::testing {
namespace {

using Calls = std::vector<std::string>;

// The command texts exactly as the movie control sends them, in the order of
// a typical session, including the answers it reads back.
class MovieCommands : public ServiceTest {};

TEST_F(MovieCommands, ATypicalSession) {
    factory().next.lengthMs = 5400000;
    EXPECT_EQ(send("close movie").status, status::InvalidDeviceName);
    EXPECT_EQ(
        send("open \"" + m_movie + "\" type mpegvideo alias movie parent 1234 style child ").status,
        status::Ok);
    EXPECT_EQ(factory().last().opened->path, m_movie);
    EXPECT_EQ(send("play movie").status, status::Ok);
    EXPECT_EQ(send("set movie time format ms").status, status::Ok);
    EXPECT_EQ(send("status movie length").answer, "5400000");
    EXPECT_EQ(send("status movie mode").answer, "playing");

    factory().last().positionMs = 61500;
    EXPECT_EQ(send("status movie position wait").answer, "61500");
    EXPECT_EQ(send("play movie from 12000").status, status::Ok);
    EXPECT_EQ(send("pause movie").status, status::Ok);
    EXPECT_EQ(send("status movie mode").answer, "paused");
    EXPECT_EQ(send("resume movie").status, status::Ok);
    EXPECT_EQ(send("stop movie").status, status::Ok);
    EXPECT_EQ(send("seek movie to 0").status, status::Ok);
    EXPECT_EQ(send("play movie from -3000").status, status::OutOfRange);
    EXPECT_EQ(send("status movie position wait").answer, "0");
    EXPECT_EQ(factory().last().calls,
              (Calls{"open", "end none", "run", "end none", "seek 12000", "run", "pause", "run",
                     "pause", "end none", "pause", "end none", "seek 0"}));

    EXPECT_EQ(send("close movie").status, status::Ok);
    EXPECT_EQ(openMovie(), status::Ok);
    EXPECT_EQ(send("close all").status, status::Ok);
    EXPECT_EQ(send("close all").status, status::Ok);
    EXPECT_TRUE(factory().last().destroyed);
}

TEST_F(MovieCommands, DoublyQuotedAndEmptyNamesOpenNothing) {
    EXPECT_EQ(send("open \"\"" + m_movie + "\"\" type mpegvideo alias movie parent 1 style child ")
                  .status,
              status::UnrecognizedKeyword);
    EXPECT_EQ(send("open \"\" type mpegvideo alias movie").status, status::FileNotFound);
    EXPECT_TRUE(factory().scripts.empty());
    EXPECT_EQ(openMovie(), status::Ok);
}

}  // namespace
}  // namespace trelvane::mci::testing
