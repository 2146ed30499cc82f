// Where the activation of a window came from: another window of this program
// (and whether that one was modal), also one that was just closed and handed
// the focus on, or outside the program (the user came back from another
// program).
#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace quillmere {

class ActivationSource : public QObject {
public:
    // Watches the activation of every window of the application from now on
    // (an event filter on the application object); a child of `parent`.
    explicit ActivationSource(QObject* parent);
    ~ActivationSource() override;

    // Valid while a window's WindowActivate event is delivered: the window of
    // the program that was active before it, or nullptr when the program had
    // no active window.
    QWidget* previous() const { return previous_; }
    // Whether that window was modal while it was active.
    bool previousWasModal() const { return previousModal_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> current_;
    bool currentModal_ = false;
    QPointer<QWidget> previous_;
    bool previousModal_ = false;
};

}  // namespace quillmere
