#include "test_support.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace testsupport {

TempFolder::TempFolder() : dir_(QDir::tempPath() + "/quillmere-test-XXXXXX") {
    EXPECT_TRUE(dir_.isValid()) << "cannot create a temporary folder";
}

QString TempFolder::file(const QString& name) const { return dir_.filePath(name); }

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

std::string messageOf(const std::exception& e) { return e.what(); }

std::string pixelHex(const QImage& image, int x, int y) {
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) {
        return "outside";
    }
    return QColor(image.pixel(x, y)).name(QColor::HexRgb).toUpper().toStdString();
}

}  // namespace testsupport
