// trelvane-mci: one media command per line on standard input, one line of
// "status<TAB>answer" per command on standard output.

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "mci/MediaService.h"
#include "mci/mpv/MpvPlayerFactory.h"
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
    trelvane::tools::CommandLoop loop(service, static_cast<std::uint32_t>(capacity));
    loop.run(std::cin, std::cout);
    return 0;
}
