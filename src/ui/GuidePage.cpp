#include "ui/GuidePage.h"

#include <filesystem>
#include <system_error>

namespace trelvane::ui {
namespace {

namespace fs = std::filesystem;

bool isPage(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// Without ".." steps or links, so the URL names the page plainly.
std::string plainPath(const fs::path& path) {
    std::error_code error;
    const fs::path plain = fs::weakly_canonical(path, error);
    // Never a throw: a click on Home Page knows only the start's failure.
    return error ? path.lexically_normal().string() : plain.string();
}

bool isUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

}  // namespace

std::string installedGuideRelative() {
    return TRELVANE_INSTALLED_GUIDE;
}

std::string buildTreeGuideRelative() {
    return TRELVANE_BUILD_GUIDE;
}

std::string findGuide(const GuidePlaces& places) {
    const fs::path dir(places.executableDir);
    const fs::path installed = dir / places.installedRelative;
    const fs::path built = dir / places.buildRelative;
    return plainPath(!isPage(installed) && isPage(built) ? built : installed);
}

std::string fileUrl(const std::string& absolutePath) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char c : absolutePath) {
        const auto byte = static_cast<unsigned char>(c);
        if (isUnreserved(byte)) {
            url += c;
        } else {
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 0x0F];
        }
    }
    return url;
}

std::string homePageCommand(const GuidePlaces& places) {
    return "xdg-open " + fileUrl(findGuide(places));
}

}  // namespace trelvane::ui
