// The checked-in translations against the sources: lupdate run over the
// translated folders into a copy finds no text without a translation and no
// translation whose text is gone, and every translation keeps its source's
// placeholders ("%1") and, in file dialog filters, its fields.
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace quillmere {
namespace {

struct TsMessage {
    QString context;
    QString source;
    QString translation;
    bool unfinished = false;
};

std::vector<TsMessage> readTs(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(path);
    std::vector<TsMessage> messages;
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) {
            continue;
        }
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            messages.push_back({context, {}, {}, false});
        } else if (xml.name() == u"source" && !messages.empty()) {
            messages.back().source = xml.readElementText();
        } else if (xml.name() == u"translation" && !messages.empty()) {
            const QStringView type = xml.attributes().value(QStringLiteral("type"));
            messages.back().unfinished = !type.isEmpty();  // unfinished, vanished, obsolete
            messages.back().translation = xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << qPrintable(path) << ": " << qPrintable(xml.errorString());
    return messages;
}

QString describe(const TsMessage& m) {
    return m.context + QStringLiteral(": \"") + m.source + QLatin1Char('"');
}

std::multiset<QString> placeholders(const QString& text) {
    static const QRegularExpression marker(QStringLiteral("%[0-9]+"));
    std::multiset<QString> found;
    for (const QRegularExpressionMatch& m : marker.globalMatch(text)) {
        found.insert(m.captured());
    }
    return found;
}

QStringList translationFiles() {
    return QString::fromUtf8(QUILLMERE_TRANSLATION_FILES).split(QLatin1Char(','));
}

TEST(TranslationFiles, LupdateFindsEveryTextTranslated) {
    for (const QString& checkedIn : translationFiles()) {
        testsupport::TempFolder temp;
        const QString copy = temp.file(QFileInfo(checkedIn).fileName());
        ASSERT_TRUE(QFile::copy(checkedIn, copy)) << qPrintable(checkedIn);
        QStringList args = {QStringLiteral("-I"), QStringLiteral(QUILLMERE_SOURCE_DIR),
                            QStringLiteral("-locations"), QStringLiteral("none")};
        args += QString::fromUtf8(QUILLMERE_TRANSLATED_FOLDERS).split(QLatin1Char(','));
        args << QStringLiteral("-ts") << copy;
        QProcess lupdate;
        lupdate.setWorkingDirectory(QStringLiteral(QUILLMERE_SOURCE_DIR));
        lupdate.start(QStringLiteral(QUILLMERE_LUPDATE), args);
        ASSERT_TRUE(lupdate.waitForFinished(240000));
        ASSERT_EQ(0, lupdate.exitCode()) << lupdate.readAllStandardError().constData();

        QStringList problems;
        for (const TsMessage& m : readTs(copy)) {
            if (m.unfinished) {
                problems << (m.translation.isEmpty()
                                 ? QStringLiteral("not translated: ")
                                 : QStringLiteral("no longer in the sources: ")) +
                                describe(m);
            }
        }
        EXPECT_TRUE(problems.isEmpty())
            << qPrintable(checkedIn) << " is not current (run the update_translations target "
            << "and translate):\n"
            << qPrintable(problems.join(QLatin1Char('\n')));
    }
}

TEST(TranslationFiles, TranslationsKeepPlaceholdersAndFilterFields) {
    for (const QString& checkedIn : translationFiles()) {
        const std::vector<TsMessage> messages = readTs(checkedIn);
        ASSERT_FALSE(messages.empty()) << qPrintable(checkedIn);
        for (const TsMessage& m : messages) {
            if (m.unfinished) {
                continue;  // reported by the test above
            }
            EXPECT_FALSE(m.translation.isEmpty()) << qPrintable(describe(m));
            EXPECT_EQ(placeholders(m.source), placeholders(m.translation))
                << qPrintable(describe(m));
            EXPECT_EQ(m.source.count(QLatin1Char('|')), m.translation.count(QLatin1Char('|')))
                << "filter fields of " << qPrintable(describe(m));
            if (m.source.startsWith(QLatin1Char(' '))) {
                EXPECT_TRUE(m.translation.startsWith(QLatin1Char(' ')))
                    << "the blank before a sentence appended to another: "
                    << qPrintable(describe(m));
            }
        }
    }
}

// --help is answered before the windows start, in the locale's language too.
TEST(TranslationFiles, HelpFollowsTheLocale) {
    struct Case {
        const char* label;
        const char* lang;
        const char* start;
    };
    const Case cases[] = {
        {"nominal: German locale", "de_DE.UTF-8", "Aufruf: quillmere [--help | --version]\n"},
        {"nominal: English locale", "en_GB.UTF-8", "Usage: quillmere [--help | --version]\n"},
        {"robustness: C locale", "C", "Usage: quillmere [--help | --version]\n"},
    };
    for (const Case& c : cases) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("LC_ALL"));
        env.remove(QStringLiteral("LC_MESSAGES"));
        env.remove(QStringLiteral("LANGUAGE"));
        env.insert(QStringLiteral("LANG"), QString::fromLatin1(c.lang));
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(QUILLMERE_PROGRAM), {QStringLiteral("--help")});
        ASSERT_TRUE(process.waitForFinished(60000)) << c.label;
        const QByteArray out = process.readAllStandardOutput();
        EXPECT_EQ(0, process.exitCode()) << c.label;
        EXPECT_TRUE(out.startsWith(c.start)) << c.label << ":\n" << out.toStdString();
    }
}

}  // namespace
}  // namespace quillmere
