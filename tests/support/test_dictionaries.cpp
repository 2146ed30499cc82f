#include "test_dictionaries.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace testsupport {

TestDictionaries::TestDictionaries()
    : previous_(qgetenv("ENCHANT_CONFIG_DIR")),
      hadPrevious_(qEnvironmentVariableIsSet("ENCHANT_CONFIG_DIR")) {
    const QDir source(QStringLiteral(QUILLMERE_TEST_DICTIONARY_DIR));
    const QString target = dir_.filePath(QStringLiteral("hunspell"));
    EXPECT_TRUE(QDir().mkpath(target));
    for (const QString& name : {QStringLiteral("en_US.aff"), QStringLiteral("en_US.dic"),
                                QStringLiteral("de_DE.aff"), QStringLiteral("de_DE.dic")}) {
        EXPECT_TRUE(QFile::copy(source.filePath(name), target + QLatin1Char('/') + name))
            << name.toStdString();
    }
    qputenv("ENCHANT_CONFIG_DIR", QFile::encodeName(dir_.path()));
}

TestDictionaries::~TestDictionaries() {
    if (hadPrevious_) {
        qputenv("ENCHANT_CONFIG_DIR", previous_);
    } else {
        qunsetenv("ENCHANT_CONFIG_DIR");
    }
}

}  // namespace testsupport
