// The desktop entry and the metainfo file: accepted by the desktop's own
// validators and carrying the names the program answers to; the manual pages
// covering every command and key.
#include "shell/application.h"
#include "store/data_location.h"
#include "store/font_settings.h"
#include "store/journal_session.h"
#include "store/recovery_log.h"
#include "tools/journal/commands.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>

namespace quillmere {
namespace {

QString sourcePath(const QString& relative) {
    return QDir(QStringLiteral(QUILLMERE_SOURCE_DIR)).filePath(relative);
}

QString desktopDir() {
    return sourcePath(QStringLiteral("resources/desktop"));
}

QString desktopEntryPath() {
    return QDir(desktopDir())
        .filePath(QString::fromLatin1(kApplicationId) + QStringLiteral(".desktop"));
}

QString metainfoPath() {
    return QDir(desktopDir())
        .filePath(QString::fromLatin1(kApplicationId) + QStringLiteral(".metainfo.xml"));
}

QString readText(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(file.readAll());
}

struct Validation {
    int exitCode = -1;
    QString output;
};

Validation validate(const QString& program, const QStringList& args) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    if (!process.waitForFinished(60000)) {
        return {-1, QStringLiteral("%1 did not run: %2").arg(program, process.errorString())};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}

// The keys of the [Desktop Entry] group.
std::map<QString, QString> desktopEntryKeys() {
    std::map<QString, QString> keys;
    bool inGroup = false;
    for (const QString& line : readText(desktopEntryPath()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == QStringLiteral("[Desktop Entry]");
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (inGroup && eq > 0) {
            keys[line.left(eq)] = line.mid(eq + 1);
        }
    }
    return keys;
}

TEST(DesktopEntry, PassesDesktopFileValidate) {
    const Validation v = validate(QStringLiteral("desktop-file-validate"), {desktopEntryPath()});
    EXPECT_EQ(0, v.exitCode) << v.output.toStdString();
    EXPECT_FALSE(v.output.contains(QStringLiteral("error:"))) << v.output.toStdString();
    EXPECT_FALSE(v.output.contains(QStringLiteral("warning:"))) << v.output.toStdString();
}

TEST(DesktopEntry, NamesTheProgramItsIconAndItsWindow) {
    const auto keys = desktopEntryKeys();
    const std::pair<const char*, QString> expected[] = {
        {"Type", QStringLiteral("Application")},
        {"Name", QStringLiteral("Quillmere")},
        {"Exec", QStringLiteral("quillmere")},
        {"Icon", QString::fromLatin1(kApplicationId)},
        // One main category: the menu shows the program in one place.
        {"Categories", QStringLiteral("Office;")},
        {"Keywords", QStringLiteral("diary;journal;")},
        {"Name[de]", QStringLiteral("Quillmere")},
        {"GenericName[de]", QStringLiteral("Tagebuch")},
        {"Comment[de]",
         QStringLiteral("Ein privates Tagebuch f\u00fchren, ein formatierter Eintrag pro Tag")},
        {"Keywords[de]", QStringLiteral("Tagebuch;Journal;")},
        {"Terminal", QStringLiteral("false")},
        // The window's class is the application name (set by the
        // application object), which is how the desktop matches the window
        // to its entry.
        {"StartupWMClass", QString::fromLatin1(kApplicationTitle)},
    };
    for (const auto& [key, value] : expected) {
        const auto found = keys.find(QString::fromLatin1(key));
        ASSERT_NE(keys.end(), found) << key;
        EXPECT_EQ(value, found->second) << key;
    }
    const auto comment = keys.find(QStringLiteral("Comment"));
    ASSERT_NE(keys.end(), comment);
    EXPECT_FALSE(comment->second.isEmpty());
    EXPECT_FALSE(comment->second.contains(QLatin1Char('\n')));
}

TEST(Metainfo, PassesAppstreamValidation) {
    const Validation v = validate(QStringLiteral("appstreamcli"),
                                  {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                   QStringLiteral("--no-color"), metainfoPath()});
    EXPECT_EQ(0, v.exitCode) << v.output.toStdString();
}

TEST(Metainfo, DescribesTheProgramOfTheDesktopEntry) {
    QXmlStreamReader xml(readText(metainfoPath()));
    std::map<QString, QString> texts;
    std::map<QString, int> german;  // elements with xml:lang="de"
    QStringList categories;
    bool screenshotImage = false;
    bool description = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const QString name = xml.name().toString();
        if (xml.attributes().value(QStringLiteral("xml:lang")) == QStringLiteral("de")) {
            ++german[name];
            continue;
        }
        if (name == QStringLiteral("description")) {
            description = true;
        } else if (name == QStringLiteral("category")) {
            categories << xml.readElementText();
        } else if (name == QStringLiteral("project_license")) {
            texts[name] = xml.readElementText();
        } else if (name == QStringLiteral("image")) {
            screenshotImage = xml.readElementText().startsWith(QStringLiteral("https://"));
        } else if (name == QStringLiteral("id") || name == QStringLiteral("launchable") ||
                   name == QStringLiteral("name")) {
            texts[name] = xml.readElementText();
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(QString::fromLatin1(kApplicationId), texts[QStringLiteral("id")]);
    EXPECT_EQ(QString::fromLatin1(kApplicationId) + QStringLiteral(".desktop"),
              texts[QStringLiteral("launchable")]);
    EXPECT_EQ(QStringLiteral("Quillmere"), texts[QStringLiteral("name")]);
    EXPECT_TRUE(description);
    EXPECT_TRUE(screenshotImage);
    EXPECT_EQ(QStringLiteral("GPL-3.0-or-later"), texts[QStringLiteral("project_license")]);
    EXPECT_EQ(QStringList{QStringLiteral("Office")}, categories) << "as the desktop entry";
    // German beside the English: the summary, both paragraphs and every point.
    EXPECT_EQ(1, german[QStringLiteral("summary")]);
    EXPECT_EQ(2, german[QStringLiteral("p")]);
    EXPECT_EQ(5, german[QStringLiteral("li")]);
}

TEST(ManualPages, JournalToolPageListsEveryCommand) {
    const QString page = readText(sourcePath(QStringLiteral("docs/man/quillmere-journal.1")));
    ASSERT_FALSE(journaltool::commands().empty());
    for (const journaltool::Command& command : journaltool::commands()) {
        const QRegularExpression entry(
            QStringLiteral("^\\.BI \"?%1[ \"]")
                .arg(QRegularExpression::escape(QLatin1String(command.name))),
            QRegularExpression::MultilineOption);
        EXPECT_TRUE(entry.match(page).hasMatch()) << command.name;
    }
}

TEST(ManualPages, ProgramPageListsTheKeysAndTheDataFolder) {
    const QString page = readText(sourcePath(QStringLiteral("docs/man/quillmere.1")));
    for (const char* text : {"Alt+Left", "Alt+Right", "Alt+Home", "Ctrl+Shift+F", "Ctrl+P",
                             "~/.local/share/Quillmere/Journal.cds", "quillmere-journal"}) {
        EXPECT_TRUE(page.contains(QString::fromLatin1(text))) << text;
    }
}

// Every file the program keeps in its data folder has its own entry in the
// FILES section, named as the program names it.
TEST(ManualPages, ProgramPageListsEveryFileOfTheDataFolder) {
    const QString page = readText(sourcePath(QStringLiteral("docs/man/quillmere.1")));
    const QString files = page.mid(page.indexOf(QStringLiteral("\n.SH FILES\n")));
    for (const char* name : {kJournalFileName, kJournalBackupFileName, kRecoveryFileName,
                             kLockFileName, kSettingsFileName, kFontSettingsFileName}) {
        const QString entry = QStringLiteral("\n.TP\n.I ~/.local/share/Quillmere/%1\n")
                                  .arg(QString::fromLatin1(name));
        EXPECT_TRUE(files.contains(entry)) << name;
    }
    EXPECT_TRUE(
        files.contains(QStringLiteral("\n.TP\n.I ~/.local/share/Quillmere/%1yyyy-mm-dd.cds\n")
                           .arg(QString::fromLatin1(kDamagedJournalPrefix))))
        << "the damaged journal kept after a rescue";
    EXPECT_TRUE(files.contains(QStringLiteral("\n.TP\n.I ~/.config/quillmere.INI\n")));
}

// The version a release is known by appears in the manual pages, the
// software centre's release list and the changelog; all of them say the
// project's version, the one --version prints.
TEST(ReleaseDocuments, CarryTheProjectVersion) {
    const QString version = QStringLiteral(QUILLMERE_VERSION);
    for (const char* page : {"docs/man/quillmere.1", "docs/man/quillmere-journal.1"}) {
        const QString text = readText(sourcePath(QString::fromLatin1(page)));
        const QRegularExpression header(
            QStringLiteral("^\\.TH \\S+ 1 \"[^\"]+\" \"Quillmere ([^\"]+)\""),
            QRegularExpression::MultilineOption);
        EXPECT_EQ(version, header.match(text).captured(1)) << page;
    }
    QXmlStreamReader xml(readText(metainfoPath()));
    QString released;
    while (released.isEmpty() && !xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement &&
            xml.name() == QStringLiteral("release")) {
            released = xml.attributes().value(QStringLiteral("version")).toString();
        }
    }
    EXPECT_EQ(version, released) << "the newest release of the metainfo file";
    const QString changelog = readText(sourcePath(QStringLiteral("docs/changelog")));
    EXPECT_TRUE(changelog.startsWith(QStringLiteral("quillmere (%1) ").arg(version)))
        << changelog.left(40).toStdString();
}

}  // namespace
}  // namespace quillmere
