#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "controls/rb_check_box.h"
#include "editor/rich_editor.h"
#include "shell/login_window.h"
#include "shell/main_window.h"
#include "shell/settings_window.h"
#include "store/day.h"
#include "store/entry_codec.h"
#include "store/journal_table.h"
#include "store/settings_table.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace quillmere {

QByteArray EntryRtf(const QString& text) {
    RichEditor editor;
    editor.setPlainText(text);
    return editor.saveRtf();
}

QString PlainTextOfRtf(const QByteArray& rtf) {
    RichEditor editor;
    editor.loadEntryRtf(rtf);
    return editor.toPlainText();
}

ShellTest::ShellTest() = default;

ShellTest::~ShellTest() {
    if (program_) {
        program_->destroyWindows();
    }
}

void ShellTest::writeJournal(const std::vector<std::pair<QDate, QString>>& entries) {
    JournalTable table;
    table.OpenJournal(dataPath(QStringLiteral("Journal.cds")));
    for (const auto& [date, text] : entries) {
        table.StoreEntry(dayFromDate(date), EntryRtf(text));
    }
    table.close();
}

void ShellTest::writeSettings(const SettingsRecord& record) {
    SettingsTable table;
    table.OpenSettings(dataPath(QStringLiteral("Settings.cds")));
    if (table.isEmpty()) {
        table.insert();
    } else {
        table.edit();
    }
    table.setPassword(record.password);
    table.setFontName(record.fontName);
    table.setFontSize(record.fontSize);
    table.setFontColor(record.fontColor);
    table.post();
    table.close();
}

std::vector<std::pair<QDate, QString>> ShellTest::storedEntries() const {
    JournalTable table;
    table.OpenJournal(dataPath(QStringLiteral("Journal.cds")));
    std::vector<std::pair<QDate, QString>> result;
    for (int i = 0; i < table.recordCount(); ++i) {
        result.emplace_back(dateFromDay(table.dayAt(i)),
                            PlainTextOfRtf(DecodeEntryContent(table.entryAt(i))));
    }
    table.abandon();
    return result;
}

std::optional<SettingsRecord> ShellTest::storedSettings() const {
    SettingsTable table;
    table.OpenSettings(dataPath(QStringLiteral("Settings.cds")));
    if (table.isEmpty()) {
        table.abandon();
        return std::nullopt;
    }
    SettingsRecord record{table.Password(), table.FontName(), table.FontSize(), table.FontColor()};
    table.abandon();
    return record;
}

void ShellTest::createProgram(const QDate& today) {
    ProgramPaths paths;
    paths.dataFolder = data_.path();
    paths.placementFile = placementPath();
    paths.dataFolderFallbackFrom = dataFolderFallbackFrom_;
    // One program per data folder: the previous one lets go of it first.
    program_.reset();
    program_ = std::make_unique<Program>(paths);
    program_->setWriteFailurePrompt([this](const QString& text) {
        writeFailures_.push_back(text);
        if (writeAnswers_.empty()) {
            return WriteFailureChoice::kGiveUp;
        }
        const WriteFailureChoice answer = writeAnswers_.front();
        writeAnswers_.pop_front();
        return answer;
    });
    program_->setFolderPrompt([this] { return saveFolder_; });
    if (program_->main() == nullptr) {
        return;  // refused, or ended before making its windows
    }
    const double day = dayFromDate(today);
    program_->main()->today = [day] { return day; };
}

bool ShellTest::startProgram(const QString& password, bool pressExit) {
    bool passed = false;
    TfrmLogin* login = program_->login();
    whileModal(
        login, [&] { passed = program_->start(); },
        [&] {
            if (pressExit) {
                click(login->btnExit);
                return;
            }
            login->edtPassword->setText(password);
            click(login->btnLogin);
        });
    return passed;
}

void ShellTest::start(const QDate& today) {
    createProgram(today);
    ASSERT_TRUE(startProgram());
    // The first activation (work-area height, font settings read) arrives
    // from the window system; let it happen before the test acts.
    EXPECT_TRUE(QTest::qWaitForWindowActive(program_->main()));
    QCoreApplication::processEvents();
}

void ShellTest::quit() {
    click(main().btnExit);
    program_->destroyWindows();
    program_.reset();
}

TfrmMain& ShellTest::main() const {
    return *program_->main();
}

void ShellTest::click(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
}

bool ShellTest::withSettings(const std::function<void()>& action) {
    bool shown = false;
    whileModal(
        program_->settings(), [&] { click(main().btnSettings); },
        [&] {
            shown = true;
            action();
        });
    return shown;
}

void ShellTest::whileModal(QDialog* dialog, const std::function<void()>& trigger,
                           const std::function<void()>& action) {
    // The timer lives only while `trigger` runs, so it can never fire later
    // into a finished test.
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, dialog, [&] {
        if (!dialog->isVisible()) {
            ADD_FAILURE() << "the window was not shown";
            return;
        }
        action();
        if (dialog->isVisible()) {
            // Keeps a failing test from waiting forever in the modal loop.
            dialog->done(0);
        }
    });
    timer.start(0);
    trigger();
}

void ShellTest::typeIntoEditor(const QString& text) {
    RichEditor* editor = main().Editor;
    editor->setFocus();
    QTest::keyClicks(editor, text);
}

}  // namespace quillmere
