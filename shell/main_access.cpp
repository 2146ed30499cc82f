// The main window for screen readers and the About box: the window is a
// frame (not a filler), busy while a scan or an export holds the journal;
// the entry is named after the day it holds ("Entry for 10 December 2026").
#include "controls/rb_accessible.h"
#include "editor/rich_editor.h"
#include "shell/about_box.h"
#include "shell/main_window.h"
#include "store/day.h"
#include "store/day_caption.h"
#include "store/journal_session.h"

#include <QAccessibleWidget>
#include <QToolBar>

namespace quillmere {

namespace {

class MainWindowAccessible : public QAccessibleWidget {
public:
    explicit MainWindowAccessible(TfrmMain* window)
        : QAccessibleWidget(window, QAccessible::Window) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.busy = static_cast<TfrmMain*>(widget())->session().busy();
        return s;
    }
};

QAccessibleInterface* mainWindowFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(TfrmMain::staticMetaObject.className()) && object != nullptr &&
        object->isWidgetType()) {
        return new MainWindowAccessible(static_cast<TfrmMain*>(object));
    }
    return nullptr;
}

}  // namespace

void TfrmMain::buildAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(mainWindowFactory);
        return true;
    }();
    (void)installed;
    setAccessibleName(windowTitle());
    ToolBar1->setAccessibleName(tr("Tool bar"));
    connect(&session_, &JournalSession::busyChanged, this, [this] {
        QAccessible::State changed;
        changed.busy = true;
        NotifyAccessibleStateChanged(this, changed);
    });
    connect(&session_, &JournalSession::currentDayChanged, this, &TfrmMain::nameEditorAfterDay);
    Editor->setAccessibleName(tr("Entry"));
}

void TfrmMain::nameEditorAfterDay(double day) {
    //: %1 is the day, as "10 December 2026".
    Editor->setAccessibleName(tr("Entry for %1").arg(DayCaption(dateFromDay(day))));
    NotifyAccessibleNameChanged(Editor);
}

void TfrmMain::showAbout() {
    AboutBox box(this);
    box.exec();
}

}  // namespace quillmere
