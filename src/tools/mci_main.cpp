// trelvane-mci: one media command per line on standard input, one line of
// "status<TAB>answer" per command on standard output.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "mci/MediaService.h"
#include "mci/mpv/MpvPlayerFactory.h"
#include "movie/ServiceChannel.h"
#include "tools/CommandLoop.h"

namespace {

void printUsage() {
    std::cerr << "usage: trelvane-mci [--vo OUTPUTS] [--ao OUTPUTS] [--capacity N]\n"
                 "Reads media commands, one per line, from standard input.\n"
                 "Default outputs: --vo null --ao null (no window, silent).\n";
}

}  // namespace

int main(int argc, char** argv) {
    trelvane::mci::PlayerOutputs outputs{"null", "null"};
    unsigned long capacity = 128;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--vo") == 0 && hasValue) {
            outputs.video = argv[++i];
        } else if (std::strcmp(argv[i], "--ao") == 0 && hasValue) {
            outputs.audio = argv[++i];
        } else if (std::strcmp(argv[i], "--capacity") == 0 && hasValue) {
            char* end = nullptr;
            capacity = std::strtoul(argv[++i], &end, 10);
            if (*end != '\0' || capacity > 1u << 20) {
                printUsage();
                return 2;
            }
        } else {
            printUsage();
            return 2;
        }
    }
    trelvane::mci::MediaService service(std::make_unique<trelvane::mci::MpvPlayerFactory>(outputs));
    trelvane::movie::ServiceChannel channel(service);
    trelvane::tools::CommandLoop loop(channel, static_cast<std::uint32_t>(capacity));
    // Commands are read from a private copy of standard input, and standard
    // input itself is pointed at /dev/null: a library that closes descriptor
    // 0 by mistake then cannot cut our input or take over its number.
    const int commands = ::dup(STDIN_FILENO);
    const int empty = ::open("/dev/null", O_RDONLY);
    if (commands < 0 || empty < 0 || ::dup2(empty, STDIN_FILENO) < 0) {
        std::perror("trelvane-mci: standard input");
        return 1;
    }
    ::close(empty);
    trelvane::tools::LineReader input(commands);
    loop.run(input, std::cout);
    return 0;
}
