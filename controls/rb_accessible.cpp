#include "controls/rb_accessible.h"

#include "controls/progress_cyl.h"
#include "controls/rb_button.h"
#include "controls/rb_check_box.h"
#include "controls/rb_panel.h"

#include <QKeySequence>

namespace quillmere {

namespace {

// Removes accelerator marks the way the caption drawing reads them.
QString withoutAccelerators(const QString& caption) {
    QString text;
    text.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&')) {
            if (i + 1 >= caption.size()) {
                break;
            }
            ++i;
        }
        text += caption.at(i);
    }
    return text;
}

bool hasWord(const QString& text) {
    for (QChar c : text) {
        if (c.isLetterOrNumber()) {
            return true;
        }
    }
    return false;
}

// Made once per drawn control the first time an assistive tool asks for it.
QAccessibleInterface* drawnControlFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(TRbButton::staticMetaObject.className())) {
        return new TRbButtonAccessible(static_cast<TRbButton*>(object));
    }
    if (className == QLatin1String(TRbCheckBox::staticMetaObject.className())) {
        return new TRbCheckBoxAccessible(static_cast<TRbCheckBox*>(object));
    }
    if (className == QLatin1String(TRbPanel::staticMetaObject.className())) {
        return new TRbPanelAccessible(static_cast<TRbPanel*>(object));
    }
    if (className == QLatin1String(TProgressCyl::staticMetaObject.className())) {
        return new TProgressCylAccessible(static_cast<TProgressCyl*>(object));
    }
    return nullptr;
}

}  // namespace

void InstallDrawnControlsAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(drawnControlFactory);
        return true;
    }();
    (void)installed;
}

QString AccessibleCaption(const QWidget* widget, const QString& caption, const QString& hint) {
    if (!widget->accessibleName().isEmpty()) {
        return widget->accessibleName();
    }
    const QString text = withoutAccelerators(caption);
    if (!hasWord(text) && !hint.isEmpty()) {
        return hint;
    }
    return text;
}

namespace {

AccessibleNoticeSink noticeSink = nullptr;

bool anyoneListens() {
    return noticeSink != nullptr || QAccessible::isActive();
}

void deliver(QAccessibleEvent* event) {
    if (noticeSink != nullptr) {
        noticeSink(event);
    } else {
        QAccessible::updateAccessibility(event);
    }
}

}  // namespace

AccessibleNoticeSink SetAccessibleNoticeSink(AccessibleNoticeSink sink) {
    const AccessibleNoticeSink previous = noticeSink;
    noticeSink = sink;
    return previous;
}

void NotifyAccessibleNameChanged(QWidget* control) {
    if (anyoneListens()) {
        QAccessibleEvent event(control, QAccessible::NameChanged);
        deliver(&event);
    }
}

void NotifyAccessibleCheckedChanged(QWidget* control) {
    if (anyoneListens()) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(control, changed);
        deliver(&event);
    }
}

void NotifyAccessibleStateChanged(QWidget* control, QAccessible::State changed) {
    if (anyoneListens()) {
        QAccessibleStateChangeEvent event(control, changed);
        deliver(&event);
    }
}

void NotifyAccessibleDescriptionChanged(QWidget* control) {
    if (anyoneListens()) {
        QAccessibleEvent event(control, QAccessible::DescriptionChanged);
        deliver(&event);
    }
}

void NotifyAccessibleValueChanged(QWidget* control, int value) {
    if (anyoneListens()) {
        QAccessibleValueChangeEvent event(control, value);
        deliver(&event);
    }
}

// --- Button ------------------------------------------------------------------

TRbButtonAccessible::TRbButtonAccessible(TRbButton* button)
    : QAccessibleWidget(button, QAccessible::Button) {}

TRbButton* TRbButtonAccessible::button() const {
    return static_cast<TRbButton*>(widget());
}

QString TRbButtonAccessible::text(QAccessible::Text t) const {
    switch (t) {
        case QAccessible::Name:
            return AccessibleCaption(button(),
                                     button()->ShowCaption() ? button()->Caption() : QString(),
                                     button()->toolTip());
        case QAccessible::Description:
            if (!button()->accessibleDescription().isEmpty()) {
                return button()->accessibleDescription();
            }
            // The hint, unless it is already the name.
            return text(QAccessible::Name) == button()->toolTip() ? QString() : button()->toolTip();
        default:
            return QAccessibleWidget::text(t);
    }
}

QAccessible::State TRbButtonAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    const TRbButton* b = button();
    s.pressed = b->Down() || (b->Pressed() && b->MouseOver());
    s.defaultButton = b->Default();
    if (b->GroupIndex() > 0) {
        s.checkable = true;
        s.checked = b->Down();
    }
    s.hotTracked = b->MouseOver();
    return s;
}

QStringList TRbButtonAccessible::actionNames() const {
    return {pressAction()};
}

void TRbButtonAccessible::doAction(const QString& actionName) {
    if (actionName == pressAction() && button()->isEnabled()) {
        button()->Click();
    }
}

QStringList TRbButtonAccessible::keyBindingsForAction(const QString& actionName) const {
    // A window-wide key that presses the button is kept with it, so the
    // screen reader can tell it (see "quillmereShortcut").
    const QVariant keys = button()->property("quillmereShortcut");
    if (actionName == pressAction() && keys.isValid()) {
        return {keys.value<QKeySequence>().toString(QKeySequence::NativeText)};
    }
    return {};
}

// --- Check box -----------------------------------------------------------------

TRbCheckBoxAccessible::TRbCheckBoxAccessible(TRbCheckBox* box)
    : QAccessibleWidget(box, QAccessible::CheckBox) {}

TRbCheckBox* TRbCheckBoxAccessible::box() const {
    return static_cast<TRbCheckBox*>(widget());
}

QString TRbCheckBoxAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name) {
        return AccessibleCaption(box(), box()->ShowCaption() ? box()->Caption() : QString(),
                                 box()->toolTip());
    }
    return QAccessibleWidget::text(t);
}

QAccessible::State TRbCheckBoxAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.checkable = true;
    s.checked = box()->Checked();
    s.pressed = box()->Pressed();
    s.hotTracked = box()->MouseOver();
    return s;
}

QStringList TRbCheckBoxAccessible::actionNames() const {
    return {toggleAction()};
}

void TRbCheckBoxAccessible::doAction(const QString& actionName) {
    if (actionName == toggleAction() && box()->isEnabled()) {
        box()->Toggle();
    }
}

// --- Panel -----------------------------------------------------------------------

TRbPanelAccessible::TRbPanelAccessible(TRbPanel* panel)
    : QAccessibleWidget(panel, QAccessible::Grouping) {}

TRbPanel* TRbPanelAccessible::panel() const {
    return static_cast<TRbPanel*>(widget());
}

QString TRbPanelAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name) {
        return AccessibleCaption(panel(), panel()->ShowCaption() ? panel()->Caption() : QString(),
                                 QString());
    }
    return QAccessibleWidget::text(t);
}

QAccessible::Role TRbPanelAccessible::role() const {
    // A panel that shows no caption is only a frame around other controls.
    return text(QAccessible::Name).isEmpty() ? QAccessible::Pane : QAccessible::Grouping;
}

// --- Progress bar ------------------------------------------------------------------

TProgressCylAccessible::TProgressCylAccessible(TProgressCyl* bar)
    : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

TProgressCyl* TProgressCylAccessible::bar() const {
    return static_cast<TProgressCyl*>(widget());
}

void* TProgressCylAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::ValueInterface) {
        return static_cast<QAccessibleValueInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(t);
}

QString TProgressCylAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value) {
        return bar()->displayText();
    }
    return QAccessibleWidget::text(t);
}

QVariant TProgressCylAccessible::currentValue() const {
    return bar()->position();
}

QVariant TProgressCylAccessible::maximumValue() const {
    return bar()->max();
}

QVariant TProgressCylAccessible::minimumValue() const {
    return bar()->min();
}

}  // namespace quillmere
