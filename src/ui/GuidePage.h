#pragma once

#include <string>

namespace trelvane::ui {

// Where this build installs its guide, relative to the installed executable's
// folder, and where its source tree keeps the guide.
std::string installedGuideRelative();
std::string sourceTreeGuide();

// Where the program's guide may be. An installed program finds it relative
// to its own folder (bin/ to share/doc/...); a program run from its build
// folder has no such page beside it and shows the source tree's copy.
struct GuidePlaces {
    // The folder of the running executable; empty when not known.
    std::string executableDir;
    // From that folder to the installed page.
    std::string installedRelative = installedGuideRelative();
    // The page in the source tree the program was built from.
    std::string sourceGuide = sourceTreeGuide();
};

// The installed page when it exists, else the source tree's page when that
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
