// One core application (the checking thread reports through its event loop)
// and the private test dictionary for every spelling test.
#include "test_dictionaries.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class SpellingEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        dictionaries_ = std::make_unique<testsupport::TestDictionaries>();
        static int argc = 1;
        static char name[] = "spelling_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QCoreApplication>(argc, argv);
    }
    void TearDown() override {
        app_.reset();
        dictionaries_.reset();
    }

private:
    std::unique_ptr<testsupport::TestDictionaries> dictionaries_;
    std::unique_ptr<QCoreApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new SpellingEnvironment);

}  // namespace
