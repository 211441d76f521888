#include "FormTest.h"

namespace trelvane::ui::testing {
namespace {

using Window = FormTest;

TEST_F(Window, ClosingRightAfterStartUpSendsOnlyCloseAll) {
    EXPECT_TRUE(m_toolkit.log().empty());
    EXPECT_EQ(m_toolkit.labelCaption(ValueLabel::Label4), "");
    const Run run = runToEnd([this] { m_form->formUnload(); });
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.log, (Texts{"send: close all", "endProgram()"}));
}

TEST_F(Window, HomePageStartsTheBrowserOnEveryClickAndAStartFailureEndsTheProgram) {
    const std::string start = "startProcess(\"xdg-open https://orvalis.example/trelvane\", 2)";
    m_form->command8Click();
    m_form->command8Click();
    EXPECT_EQ(m_toolkit.log(), (Texts{start, start}));

    m_toolkit.failNextCall("startProcess", Failure(failureNumber::FileNotFound, "File not found"));
    const Run run = runToEnd(
        [this] { m_form->command8Click(); },
        [this] {
            return Texts{m_toolkit.messages().back().buttons == MessageButtons::Ok ? "OK"
                                                                                   : "Yes/No"};
        });
    EXPECT_TRUE(run.ended);
    // Nothing is sent to the media service: no movie was ever opened.
    EXPECT_EQ(Texts(run.log.begin() + 2, run.log.end()),
              (Texts{start, "showMessage(\"Error 53: File not found\", \"Trelvane 2.0\")",
                     "endProgram()"}));
    EXPECT_EQ(run.facts, Texts{"OK"});
}

}  // namespace
}  // namespace trelvane::ui::testing
