// Drop-down lists open at their box even when Qt keeps a stale position for
// their window (as it can under a window manager for a frameless window just
// shown): a mouse press shows where the window really is.
#include "controls/popup_placement.h"

#include "rb_test_app.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace quillmere {
namespace {

class PopupPlacementTest : public ::testing::Test {
protected:
    PopupPlacementTest() {
        rbtest::ensureApp();
        window = std::make_unique<QDialog>(nullptr, Qt::FramelessWindowHint);
        window->resize(300, 200);
        box = new QComboBox(window.get());
        box->setGeometry(30, 40, 150, 24);
        box->addItems({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")});
        window->move(0, 0);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    ~PopupPlacementTest() override { box->hidePopup(); }

    // A press 10 pixels into the box, the window being at `windowOnScreen`.
    void pressBox(QPoint windowOnScreen) {
        const QPointF local(10, 10);
        QMouseEvent press(QEvent::MouseButtonPress, local,
                          QPointF(windowOnScreen + box->pos()) + local, Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &press);
    }

    std::unique_ptr<QDialog> window;
    QComboBox* box = nullptr;
};

TEST_F(PopupPlacementTest, ListOpensAtItsBoxWhereverTheWindowReallyIs) {
    keepPopupsAtTheirBoxes(window.get());
    const QPoint onScreen(400, 300);
    pressBox(onScreen);
    QWidget* list = box->view()->window();
    ASSERT_TRUE(list->isVisible());
    EXPECT_NEAR(onScreen.x() + box->x(), list->geometry().left(), 4);
    EXPECT_EQ(onScreen, window->mapToGlobal(QPoint(0, 0)));
}

TEST_F(PopupPlacementTest, AgreeingPressLeavesTheWindowAlone) {
    keepPopupsAtTheirBoxes(window.get());
    const QPoint believed = window->mapToGlobal(QPoint(0, 0));
    pressBox(believed + QPoint(1, 0));  // a pixel of rounding
    EXPECT_EQ(believed, window->mapToGlobal(QPoint(0, 0)));
}

}  // namespace
}  // namespace quillmere
