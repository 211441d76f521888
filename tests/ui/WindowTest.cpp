#include <filesystem>
#include <fstream>
#include <string>

#include "FormTest.h"

namespace trelvane::ui::testing {
namespace {

using Window = FormTest;
namespace fs = std::filesystem;

TEST_F(Window, ClosingRightAfterStartUpSendsOnlyCloseAll) {
    EXPECT_TRUE(m_toolkit.log().empty());
    EXPECT_EQ(m_toolkit.labelCaption(ValueLabel::Label4), "");
    const Run run = runToEnd([this] { m_form->formUnload(); });
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.log, (Texts{"send: close all", "endProgram()"}));
}

// The page a start request hands to the browser: the file behind its
// file:// URL, with the percent escapes undone.
std::string pageOf(const std::string& start) {
    const std::string head = "startProcess(\"xdg-open file://";
    const std::string tail = "\", 2)";
    if (start.rfind(head, 0) != 0 || start.size() < head.size() + tail.size() ||
        start.compare(start.size() - tail.size(), tail.size(), tail) != 0) {
        return "not a browser start of a file URL: " + start;
    }
    const std::string url = start.substr(head.size(), start.size() - head.size() - tail.size());
    std::string path;
    for (std::size_t i = 0; i < url.size(); ++i) {
        if (url[i] == '%' && i + 2 < url.size()) {
            path += static_cast<char>(std::stoi(url.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else if (url[i] == ' ' || url[i] == '"') {
            return "unescaped in URL: " + url;
        } else {
            path += url[i];
        }
    }
    return path;
}

void writePage(const fs::path& page) {
    fs::create_directories(page.parent_path());
    std::ofstream(page) << "<!DOCTYPE html><title>guide</title>";
}

TEST_F(Window, HomePageHandsTheInstalledGuideOrElseTheBuildFoldersToTheBrowserOnEveryClick) {
    // A prefix with a blank and a letter outside ASCII, as a user's may have.
    const fs::path prefix = fs::path(m_dir.path()) / "my prefix \xC3\xA9";
    fs::create_directories(prefix / "bin");
    const fs::path installed = prefix / "share/doc/trelvane/index.html";
    const fs::path built = prefix / "bin/guide/index.html";
    writePage(installed);
    writePage(built);
    GuidePlaces places;
    places.executableDir = (prefix / "bin").string();
    places.installedRelative = "../share/doc/trelvane/index.html";
    places.buildRelative = "guide/index.html";
    m_form->useGuide(places);

    m_form->command8Click();
    m_form->command8Click();
    ASSERT_EQ(m_toolkit.log().size(), 2u);
    EXPECT_EQ(m_toolkit.log()[0], m_toolkit.log()[1]);
    EXPECT_EQ(pageOf(m_toolkit.log()[0]), installed.string());

    // Run from a build folder: nothing installed beside the program.
    fs::remove(installed);
    m_form->command8Click();
    EXPECT_EQ(pageOf(m_toolkit.log().back()), built.string());

    // Installed, its guide removed: the browser is told of the missing page,
    // and the tree this program was built in, whose guide is still there, is
    // not looked into.
    fs::remove(built);
    m_form->useGuide(GuidePlaces{places.executableDir});
    m_form->command8Click();
    EXPECT_EQ(pageOf(m_toolkit.log().back()), installed.string());
    EXPECT_TRUE(m_channel->texts().empty());
}

TEST_F(Window, HomePageOfThisBuildOpensTheSourceTreesGuideThroughTheBuildFolder) {
    m_form->useGuide(GuidePlaces{TRELVANE_PROGRAM_DIR});
    m_form->command8Click();
    ASSERT_EQ(m_toolkit.log().size(), 1u);
    EXPECT_EQ(fs::path(pageOf(m_toolkit.log().front())),
              fs::canonical(fs::path(TRELVANE_SOURCE_DIR) / "docs/index.html"));
}

TEST_F(Window, AHomePageThatCannotStartEndsTheProgram) {
    m_toolkit.failNextCall("startProcess", Failure(failureNumber::FileNotFound, "File not found"));
    const Run run = runToEnd([this] { m_form->command8Click(); });
    EXPECT_TRUE(run.ended);
    ASSERT_EQ(run.log.size(), 3u);
    EXPECT_EQ(run.log[0].rfind("startProcess(\"xdg-open file://", 0), 0u) << run.log[0];
    // Nothing is sent to the media service: no movie was ever opened.
    EXPECT_EQ(
        Texts(run.log.begin() + 1, run.log.end()),
        (Texts{"showMessage(\"Error 53: File not found\", \"Trelvane 2.0\")", "endProgram()"}));
}

}  // namespace
}  // namespace trelvane::ui::testing
