// What assistive tools are told about the drawn controls: names from captions
// and hints, roles, states, the press and toggle actions, the progress value,
// and the change notices they listen for.
#include "controls/rb_accessible.h"
#include "controls/progress_cyl.h"
#include "controls/rb_button.h"
#include "controls/rb_check_box.h"
#include "controls/rb_panel.h"

#include "rb_test_app.h"
#include "test_support.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QSignalSpy>
#include <QWidget>

#include <vector>

using namespace quillmere;

namespace {

struct NameCase {
    const char* label;
    const char* caption;
    const char* hint;
    const char* accessibleName;
    const char* expected;
};

class AccessibleNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(AccessibleNameTest, ComesFromTheCaptionOrTheHint) {
    rbtest::ensureApp();
    const NameCase& c = GetParam();
    TRbButton button(nullptr, QStringLiteral("btnTest"));
    button.SetCaption(QString::fromUtf8(c.caption));
    button.setToolTip(QString::fromUtf8(c.hint));
    button.setAccessibleName(QString::fromUtf8(c.accessibleName));
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&button);
    ASSERT_NE(nullptr, iface);
    EXPECT_EQ(QString::fromUtf8(c.expected), iface->text(QAccessible::Name)) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Names, AccessibleNameTest,
    ::testing::Values(
        NameCase{"nominal: the caption", "Previous", "", "", "Previous"},
        NameCase{"nominal: accelerator mark dropped", "&Login", "", "", "Login"},
        NameCase{"nominal: a doubled ampersand is one", "Fish && Chips", "", "", "Fish & Chips"},
        NameCase{"nominal: dots only, the hint names it", "...", "Settings...", "", "Settings..."},
        NameCase{"robustness: dots only without a hint", "...", "", "", "..."},
        NameCase{"robustness: trailing ampersand dropped", "Save&", "", "", "Save"},
        NameCase{"nominal: an explicit name wins", "...", "Settings...", "Preferences",
                 "Preferences"}));

TEST(RbButtonAccessible, IsAPushButtonThatCanBePressed) {
    rbtest::ensureApp();
    TRbButton button(nullptr, QStringLiteral("btnNext"));
    button.SetCaption(QStringLiteral("Next"));
    QSignalSpy clicks(&button, &TRbButton::OnClick);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&button);
    EXPECT_EQ(QAccessible::Button, iface->role());
    EXPECT_TRUE(iface->state().focusable);
    EXPECT_FALSE(iface->state().checkable);
    QAccessibleActionInterface* actions = iface->actionInterface();
    ASSERT_NE(nullptr, actions);
    EXPECT_EQ(QStringList{QAccessibleActionInterface::pressAction()}, actions->actionNames());
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(1, clicks.count());
    actions->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(1, clicks.count()) << "only the press action";

    button.setEnabled(false);
    EXPECT_TRUE(iface->state().disabled);
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(1, clicks.count()) << "a disabled button is not pressed";
}

TEST(RbButtonAccessible, StatesFollowDefaultAndGroupedDown) {
    rbtest::ensureApp();
    QWidget parent;
    auto* a = new TRbButton(&parent, QStringLiteral("a"));
    auto* b = new TRbButton(&parent, QStringLiteral("b"));
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    a->SetDefault(true);
    QAccessibleInterface* ia = QAccessible::queryAccessibleInterface(a);
    QAccessibleInterface* ib = QAccessible::queryAccessibleInterface(b);
    EXPECT_TRUE(ia->state().defaultButton);
    EXPECT_FALSE(ib->state().defaultButton);
    EXPECT_TRUE(ia->state().checkable);
    a->SetDown(true);
    EXPECT_TRUE(ia->state().checked);
    EXPECT_FALSE(ib->state().checked);
    ib->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(ia->state().checked) << "pressing the other button of the group releases it";
    EXPECT_TRUE(ib->state().checked);
}

TEST(RbCheckBoxAccessible, IsACheckBoxWithItsStateAndAToggle) {
    rbtest::ensureApp();
    TRbCheckBox box(nullptr, QStringLiteral("chkSkip"));
    box.SetCaption(QStringLiteral("Skip empty entries"));
    QSignalSpy clicks(&box, &TRbCheckBox::OnClick);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&box);
    EXPECT_EQ(QAccessible::CheckBox, iface->role());
    EXPECT_EQ(QStringLiteral("Skip empty entries"), iface->text(QAccessible::Name));
    EXPECT_TRUE(iface->state().checkable);
    EXPECT_FALSE(iface->state().checked);
    ASSERT_NE(nullptr, iface->actionInterface());
    EXPECT_EQ(QStringList{QAccessibleActionInterface::toggleAction()},
              iface->actionInterface()->actionNames());
    iface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(box.Checked());
    EXPECT_TRUE(iface->state().checked);
    EXPECT_EQ(1, clicks.count()) << "the toggle runs the click event as a mouse click does";
    box.setEnabled(false);
    iface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(box.Checked()) << "a disabled check box does not toggle";
}

struct PanelCase {
    const char* label;
    const char* caption;
    bool showCaption;
    QAccessible::Role role;
    const char* name;
};

class RbPanelAccessible : public ::testing::TestWithParam<PanelCase> {};

TEST_P(RbPanelAccessible, IsAGroupNamedByItsShownCaptionOrAPlainPane) {
    rbtest::ensureApp();
    const PanelCase& c = GetParam();
    TRbPanel panel(nullptr, QStringLiteral("RbPanel1"));
    panel.SetCaption(QString::fromUtf8(c.caption));
    panel.SetShowCaption(c.showCaption);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&panel);
    EXPECT_EQ(c.role, iface->role()) << c.label;
    EXPECT_EQ(QString::fromUtf8(c.name), iface->text(QAccessible::Name)) << c.label;
    EXPECT_FALSE(iface->state().focusable) << "Tab passes panels by";
}

INSTANTIATE_TEST_SUITE_P(Panels, RbPanelAccessible,
                         ::testing::Values(PanelCase{"nominal: a title bar", "Settings", true,
                                                     QAccessible::Grouping, "Settings"},
                                           PanelCase{"nominal: a button bar without caption", "",
                                                     true, QAccessible::Pane, ""},
                                           PanelCase{"nominal: a caption not shown", "RbPanel3",
                                                     false, QAccessible::Pane, ""}));

TEST(ProgressCylAccessible, ReportsItsRangeValueAndText) {
    rbtest::ensureApp();
    TProgressCyl bar;
    bar.setMax(200);
    bar.setPosition(90);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&bar);
    EXPECT_EQ(QAccessible::ProgressBar, iface->role());
    QAccessibleValueInterface* value = iface->valueInterface();
    ASSERT_NE(nullptr, value);
    EXPECT_EQ(0, value->minimumValue().toInt());
    EXPECT_EQ(200, value->maximumValue().toInt());
    EXPECT_EQ(90, value->currentValue().toInt());
    EXPECT_EQ(QStringLiteral("45%"), iface->text(QAccessible::Value));
    value->setCurrentValue(10);
    EXPECT_EQ(90, bar.position()) << "a screen reader cannot move the bar";
}

// Records the notices the controls send while an assistive tool listens.
class NoticeRecorder {
public:
    NoticeRecorder() : previous_(SetAccessibleNoticeSink(&NoticeRecorder::record)) {
        events().clear();
    }
    ~NoticeRecorder() { SetAccessibleNoticeSink(previous_); }
    struct Notice {
        QObject* object;
        QAccessible::Event type;
        QVariant value;
        bool checkedChanged;
    };
    static std::vector<Notice>& events() {
        static std::vector<Notice> list;
        return list;
    }

private:
    AccessibleNoticeSink previous_;

    static void record(QAccessibleEvent* event) {
        Notice n{event->object(), event->type(), {}, false};
        if (event->type() == QAccessible::ValueChanged) {
            n.value = static_cast<QAccessibleValueChangeEvent*>(event)->value();
        }
        if (event->type() == QAccessible::StateChanged) {
            n.checkedChanged =
                static_cast<QAccessibleStateChangeEvent*>(event)->changedStates().checked;
        }
        events().push_back(n);
    }
};

int countOf(QObject* object, QAccessible::Event type) {
    int n = 0;
    for (const auto& e : NoticeRecorder::events()) {
        n += e.object == object && e.type == type ? 1 : 0;
    }
    return n;
}

TEST(DrawnControlNotices, CaptionCheckedAndValueChangesAreAnnounced) {
    rbtest::ensureApp();
    TRbPanel header(nullptr, QStringLiteral("RbPanel1"));
    TRbCheckBox box(nullptr, QStringLiteral("chkSkip"));
    TProgressCyl bar;
    NoticeRecorder recorder;

    header.SetCaption(QStringLiteral("05 March 2024"));
    header.SetCaption(QStringLiteral("05 March 2024"));
    EXPECT_EQ(1, countOf(&header, QAccessible::NameChanged)) << "only a new caption";

    box.SetChecked(true);
    box.SetChecked(true);
    ASSERT_EQ(1, countOf(&box, QAccessible::StateChanged)) << "only a change of state";

    bar.setPosition(50);
    ASSERT_EQ(1, countOf(&bar, QAccessible::ValueChanged));
    for (const auto& e : NoticeRecorder::events()) {
        if (e.object == &box) {
            EXPECT_TRUE(e.checkedChanged);
        }
        if (e.object == &bar) {
            EXPECT_EQ(50, e.value.toInt());
        }
    }
}

}  // namespace
