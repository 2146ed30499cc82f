#include "controls/popup_placement.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <vector>

namespace quillmere {

namespace {

// Differences up to this many pixels come from rounding on scaled screens.
constexpr int kTolerance = 1;

// The top-left corner of a window's client area on the screen as a press
// shows it: the press on the screen less the press inside the window.
QPoint pressedWindowOrigin(QPointF globalPos, QPointF posInWindow) {
    return (globalPos - posInWindow).toPoint();
}

// Watches the mouse presses of the application for the windows it was given.
class PositionWatcher : public QObject {
public:
    static PositionWatcher& instance() {
        static auto* watcher = new PositionWatcher(qApp);
        return *watcher;
    }

    void watch(QWidget* window) {
        std::erase_if(windows_, [](const QPointer<QWidget>& w) { return w.isNull(); });
        windows_.emplace_back(window);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
            correct(*static_cast<QWidget*>(watched), *static_cast<QMouseEvent*>(event));
        }
        return false;
    }

private:
    explicit PositionWatcher(QObject* parent) : QObject(parent) { qApp->installEventFilter(this); }

    bool watches(const QWidget* window) const {
        for (const QPointer<QWidget>& w : windows_) {
            if (w == window) {
                return true;
            }
        }
        return false;
    }

    void correct(QWidget& pressed, const QMouseEvent& mouse) {
        QWidget* window = pressed.window();
        if (!watches(window) || window->windowHandle() == nullptr) {
            return;
        }
        const QPoint actual =
            pressedWindowOrigin(mouse.globalPosition(), pressed.mapTo(window, mouse.position()));
        const QPoint believed = window->mapToGlobal(QPoint(0, 0));
        if ((actual - believed).manhattanLength() > kTolerance) {
            window->windowHandle()->setPosition(actual);
        }
    }

    std::vector<QPointer<QWidget>> windows_;
};

}  // namespace

void keepPopupsAtTheirBoxes(QWidget* window) {
    if (window != nullptr && qApp != nullptr) {
        PositionWatcher::instance().watch(window);
    }
}

}  // namespace quillmere
