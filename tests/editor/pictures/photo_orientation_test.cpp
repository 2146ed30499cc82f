// Photos keep their camera's pixels and are shown upright: the EXIF
// orientation read from the JPEG, the turn applied as Qt's own reader applies
// it, the preview, and a photo inserted into an entry, shown and reloaded.
#include "editor/pictures/photo_orientation.h"

#include "editor/pictures/picture_commands.h"
#include "editor/pictures/picture_file.h"
#include "editor/rich_editor.h"
#include "editor/rtf/rtf.h"
#include "test_support.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QWidget>

#include <gtest/gtest.h>

namespace quillmere {
namespace {

using testsupport::exifPhoto;

QImage readByQt(const QByteArray& jpeg, bool autoTransform) {
    QBuffer buffer;
    buffer.setData(jpeg);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    reader.setAutoTransform(autoTransform);
    return reader.read();
}

struct OrientationCase {
    const char* label;
    QByteArray jpeg;
    bool quarterTurn;
    bool turned;
};

void PrintTo(const OrientationCase& c, std::ostream* os) {
    *os << c.label;
}

std::vector<OrientationCase> orientationCases() {
    std::vector<OrientationCase> cases;
    const char* labels[] = {"",
                            "nominal: 1 upright",
                            "nominal: 2 mirrored",
                            "nominal: 3 upside down",
                            "nominal: 4 flipped",
                            "nominal: 5 mirrored and a quarter",
                            "nominal: 6 a quarter clockwise (a phone held upright)",
                            "nominal: 7 flipped and a quarter",
                            "nominal: 8 a quarter anticlockwise"};
    for (int orientation = 1; orientation <= 8; ++orientation) {
        cases.push_back({labels[orientation], exifPhoto(32, 16, orientation), orientation >= 5,
                         orientation != 1});
    }
    cases.push_back({"nominal: little-endian EXIF", exifPhoto(32, 16, 6, false), true, true});
    cases.push_back({"robustness: orientation 0", exifPhoto(32, 16, 0), false, false});
    cases.push_back({"robustness: orientation 9", exifPhoto(32, 16, 9), false, false});
    QByteArray plain;
    QBuffer buffer(&plain);
    buffer.open(QIODevice::WriteOnly);
    readByQt(exifPhoto(32, 16, 1), false).save(&buffer, "JPEG");
    cases.push_back({"robustness: no EXIF block", plain, false, false});
    return cases;
}

class PhotoOrientation : public ::testing::TestWithParam<OrientationCase> {};

TEST_P(PhotoOrientation, TurnsThePixelsAsQtsOwnReaderDoes) {
    const OrientationCase& row = GetParam();
    const QImageIOHandler::Transformations turn = jpegOrientation(row.jpeg);
    EXPECT_EQ(row.turned, turn != QImageIOHandler::TransformationNone);
    const QImage stored = readByQt(row.jpeg, false);
    const QImage upright = orientedImage(stored, turn);
    EXPECT_EQ(readByQt(row.jpeg, true), upright);
    EXPECT_EQ(row.quarterTurn ? QSize(16, 32) : QSize(32, 16), upright.size());
    EXPECT_EQ(upright.size(), orientedSize(stored.size(), turn));
}

INSTANTIATE_TEST_SUITE_P(Photos, PhotoOrientation, ::testing::ValuesIn(orientationCases()));

TEST(PhotoOrientation, DamagedOrForeignBytesTurnNothing) {
    const QByteArray photo = exifPhoto(32, 16, 6);
    for (const QByteArray& bytes :
         {QByteArray(), QByteArray("not a jpeg"), photo.left(20), photo.left(2)}) {
        EXPECT_EQ(QImageIOHandler::TransformationNone, jpegOrientation(bytes)) << bytes.size();
    }
}

// A phone photo (orientation 6: turned a quarter clockwise to be upright) of
// the quadrants red, green / blue, yellow is upright as blue, red / yellow,
// green.
void expectUprightQuadrants(const QImage& image, QPoint origin, QSize size) {
    const int w = size.width();
    const int h = size.height();
    const QPoint at[] = {
        {w / 4, h / 4}, {3 * w / 4, h / 4}, {w / 4, 3 * h / 4}, {3 * w / 4, 3 * h / 4}};
    const QColor expected[] = {Qt::blue, Qt::red, Qt::yellow, Qt::green};
    for (int i = 0; i < 4; ++i) {
        const QColor c = image.pixelColor(origin + at[i]);
        EXPECT_LT(std::abs(c.red() - expected[i].red()) +
                      std::abs(c.green() - expected[i].green()) +
                      std::abs(c.blue() - expected[i].blue()),
                  60)
            << "quadrant " << i << " is " << c.name().toStdString();
    }
}

TEST(PhotoOrientation, PreviewIsUpright) {
    testsupport::TempFolder folder;
    const QImage preview =
        loadPicturePreview(folder.write("phone.jpg", exifPhoto(400, 200, 6)), QSize(100, 100));
    ASSERT_EQ(QSize(50, 100), preview.size());
    expectUprightQuadrants(preview, {0, 0}, preview.size());
}

// The editor's own drawing of its document, at 1:1.
QImage drawn(RichEditor& editor) {
    QTextDocument* doc = editor.document();
    doc->setTextWidth(400);
    QImage page(400, 300, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    doc->documentLayout()->draw(&painter, {});
    return page;
}

TEST(PhotoOrientation, InsertedPhotoIsShownUprightAndStoredAsTheCameraWroteIt) {
    testsupport::TempFolder folder;
    const QByteArray photo = exifPhoto(64, 32, 6);
    QWidget window;
    RichEditor editor;
    PictureCommands commands(&editor, &window, {}, {});
    const QString path = folder.write("phone.jpg", photo);
    commands.setFileDialog([path](QWidget*, const FileDialogRequest&) { return path; });
    commands.btnInsertPictureClick();

    QTextImageFormat picture;
    for (auto it = editor.document()->begin().begin(); !it.atEnd(); ++it) {
        if (it.fragment().charFormat().isImageFormat()) {
            picture = it.fragment().charFormat().toImageFormat();
        }
    }
    ASSERT_TRUE(picture.isValid());
    EXPECT_EQ(photo, picture.property(rtf::kPictureDataProperty).toByteArray());
    EXPECT_EQ(u"\\jpegblip\\picw64\\pich32\\picwgoal960\\pichgoal480",
              picture.stringProperty(rtf::kPictureHeaderProperty));
    const qreal margin = editor.document()->documentMargin();
    const QPoint origin(qRound(margin), qRound(margin));
    expectUprightQuadrants(drawn(editor), origin, {32, 64});
    EXPECT_EQ(QSize(32, 64), uprightPictureSize(picture, {}));

    // An entry stored before (or by another program) comes back upright too.
    RichEditor reloaded;
    reloaded.loadEntryRtf(editor.saveRtf());
    expectUprightQuadrants(drawn(reloaded), origin, {32, 64});
    EXPECT_EQ(editor.saveRtf(), reloaded.saveRtf()) << "showing it upright changes nothing stored";
}

}  // namespace
}  // namespace quillmere
