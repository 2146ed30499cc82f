// Helpers shared by every test executable: temporary data folders, checks on
// the message of a thrown error, and pixel comparisons on images.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <exception>
#include <string>

namespace testsupport {

// A fresh folder under the system's temporary folder, removed with the object.
// Tests never touch the working directory.
class TempFolder {
public:
    TempFolder();
    QString path() const { return dir_.path(); }
    // Absolute path of a file inside the folder.
    QString file(const QString& name) const;
    // Writes bytes to a file inside the folder; fails the test when it cannot.
    QString write(const QString& name, const QByteArray& bytes) const;
    // Reads a file inside the folder whole; fails the test when it cannot.
    QByteArray read(const QString& name) const;

private:
    QTemporaryDir dir_;
};

// Bytes from a string of hex pairs, blanks ignored: "96 19 E0 BD".
QByteArray hexBytes(const char* hex);

// Hex dump "96 19 E0 BD" of bytes, for readable failure messages.
std::string hexDump(const QByteArray& bytes);

// Text of an exception as the program would show it.
std::string messageOf(const std::exception& e);

// A table row's label as a test name: "nominal: quillmere --help" gives
// nominal_quillmere_help (runs of other characters become one '_').
std::string labelTestName(const char* label);

// "#RRGGBB" of an image pixel, for readable pixel assertions.
std::string pixelHex(const QImage& image, int x, int y);

// A photo as a camera writes it: `width` x `height` JPEG pixels in four
// quadrants (top left red, top right green, bottom left blue, bottom right
// yellow) with an EXIF block after the start marker whose orientation tag
// holds `orientation` (1 to 8 are the defined values), in big-endian ("MM")
// or little-endian ("II") byte order.
QByteArray exifPhoto(int width, int height, int orientation, bool bigEndian = true);

}  // namespace testsupport

// Asserts that `statement` throws `type` and that its what() equals `message`.
#define EXPECT_THROW_MSG(statement, type, message)                       \
    do {                                                                 \
        bool thrown_ = false;                                            \
        try {                                                            \
            statement;                                                   \
        } catch (const type& e_) {                                       \
            thrown_ = true;                                              \
            EXPECT_EQ(std::string(message), testsupport::messageOf(e_)); \
        }                                                                \
        EXPECT_TRUE(thrown_) << "expected " #type " from " #statement;   \
    } while (false)

// Asserts the colour of one pixel as "#RRGGBB".
#define EXPECT_PIXEL(image, x, y, hex)                                    \
    EXPECT_EQ(std::string(hex), testsupport::pixelHex((image), (x), (y))) \
        << "at (" << (x) << ", " << (y) << ")"
