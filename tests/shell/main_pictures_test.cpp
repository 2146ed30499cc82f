// The main window's picture and link buttons and link clicks, in the whole
// program: errors of Insert Picture reach the default error display.
#include "controls/rb_button.h"
#include "editor/format/format_commands.h"
#include "editor/pictures/picture_commands.h"
#include "editor/rich_editor.h"
#include "shell/main_window.h"
#include "shell_fixture.h"

#include <QBuffer>
#include <QImage>
#include <QTest>
#include <QTextCursor>
#include <QToolButton>

#include <gtest/gtest.h>

namespace quillmere {
namespace {

class MainPicturesTest : public ShellTest {
protected:
    void startWithFakes() {
        start();
        main().Pictures->setFileDialog(
            [this](QWidget*, const FileDialogRequest&) { return chosen_; });
        main().Pictures->setUrlOpener([this](const QUrl& url) { opened_.push_back(url); });
    }
    FormatCommands& commands() const { return *main().Commands; }

    QString chosen_;
    std::vector<QUrl> opened_;
};

TEST_F(MainPicturesTest, BothButtonsWork) {
    startWithFakes();
    EXPECT_TRUE(commands().btnInsertPicture->isEnabled());
    EXPECT_TRUE(commands().btnInsertLink->isEnabled());
    EXPECT_EQ(u"Insert Picture...", commands().btnInsertPicture->toolTip());
    EXPECT_EQ(u"Insert Link...", commands().btnInsertLink->toolTip());
}

TEST_F(MainPicturesTest, InsertedLinkOpensThePathWithBlanksWhenClicked) {
    startWithFakes();
    chosen_ = QStringLiteral("/tmp/My Notes/day one.txt");
    click(commands().btnInsertLink);
    RichEditor* editor = main().Editor;
    EXPECT_EQ(u"file:/tmp/My%Notes/day%one.txt", editor->toPlainText());
    EXPECT_TRUE(editor->isModified());

    QCoreApplication::processEvents();
    QTextCursor at(editor->document());
    at.setPosition(8);
    const QPoint point = editor->cursorRect(at).center();
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    QTest::mouseClick(editor->viewport(), Qt::RightButton, Qt::NoModifier, point);
    ASSERT_EQ(2u, opened_.size());
    EXPECT_EQ(u"/tmp/My Notes/day one.txt", opened_[0].toLocalFile());
    EXPECT_EQ(opened_[0], opened_[1]);
    EXPECT_TRUE(messages_.calls.empty());
}

TEST_F(MainPicturesTest, PictureErrorsReachTheDefaultErrorDisplay) {
    startWithFakes();
    struct Row {
        const char* file;
        QByteArray bytes;
        const char* shown;
    } rows[] = {
        {"photo.tga", QByteArray("\x89PNG"), "Unknown picture file extension (.tga)"},
        {"photo.png", QByteArray("\x89PNG"), "PNG image is not valid."},
        {"old.bmp", QByteArray("BM damaged"), "Bitmap image is not valid."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        messages_.calls.clear();
        chosen_ = data_.write(QString::fromLatin1(row.file), row.bytes);
        click(commands().btnInsertPicture);
        const std::vector<QString> shown = messages_.texts(MessageKind::Unhandled);
        ASSERT_EQ(1u, shown.size());
        EXPECT_EQ(QString::fromLatin1(row.shown), shown[0]);
        EXPECT_TRUE(main().Editor->toPlainText().isEmpty());
    }
}

TEST_F(MainPicturesTest, InsertedPictureIsStoredWithTheEntry) {
    startWithFakes();
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    chosen_ = data_.write(QStringLiteral("cyan.bmp"), bmp);
    click(commands().btnInsertPicture);
    EXPECT_EQ(QString(QChar::ObjectReplacementCharacter), main().Editor->toPlainText());
    EXPECT_TRUE(main().Editor->isModified());
    click(main().btnNext);
    click(main().btnPrevious);
    EXPECT_EQ(QString(QChar::ObjectReplacementCharacter), main().Editor->toPlainText());
    EXPECT_TRUE(main().Editor->saveRtf().contains("{\\*\\shppict{\\pict\\pngblip\\picw20\\pich10"));
    EXPECT_TRUE(messages_.calls.empty());
}

}  // namespace
}  // namespace quillmere
