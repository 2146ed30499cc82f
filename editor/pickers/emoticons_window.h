// The emoticon picker: a borderless window of 29 pictures. Hovering over a
// picture shows its name and text shortcut; clicking one puts the picture on
// the clipboard and closes the window, and the main window then pastes it
// into the entry. The window is made once at start and reused.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>

#include <optional>

class QLabel;

namespace quillmere {

class TRbButton;
class TRbPanel;

// Puts an emoticon's picture on the system clipboard, replacing what was
// there, in a form the editor's Paste turns into a stored picture.
void copyEmoticonToClipboard(const QImage& image);

// One picture of the picker: drawn over its parent's background, with a hand
// cursor; it reports mouse moves over it and clicks (press and release on it
// with the left button, or Enter or Space while it has the focus). Tab and
// the arrow keys reach it; it then shows a dotted focus mark. Focus given
// with the window shows no mark until a key is pressed, which then only
// shows the mark. Screen readers
// find it as a button named by its accessibleName.
class EmoticonImage : public QWidget {
    Q_OBJECT
public:
    EmoticonImage(QWidget* parent, int tag, const QImage& picture);

    int Tag() const { return tag_; }
    const QImage& Picture() const { return picture_; }

signals:
    void mouseMoved(Qt::KeyboardModifiers shift, int x, int y);
    void clicked();
    // The keyboard brought the focus to it (the window shows its text as on
    // hovering).
    void focused();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int tag_;
    QImage picture_;
    bool pressed_ = false;
    // The focus came by Tab, Shift+Tab or an arrow (or a key was pressed
    // since): the focus mark shows.
    bool keyboardFocus_ = false;
};

class TfrmEmoticons : public QDialog {
    Q_OBJECT
public:
    // Builds the window and draws its pictures (FormCreate).
    explicit TfrmEmoticons(QWidget* parent = nullptr);

    // True when the last showing ended with a click on a picture; the main
    // window clears it after using it.
    bool EmoticonPicked = false;

    // The picture component of a tag (null outside 1..29).
    EmoticonImage* imageOfTag(int tag) const;

    // Hover: Label1 shows the hover text of the sender's tag; a tag outside
    // 1..29 leaves it as it is. Leaving a picture never clears it.
    void Image2MouseMove(EmoticonImage* Sender, Qt::KeyboardModifiers Shift, int X, int Y);
    // Click: EmoticonPicked := true, the sender's picture goes on the
    // clipboard and the window closes.
    void Image2Click(EmoticonImage* Sender);
    // Close: the window closes; nothing is picked and the clipboard is left
    // alone.
    void btnCloseClick();

    TRbPanel* RbPanel3 = nullptr;  // title, moves the window
    TRbPanel* RbPanel1 = nullptr;  // the pictures and Label1
    TRbPanel* RbPanel2 = nullptr;  // button bar
    QLabel* Label1 = nullptr;
    TRbButton* btnClose = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void buildPictures();
    // A press on the title panel starts moving the window: the window
    // manager moves it where it can, else the window follows the mouse
    // until the button is released.
    void RbPanel3MouseDown(const QPointF& globalPos);
    void centreOnOwner();

    // Where the window was grabbed, relative to its top-left corner, while
    // it follows the mouse.
    std::optional<QPoint> dragOffset_;
};

}  // namespace quillmere
