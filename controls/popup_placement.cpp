#include "controls/popup_placement.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <vector>

namespace quillmere {

namespace {

// Differences up to this many pixels come from rounding on scaled screens.
constexpr int kTolerance = 1;

// Watches the pointer events of the windows it was given, as the window
// system delivers them to their native windows: each carries the pointer's
// position on the screen and in the window.
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
        const QEvent::Type type = event->type();
        if (watched->isWindowType() && (type == QEvent::MouseButtonPress ||
                                        type == QEvent::MouseMove || type == QEvent::Enter)) {
            auto* window = static_cast<QWindow*>(watched);
            if (watches(window)) {
                const auto* pointer = static_cast<const QSinglePointEvent*>(event);
                correct(*window, pointer->globalPosition() - pointer->position());
            }
        }
        return false;
    }

private:
    explicit PositionWatcher(QObject* parent) : QObject(parent) { qApp->installEventFilter(this); }

    // The native window of a watched widget (made anew each time the widget
    // is shown again on some systems).
    bool watches(const QWindow* window) const {
        for (const QPointer<QWidget>& w : windows_) {
            if (w != nullptr && w->windowHandle() == window) {
                return true;
            }
        }
        return false;
    }

    // `actual` is the top-left corner of the window's client area on the
    // screen as the pointer event shows it.
    static void correct(QWindow& window, QPointF actual) {
        const QPoint shown = actual.toPoint();
        const QPoint believed = window.mapToGlobal(QPoint(0, 0));
        if ((shown - believed).manhattanLength() > kTolerance) {
            window.setPosition(shown);
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
