// Shared inputs of the RTF tests: every RTF a test reads is registered in one
// corpus, so the fast plain-text path can be checked against the document
// reader over all of them.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <string>
#include <vector>

namespace rtftest {

struct NamedRtf {
    std::string name;
    QByteArray rtf;
};

// The inputs of each test file, for the equivalence of the two read paths.
std::vector<NamedRtf> readerInputs();
std::vector<NamedRtf> writerInputs();
std::vector<NamedRtf> pictureInputs();

// Every registered input (hand-written cases, golden files, writer outputs).
std::vector<NamedRtf>& corpus();

// Registers an input and returns it, for use in test tables.
QByteArray registered(const std::string& name, const QByteArray& rtf);

// The bytes of a golden file in tests/editor/rtf/golden.
QByteArray golden(const QString& name);

// Compares output with a golden file; on a difference the actual bytes are
// written to the temporary folder as <name>.actual, for review and update.
void expectGolden(const QString& name, const QByteArray& actual);

// A small test image with a distinct colour in each quadrant.
QImage quadrantImage(int width, int height);

// Tiny picture files built here: PNG (Qt), JPEG (libjpeg), packed DIB,
// WMF with META_STRETCHDIB, and a bitmap EMF.
QByteArray pngBytes(const QImage& image);
QByteArray jpegBytes(const QImage& image);
QByteArray packedDib24(const QImage& image);
QByteArray wmfStretchDib(const QImage& image);

// An RTF document holding one \pict of the given words and data.
QByteArray pictRtf(const QByteArray& words, const QByteArray& data);

}  // namespace rtftest
