#pragma once

#include "WindowSuite.h"

namespace trelvane::ui {

// The common dialog, the message boxes and starting programs.
class ToolkitDialogsTest : public WindowSuite {
    Q_OBJECT

private slots:
    void filterBecomesQtNameFilters_data();
    void filterBecomesQtNameFilters();
    void cancelledOpenIsAFailureAndKeepsTheName();
    void openReturnsTheFullPathAndOffersItNextTime();
    void saveTakesAnExistingFileWithoutAsking();
    void doubleQuoteInThePathIsRefused_data();
    void doubleQuoteInThePathIsRefused();
    void messageBoxAnswersYesToEnter();
    void messageBoxAnswersNoAndOk();
    void startedProgramGetsQuotedArguments();
    void programThatCannotStartIsAFailure();
    void dialogsOpenWhereTheProgramPutsThem();
    void dialogsLeaveNoSettingsBehind();
};

}  // namespace trelvane::ui
