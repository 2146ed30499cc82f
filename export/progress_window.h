// TfrmProgress: the small stay-on-top window shown while all entries are
// exported: a heading, a looping picture, a cancel button, the cylinder
// progress bar and the counter of entries handled. It is created once and
// only hidden between exports; closing it with its close box hides it and
// does not cancel the export.
#pragma once

#include <QDialog>
#include <QFrame>

class QLabel;

namespace quillmere {

class TFrameAnimator;
class TProgressCyl;
class TRbButton;

// The window's white background panel: a sunken single border, a raised
// bevel of 2 pixels and a 1-pixel margin.
class TProgressPanel : public QFrame {
    Q_OBJECT

public:
    static constexpr int kBorderWidth = 2;  // the single border's two rings
    static constexpr int kBevelWidth = 2;
    static constexpr int kMarginWidth = 1;

    explicit TProgressPanel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

class TfrmProgress : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 290;
    static constexpr int kClientHeight = 201;

    // Builds the window and its controls (hidden); the picture starts playing.
    explicit TfrmProgress(QWidget* parent = nullptr);

    // Shows the window (not modal), centred on `owner` when given and shown,
    // else on the screen, and brings it to the front.
    void showCentredOn(QWidget* owner);

    // Lets window messages through until the window system has put the shown
    // window on the screen (at most `timeoutMs`), so its place is known to the
    // boxes that must keep clear of it. Returns whether it is on the screen.
    bool waitUntilPlaced(int timeoutMs = 1000);

    // The cancel button's click: "Finalizing...", then cancelRequested, then
    // pending window messages are let through.
    void btnCancelClick();

    TProgressPanel* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    TFrameAnimator* RxGIFAnimator1 = nullptr;
    TRbButton* btnCancel = nullptr;
    TProgressCyl* xipZip = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* lblCount = nullptr;

signals:
    // The user asked to stop the export.
    void cancelRequested();

private:
    void buildControls();
    void setUpProgressBar();
};

// The cancel button's picture: a white square on a red disc, 24 x 24.
QImage cancelGlyph();

}  // namespace quillmere
