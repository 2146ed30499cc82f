#include "export_test_journal.h"

#include "store/day.h"
#include "store/entry_codec.h"
#include "store/errors.h"

#include <QDir>

namespace exporttest {

using quillmere::dayFromDate;

TestJournal::TestJournal(const QString& folder) {
    table_.OpenJournal(QDir(folder).filePath(QStringLiteral("Journal.cds")));
}

TestJournal::~TestJournal() {
    table_.abandon();
}

void TestJournal::store(const QDate& date, const QByteArray& rtf) {
    table_.StoreEntry(dayFromDate(date), rtf);
}

void TestJournal::insertRaw(const QDate& date, const QByteArray& blob) {
    table_.insert();
    table_.setJournalDate(dayFromDate(date));
    table_.setJournalEntry(blob);
    table_.post();
}

QByteArray sampleRtf(const QString& tag) {
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n"
        "\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    rtf += tag.toLatin1();
    rtf += " caf\xe9 \\'e9\\par\r\n}\r\n";
    rtf.append('\0');  // the RTF writer ends its stream with a NUL
    return rtf;
}

QByteArray emptyDocumentRtf() {
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n"
           "\\viewkind4\\uc1\\pard\\f0\\fs20\\par\r\n}\r\n";
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

quillmere::ExportCallbacks Recorder::callbacks() {
    quillmere::ExportCallbacks c;
    c.confirmOverwrite = [this](const QString& path) {
        log << QStringLiteral("ask ") + path;
        questions << quillmere::OverwriteQuestion(path);
        if (answers.empty()) {
            return true;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    };
    c.entryFailed = [this](double, const QString& message) {
        log << QStringLiteral("error ") + message;
        errors << message;
        return stopAtError >= 0 && errors.size() >= stopAtError
                   ? quillmere::FailureAnswer::kStop
                   : quillmere::FailureAnswer::kContinue;
    };
    c.advanceBar = [this] {
        log << QStringLiteral("bar");
        ++bars;
    };
    c.showWritten = [this](int count) {
        log << QStringLiteral("counter");
        ++counters;
        written = count;
    };
    c.processEvents = [this] { log << QStringLiteral("events"); };
    c.cancelled = [this] { return cancelAfterBar >= 0 && bars >= cancelAfterBar; };
    return c;
}

}  // namespace exporttest
