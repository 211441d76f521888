#include "JoinedMovie.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace trelvane::bench {
namespace {

std::int64_t fileSize(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<std::int64_t>(info.st_size) : -1;
}

bool readAll(const std::string& path, std::vector<char>& data) {
    const std::int64_t size = fileSize(path);
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (size <= 0 || fd < 0) {
        return false;
    }
    data.resize(static_cast<std::size_t>(size));
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t got = ::read(fd, data.data() + done, data.size() - done);
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    return done == data.size();
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t put = ::write(fd, data, size);
        if (put <= 0) {
            return false;
        }
        data += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

}  // namespace

bool JoinedMovie::make(const std::string& sample, const std::string& path, std::int64_t bytes) {
    bytes -= bytes % kPackBytes;
    if (fileSize(path) == bytes) {
        return true;
    }
    std::vector<char> copy;
    if (!readAll(sample, copy)) {
        std::fprintf(stderr, "cannot read the sample %s\n", sample.c_str());
        return false;
    }
    // A sample that ends inside a pack would shift every later copy off the
    // pack grid; only its whole packs are laid down.
    copy.resize(copy.size() - copy.size() % kPackBytes);
    const std::string partial = path + ".making";
    const int fd = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || copy.empty()) {
        std::perror(partial.c_str());
        return false;
    }
    bool written = true;
    for (std::int64_t left = bytes; left > 0 && written;) {
        const auto size = static_cast<std::size_t>(std::min<std::int64_t>(left, copy.size()));
        written = writeAll(fd, copy.data(), size);
        left -= static_cast<std::int64_t>(size);
    }
    written = ::close(fd) == 0 && written;
    if (!written || ::rename(partial.c_str(), path.c_str()) != 0) {
        std::perror(path.c_str());
        ::unlink(partial.c_str());
        return false;
    }
    return true;
}

std::int64_t JoinedMovie::readThrough(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        return -1;
    }
    std::vector<char> block(1 << 20);
    std::int64_t total = 0;
    for (ssize_t got; (got = ::read(fd, block.data(), block.size())) > 0;) {
        total += got;
    }
    ::close(fd);
    return total;
}

std::int64_t JoinedMovie::parts(std::int64_t bytes, std::int64_t sampleBytes) {
    const std::int64_t whole = sampleBytes - sampleBytes % kPackBytes;
    return whole > 0 ? (bytes + whole - 1) / whole : 0;
}

}  // namespace trelvane::bench
