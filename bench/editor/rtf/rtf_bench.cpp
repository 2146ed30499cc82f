// Reading, writing and plain-text extraction of journal entries, measured
// against plain zlib inflation of the same stored entries. The entries are
// made here: ~7,300 simple 2 KB bodies (twenty years of days), a set with
// formatting, one holding a 200 KB picture, and entries in a single-byte and
// a double-byte font.
#include "editor/rtf/picture.h"
#include "editor/rtf/rtf.h"
#include "store/entry_codec.h"

#include <QGuiApplication>
#include <QImage>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

using namespace quillmere::rtf;

constexpr int kEntries = 7300;
constexpr int kBodyBytes = 2048;

const char* const kWords[] = {"the",   "day",     "was",     "long",  "and",
                              "we",    "walked",  "to",      "river", "caf\\'e9",
                              "after", "lunch",   "garden",  "rain",  "letters",
                              "quiet", "morning", "friends", "book",  "evening"};

// A simple entry as the editor writes it: one font, a few paragraphs.
QByteArray simpleEntry(std::mt19937& random) {
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
        "{\\colortbl ;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs22 ";
    std::uniform_int_distribution<int> word(0, std::size(kWords) - 1);
    int sentence = 0;
    while (rtf.size() < kBodyBytes) {
        rtf += kWords[word(random)];
        rtf += (++sentence % 60 == 0) ? "\\par\r\n\\pard " : " ";
    }
    rtf += "}\r\n";
    return rtf;
}

// An entry with bold, italic, colours, bullets and several fonts.
QByteArray formattedEntry(int seed) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    for (int p = 0; p < 12; ++p) {
        QTextCharFormat format;
        format.setFontFamilies(
            QStringList{p % 2 ? QStringLiteral("Arial") : QStringLiteral("Georgia")});
        format.setFontPointSize(10 + (p + seed) % 8);
        format.setFontWeight(p % 3 == 0 ? QFont::Bold : QFont::Normal);
        format.setFontItalic(p % 4 == 1);
        if (p % 5 == 2) {
            format.setForeground(QColor(200, 30, 30));
            format.setBackground(QColor(255, 255, 0));
        }
        cursor.insertText(
            QStringLiteral("Formatted paragraph %1 with some \u00e9 text and a tab\tend. ").arg(p),
            format);
        cursor.insertText(QStringLiteral("Plain words follow the formatted run."),
                          QTextCharFormat());
        QTextBlockFormat block;
        if (p % 4 == 3) {
            setParagraphIndent(block, {0, 200}, true);
        }
        cursor.insertBlock(block);
        if (p % 4 == 3) {
            cursor.createList(QTextListFormat::ListDisc);
        }
    }
    return writeRtf(doc);
}

QByteArray pictureEntry() {
    QImage image(256, 256, QImage::Format_RGB32);  // 256 * 256 * 3 = 192 KB of DIB rows
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            image.setPixel(x, y, qRgb(x, y, (x * y) & 255));
        }
    }
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText(QStringLiteral("A picture of the day: "));
    insertPicture(cursor, image);
    cursor.insertText(QStringLiteral(" and some words after it."));
    return writeRtf(doc);
}

// An entry of kBodyBytes text bytes in a font of `charset`: Cyrillic
// letters of code page 1251 (one byte each) or of Shift-JIS (\fcharset128,
// two bytes each: lead 0x84 and a trail from 0x40 to 0x5B, none of them
// '\', '{' or '}', which older readers split at), with a space every few
// letters.
QByteArray foreignEntry(int charset, std::mt19937& random) {
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset" +
                     QByteArray::number(charset) + " Font;}}\r\n\\pard\\f0\\fs22 ";
    const qsizetype start = rtf.size();
    std::uniform_int_distribution<int> letter(0, 0x1B);
    int n = 0;
    while (rtf.size() - start < kBodyBytes) {
        if (charset == 128) {
            rtf += char(0x84);
            rtf += char(0x40 + letter(random));
        } else {
            rtf += char(0xC0 + letter(random));
        }
        if (++n % 7 == 0) {
            rtf += ' ';
        }
    }
    rtf += "}\r\n";
    return rtf;
}

struct Corpus {
    std::vector<QByteArray> rtf;
    std::vector<QByteArray> blobs;
    std::vector<QByteArray> formatted;
    std::vector<QByteArray> singleByte;  // code page 1251
    std::vector<QByteArray> doubleByte;  // Shift-JIS
    QByteArray picture;
    qint64 rtfBytes = 0;

    Corpus() {
        std::mt19937 random(20240607);
        for (int i = 0; i < kEntries; ++i) {
            rtf.push_back(simpleEntry(random));
            blobs.push_back(quillmere::EncodeEntryContent(rtf.back()));
            rtfBytes += rtf.back().size();
        }
        for (int i = 0; i < 50; ++i) {
            formatted.push_back(formattedEntry(i));
        }
        picture = pictureEntry();
        for (int i = 0; i < 500; ++i) {
            singleByte.push_back(foreignEntry(204, random));
            doubleByte.push_back(foreignEntry(128, random));
        }
    }
};

const Corpus& corpus() {
    static const Corpus c;
    return c;
}

void BM_InflateAllEntries(benchmark::State& state) {
    const Corpus& c = corpus();
    for (auto _ : state) {
        for (const QByteArray& blob : c.blobs) {
            benchmark::DoNotOptimize(quillmere::DecodeEntryContent(blob));
        }
    }
    state.SetBytesProcessed(state.iterations() * c.rtfBytes);
}
BENCHMARK(BM_InflateAllEntries)->Unit(benchmark::kMillisecond);

void BM_PlainTextOfAllEntries(benchmark::State& state) {
    const Corpus& c = corpus();
    for (auto _ : state) {
        for (const QByteArray& rtf : c.rtf) {
            benchmark::DoNotOptimize(plainTextOfRtf(rtf));
        }
    }
    state.SetBytesProcessed(state.iterations() * c.rtfBytes);
}
BENCHMARK(BM_PlainTextOfAllEntries)->Unit(benchmark::kMillisecond);

// Text in a single-byte and in a double-byte font: the same number of text
// bytes per entry, so the two rates compare per byte.
void plainTextOf(benchmark::State& state, const std::vector<QByteArray>& entries) {
    qint64 bytes = 0;
    for (const QByteArray& rtf : entries) {
        bytes += rtf.size();
    }
    for (auto _ : state) {
        for (const QByteArray& rtf : entries) {
            benchmark::DoNotOptimize(plainTextOfRtf(rtf));
        }
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_PlainTextOfSingleByteEntries(benchmark::State& state) {
    plainTextOf(state, corpus().singleByte);
}
BENCHMARK(BM_PlainTextOfSingleByteEntries)->Unit(benchmark::kMillisecond);

void BM_PlainTextOfDoubleByteEntries(benchmark::State& state) {
    plainTextOf(state, corpus().doubleByte);
}
BENCHMARK(BM_PlainTextOfDoubleByteEntries)->Unit(benchmark::kMillisecond);

void BM_ReadDoubleByteEntry(benchmark::State& state) {
    QTextDocument doc;
    std::size_t i = 0;
    for (auto _ : state) {
        readRtf(corpus().doubleByte[i++ % corpus().doubleByte.size()], doc);
    }
}
BENCHMARK(BM_ReadDoubleByteEntry)->Unit(benchmark::kMicrosecond);

void BM_ReadSingleByteEntry(benchmark::State& state) {
    QTextDocument doc;
    std::size_t i = 0;
    for (auto _ : state) {
        readRtf(corpus().singleByte[i++ % corpus().singleByte.size()], doc);
    }
}
BENCHMARK(BM_ReadSingleByteEntry)->Unit(benchmark::kMicrosecond);

void BM_ReadTypicalEntry(benchmark::State& state) {
    const Corpus& c = corpus();
    QTextDocument doc;
    std::size_t i = 0;
    for (auto _ : state) {
        readRtf(c.rtf[i++ % c.rtf.size()], doc);
    }
}
BENCHMARK(BM_ReadTypicalEntry)->Unit(benchmark::kMicrosecond);

void BM_WriteTypicalEntry(benchmark::State& state) {
    QTextDocument doc;
    readRtf(corpus().rtf.front(), doc);
    for (auto _ : state) {
        benchmark::DoNotOptimize(writeRtf(doc));
    }
}
BENCHMARK(BM_WriteTypicalEntry)->Unit(benchmark::kMicrosecond);

void BM_ReadFormattedEntry(benchmark::State& state) {
    const Corpus& c = corpus();
    QTextDocument doc;
    std::size_t i = 0;
    for (auto _ : state) {
        readRtf(c.formatted[i++ % c.formatted.size()], doc);
    }
}
BENCHMARK(BM_ReadFormattedEntry)->Unit(benchmark::kMicrosecond);

void BM_WriteFormattedEntry(benchmark::State& state) {
    QTextDocument doc;
    readRtf(corpus().formatted.front(), doc);
    for (auto _ : state) {
        benchmark::DoNotOptimize(writeRtf(doc));
    }
}
BENCHMARK(BM_WriteFormattedEntry)->Unit(benchmark::kMicrosecond);

void BM_PlainTextOfFormattedEntries(benchmark::State& state) {
    const Corpus& c = corpus();
    for (auto _ : state) {
        for (const QByteArray& rtf : c.formatted) {
            benchmark::DoNotOptimize(plainTextOfRtf(rtf));
        }
    }
}
BENCHMARK(BM_PlainTextOfFormattedEntries)->Unit(benchmark::kMicrosecond);

void BM_ReadPictureEntry(benchmark::State& state) {
    QTextDocument doc;
    for (auto _ : state) {
        readRtf(corpus().picture, doc);
    }
    state.SetBytesProcessed(state.iterations() * corpus().picture.size());
}
BENCHMARK(BM_ReadPictureEntry)->Unit(benchmark::kMillisecond);

void BM_WritePictureEntry(benchmark::State& state) {
    QTextDocument doc;
    readRtf(corpus().picture, doc);
    for (auto _ : state) {
        benchmark::DoNotOptimize(writeRtf(doc));
    }
}
BENCHMARK(BM_WritePictureEntry)->Unit(benchmark::kMillisecond);

void BM_PlainTextOfPictureEntry(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(plainTextOfRtf(corpus().picture));
    }
    state.SetBytesProcessed(state.iterations() * corpus().picture.size());
}
BENCHMARK(BM_PlainTextOfPictureEntry)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
