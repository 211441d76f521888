#pragma once

#include <QObject>
#include <memory>

namespace trelvane::ui {

class ShownWindow;

// The common dialog, the message boxes and starting programs.
class ToolkitDialogsTest : public QObject {
    Q_OBJECT

public:
    ToolkitDialogsTest();
    ~ToolkitDialogsTest() override;

private slots:
    void initTestCase();
    void init();
    void cleanup();

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

private:
    std::unique_ptr<ShownWindow> m_shown;
};

}  // namespace trelvane::ui
