#include <exception>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include "ServiceTest.h"

namespace trelvane::mci::testing {
namespace {

using Calls = std::vector<std::string>;

class MediaServiceMode : public ServiceTest {
protected:
    void SetUp() override {
        factory().next.lengthMs = 60000;
        ASSERT_EQ(openMovie(), status::Ok);
        player().calls.clear();
    }

    FakePlayerScript& player() { return factory().last(); }
};

TEST_F(MediaServiceMode, PlayPauseResumeStop) {
    player().positionMs = 4000;
    EXPECT_EQ(send("play movie").status, status::Ok);
    EXPECT_EQ(player().calls, (Calls{"end none", "run"}));
    EXPECT_EQ(mode(), "playing");

    EXPECT_EQ(send("pause movie").status, status::Ok);
    EXPECT_EQ(mode(), "paused");
    EXPECT_TRUE(player().paused);
    EXPECT_EQ(send("pause movie").status, status::Ok);
    EXPECT_EQ(mode(), "paused");

    EXPECT_EQ(send("resume movie").status, status::Ok);
    EXPECT_EQ(mode(), "playing");
    EXPECT_FALSE(player().paused);

    player().calls.clear();
    player().positionMs = 9000;
    EXPECT_EQ(send("stop movie").status, status::Ok);
    EXPECT_EQ(player().calls, (Calls{"pause", "end none"}));
    EXPECT_EQ(mode(), "stopped");
    EXPECT_EQ(send("status movie position").answer, "9000");
    EXPECT_EQ(send("resume movie").status, status::Ok);
    EXPECT_EQ(mode(), "stopped");
    EXPECT_EQ(send("pause movie").status, status::Ok);
    EXPECT_EQ(mode(), "stopped");
}

TEST_F(MediaServiceMode, PlayFromAndToAreCheckedAgainstTheLength) {
    EXPECT_EQ(send("play movie from 12000 to 20000").status, status::Ok);
    EXPECT_EQ(player().calls, (Calls{"end 20000", "seek 12000", "run"}));
    EXPECT_EQ(send("play movie from 0 to 60000").status, status::Ok);
    EXPECT_EQ(send("play movie from 60000").status, status::Ok);
    EXPECT_EQ(send("play movie from 5000 to 5000").status, status::Ok);

    player().calls.clear();
    player().positionMs = 30000;
    for (const char* bad : {"from -1", "from 60001", "to 60001", "from 10 to 5", "to 29999",
                            "from 2147483647", "to -1"}) {
        EXPECT_EQ(send(std::string("play movie ") + bad).status, status::OutOfRange) << bad;
    }
    EXPECT_TRUE(player().calls.empty());
    EXPECT_EQ(player().positionMs, 30000);
}

TEST_F(MediaServiceMode, SeekStopsAtTheTarget) {
    ASSERT_EQ(send("play movie").status, status::Ok);
    player().calls.clear();
    EXPECT_EQ(send("seek movie to 15000").status, status::Ok);
    EXPECT_EQ(player().calls, (Calls{"pause", "end none", "seek 15000"}));
    EXPECT_EQ(mode(), "stopped");
    EXPECT_EQ(send("status movie position").answer, "15000");

    EXPECT_EQ(send("seek movie to END").status, status::Ok);
    EXPECT_EQ(player().positionMs, 60000);
    EXPECT_EQ(send("seek movie to start").status, status::Ok);
    EXPECT_EQ(player().positionMs, 0);

    player().calls.clear();
    EXPECT_EQ(send("seek movie to 60001").status, status::OutOfRange);
    EXPECT_EQ(send("seek movie to -1").status, status::OutOfRange);
    EXPECT_EQ(send("seek movie").status, status::MissingParameter);
    EXPECT_EQ(send("seek movie to").status, status::MissingParameter);
    EXPECT_TRUE(player().calls.empty());
}

TEST_F(MediaServiceMode, ReachingTheEndStopsPlayback) {
    ASSERT_EQ(send("play movie from 1000 to 2000").status, status::Ok);
    player().reachedEnd = true;
    EXPECT_EQ(mode(), "stopped");
    EXPECT_TRUE(player().paused);
    EXPECT_EQ(send("pause movie").status, status::Ok);
    EXPECT_EQ(mode(), "stopped");

    // A paused device that happens to sit at the end stays paused.
    player().reachedEnd = false;
    ASSERT_EQ(send("play movie").status, status::Ok);
    ASSERT_EQ(send("pause movie").status, status::Ok);
    player().reachedEnd = true;
    EXPECT_EQ(mode(), "paused");
}

TEST_F(MediaServiceMode, PlayerFailuresLeaveTheModeAlone) {
    player().seekStatus = status::OutOfRange + 100;
    EXPECT_EQ(send("play movie from 1000").status, status::OutOfRange + 100);
    EXPECT_EQ(mode(), "stopped");
    EXPECT_FALSE(player().calls.empty());
    EXPECT_EQ(player().calls.back(), "seek 1000");
    player().seekStatus = status::Ok;
    EXPECT_EQ(send("play movie from 1000").status, status::Ok);
    EXPECT_EQ(mode(), "playing");
}

// Only statuses leave the service: a caller has no rule for anything else.
TEST_F(MediaServiceMode, WhatAPlayerThrowsComesOutAsAStatus) {
    player().thrown = std::make_exception_ptr(std::bad_alloc());
    EXPECT_EQ(send("seek movie to 1000").status, status::OutOfMemory);
    player().positionMs = 1234;
    player().thrown = std::make_exception_ptr(
        std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again)));
    const Reply failed = send("status movie position");
    EXPECT_EQ(failed.status, status::DriverInternal);
    EXPECT_EQ(failed.answer, "");
    // The device is still there and answers as before.
    EXPECT_EQ(send("status movie position").answer, "1234");
    EXPECT_EQ(mode(), "stopped");
}

TEST_F(MediaServiceMode, QueriesAndTimeFormat) {
    player().positionMs = 1234;
    EXPECT_EQ(send("status movie length").answer, "60000");
    EXPECT_EQ(send("STATUS Movie POSITION").answer, "1234");
    EXPECT_EQ(send("set movie time format milliseconds").status, status::Ok);
    EXPECT_EQ(send("set movie time format MS").status, status::Ok);
    EXPECT_EQ(send("set movie time format frames").status, status::BadConstant);
    EXPECT_EQ(send("set movie time format").status, status::MissingParameter);
    EXPECT_EQ(send("set movie").status, status::MissingParameter);
    EXPECT_EQ(send("set other time format ms").status, status::InvalidDeviceName);
    EXPECT_EQ(send("status movie speed").status, status::BadConstant);
    EXPECT_EQ(send("status movie").status, status::MissingParameter);
    for (const char* command : {"play all", "pause all", "resume all", "stop all", "seek all to 0",
                                "status all mode", "play nobody", "status x mode"}) {
        EXPECT_EQ(send(command).status, status::InvalidDeviceName) << command;
    }
    EXPECT_EQ(mode(), "stopped");
}

}  // namespace
}  // namespace trelvane::mci::testing
