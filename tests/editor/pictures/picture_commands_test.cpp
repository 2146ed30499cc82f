// Insert Picture, Insert Link and link clicks, with a scripted file dialog
// and a fake desktop opener; pasted and dropped pictures; the stored picture
// after a reload; pictures laid out to the editor's width.
#include "editor/pictures/picture_commands.h"

#include "editor/pictures/picture_clipboard.h"
#include "editor/pictures/picture_file.h"
#include "editor/pictures/picture_layout.h"
#include "editor/rich_editor.h"
#include "editor/rtf/emf.h"
#include "editor/rtf/jpeg.h"
#include "editor/rtf/picture.h"
#include "editor/rtf/rtf.h"
#include "editor/url_links.h"
#include "test_support.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <gtest/gtest.h>

#include <vector>

namespace quillmere {
namespace {

// Opens the clipboard hooks to the tests.
class DropEditor : public RichEditor {
public:
    using RichEditor::insertFromMimeData;
};

std::vector<QTextImageFormat> pictures(const QTextDocument& doc) {
    std::vector<QTextImageFormat> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat()) {
                for (int i = 0; i < it.fragment().length(); ++i) {
                    out.push_back(format.toImageFormat());
                }
            }
        }
    }
    return out;
}

QString headerOf(const QTextImageFormat& format) {
    return format.stringProperty(rtf::kPictureHeaderProperty);
}
QByteArray dataOf(const QTextImageFormat& format) {
    return format.property(rtf::kPictureDataProperty).toByteArray();
}

QByteArray encoded(const QImage& image, const char* format, int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

QImage quadrants(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter p(&image);
    p.fillRect(w / 2, 0, w - w / 2, h / 2, Qt::green);
    p.fillRect(0, h / 2, w / 2, h - h / 2, Qt::blue);
    p.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, Qt::yellow);
    return image;
}

// A 40 x 40 GIF: red, with a transparent square (index 1) at 10..19 and a
// blue one at 20..29 on both axes.
QByteArray transparentGif() {
    QImage indexed(40, 40, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)});
    indexed.fill(0);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            if (x >= 10 && x < 20 && y >= 10 && y < 20) {
                indexed.setPixel(x, y, 1);
            } else if (x >= 20 && x < 30 && y >= 20 && y < 30) {
                indexed.setPixel(x, y, 2);
            }
        }
    }
    // LZW with 8-bit literals only, a clear code before the table would
    // need 10-bit codes: a valid GIF any reader decodes.
    QByteArray codes;
    std::uint32_t buffer = 0;
    int held = 0;
    auto put = [&](int code) {
        buffer |= static_cast<std::uint32_t>(code) << held;
        held += 9;
        while (held >= 8) {
            codes += char(buffer & 0xFF);
            buffer >>= 8;
            held -= 8;
        }
    };
    int sinceClear = 0;
    put(256);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            if (sinceClear == 250) {
                put(256);
                sinceClear = 0;
            }
            put(indexed.pixelIndex(x, y));
            ++sinceClear;
        }
    }
    put(257);
    if (held > 0) {
        codes += char(buffer & 0xFF);
    }
    QByteArray gif = QByteArray("GIF89a") + QByteArray::fromHex("28002800f70000");
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < 3 ? indexed.color(i) : 0;
        gif += char(qRed(c));
        gif += char(qGreen(c));
        gif += char(qBlue(c));
    }
    gif += QByteArray::fromHex("21f90401000001002c00000000280028000008");
    for (qsizetype i = 0; i < codes.size(); i += 255) {
        const QByteArray block = codes.mid(i, 255);
        gif += char(block.size());
        gif += block;
    }
    gif += QByteArray::fromHex("003b");
    return gif;
}

class PictureCommandsTest : public ::testing::Test {
protected:
    PictureCommandsTest()
        : commands_(
              &editor_, &window_, [this](const QString& m) { errors_.append(m); },
              [this](const QString& m) { information_.append(m); }) {
        commands_.setFileDialog([this](QWidget* parent, const FileDialogRequest& request) {
            EXPECT_EQ(&window_, parent);
            requests_.push_back(request);
            return chosen_;
        });
        commands_.setUrlOpener([this](const QUrl& url) { opened_.push_back(url); });
        QApplication::clipboard()->setText(QStringLiteral("old clipboard text"));
    }

    QString choose(const QString& name, const QByteArray& bytes) {
        chosen_ = folder_.write(name, bytes);
        return chosen_;
    }

    bool clipboardUnchanged() const {
        const QMimeData* data = QApplication::clipboard()->mimeData();
        return data != nullptr && data->text() == u"old clipboard text" &&
               !data->hasFormat(QLatin1String(kRtfMimeType));
    }

    testsupport::TempFolder folder_;
    QWidget window_;
    DropEditor editor_;
    PictureCommands commands_;
    QString chosen_;
    std::vector<FileDialogRequest> requests_;
    std::vector<QUrl> opened_;
    QStringList errors_;
    QStringList information_;
};

// --- Links --------------------------------------------------------------------

struct LinkCase {
    const char* label;
    const char* path;
    const char* linkText;
    const char* opensFile;
};

class InsertLink : public PictureCommandsTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(InsertLink, WritesBlanksAsPercentAndOpensThePathWithBlanks) {
    const LinkCase& c = GetParam();
    chosen_ = QString::fromUtf8(c.path);
    editor_.replaceSelection(QStringLiteral("see REPLACED here"));
    editor_.setSelection(4, 8);
    commands_.btnInsertLinkClick();

    ASSERT_EQ(1u, requests_.size());
    EXPECT_EQ(u"OpenDialog2", requests_[0].objectName);
    EXPECT_EQ(u"Link To Selected File", requests_[0].title);
    EXPECT_EQ(
        u"All Files (*.*)|*.*|Images (*.bmp, *.jpg, *.png, *.gif)|"
        u"*.bmp;*.jpg;*.jpeg;*.png;*.gif",
        requests_[0].filter);
    EXPECT_EQ(u"*.*", requests_[0].defaultExtension);
    EXPECT_FALSE(requests_[0].preview);

    const QString link = QString::fromUtf8(c.linkText);
    EXPECT_EQ(QStringLiteral("see ") + link + QStringLiteral(" here"), editor_.toPlainText());
    EXPECT_EQ(4 + link.size(), editor_.selectionStart());
    EXPECT_EQ(0, editor_.selectionLength());
    const std::optional<TextRange> detected = editor_.linkAt(5);
    ASSERT_TRUE(detected.has_value());
    EXPECT_EQ((TextRange{4, int(link.size())}), *detected);

    commands_.EditorURLClick(link, Qt::LeftButton);
    ASSERT_EQ(1u, opened_.size());
    EXPECT_TRUE(opened_[0].isLocalFile());
    EXPECT_EQ(QString::fromUtf8(c.opensFile), opened_[0].toLocalFile());
    EXPECT_TRUE(errors_.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Links, InsertLink,
    ::testing::Values(
        LinkCase{"nominal_two_blanks", "C:\\a b\\c d.txt", "file:C:\\a%b\\c%d.txt",
                 "C:\\a b\\c d.txt"},
        LinkCase{"nominal_linux_path", "/home/me/My Notes/day one.txt",
                 "file:/home/me/My%Notes/day%one.txt", "/home/me/My Notes/day one.txt"},
        LinkCase{"nominal_no_blanks", "/tmp/plain.txt", "file:/tmp/plain.txt", "/tmp/plain.txt"},
        LinkCase{"robustness_percent_in_path_opens_with_a_blank", "/tmp/100%done/x y.txt",
                 "file:/tmp/100%done/x%y.txt", "/tmp/100 done/x y.txt"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(PictureCommandsTest, CancelledLinkDialogChangesNothing) {
    editor_.replaceSelection(QStringLiteral("text"));
    editor_.setModified(false);
    chosen_.clear();
    commands_.btnInsertLinkClick();
    EXPECT_EQ(u"text", editor_.toPlainText());
    EXPECT_FALSE(editor_.isModified());
}

struct OpenCase {
    const char* label;
    const char* clicked;
    const char* opened;  // the address handed to the desktop, fully encoded
};

class OpenLink : public PictureCommandsTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenLink, OpensWebAddressesAsWrittenAndFileLinksWithPercentAsBlank) {
    commands_.EditorURLClick(QString::fromUtf8(GetParam().clicked), Qt::RightButton);
    ASSERT_EQ(1u, opened_.size());
    EXPECT_EQ(QString::fromUtf8(GetParam().opened), opened_[0].toString(QUrl::FullyEncoded));
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, OpenLink,
    ::testing::Values(
        OpenCase{"nominal_web", "http://example.org/a", "http://example.org/a"},
        OpenCase{"nominal_web_escape_opens_as_written", "http://example.org/a%20b",
                 "http://example.org/a%20b"},
        OpenCase{"nominal_www_escape_opens_as_written", "www.example.org/a%20b",
                 "http://www.example.org/a%20b"},
        OpenCase{"nominal_mail_escape_opens_as_written", "mailto:me@example.org?subject=a%20b",
                 "mailto:me@example.org?subject=a%20b"},
        OpenCase{"nominal_www_goes_to_the_web", "www.example.org", "http://www.example.org"},
        OpenCase{"nominal_mail", "mailto:me@example.org", "mailto:me@example.org"},
        OpenCase{"nominal_file_url", "file:///tmp/a%b.txt", "file:///tmp/a%20b.txt"},
        OpenCase{"nominal_file_link_percent_is_a_blank", "FILE:/tmp/a%b.txt",
                 "file:///tmp/a%20b.txt"}),
    [](const auto& info) { return std::string(info.param.label); });

// --- Insert Picture --------------------------------------------------------------

TEST_F(PictureCommandsTest, PictureDialogHasTheExactFilterAndAPreview) {
    chosen_.clear();
    commands_.btnInsertPictureClick();
    ASSERT_EQ(1u, requests_.size());
    EXPECT_EQ(u"OpenPictureDialog1", requests_[0].objectName);
    EXPECT_TRUE(requests_[0].title.isEmpty());
    EXPECT_EQ(
        u"All (*.gif;*.jpg;*.jpeg;*.bmp;*.emf;*.wmf;*.png;*.webp)|"
        u"*.gif;*.jpg;*.jpeg;*.bmp;*.emf;*.wmf;*.png;*.webp|"
        u"CompuServe GIF Image (*.gif)|*.gif|JPEG Image File (*.jpg)|*.jpg|"
        u"JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|"
        u"Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf|"
        u"PNG Image (*.png)|*.png|WebP Image (*.webp)|*.webp",
        requests_[0].filter);
    EXPECT_TRUE(requests_[0].preview);
    EXPECT_TRUE(pictures(*editor_.document()).empty());
    EXPECT_TRUE(clipboardUnchanged());
}

TEST_F(PictureCommandsTest, InsertedPictureStaysOnTheClipboardAndPastesAgain) {
    const QByteArray jpeg = encoded(quadrants(64, 32), "JPEG", 95);
    choose(QStringLiteral("photo.jpg"), jpeg);
    editor_.replaceSelection(QStringLiteral("ab"));
    editor_.setSelection(1, 0);
    commands_.btnInsertPictureClick();

    std::vector<QTextImageFormat> found = pictures(*editor_.document());
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ(QStringLiteral("a") + QChar::ObjectReplacementCharacter + QStringLiteral("b"),
              editor_.toPlainText());
    EXPECT_EQ(2, editor_.selectionStart());
    EXPECT_TRUE(editor_.isModified());
    EXPECT_EQ(u"\\jpegblip\\picw64\\pich32\\picwgoal960\\pichgoal480", headerOf(found[0]));
    EXPECT_EQ(jpeg, dataOf(found[0]));

    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(nullptr, data);
    EXPECT_FALSE(data->text() == u"old clipboard text");
    EXPECT_EQ(jpeg, data->data(QStringLiteral("image/jpeg")));
    EXPECT_EQ(QSize(64, 32), qvariant_cast<QImage>(data->imageData()).size());

    editor_.paste();
    found = pictures(*editor_.document());
    ASSERT_EQ(2u, found.size());
    EXPECT_EQ(headerOf(found[0]), headerOf(found[1]));
    EXPECT_EQ(dataOf(found[0]), dataOf(found[1]));
}

TEST_F(PictureCommandsTest, TransparentGifPixelsAreLeftUndrawn) {
    choose(QStringLiteral("logo.gif"), transparentGif());
    commands_.btnInsertPictureClick();
    const std::vector<QTextImageFormat> found = pictures(*editor_.document());
    ASSERT_EQ(1u, found.size());
    EXPECT_TRUE(headerOf(found[0]).startsWith(u"\\pngblip\\picw40\\pich40"));

    // Drawn over a green page: the transparent square shows the page.
    QTextDocument* doc = editor_.document();
    doc->setDocumentMargin(0);
    doc->setTextWidth(200);
    QImage page(200, 60, QImage::Format_RGB32);
    page.fill(qRgb(0, 128, 0));
    {
        QPainter painter(&page);
        doc->drawContents(&painter);
    }
    EXPECT_PIXEL(page, 5, 5, "#FF0000");
    EXPECT_PIXEL(page, 10, 10, "#008000");
    EXPECT_PIXEL(page, 19, 19, "#008000");
    EXPECT_PIXEL(page, 20, 20, "#0000FF");
    EXPECT_PIXEL(page, 39, 39, "#FF0000");

    // Readers of the metafile twin see the page colour (white) there.
    const QImage twin =
        rtf::readBitmapEmf(found[0].property(rtf::kPictureFallbackDataProperty).toByteArray());
    ASSERT_EQ(QSize(40, 40), twin.size());
    EXPECT_PIXEL(twin, 15, 15, "#FFFFFF");
    EXPECT_PIXEL(twin, 25, 25, "#0000FF");
    EXPECT_PIXEL(twin, 0, 0, "#FF0000");
}

TEST_F(PictureCommandsTest, LoaderErrorsInsertNothingAndKeepTheClipboard) {
    struct Row {
        const char* file;
        QByteArray bytes;
        const char* message;
    } rows[] = {
        {"notes.tga", encoded(quadrants(4, 4), "PNG"), "Unknown picture file extension (.tga)"},
        {"damaged.png", encoded(quadrants(4, 4), "PNG").left(30), "PNG image is not valid"},
        {"broken.bmp", encoded(quadrants(4, 4), "BMP").left(40), "Bitmap image is not valid"},
        {"broken.jpg", QByteArray("GIF89a, not a JPEG"), "Not a JPEG file: starts with 0x47 0x49"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        editor_.setModified(false);
        choose(QString::fromLatin1(row.file), row.bytes);
        EXPECT_THROW_MSG(commands_.btnInsertPictureClick(), PictureError, row.message);
        EXPECT_TRUE(pictures(*editor_.document()).empty());
        EXPECT_TRUE(editor_.toPlainText().isEmpty());
        EXPECT_FALSE(editor_.isModified());
        EXPECT_TRUE(clipboardUnchanged());
        EXPECT_EQ(nullptr, QApplication::overrideCursor());
    }
}

TEST_F(PictureCommandsTest, MetafileWithABitmapIsInsertedOneWithoutIsRefused) {
    choose(QStringLiteral("drawing.emf"), rtf::writeBitmapEmf(quadrants(30, 20)));
    commands_.btnInsertPictureClick();
    std::vector<QTextImageFormat> found = pictures(*editor_.document());
    ASSERT_EQ(1u, found.size());
    EXPECT_TRUE(headerOf(found[0]).startsWith(u"\\pngblip\\picw30\\pich20"));
    EXPECT_TRUE(information_.isEmpty());

    const QByteArray emf = rtf::writeBitmapEmf(quadrants(2, 2));
    QApplication::clipboard()->setText(QStringLiteral("old clipboard text"));
    choose(QStringLiteral("lines.emf"), emf.left(108) + emf.right(20));
    commands_.btnInsertPictureClick();
    EXPECT_EQ(1u, pictures(*editor_.document()).size());
    ASSERT_EQ(1, information_.size());
    EXPECT_EQ(
        u"The picture in lines.emf cannot be inserted: only metafiles that hold a bitmap "
        u"can be shown.",
        information_[0]);
    EXPECT_TRUE(clipboardUnchanged());
}

TEST_F(PictureCommandsTest, PastedPngIsStoredLikeAnInsertedBitmap) {
    choose(QStringLiteral("q.bmp"), encoded(quadrants(8, 6), "BMP"));
    commands_.btnInsertPictureClick();

    auto* data = new QMimeData;
    data->setImageData(quadrants(8, 6));
    QApplication::clipboard()->setMimeData(data);
    editor_.paste();

    const std::vector<QTextImageFormat> found = pictures(*editor_.document());
    ASSERT_EQ(2u, found.size());
    EXPECT_EQ(u"\\pngblip\\picw8\\pich6\\picwgoal120\\pichgoal90", headerOf(found[1]));
    EXPECT_EQ(headerOf(found[0]), headerOf(found[1]));
    EXPECT_EQ(found[0].stringProperty(rtf::kPictureFallbackHeaderProperty),
              found[1].stringProperty(rtf::kPictureFallbackHeaderProperty));
    const QImage stored = QImage::fromData(dataOf(found[1]), "PNG");
    EXPECT_EQ(quadrants(8, 6), stored.convertToFormat(QImage::Format_RGB32));
}

TEST_F(PictureCommandsTest, PngAndWebPFilesAreInsertedWithEveryPixel) {
    for (const char* kind : {"PNG", "WEBP"}) {
        SCOPED_TRACE(kind);
        editor_.clearAll();
        const QString name = QStringLiteral("shot.") + QString::fromLatin1(kind).toLower();
        // Lossless WebP, so every pixel can be compared.
        choose(name, encoded(quadrants(8, 6), kind, 100));
        commands_.btnInsertPictureClick();
        const std::vector<QTextImageFormat> found = pictures(*editor_.document());
        ASSERT_EQ(1u, found.size());
        EXPECT_EQ(u"\\pngblip\\picw8\\pich6\\picwgoal120\\pichgoal90", headerOf(found[0]));
        const QImage stored = QImage::fromData(dataOf(found[0]), "PNG");
        EXPECT_EQ(quadrants(8, 6), stored.convertToFormat(QImage::Format_RGB32));
    }
}

TEST_F(PictureCommandsTest, StoredEntryReloadsWithEveryPixel) {
    const QImage photo = quadrants(48, 30);
    const QByteArray jpeg = encoded(photo, "JPEG", 90);
    choose(QStringLiteral("a.jpeg"), jpeg);
    commands_.btnInsertPictureClick();
    choose(QStringLiteral("b.bmp"), encoded(photo, "BMP"));
    commands_.btnInsertPictureClick();
    choose(QStringLiteral("c.gif"), transparentGif());
    commands_.btnInsertPictureClick();
    const QByteArray rtf = editor_.saveRtf();

    RichEditor back;
    back.loadEntryRtf(rtf);
    const std::vector<QTextImageFormat> found = pictures(*back.document());
    ASSERT_EQ(3u, found.size());
    EXPECT_EQ(QSizeF(48, 30), QSizeF(found[0].width(), found[0].height()));
    EXPECT_EQ(QSizeF(48, 30), QSizeF(found[1].width(), found[1].height()));
    EXPECT_EQ(QSizeF(40, 40), QSizeF(found[2].width(), found[2].height()));
    EXPECT_EQ(rtf::decodeJpeg(jpeg), rtf::pictureImage(*back.document(), found[0]));
    EXPECT_EQ(photo,
              rtf::pictureImage(*back.document(), found[1]).convertToFormat(QImage::Format_RGB32));
    const QImage gif =
        rtf::pictureImage(*back.document(), found[2]).convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(0, qAlpha(gif.pixel(15, 15)));
    EXPECT_EQ(qRgb(0, 0, 255), gif.pixel(25, 25));
    // Written back unchanged.
    EXPECT_EQ(rtf, back.saveRtf());
}

// --- Pasted and dropped files ------------------------------------------------------

TEST_F(PictureCommandsTest, DroppedFilesBecomePicturesOrLinks) {
    const QString gif = folder_.write(QStringLiteral("drop.gif"), transparentGif());
    const QString text = folder_.write(QStringLiteral("my notes.txt"), "hello");
    QMimeData drop;
    drop.setUrls({QUrl::fromLocalFile(gif), QUrl::fromLocalFile(text)});
    editor_.insertFromMimeData(&drop);
    const std::vector<QTextImageFormat> found = pictures(*editor_.document());
    ASSERT_EQ(1u, found.size());
    EXPECT_TRUE(headerOf(found[0]).startsWith(u"\\pngblip\\picw40\\pich40"));
    EXPECT_TRUE(editor_.toPlainText().endsWith(QStringLiteral(" ") + fileLinkText(text)));
}

TEST_F(PictureCommandsTest, DroppedDamagedPictureReportsAndInsertsNothing) {
    QSignalSpy failed(&editor_, &RichEditor::insertFailed);
    const QString bad = folder_.write(QStringLiteral("bad.bmp"), "BM but not a bitmap");
    QMimeData drop;
    drop.setUrls({QUrl::fromLocalFile(bad)});
    editor_.insertFromMimeData(&drop);
    ASSERT_EQ(1, failed.count());
    EXPECT_EQ(u"Bitmap image is not valid", failed.at(0).at(0).toString());
    EXPECT_TRUE(editor_.toPlainText().isEmpty());
}

// --- Layout -----------------------------------------------------------------------------

TEST(FittedPictureSize, ScalesOnlyWiderPictures) {
    struct Row {
        QSizeF natural;
        qreal available;
        QSizeF shown;
    } rows[] = {
        {{100, 50}, 200, {100, 50}},     {{200, 50}, 200, {200, 50}}, {{400, 300}, 200, {200, 150}},
        {{4032, 3024}, 801, {801, 600}}, {{1000, 1}, 10, {10, 1}},    {{300, 30}, 0, {300, 30}},
        {{300, 30}, -5, {300, 30}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.shown, fittedPictureSize(row.natural, row.available))
            << row.natural.width() << " in " << row.available;
    }
}

TEST(PictureLayout, WidePictureIsShownAtTheEditorsWidthAndStoredWhole) {
    RichEditor editor;
    editor.resize(300, 300);
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    QTextCursor cursor = editor.textCursor();
    rtf::insertPicture(cursor, quadrants(1000, 500));
    QCoreApplication::processEvents();
    QTextDocument* doc = editor.document();
    const qreal room = doc->textWidth() - 2 * doc->documentMargin();
    const QTextLine line = doc->firstBlock().layout()->lineAt(0);
    EXPECT_NEAR(std::floor(room), line.naturalTextWidth(), 1.0);
    EXPECT_NEAR(std::floor(room) * 500 / 1000, line.ascent(), 1.0);
    // Stored with every pixel, to be shown at most as wide as a page's text
    // (9638 twips: 643 pixels).
    const QTextImageFormat stored = pictures(*doc)[0];
    EXPECT_EQ(643, stored.width());
    EXPECT_TRUE(headerOf(stored).startsWith(u"\\pngblip\\picw1000\\pich500\\picwgoal9638"));
}

}  // namespace
}  // namespace quillmere
