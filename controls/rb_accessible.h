// What screen readers learn about the drawn controls. The panels, buttons,
// check box and progress bar paint themselves, so Qt knows neither their role
// nor their text; the interfaces made here tell it: a button is a push button
// named by its caption (or its hint when the caption is only dots) that can
// be pressed, the check box a check box with its checked state that can be
// toggled, a panel with a shown caption a named group, the progress bar a
// progress bar with its value and its text.
#pragma once

#include <QAccessibleWidget>

namespace quillmere {

class TRbButton;
class TRbCheckBox;
class TRbPanel;
class TProgressCyl;

// Registers the interfaces below with QAccessible::installFactory. Safe to
// call any number of times; the drawn controls call it when they are made.
void InstallDrawnControlsAccessibility();

// The accessible name of a drawn control: the widget's accessibleName when
// set, else `caption` without its accelerator marks ("&&" stays one "&"),
// else, for a caption without a letter or digit ("..."), the `hint`.
QString AccessibleCaption(const QWidget* widget, const QString& caption, const QString& hint);

// Tell assistive tools that the control's name (caption), checked state or
// value changed. Cheap when no tool listens.
void NotifyAccessibleNameChanged(QWidget* control);
// Where the notices go: QAccessible::updateAccessibility while an assistive
// tool listens (the default, nullptr), or the given function, which then
// receives every notice (tests record them; the headless platform has no
// assistive tools). Returns the previous function.
using AccessibleNoticeSink = void (*)(QAccessibleEvent* event);
AccessibleNoticeSink SetAccessibleNoticeSink(AccessibleNoticeSink sink);
void NotifyAccessibleCheckedChanged(QWidget* control);
// Tell assistive tools that states of `control` flipped (busy, ...), or that
// its description changed (a status to be read out).
void NotifyAccessibleStateChanged(QWidget* control, QAccessible::State changed);
void NotifyAccessibleDescriptionChanged(QWidget* control);
void NotifyAccessibleValueChanged(QWidget* control, int value);

class TRbButtonAccessible : public QAccessibleWidget {
public:
    explicit TRbButtonAccessible(TRbButton* button);
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    TRbButton* button() const;
};

class TRbCheckBoxAccessible : public QAccessibleWidget {
public:
    explicit TRbCheckBoxAccessible(TRbCheckBox* box);
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    TRbCheckBox* box() const;
};

class TRbPanelAccessible : public QAccessibleWidget {
public:
    explicit TRbPanelAccessible(TRbPanel* panel);
    QString text(QAccessible::Text t) const override;
    QAccessible::Role role() const override;

private:
    TRbPanel* panel() const;
};

class TProgressCylAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit TProgressCylAccessible(TProgressCyl* bar);
    void* interface_cast(QAccessible::InterfaceType t) override;
    QString text(QAccessible::Text t) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant&) override {}  // read only
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override { return 0; }

private:
    TProgressCyl* bar() const;
};

}  // namespace quillmere
