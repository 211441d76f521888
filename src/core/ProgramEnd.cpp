#include "core/ProgramEnd.h"

#include <unistd.h>

#include <set>

namespace trelvane::programEnd {
namespace {

std::set<std::string>& leftovers() {
    static std::set<std::string> paths;
    return paths;
}

}  // namespace

void removeAtEnd(const std::string& path) {
    leftovers().insert(path);
}

void keep(const std::string& path) {
    leftovers().erase(path);
}

void removeLeftovers() noexcept {
    for (const std::string& path : leftovers()) {
        ::unlink(path.c_str());
    }
    leftovers().clear();
}

}  // namespace trelvane::programEnd
