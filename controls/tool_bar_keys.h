// A tool bar used from the keyboard as desktop tool bars are: enter() puts
// the focus on a button (the one used last, else the first enabled one),
// Left and Right move along the enabled buttons (wrapping round), Home and
// End go to the first and last, Enter or Space runs the focused button, and
// Escape hands the focus back. After a command the focus goes back too,
// unless the command moved it elsewhere (a dialog, another window). The
// buttons keep no Tab stop and never take the focus from a click, so the
// mouse finds the tool bar as it was.
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QToolBar;
class QToolButton;
class QWidget;

namespace quillmere {

class ToolBarKeys : public QObject {
    Q_OBJECT
public:
    // Watches the buttons `toolBar` holds now and later. `returnTo` names the
    // widget that gets the focus back (the entry); it may return null.
    ToolBarKeys(QToolBar* toolBar, std::function<QWidget*()> returnTo);

    // Moves the focus onto the tool bar. Returns false (and leaves the focus
    // where it was) when no button is enabled and visible.
    bool enter();
    // Gives the focus back to the widget named by `returnTo`.
    void leave();
    // The button that has the focus, or null when the focus is elsewhere.
    QToolButton* focusedButton() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QToolButton*> usableButtons() const;
    void focusButton(QToolButton* button);
    void step(QToolButton* from, int direction);
    void run(QToolButton* button);
    void watch(QToolButton* button);

    QToolBar* toolBar_;
    std::function<QWidget*()> returnTo_;
    QPointer<QToolButton> last_;
};

}  // namespace quillmere
