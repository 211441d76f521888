#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "tools/LineReader.h"

namespace trelvane::tools {
namespace {

class Pipe {
public:
    Pipe() { EXPECT_EQ(::pipe(m_fds), 0); }
    ~Pipe() {
        closeWriter();
        ::close(m_fds[0]);
    }
    int reader() const { return m_fds[0]; }
    void write(const std::string& text) {
        ASSERT_EQ(::write(m_fds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    void closeWriter() {
        if (m_fds[1] >= 0) {
            ::close(m_fds[1]);
            m_fds[1] = -1;
        }
    }

private:
    int m_fds[2] = {-1, -1};
};

TEST(LineReader, SplitsLinesAndDropsTheirEnds) {
    Pipe pipe;
    pipe.write("play movie\r\nstatus movie mode\n\nclose all");
    pipe.closeWriter();
    LineReader reader(pipe.reader());
    EXPECT_EQ(reader.next(), "play movie");
    EXPECT_EQ(reader.next(), "status movie mode");
    EXPECT_EQ(reader.next(), "");
    EXPECT_EQ(reader.next(), "close all");  // the last line needs no line end
    EXPECT_EQ(reader.next(), std::nullopt);
    EXPECT_EQ(reader.next(), std::nullopt);
}

TEST(LineReader, KeepsBlanksAndBytesBeyondAscii) {
    Pipe pipe;
    pipe.write("open \"/tmp/a b \xC3\xBC.vob\"  \n");
    pipe.closeWriter();
    LineReader reader(pipe.reader());
    EXPECT_EQ(reader.next(), "open \"/tmp/a b \xC3\xBC.vob\"  ");
}

TEST(LineReader, WaitsForInputOnANonBlockingDescriptor) {
    Pipe pipe;
    ASSERT_EQ(::fcntl(pipe.reader(), F_SETFL, O_NONBLOCK), 0);
    std::thread writer([&pipe] {
        // Written in two pieces, after the reader has found the pipe empty.
        ::usleep(50 * 1000);
        pipe.write("status movie ");
        ::usleep(50 * 1000);
        pipe.write("position\n");
        pipe.closeWriter();
    });
    LineReader reader(pipe.reader());
    EXPECT_EQ(reader.next(), "status movie position");
    EXPECT_EQ(reader.next(), std::nullopt);
    writer.join();
}

}  // namespace
}  // namespace trelvane::tools
