// The editor's find dialog: a modeless window with the find text, the
// match-case and whole-word options, the direction (up or down), and the
// Find Next and Cancel buttons. It only asks; the formatting commands run the
// search in the editor and move the dialog off the text found.
#pragma once

#include "editor/text_find.h"

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QString>

#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quillmere {

class FindDialog : public QDialog {
    Q_OBJECT
public:
    // A top-level window owned by `owner` (it stays above the owner's window
    // and is destroyed with it); not modal.
    explicit FindDialog(QWidget* owner);

    QString findText() const;
    void setFindText(const QString& text);
    // The options as chosen: direction down is forward.
    FindOptions options() const;
    void setOptions(const FindOptions& options);

    // Runs the Find Next button (does nothing while the find text is empty).
    void findNext();

    QLineEdit* edtFind = nullptr;
    QCheckBox* chkWholeWord = nullptr;
    QCheckBox* chkMatchCase = nullptr;
    QRadioButton* rbUp = nullptr;
    QRadioButton* rbDown = nullptr;
    QPushButton* btnFindNext = nullptr;
    QPushButton* btnCancel = nullptr;

signals:
    // Find Next was chosen with a non-empty find text.
    void findNextRequested(const QString& text, const FindOptions& options);

private:
    void updateFindNextEnabled();
};

// Where the find dialog goes after a hit so that it does not cover it, all in
// screen coordinates: `dialog` is the dialog's frame, `hitStart` the top-left
// of the hit's first character, `hitEnd` that of the position after the hit.
// The dialog covers the hit when it contains `hitStart` or `hitEnd` moved 20
// pixels down. Then, when the dialog's height + 20 is less than the hit's y,
// the dialog's bottom edge goes 20 pixels above the hit; otherwise, when the
// dialog's height + the hit's y is less than `screenHeight`, its top edge
// goes 40 pixels below the hit. Returns the new top-left, or nothing when
// the dialog stays where it is. The left edge never changes.
std::optional<QPoint> findDialogPositionOffHit(const QRect& dialog, const QPoint& hitStart,
                                               const QPoint& hitEnd, int screenHeight);

}  // namespace quillmere
