#include "ToolkitDialogsTest.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <optional>

#include "ModalDriver.h"
#include "ShownWindow.h"
#include "core/Failure.h"
#include "ui/qt/DialogFilter.h"
#include "ui/qt/FileNameDialog.h"

namespace trelvane::ui {
namespace {

QString makeFile(const QTemporaryDir& dir, const QString& name) {
    QFile file(dir.filePath(name));
    file.open(QIODevice::WriteOnly);
    return QFileInfo(file).absoluteFilePath();
}

// What the user types into the dialog's file name field. (selectFile()
// leaves the field alone while it has the focus.)
void typeFileName(QFileDialog& dialog, const QString& path) {
    auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(field != nullptr);
    field->setText(path);
}

// Shows the dialog through `show` and gives back the failure it threw.
template <class Show>
std::optional<Failure> failureOf(Show show) {
    try {
        show();
    } catch (const Failure& failure) {
        return failure;
    }
    return std::nullopt;
}

}  // namespace

void ToolkitDialogsTest::filterBecomesQtNameFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("nameFilters");
    QTest::newRow("open's filter") << "VOB Files (*.vob)|*.vob" << QStringList{"VOB Files (*.vob)"};
    QTest::newRow("save's filter") << "VOB Files(*.vob)|*.vob" << QStringList{"VOB Files (*.vob)"};
    QTest::newRow("bare description") << "Movies|*.vob" << QStringList{"Movies (*.vob)"};
    QTest::newRow("several patterns")
        << "Pictures (*.bmp;*.ico)|*.bmp;*.ico" << QStringList{"Pictures (*.bmp *.ico)"};
    QTest::newRow("two entries") << "A|*.a|B|*.b" << QStringList{"A (*.a)", "B (*.b)"};
    QTest::newRow("none") << "" << QStringList{};
}

void ToolkitDialogsTest::filterBecomesQtNameFilters() {
    QFETCH(QString, filter);
    QFETCH(QStringList, nameFilters);
    QCOMPARE(toNameFilters(filter), nameFilters);
}

void ToolkitDialogsTest::cancelledOpenIsAFailureAndKeepsTheName() {
    QtToolkit& toolkit = m_shown->toolkit();
    toolkit.setDialogFilter("VOB Files (*.vob)|*.vob");
    toolkit.setDialogTitle("Open");
    toolkit.setDialogFileName("/tmp/kept.vob");
    QStringList filters;
    QString title;
    bool existingOnly = false;
    bool qtsOwn = false;
    // Steps note what they see and always dismiss the dialog, so a wrong
    // setting fails the test below instead of leaving the dialog up.
    ModalDriver driver({[&](QWidget& modal) {
        auto& dialog = static_cast<QFileDialog&>(modal);
        filters = dialog.nameFilters();
        title = dialog.windowTitle();
        existingOnly = dialog.fileMode() == QFileDialog::ExistingFile;
        qtsOwn = dialog.testOption(QFileDialog::DontUseNativeDialog);
        dialog.reject();
    }});
    const std::optional<Failure> failure = failureOf([&] { toolkit.showOpenDialog(); });
    QCOMPARE(driver.stepsLeft(), 0);
    QCOMPARE(filters, QStringList{"VOB Files (*.vob)"});
    QCOMPARE(title, QStringLiteral("Open"));
    QVERIFY(existingOnly);
    QVERIFY(qtsOwn);
    QVERIFY(failure.has_value());
    QCOMPARE(failure->number(), failureNumber::CancelSelected);
    QCOMPARE(failure->description(), std::string("Cancel was selected."));
    QCOMPARE(toolkit.dialogFileName(), std::string("/tmp/kept.vob"));
}

void ToolkitDialogsTest::openReturnsTheFullPathAndOffersItNextTime() {
    QTemporaryDir dir;
    const QString movie = makeFile(dir, QStringLiteral("movie.vob"));
    QtToolkit& toolkit = m_shown->toolkit();
    QStringList offered;
    ModalDriver driver({[&](QWidget& modal) {
                            auto& dialog = static_cast<QFileDialog&>(modal);
                            typeFileName(dialog, movie);
                            static_cast<QDialog&>(dialog).accept();
                        },
                        [&](QWidget& modal) {
                            auto& dialog = static_cast<QFileDialog&>(modal);
                            offered = dialog.selectedFiles();
                            dialog.reject();
                        }});
    QVERIFY(!failureOf([&] { toolkit.showOpenDialog(); }).has_value());
    QCOMPARE(QString::fromStdString(toolkit.dialogFileName()), movie);
    QVERIFY(failureOf([&] { toolkit.showOpenDialog(); }).has_value());
    QCOMPARE(offered, QStringList{movie});
    QCOMPARE(driver.unexpected(), QStringList());
}

void ToolkitDialogsTest::saveTakesAnExistingFileWithoutAsking() {
    QTemporaryDir dir;
    const QString clip = makeFile(dir, QStringLiteral("clip.vob"));
    QtToolkit& toolkit = m_shown->toolkit();
    toolkit.setDialogFilter("VOB Files(*.vob)|*.vob");
    bool saving = false;
    ModalDriver driver({[&](QWidget& modal) {
        auto& dialog = static_cast<QFileDialog&>(modal);
        saving = dialog.acceptMode() == QFileDialog::AcceptSave;
        typeFileName(dialog, clip);
        static_cast<QDialog&>(dialog).accept();
    }});
    QVERIFY(!failureOf([&] { toolkit.showSaveDialog(); }).has_value());
    QVERIFY(saving);
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(QString::fromStdString(toolkit.dialogFileName()), clip);
}

void ToolkitDialogsTest::doubleQuoteInThePathIsRefused_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("typed");
    // Qt alone would read this name as the quoted list (clip) "movie.vob".
    QTest::newRow("in the name") << QString() << QStringLiteral("clip\"movie.vob");
    // Typed inside a folder whose name has one: nothing typed shows it.
    QTest::newRow("in the folder") << QStringLiteral("dir\"q") << QStringLiteral("m.vob");
}

void ToolkitDialogsTest::doubleQuoteInThePathIsRefused() {
    QFETCH(QString, folder);
    QFETCH(QString, typed);
    QTemporaryDir dir;
    QVERIFY(folder.isEmpty() || QDir(dir.path()).mkdir(folder));
    const QString where = folder.isEmpty() ? dir.path() : dir.filePath(folder);
    makeFile(dir, QStringLiteral("movie.vob"));
    QFile(where + QLatin1Char('/') + typed).open(QIODevice::WriteOnly);
    QtToolkit& toolkit = m_shown->toolkit();
    for (const bool saving : {false, true}) {
        toolkit.setDialogFileName("/tmp/kept.vob");
        QString warning;
        QString warningTitle;
        QMessageBox::Icon warningIcon = QMessageBox::Critical;
        bool dialogStayed = false;
        ModalDriver driver({[&](QWidget& modal) {
                                auto& dialog = static_cast<QFileDialog&>(modal);
                                dialog.setDirectory(where);
                                // Typed, so with the focus in the field: without
                                // it, Qt puts the name it selected in the list there.
                                auto* field = dialog.findChild<QLineEdit*>("fileNameEdit");
                                dialog.activateWindow();
                                field->setFocus();
                                QTRY_VERIFY(field->hasFocus());
                                typeFileName(dialog, typed);
                                static_cast<QDialog&>(dialog).accept();
                            },
                            [&](QWidget& modal) {
                                auto& box = static_cast<QMessageBox&>(modal);
                                warning = box.text();
                                warningTitle = box.windowTitle();
                                warningIcon = box.icon();
                                QTest::keyClick(&modal, Qt::Key_Return);
                            },
                            [&](QWidget& modal) {
                                dialogStayed = qobject_cast<QFileDialog*>(&modal) != nullptr;
                                static_cast<QDialog&>(modal).reject();
                            }});
        const std::optional<Failure> failure =
            failureOf([&] { saving ? toolkit.showSaveDialog() : toolkit.showOpenDialog(); });
        QCOMPARE(driver.stepsLeft(), 0);
        QCOMPARE(warning, QString::fromUtf8(FileNameDialog::kDoubleQuoteRefusal));
        // The program's own box, like every other it shows.
        QCOMPARE(warningTitle, QStringLiteral("Trelvane 2.0"));
        QCOMPARE(warningIcon, QMessageBox::NoIcon);
        QVERIFY(dialogStayed);
        QVERIFY(failure.has_value());
        QCOMPARE(toolkit.dialogFileName(), std::string("/tmp/kept.vob"));
        QCOMPARE(driver.unexpected(), QStringList());
    }
}

void ToolkitDialogsTest::messageBoxAnswersYesToEnter() {
    QMessageBox::Icon icon = QMessageBox::Critical;
    QString title;
    QString text;
    qsizetype buttons = 0;
    ModalDriver driver({[&](QWidget& modal) {
        auto& box = static_cast<QMessageBox&>(modal);
        icon = box.icon();
        title = box.windowTitle();
        text = box.text();
        buttons = box.buttons().size();
        QTest::keyClick(&box, Qt::Key_Return);
    }});
    const MessageAnswer answer = m_shown->toolkit().showMessage(
        "File already exist.Overwrite?", MessageButtons::YesNo, "Trelvane 2.0");
    QCOMPARE(driver.stepsLeft(), 0);
    QCOMPARE(answer, MessageAnswer::Yes);
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(title, QStringLiteral("Trelvane 2.0"));
    QCOMPARE(text, QStringLiteral("File already exist.Overwrite?"));
    QCOMPARE(buttons, 2);
}

void ToolkitDialogsTest::messageBoxAnswersNoAndOk() {
    int okButtons = 0;
    ModalDriver driver({[](QWidget& modal) {
                            auto& box = static_cast<QMessageBox&>(modal);
                            box.button(QMessageBox::No)->click();
                        },
                        [&](QWidget& modal) {
                            auto& box = static_cast<QMessageBox&>(modal);
                            okButtons = static_cast<int>(box.buttons().size());
                            QTest::keyClick(&box, Qt::Key_Escape);
                        }});
    QtToolkit& toolkit = m_shown->toolkit();
    QCOMPARE(toolkit.showMessage("Overwrite?", MessageButtons::YesNo, "Trelvane 2.0"),
             MessageAnswer::No);
    QCOMPARE(toolkit.showMessage("Clip Saved", MessageButtons::Ok, "Trelvane 2.0"),
             MessageAnswer::Ok);
    QCOMPARE(okButtons, 1);
}

void ToolkitDialogsTest::startedProgramGetsQuotedArguments() {
    QTemporaryDir dir;
    const QString made = dir.filePath(QStringLiteral("made by a started program"));
    m_shown->toolkit().startProcess(("touch \"" + made + "\"").toStdString(), 2);
    QTRY_VERIFY(QFileInfo::exists(made));
}

void ToolkitDialogsTest::programThatCannotStartIsAFailure() {
    QtToolkit& toolkit = m_shown->toolkit();
    for (const char* commandLine : {"/nonexistent/explorer.exe https://example.org", ""}) {
        const std::optional<Failure> failure =
            failureOf([&] { toolkit.startProcess(commandLine, 2); });
        QVERIFY2(failure.has_value(), commandLine);
        QCOMPARE(failure->number(), failureNumber::FileNotFound);
    }
}

namespace {

// Where Qt keeps the dialog's settings, main() having pointed the user's
// configuration folder at a fresh one for this run.
QString dialogSettingsFile() {
    return QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(QStringLiteral("QtProject.conf"));
}

}  // namespace

void ToolkitDialogsTest::dialogsOpenWhereTheProgramPutsThem() {
    QTemporaryDir elsewhere;
    // As an earlier run of Qt's dialog would have left it.
    QFile earlier(dialogSettingsFile());
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("[FileDialog]\nlastVisited=" + QUrl::fromLocalFile(elsewhere.path()).toEncoded() +
                  "\n");
    earlier.close();
    QtToolkit& toolkit = m_shown->toolkit();
    toolkit.setDialogFileName("");
    QStringList openedIn;
    const auto cancelIn = [&](QWidget& modal) {
        auto& dialog = static_cast<QFileDialog&>(modal);
        openedIn << dialog.directory().absolutePath();
        // The user looks around elsewhere, then cancels.
        dialog.setDirectory(elsewhere.path());
        dialog.reject();
    };
    ModalDriver driver({cancelIn, cancelIn});
    QVERIFY(failureOf([&] { toolkit.showOpenDialog(); }).has_value());
    QVERIFY(failureOf([&] { toolkit.showSaveDialog(); }).has_value());
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(openedIn, (QStringList{QDir::currentPath(), QDir::currentPath()}));
    QFile::remove(dialogSettingsFile());
}

void ToolkitDialogsTest::dialogsLeaveNoSettingsBehind() {
    // Every dialog of the tests before has come and gone by now.
    QtToolkit& toolkit = m_shown->toolkit();
    ModalDriver driver({[](QWidget& modal) { static_cast<QDialog&>(modal).reject(); }});
    QVERIFY(failureOf([&] { toolkit.showOpenDialog(); }).has_value());
    m_shown.reset();
    const QDir configuration(qEnvironmentVariable("XDG_CONFIG_HOME"));
    QVERIFY(configuration.exists());
    QCOMPARE(configuration.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
}

}  // namespace trelvane::ui
