// A private spelling setup for tests: Enchant's configuration folder
// (ENCHANT_CONFIG_DIR) points into a temporary folder that holds the small
// test dictionaries "en_US" and "de_DE" (tests/spelling/data) and the
// personal word lists the tests write, so no test reads or changes the
// user's own. The test dictionaries stand before the system's.
#pragma once

#include <QString>
#include <QTemporaryDir>

namespace testsupport {

class TestDictionaries {
public:
    // Copies the test dictionary into a new folder and points Enchant at it.
    // Make it before the first dictionary is opened; fails the test when the
    // files cannot be copied.
    TestDictionaries();
    // Points Enchant back where it pointed before.
    ~TestDictionaries();

    // Enchant's configuration folder: the personal word list of "en_US" is
    // "en_US.dic" in it.
    QString configFolder() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QByteArray previous_;
    bool hadPrevious_ = false;
};

}  // namespace testsupport
