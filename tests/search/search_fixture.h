// Test journals and a recording stand-in for the main window.
#pragma once

#include "search/search_host.h"
#include "store/journal_table.h"
#include "test_support.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <vector>

namespace searchtest {

// 15 June 2010 as a day value, the middle of most test journals.
inline constexpr double kBaseDay = 40344;

// A one-paragraph RTF document showing `text` (ASCII), with a font table
// naming "Tahoma" and "Courier New" and a colour table, as word processors
// write them.
QByteArray rtfOf(const QString& text);

// A journal table on a file in a temporary folder, opened empty.
class TestJournal {
public:
    TestJournal();
    ~TestJournal();
    quillmere::JournalTable& table() { return table_; }
    QString path() const { return path_; }
    // Stores `rtf` (compressed) as the entry of `day`.
    void add(double day, const QByteArray& rtf);
    // Stores the RTF of a text.
    void addText(double day, const QString& text) { add(day, rtfOf(text)); }
    // Stores a blob as it is (damaged content).
    void addRawBlob(double day, const QByteArray& blob);
    // Writes the table to its file and closes it (for the tool command).
    void save();

private:
    testsupport::TempFolder folder_;
    QString path_;
    quillmere::JournalTable table_;
};

// The main window as the search sees it: records ShowDay calls, errors and
// command switches; ShowDay stores modified editor text under the day shown
// first, the way the main window does.
class FakeHost : public quillmere::SearchHost {
public:
    explicit FakeHost(quillmere::JournalTable& table);
    ~FakeHost() override;

    const quillmere::JournalTable& journal() const override { return table_; }
    void ShowDay(double day) override;
    QImage resultImage() const override { return image; }
    void showError(const QString& message) override { errors << message; }
    void showInformation(const QString& message) override {
        informations << message;
        if (onInformation) {
            onInformation();
        }
    }
    void setJournalCommandsEnabled(bool enabled) override { commandSwitches.push_back(enabled); }
    QWidget* mainWindow() const override { return window_; }

    // The main window's editor state: its text (stored as RTF by ShowDay when
    // modified) and the day it shows.
    double currentDay = kBaseDay;
    QString editorText;
    bool editorModified = false;

    QImage image;
    std::vector<double> shownDays;
    QStringList errors;
    QStringList informations;
    std::function<void()> onInformation;  // runs while the box would be shown
    std::vector<bool> commandSwitches;

private:
    quillmere::JournalTable& table_;
    QWidget* window_;
};

}  // namespace searchtest
