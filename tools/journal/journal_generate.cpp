#include "tools/journal/journal_generate.h"

#include "store/day.h"
#include "store/errors.h"
#include "store/file_access.h"
#include "store/journal_table.h"

#include <QDate>

namespace quillmere::journaltool {

namespace {

const char* const kWords[] = {
    "morning",     "coffee",   "garden",    "rain",      "walked",    "river",    "letter",
    "friend",      "quiet",    "evening",   "remember",  "window",    "kitchen",  "bread",
    "sister",      "brother",  "meeting",   "office",    "train",     "station",  "late",
    "early",       "tired",    "happy",     "worried",   "laughed",   "dinner",   "market",
    "apples",      "snow",     "summer",    "autumn",    "winter",    "spring",   "book",
    "chapter",     "wrote",    "read",      "music",     "piano",     "practice", "doctor",
    "appointment", "weekend",  "holiday",   "mountains", "sea",       "beach",    "sunlight",
    "clouds",      "storm",    "phone",     "called",    "mother",    "father",   "grandmother",
    "dog",         "cat",      "neighbour", "bicycle",   "repair",    "paint",    "fence",
    "roses",       "tomatoes", "birthday",  "cake",      "candles",   "present",  "surprise",
    "thought",     "wondered", "decided",   "tomorrow",  "yesterday", "today",    "finally",
    "almost",      "never",    "always",    "sometimes", "little",    "enormous", "careful",
    "strange",     "ordinary", "wonderful", "difficult", "simple",    "the",      "a",
    "and",         "of",       "to",        "in",        "with",      "for",      "was",
    "were",        "we",       "I",         "it",        "that",      "after",    "before",
    "because",     "while",    "then",      "again",     "very",      "quite",
};
constexpr int kWordCount = sizeof kWords / sizeof kWords[0];

const char kHeader[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
    "\\viewkind4\\uc1\\pard\\f0\\fs20 ";

}  // namespace

double generatedFirstDay() {
    return dayFromDate(QDate(2000, 1, 1));
}

QByteArray sampleEntryRtf(QRandomGenerator& random, int size) {
    QByteArray rtf(kHeader);
    rtf.reserve(size + 64);
    int inParagraph = 0;
    while (rtf.size() < size - 8) {
        const char* word = kWords[random.bounded(kWordCount)];
        if (random.bounded(40) == 0) {
            rtf += "\\b ";
            rtf += word;
            rtf += "\\b0 ";
        } else {
            rtf += word;
            rtf += random.bounded(12) == 0 ? ". " : " ";
        }
        if (++inParagraph > 40 + static_cast<int>(random.bounded(40))) {
            rtf += "\\par\r\n";
            inParagraph = 0;
        }
    }
    rtf += "\\par\r\n}";
    return rtf;
}

void generateJournal(const QString& path, int days, quint32 seed, int size) {
    if (fileAccess().exists(path)) {
        throw Error(
            QStringLiteral("\"%1\" exists already; generate writes new files only").arg(path));
    }
    QRandomGenerator random(seed);
    JournalTable journal;
    journal.OpenJournal(path);
    for (int i = 0; i < days; ++i) {
        journal.StoreEntry(generatedFirstDay() + i, sampleEntryRtf(random, size));
    }
    journal.close();
}

}  // namespace quillmere::journaltool
