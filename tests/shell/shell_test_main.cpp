// One application object for every shell test, made before the first test
// runs. The user's configuration and data folders point into a temporary
// folder, so the window placement file never lands in the real home folder.
// The headless screen is a desktop of 1280 x 1024 pixels (the platform's own
// 800 x 600 is narrower than the main window), so a placement that fits a
// real screen is restored as it is. Spelling is checked with the small test
// dictionary in a private Enchant folder.
#include "shell/application.h"
#include "test_dictionaries.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ShellEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        home_ = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", (home_->path() + QStringLiteral("/config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", (home_->path() + QStringLiteral("/data")).toLocal8Bit());
        // Spelling uses the small test dictionary, not the user's lists.
        dictionaries_ = std::make_unique<testsupport::TestDictionaries>();
        const QString screens = home_->filePath(QStringLiteral("offscreen.json"));
        QFile config(screens);
        if (config.open(QIODevice::WriteOnly)) {
            config.write(R"({"synchronousWindowSystemEvents": false, "windowFrameMargins": true,
                "screens": [{"name": "OffscreenScreen", "x": 0, "y": 0, "width": 1280,
                "height": 1024, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
            config.close();
            qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screens).toLocal8Bit());
        } else {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        static int argc = 1;
        static char name[] = "quillmere";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<quillmere::QuillmereApplication>(argc, argv);
    }
    void TearDown() override {
        app_.reset();
        dictionaries_.reset();
        home_.reset();
    }

private:
    std::unique_ptr<QTemporaryDir> home_;
    std::unique_ptr<testsupport::TestDictionaries> dictionaries_;
    std::unique_ptr<quillmere::QuillmereApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new ShellEnvironment);

}  // namespace
