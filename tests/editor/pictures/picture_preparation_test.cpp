// Pictures made ready on the picture thread: a pasted photograph is stored as
// JPEG and a screenshot as PNG, whichever is smaller; a JPEG file keeps its
// own bytes, raw, in an entry hardly larger than the file.
#include "editor/pictures/picture_preparation.h"

#include "editor/rich_editor.h"
#include "editor/rtf/jpeg.h"
#include "editor/rtf/picture.h"
#include "store/file_access.h"

#include <QBuffer>
#include <QPainter>
#include <QRandomGenerator>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace quillmere {
namespace {

// Smooth light with grain, as a camera gives: PNG cannot pack it.
QImage photograph(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int grain = int(random.bounded(24)) - 12;
            line[x] =
                qRgb(std::clamp(x * 255 / w + grain, 0, 255),
                     std::clamp(y * 255 / h + grain, 0, 255), std::clamp(128 + grain, 0, 255));
        }
    }
    return image;
}

// Flat areas, lines and text, as on a screen.
QImage screenshot(int w, int h, bool transparent = false) {
    QImage image(w, h, transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.fill(transparent ? Qt::transparent : Qt::white);
    QPainter p(&image);
    p.fillRect(0, 0, w, 24, QColor(0x30, 0x60, 0xa0));
    p.setPen(Qt::black);
    for (int y = 40; y < h; y += 18) {
        p.drawText(10, y, QStringLiteral("Dear diary, the fourteenth line of today"));
    }
    return image;
}

QByteArray jpegOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 85);
    return bytes;
}

struct PasteCase {
    const char* label;
    QImage image;
    QByteArray offeredJpeg;  // the JPEG another program offers beside it
    const char* kind;        // what is stored
};

TEST(PastedPicture, IsStoredInTheSmallerOfJpegAndPng) {
    const QImage photo = photograph(400, 300);
    const QByteArray cameraJpeg = jpegOf(photo);
    const PasteCase rows[] = {
        {"nominal: a photograph becomes a JPEG", photo, {}, "jpegblip"},
        {"nominal: a screenshot stays a PNG", screenshot(400, 300), {}, "pngblip"},
        {"nominal: a drawing with transparency stays a PNG",
         screenshot(400, 300, true),
         {},
         "pngblip"},
        {"nominal: the JPEG that came with it is kept", rtf::decodeJpeg(cameraJpeg), cameraJpeg,
         "jpegblip"},
        {"robustness: a JPEG of another size is not taken", photo.scaled(200, 150), cameraJpeg,
         "jpegblip"},
    };
    for (const PasteCase& row : rows) {
        SCOPED_TRACE(row.label);
        const PreparedPicture picture = preparePastedImage(row.image, row.offeredJpeg);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(QString::fromLatin1(row.kind), picture.stored.kind);
        EXPECT_TRUE(picture.stored.binary);
        EXPECT_EQ(row.image.size(), picture.shown.size());
        EXPECT_EQ(row.image.size(), QSize(picture.stored.picw, picture.stored.pich));
        if (!row.offeredJpeg.isEmpty() && row.image.size() == photo.size()) {
            EXPECT_EQ(row.offeredJpeg, picture.stored.data);
        }
        // Whichever is stored, the other would not be smaller.
        if (picture.stored.kind == u"jpegblip" && row.offeredJpeg.isEmpty()) {
            EXPECT_GT(rtf::pngOf(row.image).size(), picture.stored.data.size());
        } else if (picture.stored.kind == u"pngblip" && !row.image.hasAlphaChannel()) {
            EXPECT_LE(picture.stored.data.size(),
                      rtf::encodeJpeg(row.image, kPastedJpegQuality).size());
        }
    }
    EXPECT_TRUE(preparePastedImage(QImage()).isNull());
}

TEST(PictureFile, JpegEntryIsTheFileItselfAndASmallMetafile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray jpeg = jpegOf(photograph(2000, 1000));
    const QString path = dir.filePath(QStringLiteral("photo.JPG"));
    fileAccess().writeReplacing(path, jpeg);

    const PreparedPicture picture = preparePictureFile(path);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(jpeg, picture.stored.data);
    EXPECT_EQ(jpeg, picture.jpeg);
    EXPECT_EQ(u"\\jpegblip\\picw2000\\pich1000\\picwgoal9638\\pichgoal4819", picture.stored.header);
    const QByteArray rtf = rtf::pictureDocumentRtf(picture.stored);
    EXPECT_LE(double(rtf.size() - picture.stored.fallbackData.size()), 1.05 * jpeg.size());
    EXPECT_LT(picture.stored.fallbackData.size(), 400 * 1024);
}

// While a picture is on its way in, the day counts as changed, so that
// leaving it stores the picture; a day loaded meanwhile does not receive it.
TEST(PictureOnItsWay, CountsAsAChangeAndStaysWithItsDay) {
    const struct {
        const char* label;
        bool loadOtherDay;
        bool typeMeanwhile;
        const char* textAfter;  // "#" stands for the picture
    } rows[] = {
        {"nominal: the picture goes in where it was pasted", false, false, "a#b"},
        {"nominal: text typed meanwhile goes after it", false, true, "a#typedb"},
        {"robustness: another day loaded meanwhile gets nothing", true, false, "other day"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        RichEditor editor;
        editor.replaceSelection(QStringLiteral("ab"));
        editor.setSelection(1, 0);
        editor.setModified(false);
        QSemaphore jobMayEnd;
        bool modifiedMeanwhile = false;
        QTimer::singleShot(0, &editor, [&] {
            modifiedMeanwhile = editor.isModified() && editor.hasPendingPictures();
            if (row.loadOtherDay) {
                editor.loadEntryRtf("{\\rtf1 other day}");
            }
            if (row.typeMeanwhile) {
                editor.replaceSelection(QStringLiteral("typed"));
            }
            jobMayEnd.release();
        });
        const QImage image = screenshot(40, 30);
        editor.insertPrepared([&] {
            jobMayEnd.acquire();
            PreparedInsertion insertion;
            insertion.items.push_back({preparePastedImage(image), {}});
            return insertion;
        });
        EXPECT_TRUE(modifiedMeanwhile);
        EXPECT_FALSE(editor.hasPendingPictures());
        EXPECT_EQ(QString::fromLatin1(row.textAfter),
                  editor.toPlainText().replace(QChar::ObjectReplacementCharacter, u'#'));
    }
}

}  // namespace
}  // namespace quillmere
