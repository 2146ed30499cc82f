// A whole program against a temporary data folder, for window tests: the
// eight windows, a journal and settings file prepared beforehand, message
// boxes recorded instead of shown, and helpers that act inside modal windows.
#pragma once

#include "message_recorder.h"
#include "shell/program.h"
#include "test_support.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QDialog;
class QWidget;

namespace quillmere {

class TfrmMain;

// An entry's RTF with a plain paragraph of `text`.
QByteArray EntryRtf(const QString& text);

// The plain text of a stored entry's RTF (as the editor shows it).
QString PlainTextOfRtf(const QByteArray& rtf);

// One settings record.
struct SettingsRecord {
    QString password;
    QString fontName = QStringLiteral("Arial");
    int fontSize = 11;
    int fontColor = 0;
};

class ShellTest : public ::testing::Test {
protected:
    ShellTest();
    ~ShellTest() override;

    QString dataPath(const QString& name) const { return data_.file(name); }
    QString placementPath() const { return data_.file(QStringLiteral("quillmere.INI")); }

    // Writes "Journal.cds" with these entries (day -> text).
    void writeJournal(const std::vector<std::pair<QDate, QString>>& entries);
    // Writes "Settings.cds" with one record.
    void writeSettings(const SettingsRecord& record);
    // Entries stored in "Journal.cds", in date order (day, plain text).
    std::vector<std::pair<QDate, QString>> storedEntries() const;
    // The record in "Settings.cds", if any.
    std::optional<SettingsRecord> storedSettings() const;

    // Makes the eight windows; today is `today`.
    void createProgram(const QDate& today = QDate(2024, 3, 20));
    // Shows the main window, answering the login with `password` (nothing is
    // typed when the login asks for nothing). Returns whether it passed.
    bool startProgram(const QString& password = QString(), bool pressExit = false);
    // createProgram + startProgram, expecting the login to pass.
    void start(const QDate& today = QDate(2024, 3, 20));
    // Closes the main window with Exit and destroys the windows.
    void quit();

    TfrmMain& main() const;
    Program& program() const { return *program_; }

    // Clicks a drawn button, as the user does.
    static void click(QWidget* button);
    // Runs `action` once `dialog` is shown modally by `trigger`; a dialog
    // still open afterwards is closed so a failing test cannot hang.
    static void whileModal(QDialog* dialog, const std::function<void()>& trigger,
                           const std::function<void()>& action);
    // Opens the settings window with its button and runs `action` in it;
    // false when the window did not show.
    bool withSettings(const std::function<void()>& action);
    // Types text into the editor at its caret.
    void typeIntoEditor(const QString& text);

    testsupport::TempFolder data_;
    MessageRecorder messages_;
    // The box asked when "Journal.cds" cannot be written at the end: its
    // texts, and scripted answers (giving up when none are left).
    std::vector<QString> writeFailures_;
    std::deque<WriteFailureChoice> writeAnswers_;
    // Given to the program as the folder it could not write (empty: none).
    QString dataFolderFallbackFrom_;
    // The folder Save As picks (none: the user cancelled).
    std::optional<QString> saveFolder_;
    std::unique_ptr<Program> program_;
};

}  // namespace quillmere
