#include "rtf_test_support.h"

#include "editor/rtf/dib.h"
#include "editor/rtf/wmf.h"
#include "store/coding.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdio>

#include <jpeglib.h>

namespace rtftest {
using quillmere::PutFixed16;
using quillmere::PutFixed32;
namespace {

// Fonts and images need the application object; the offscreen platform keeps
// the tests headless.
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "rtf_tests";
        static char* argv[] = {name, nullptr};
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = new QGuiApplication(argc, argv);
    }
    void TearDown() override { delete app_; }

private:
    QGuiApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace

std::vector<NamedRtf>& corpus() {
    static std::vector<NamedRtf> all;
    return all;
}

QByteArray registered(const std::string& name, const QByteArray& rtf) {
    corpus().push_back({name, rtf});
    return rtf;
}

QByteArray golden(const QString& name) {
    QFile file(QStringLiteral(RTF_GOLDEN_DIR) + u'/' + name);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "missing golden file " << name.toStdString();
        return {};
    }
    return file.readAll();
}

void expectGolden(const QString& name, const QByteArray& actual) {
    QByteArray expected = golden(name);
    if (expected == actual) {
        return;
    }
    QString path = QDir::temp().filePath(name + QStringLiteral(".actual"));
    QFile out(path);
    if (out.open(QIODevice::WriteOnly)) {
        out.write(actual);
    }
    ADD_FAILURE() << "output differs from golden " << name.toStdString() << "; actual bytes in "
                  << path.toStdString() << "\n"
                  << actual.toStdString();
}

QImage quadrantImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bool right = x >= width / 2;
            bool bottom = y >= height / 2;
            QRgb c = !right && !bottom  ? qRgb(255, 0, 0)
                     : right && !bottom ? qRgb(0, 255, 0)
                     : !right           ? qRgb(0, 0, 255)
                                        : qRgb(255, 255, 0);
            image.setPixel(x, y, c);
        }
    }
    return image;
}

QByteArray pngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray jpegBytes(const QImage& image) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(image.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(image.width()) * 3);
    while (info.next_scanline < info.image_height) {
        int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < image.width(); ++x) {
            QRgb p = image.pixel(x, y);
            row[static_cast<std::size_t>(x) * 3] = static_cast<unsigned char>(qRed(p));
            row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<unsigned char>(qGreen(p));
            row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<unsigned char>(qBlue(p));
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
    std::free(out);
    return bytes;
}

QByteArray packedDib24(const QImage& image) {
    return quillmere::rtf::encodeDibHeader24(image.width(), image.height()) +
           quillmere::rtf::encodeDibRows24(image);
}

QByteArray wmfStretchDib(const QImage& image) {
    using namespace quillmere::rtf;
    QByteArray dib = packedDib24(image);
    QByteArray records;
    // META_SETWINDOWEXT y, x
    PutFixed32(&records, 5);
    PutFixed16(&records, kMetaSetWindowExt);
    PutFixed16(&records, static_cast<std::uint16_t>(image.height()));
    PutFixed16(&records, static_cast<std::uint16_t>(image.width()));
    // META_STRETCHDIB
    PutFixed32(&records, static_cast<std::uint32_t>((28 + dib.size()) / 2));
    PutFixed16(&records, kMetaStretchDib);
    PutFixed32(&records, 0x00CC0020);
    PutFixed16(&records, 0);
    for (int v : {image.height(), image.width(), 0, 0, image.height(), image.width(), 0, 0}) {
        PutFixed16(&records, static_cast<std::uint16_t>(v));
    }
    records += dib;
    PutFixed32(&records, 3);  // META_EOF
    PutFixed16(&records, kMetaEof);
    QByteArray wmf;
    PutFixed16(&wmf, 1);
    PutFixed16(&wmf, 9);
    PutFixed16(&wmf, 0x0300);
    PutFixed32(&wmf, static_cast<std::uint32_t>((18 + records.size()) / 2));
    PutFixed16(&wmf, 0);
    PutFixed32(&wmf, static_cast<std::uint32_t>((28 + dib.size()) / 2));
    PutFixed16(&wmf, 0);
    return wmf + records;
}

QByteArray pictRtf(const QByteArray& words, const QByteArray& data) {
    return "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 A{\\pict" + words + " " + data.toHex() +
           "}B}";
}

}  // namespace rtftest
