// Drop-down lists open at their box even when Qt keeps a stale position for
// their window (as it can under a window manager for a frameless window just
// shown): the pointer shows where the window really is.
#include "controls/popup_placement.h"

#include "rb_test_app.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QEnterEvent>
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

    // A pointer event 10 pixels into the box, as the window system delivers
    // it to the window, the window being at `windowOnScreen`.
    void pointAtBox(QEvent::Type type, QPoint windowOnScreen) {
        const QPointF inWindow = QPointF(box->pos()) + QPointF(10, 10);
        const QPointF onScreen = QPointF(windowOnScreen) + inWindow;
        if (type == QEvent::Enter) {
            QEnterEvent enter(inWindow, inWindow, onScreen);
            QApplication::sendEvent(window->windowHandle(), &enter);
            return;
        }
        const Qt::MouseButton button =
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent event(type, inWindow, inWindow, onScreen, button, button, Qt::NoModifier);
        QApplication::sendEvent(window->windowHandle(), &event);
    }

    QWidget* list() const { return box->view()->window(); }

    std::unique_ptr<QDialog> window;
    QComboBox* box = nullptr;
};

TEST_F(PopupPlacementTest, ListOpensAtItsBoxWhereverTheWindowReallyIs) {
    keepPopupsAtTheirBoxes(window.get());
    const QPoint onScreen(400, 300);
    pointAtBox(QEvent::MouseButtonPress, onScreen);
    ASSERT_TRUE(list()->isVisible());
    EXPECT_NEAR(onScreen.x() + box->x(), list()->geometry().left(), 4);
    EXPECT_EQ(onScreen, window->mapToGlobal(QPoint(0, 0)));
}

// The pointer passing over the window is enough for a list opened from the
// keyboard afterwards.
TEST_F(PopupPlacementTest, PointerOverTheWindowPlacesListsOpenedFromTheKeyboard) {
    keepPopupsAtTheirBoxes(window.get());
    for (QEvent::Type type : {QEvent::Enter, QEvent::MouseMove}) {
        const QPoint onScreen = type == QEvent::Enter ? QPoint(400, 300) : QPoint(200, 100);
        pointAtBox(type, onScreen);
        box->showPopup();
        ASSERT_TRUE(list()->isVisible());
        EXPECT_NEAR(onScreen.x() + box->x(), list()->geometry().left(), 4) << type;
        box->hidePopup();
    }
}

TEST_F(PopupPlacementTest, AgreeingPointerLeavesTheWindowAlone) {
    keepPopupsAtTheirBoxes(window.get());
    const QPoint believed = window->mapToGlobal(QPoint(0, 0));
    pointAtBox(QEvent::MouseMove, believed + QPoint(1, 0));  // a pixel of rounding
    EXPECT_EQ(believed, window->mapToGlobal(QPoint(0, 0)));
}

}  // namespace
}  // namespace quillmere
