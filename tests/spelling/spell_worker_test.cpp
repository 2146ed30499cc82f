// The checking thread: the dictionary a stored choice opens, results handed
// back in the user's thread, no results of a language after it was
// switched, and no dictionary without a crash.
#include "spelling/spell_worker.h"
#include "spelling/spell_dictionary.h"

#include <QTest>

#include <optional>

#include <gtest/gtest.h>

namespace quillmere::spelling {
namespace {

struct Ready {
    QString tag;
    bool open = false;
    QString error;
};

// Sets the choice and waits for the dictionary.
Ready choose(SpellWorker& worker, const QString& stored, const QLocale& locale) {
    std::optional<Ready> ready;
    const QMetaObject::Connection connection =
        QObject::connect(&worker, &SpellWorker::languageReady,
                         [&ready](const QString& tag, std::shared_ptr<SpellDictionary> dictionary,
                                  const QString& error) {
                             ready = Ready{tag, dictionary != nullptr, error};
                         });
    worker.setChoice(stored, locale);
    EXPECT_TRUE(QTest::qWaitFor([&ready] { return ready.has_value(); }, 10000));
    QObject::disconnect(connection);
    return ready.value_or(Ready{});
}

// Collects every result the worker hands back.
struct Results {
    explicit Results(SpellWorker& worker) {
        QObject::connect(&worker, &SpellWorker::checked,
                         [this](const QList<CheckedParagraph>& batch) { all += batch; });
    }
    QList<CheckedParagraph> all;
};

struct OpenCase {
    const char* label;
    const char* stored;
    QLocale locale;
    const char* tag;  // empty: off
    const char* error;
};

class OpenChoiceTest : public ::testing::TestWithParam<OpenCase> {};

TEST_P(OpenChoiceTest, OpensTheDictionaryTheChoiceNames) {
    const OpenCase& c = GetParam();
    const OpenedDictionary opened = openChoice(QString::fromUtf8(c.stored), c.locale);
    EXPECT_EQ(QString::fromUtf8(c.tag), opened.tag) << c.label;
    EXPECT_EQ(opened.tag.isEmpty(), opened.dictionary == nullptr) << c.label;
    EXPECT_EQ(QString::fromUtf8(c.error), opened.error) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Choices, OpenChoiceTest,
    ::testing::Values(OpenCase{"nominal: the stored language", "en_US", QLocale(QLocale::German),
                               "en_US", ""},
                      OpenCase{"nominal: nothing stored, the locale's", "",
                               QLocale(QLocale::English, QLocale::UnitedStates), "en_US", ""},
                      OpenCase{"nominal: Off", "Off", QLocale(QLocale::English), "", ""},
                      OpenCase{"robustness: a removed language falls back to the locale's", "xx_XX",
                               QLocale(QLocale::English, QLocale::UnitedStates), "en_US", ""},
                      OpenCase{"robustness: nothing for the locale's language", "",
                               QLocale(QLocale::Japanese, QLocale::Japan), "",
                               "No spelling dictionary for Japanese is installed"},
                      OpenCase{"robustness: a removed language and nothing for the locale", "xx_XX",
                               QLocale(QLocale::Japanese, QLocale::Japan), "",
                               "No spelling dictionary for \"xx_XX\" is installed"}));

TEST(SpellWorkerTest, ChecksParagraphsAndHandsTheResultsBack) {
    SpellWorker worker;
    Results results(worker);
    ASSERT_TRUE(choose(worker, QStringLiteral("en_US"), QLocale::c()).open);
    worker.check(QStringLiteral("I recieve mail"), 4, false);
    worker.check(QStringLiteral("teh day"), 9, true);
    ASSERT_TRUE(QTest::qWaitFor([&results] { return results.all.size() == 2; }, 10000));
    for (const CheckedParagraph& r : std::as_const(results.all)) {
        if (r.blockHint == 4) {
            EXPECT_EQ(QStringLiteral("I recieve mail"), r.text);
            EXPECT_EQ((QList<Misspelling>{{2, 7, QStringLiteral("recieve")}}), r.misspellings);
        } else {
            EXPECT_EQ(9, r.blockHint);
            EXPECT_EQ((QList<Misspelling>{{0, 3, QStringLiteral("teh")}}), r.misspellings);
        }
    }
}

TEST(SpellWorkerTest, NoResultOfTheFormerLanguageAfterASwitch) {
    SpellWorker worker;
    Results results(worker);
    ASSERT_TRUE(choose(worker, QStringLiteral("en_US"), QLocale::c()).open);
    for (int i = 0; i < 200; ++i) {
        worker.check(QStringLiteral("teh day %1 recieve").arg(i), i, false);
    }
    // Switched before the event loop ran: nothing checked so far arrives.
    worker.setChoice(QStringLiteral("Off"), QLocale::c());
    const Ready off = choose(worker, QStringLiteral("Off"), QLocale::c());
    EXPECT_FALSE(off.open);
    worker.check(QStringLiteral("teh"), 0, true);
    QTest::qWait(200);
    EXPECT_TRUE(results.all.isEmpty()) << results.all.size() << " results of the former language";
}

TEST(SpellWorkerTest, NoDictionaryForTheLocaleIsOffWithoutACrash) {
    SpellWorker worker;
    const Ready ready = choose(worker, QString(), QLocale(QLocale::Japanese, QLocale::Japan));
    EXPECT_FALSE(ready.open);
    EXPECT_EQ(QString(), ready.tag);
    EXPECT_EQ(QStringLiteral("No spelling dictionary for Japanese is installed"), ready.error);
    worker.check(QStringLiteral("teh"), 0, true);
    QTest::qWait(50);
}

}  // namespace
}  // namespace quillmere::spelling
