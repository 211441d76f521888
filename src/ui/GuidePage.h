#pragma once

#include <string>

namespace trelvane::ui {

// Where this build installs its guide, and where its build folder keeps a
// link to the source tree's, each relative to the executable's folder.
std::string installedGuideRelative();
std::string buildTreeGuideRelative();

// Where the program's guide may be, both relative to the program's own
// folder: an installed program finds it from bin/ in share/doc/...; a
// program run from its build folder finds the build's link beside it. No
// absolute place is built in: an installed program never looks into the
// tree it was built in, which may be anyone's by now.
struct GuidePlaces {
    // The folder of the running executable; empty when not known.
    std::string executableDir;
    // From that folder to the installed page.
    std::string installedRelative = installedGuideRelative();
    // From that folder to the build folder's link to the guide.
    std::string buildRelative = buildTreeGuideRelative();
};

// The installed page when it exists, else the build folder's when that
// exists, else the installed page's place all the same: the browser then
// tells the user the page is missing, which beats ending the program.
std::string findGuide(const GuidePlaces& places);

// A file:// URL of an absolute path, every byte outside the unreserved set
// and "/" percent-encoded, so that the URL survives being split as a
// command line and reaches the browser as one argument.
std::string fileUrl(const std::string& absolutePath);

// The command line that hands a page to the desktop's default browser.
std::string homePageCommand(const GuidePlaces& places);

}  // namespace trelvane::ui
