// One application object for every shell test, made before the first test
// runs. The user's configuration and data folders point into a temporary
// folder, so the window placement file never lands in the real home folder.
#include "shell/application.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ShellEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        home_ = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", (home_->path() + QStringLiteral("/config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", (home_->path() + QStringLiteral("/data")).toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "quillmere";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<quillmere::QuillmereApplication>(argc, argv);
    }
    void TearDown() override {
        app_.reset();
        home_.reset();
    }

private:
    std::unique_ptr<QTemporaryDir> home_;
    std::unique_ptr<quillmere::QuillmereApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new ShellEnvironment);

}  // namespace
