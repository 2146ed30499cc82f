// One QApplication for every search test (the window and the hidden editor
// need it); GoogleTest's own main runs the tests.
#include "controls/rb_fonts.h"

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

#include <memory>

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "search_tests";
        static char* argv[] = {name, nullptr};
        // Month names in the tests are English.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        app_ = std::make_unique<QApplication>(argc, argv);
        quillmere::installFontSubstitutes();
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QApplication> app_;
};

const ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
