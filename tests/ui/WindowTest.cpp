#include "FormTest.h"

namespace trelvane::ui::testing {
namespace {

using Window = FormTest;

TEST_F(Window, ClosingRightAfterStartUpSendsOnlyCloseAll) {
    EXPECT_TRUE(m_toolkit.log().empty());
    EXPECT_EQ(m_toolkit.labelCaption(ValueLabel::Label4), "");
    EXPECT_THROW(m_form->formUnload(), ProgramEnded);
    EXPECT_EQ(m_channel->texts(), (Texts{"close all"}));
    EXPECT_EQ(m_toolkit.log(), (Texts{"send: close all", "endProgram()"}));
}

TEST_F(Window, HomePageStartsTheBrowserOnEveryClickAndAStartFailureEndsTheProgram) {
    const std::string start = "startProcess(\"xdg-open https://orvalis.example/trelvane\", 2)";
    m_form->command8Click();
    m_form->command8Click();
    EXPECT_EQ(m_toolkit.log(), (Texts{start, start}));

    m_toolkit.failNextCall("startProcess", Failure(failureNumber::FileNotFound, "File not found"));
    EXPECT_THROW(m_form->command8Click(), ProgramEnded);
    ASSERT_EQ(m_toolkit.messages().size(), 1u);
    EXPECT_EQ(m_toolkit.messages().front().text, "Error 53: File not found");
    EXPECT_EQ(m_toolkit.messages().front().title, "Trelvane 2.0");
    EXPECT_EQ(m_toolkit.messages().front().buttons, MessageButtons::Ok);
    EXPECT_EQ(m_toolkit.log().back(), "endProgram()");
    EXPECT_TRUE(m_channel->texts().empty());
}

}  // namespace
}  // namespace trelvane::ui::testing
