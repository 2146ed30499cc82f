// An editor with spell checking in the test dictionary, and a context menu
// shown the way the main window's commands show theirs.
#pragma once

#include "editor/rich_editor.h"
#include "editor/spelling/spell_checking.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

#include <gtest/gtest.h>

#include <algorithm>

namespace quillmere {

class SpellingFixture : public ::testing::Test {
protected:
    SpellingFixture() {
        editor.resize(500, 300);
        menu.addAction(QStringLiteral("Cut"));
        menu.addAction(QStringLiteral("Copy"));
        QObject::connect(&editor, &RichEditor::mousePressed, &menu, [this](Qt::MouseButton b) {
            if (b == Qt::RightButton) {
                menu.popup(QCursor::pos());
            }
        });
        QObject::connect(&editor, &RichEditor::keyboardContextMenuRequested, &menu,
                         [this](const QPoint& at) { menu.popup(at); });
    }
    ~SpellingFixture() override { menu.hide(); }

    // Checks in `choice` and waits until every paragraph is drawn.
    void choose(const QString& choice, const QLocale& locale = QLocale::c()) {
        ready = false;
        QObject::connect(
            &checking, &SpellChecking::languageReady, &checking,
            [this](const QString& tag, const QString& error) {
                ready = true;
                readyTag = tag;
                readyError = error;
            },
            Qt::SingleShotConnection);
        checking.setChoice(choice, locale);
        ASSERT_TRUE(QTest::qWaitFor([this] { return ready; }, 10000));
        settle();
    }
    void settle() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return checking.isSettled(); }, 10000));
    }

    // The marked words, as written.
    QStringList marked() const {
        QStringList words;
        for (const TextRange& r : checking.markedRanges()) {
            QTextCursor cursor(editor.document());
            cursor.setPosition(r.start);
            cursor.setPosition(r.start + r.length, QTextCursor::KeepAnchor);
            words.append(cursor.selectedText());
        }
        return words;
    }

    // The words the editor paints underlined now, as written: found in its
    // pixels (red under the word), which may differ from what the checking
    // believes it shows.
    QStringList drawn() const {
        const QImage shot = editor.viewport()->grab().toImage();
        static const QRegularExpression wordPattern(QStringLiteral("\\w+"));
        QStringList words;
        for (QTextBlock b = editor.document()->begin(); b.isValid(); b = b.next()) {
            auto found = wordPattern.globalMatch(b.text());
            while (found.hasNext()) {
                const QRegularExpressionMatch word = found.next();
                QTextCursor cursor(editor.document());
                cursor.setPosition(b.position() + int(word.capturedStart()));
                const QRect first = editor.cursorRect(cursor);
                cursor.setPosition(b.position() + int(word.capturedEnd()));
                const QRect end = editor.cursorRect(cursor);
                if (redUnder(shot, first.left() + 1, end.left() - 1, first.center().y(),
                             first.bottom() + 4)) {
                    words.append(word.captured());
                }
            }
        }
        return words;
    }

    static bool redUnder(const QImage& shot, int left, int right, int top, int bottom) {
        for (int y = std::max(0, top); y <= std::min(bottom, shot.height() - 1); ++y) {
            for (int x = std::max(0, left); x <= std::min(right, shot.width() - 1); ++x) {
                const QRgb pixel = shot.pixel(x, y);
                if (qRed(pixel) > 160 && qGreen(pixel) < 100 && qBlue(pixel) < 100) {
                    return true;
                }
            }
        }
        return false;
    }

    // Right-clicks the middle of the character at `position`.
    void rightClickAt(int position) {
        QTextCursor cursor(editor.document());
        cursor.setPosition(position);
        const QRect before = editor.cursorRect(cursor);
        cursor.setPosition(position + 1);
        const QPoint at((before.left() + editor.cursorRect(cursor).left()) / 2,
                        before.center().y());
        QTest::mousePress(editor.viewport(), Qt::RightButton, Qt::NoModifier, at);
        QTest::mouseRelease(editor.viewport(), Qt::RightButton, Qt::NoModifier, at);
    }

    QStringList itemTexts() const {
        QStringList texts;
        for (QAction* a : checking.menuItems()) {
            texts.append(a->isSeparator() ? QStringLiteral("-") : a->text());
        }
        return texts;
    }

    QAction* item(const QString& text) const {
        for (QAction* a : checking.menuItems()) {
            if (a->text() == text) {
                return a;
            }
        }
        return nullptr;
    }

    RichEditor editor;
    QMenu menu;
    SpellChecking checking{&editor, &menu};
    bool ready = false;
    QString readyTag;
    QString readyError;
};

}  // namespace quillmere
