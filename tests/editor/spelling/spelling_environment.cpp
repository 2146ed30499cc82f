// The private test dictionary for every editor spelling test.
#include "test_dictionaries.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class DictionaryEnvironment : public ::testing::Environment {
public:
    void SetUp() override { dictionaries_ = std::make_unique<testsupport::TestDictionaries>(); }
    void TearDown() override { dictionaries_.reset(); }

private:
    std::unique_ptr<testsupport::TestDictionaries> dictionaries_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new DictionaryEnvironment);

}  // namespace
