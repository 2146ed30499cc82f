#include "test_support.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <cctype>
#include <cstdio>

namespace testsupport {

TempFolder::TempFolder() : dir_(QDir::tempPath() + "/quillmere-test-XXXXXX") {
    EXPECT_TRUE(dir_.isValid()) << "cannot create a temporary folder";
}

QString TempFolder::file(const QString& name) const {
    return dir_.filePath(name);
}

QString TempFolder::write(const QString& name, const QByteArray& bytes) const {
    const QString path = file(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    EXPECT_EQ(f.write(bytes), bytes.size());
    return path;
}

QByteArray TempFolder::read(const QString& name) const {
    QFile f(file(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file(name).toStdString();
    return f.readAll();
}

QByteArray hexBytes(const char* hex) {
    QByteArray compact;
    for (const char* p = hex; *p; ++p) {
        if (*p != ' ' && *p != '\n') {
            compact.append(*p);
        }
    }
    return QByteArray::fromHex(compact);
}

std::string hexDump(const QByteArray& bytes) {
    std::string out;
    char buf[4];
    for (int i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned char>(bytes[i]));
        if (i > 0) {
            out += ' ';
        }
        out += buf;
    }
    return out;
}

std::string messageOf(const std::exception& e) {
    return e.what();
}

std::string labelTestName(const char* label) {
    std::string name;
    for (const char* c = label; *c != '\0'; ++c) {
        if (std::isalnum(static_cast<unsigned char>(*c))) {
            name += *c;
        } else if (!name.empty() && name.back() != '_') {
            name += '_';
        }
    }
    return name;
}

std::string pixelHex(const QImage& image, int x, int y) {
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) {
        return "outside";
    }
    return QColor(image.pixel(x, y)).name(QColor::HexRgb).toUpper().toStdString();
}

QByteArray exifPhoto(int width, int height, int orientation, bool bigEndian) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    {
        QPainter painter(&image);
        const int w = width / 2;
        const int h = height / 2;
        painter.fillRect(w, 0, width - w, h, Qt::green);
        painter.fillRect(0, h, w, height - h, Qt::blue);
        painter.fillRect(w, h, width - w, height - h, Qt::yellow);
    }
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 95);

    auto put16 = [bigEndian](QByteArray& out, int value) {
        const char high = char((value >> 8) & 0xFF);
        const char low = char(value & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    };
    auto put32 = [&put16, bigEndian](QByteArray& out, int value) {
        put16(out, bigEndian ? (value >> 16) & 0xFFFF : value & 0xFFFF);
        put16(out, bigEndian ? value & 0xFFFF : (value >> 16) & 0xFFFF);
    };
    QByteArray tiff = bigEndian ? QByteArray("MM") : QByteArray("II");
    put16(tiff, 42);
    put32(tiff, 8);       // the first directory follows the header
    put16(tiff, 1);       // one entry:
    put16(tiff, 0x0112);  //   orientation
    put16(tiff, 3);       //   of type SHORT
    put32(tiff, 1);       //   one value
    put16(tiff, orientation);
    put16(tiff, 0);
    put32(tiff, 0);  // no further directory
    QByteArray app1 = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(app1.size()) + 2;
    QByteArray segment("\xFF\xE1");
    segment += char((length >> 8) & 0xFF);
    segment += char(length & 0xFF);
    return jpeg.left(2) + segment + app1 + jpeg.mid(2);
}

}  // namespace testsupport
