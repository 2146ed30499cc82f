// One application object for every export test: the progress window and the
// worker thread need a running GUI thread with an event loop.
#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class ExportEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "export_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new ExportEnvironment);

}  // namespace
