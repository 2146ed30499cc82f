// A window like the main window's middle: an editor, an empty tool bar and
// the formatting commands that fill it, with scripted dialogs.
#pragma once

#include "editor/format/format_commands.h"
#include "editor/rich_editor.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QTest>
#include <QTextCursor>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

namespace quillmere::testing_commands {

// Two pictures are the same when their premultiplied pixels are (an icon's
// pixmap keeps its picture premultiplied).
inline bool samePicture(const QImage& a, const QImage& b) {
    return a.size() == b.size() && a.convertToFormat(QImage::Format_ARGB32_Premultiplied) ==
                                       b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

inline QImage pictureOf(const QIcon& icon) {
    return icon.pixmap(16, 16).toImage();
}

class CommandsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = std::make_unique<QWidget>();
        window_->setObjectName(QStringLiteral("TestMainWindow"));
        toolBar_ = new QToolBar(window_.get());
        editor_ = new RichEditor(window_.get());
        auto* layout = new QVBoxLayout(window_.get());
        layout->addWidget(toolBar_);
        layout->addWidget(editor_, 1);
        window_->resize(900, 500);
        window_->move(40, 40);
        commands_ = std::make_unique<FormatCommands>(editor_, toolBar_, makeHooks());
        // No test may ever reach a real modal dialog.
        commands_->setFontDialog([this](QWidget*, const FontChoice& initial) {
            fontDialogInputs_.push_back(initial);
            return fontAnswer_;
        });
        commands_->setColorDialog([this](QWidget*, const QColor& initial) {
            colorDialogInputs_.push_back(initial);
            return colorAnswer_;
        });
    }

    void TearDown() override {
        commands_.reset();
        window_.reset();
    }

    // Hooks a test can extend before the commands are made again.
    virtual FormatHooks makeHooks() {
        FormatHooks hooks;
        hooks.openSearchWindow = [this] { ++searchWindowOpened_; };
        return hooks;
    }

    void showWindow() {
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        window_->activateWindow();
        editor_->setFocus();
        QApplication::processEvents();
    }

    // Types text at the caret as the user would.
    void type(const QString& text) { QTest::keyClicks(editor_, text); }

    // Replaces the content by `text`, not modified, caret at the start.
    void setText(const QString& text) {
        editor_->clearAll();
        editor_->replaceSelection(text);
        editor_->setModified(false);
        editor_->moveCaretToStart();
    }

    QTextCharFormat formatAt(int position) const {
        QTextCursor cursor(editor_->document());
        cursor.setPosition(position + 1);
        return cursor.charFormat();
    }

    std::unique_ptr<QWidget> window_;
    QToolBar* toolBar_ = nullptr;
    RichEditor* editor_ = nullptr;
    std::unique_ptr<FormatCommands> commands_;
    int searchWindowOpened_ = 0;
    std::optional<FontChoice> fontAnswer_;
    std::optional<QColor> colorAnswer_;
    std::vector<FontChoice> fontDialogInputs_;
    std::vector<QColor> colorDialogInputs_;
};

}  // namespace quillmere::testing_commands
