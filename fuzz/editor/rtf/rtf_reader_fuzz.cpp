// Feeds arbitrary bytes to the RTF reader, the fast plain-text path and the
// plain-text reader. Besides crashes it checks the library's promises: the
// two RTF paths agree on the text, and a document read from any bytes writes
// RTF that reads back to the same bytes.
#include "editor/rtf/rtf.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    using namespace quillmere::rtf;
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QTextDocument doc;
    bool readOk = true;
    try {
        readRtf(bytes, doc);
    } catch (const RtfError&) {
        readOk = false;
    }
    QString fast;
    bool fastOk = true;
    try {
        fast = plainTextOfRtf(bytes);
    } catch (const RtfError&) {
        fastOk = false;
    }
    if (readOk != fastOk || (readOk && fast != doc.toPlainText())) {
        std::fprintf(stderr, "plain-text path differs from the document reader\n");
        std::abort();
    }
    if (readOk) {
        QByteArray first = writeRtf(doc);
        QTextDocument again;
        readRtf(first, again);
        if (writeRtf(again) != first) {
            std::fprintf(stderr, "write-read-write is not stable\n");
            std::abort();
        }
    }
    try {
        loadEntryBytes(bytes, doc);
    } catch (const RtfError&) {
    }
    (void)writePlainText(doc);
    return 0;
}
