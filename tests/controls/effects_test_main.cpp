// The drawn controls need a QApplication; one is created for the whole run
// (offscreen platform, set by the test registration).
#include <QApplication>

#include <gtest/gtest.h>

namespace {

class QtApplicationEnvironment : public testing::Environment {
public:
    void SetUp() override {
        if (QApplication::instance() == nullptr) {
            static int argc = 1;
            static char name[] = "controls_effects_tests";
            static char* argv[] = {name, nullptr};
            app_ = new QApplication(argc, argv);
        }
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

private:
    QApplication* app_ = nullptr;
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
