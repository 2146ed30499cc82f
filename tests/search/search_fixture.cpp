#include "search_fixture.h"

#include "search/core/journal_search.h"
#include "store/entry_codec.h"

namespace searchtest {

QByteArray rtfOf(const QString& text) {
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057"
        "{\\fonttbl{\\f0\\fswiss\\fcharset0 Tahoma;}{\\f1\\fmodern\\fcharset0 Courier New;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}\r\n"
        "\\viewkind4\\uc1\\pard\\cf1\\f0\\fs20 ";
    for (QChar c : text) {
        if (c == u'\n') {
            rtf += "\\par\r\n";
        } else if (c == u'\\' || c == u'{' || c == u'}') {
            rtf += '\\';
            rtf += c.toLatin1();
        } else {
            rtf += c.toLatin1();
        }
    }
    rtf += "\\cf0\\par\r\n}\r\n";
    return rtf;
}

TestJournal::TestJournal() : path_(folder_.file(QStringLiteral("Journal.cds"))) {
    table_.OpenJournal(path_);
}

TestJournal::~TestJournal() {
    if (table_.isOpen()) {
        table_.abandon();
    }
}

void TestJournal::add(double day, const QByteArray& rtf) {
    table_.StoreEntry(day, rtf);
}

void TestJournal::addRawBlob(double day, const QByteArray& blob) {
    table_.StoreDay(day, [&blob] { return blob; });
}

void TestJournal::save() {
    table_.close();
}

FakeHost::FakeHost(quillmere::JournalTable& table) : table_(table), window_(new QWidget) {
    window_->setGeometry(100, 100, 800, 600);
}

FakeHost::~FakeHost() {
    delete window_;
}

void FakeHost::ShowDay(double day) {
    if (editorModified) {
        table_.StoreEntry(currentDay, rtfOf(editorText));
        editorModified = false;
    }
    currentDay = day;
    const int index = table_.find(day);
    editorText =
        index < 0
            ? QString()
            : quillmere::entryDisplayedText(quillmere::DecodeEntryContent(table_.entryAt(index)));
    shownDays.push_back(day);
}

}  // namespace searchtest
