#include "tools/journal/commands.h"

#include "store/day.h"
#include "store/file_access.h"
#include "store/journal_table.h"
#include "store/timestamp.h"
#include "tools/journal/passwords.h"

#include <QDate>
#include <QTime>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

namespace quillmere::journaltool {

namespace {

std::map<std::string, Command>& table() {
    static std::map<std::string, Command> commands;
    return commands;
}

QString usageLine(const Command& c) {
    return QStringLiteral("usage: quillmere-journal %1 %2\n")
        .arg(QLatin1String(c.name), QLatin1String(c.usage));
}

QString toolUsage() {
    QString text = QStringLiteral(
        "usage: quillmere-journal [--password-file FILE] COMMAND ARGS...\n"
        "  An encrypted journal's password is read from FILE's first line, or else\n"
        "  from standard input.\n");
    for (const Command& c : commands()) {
        text += QStringLiteral("  %1 %2\n      %3\n")
                    .arg(QLatin1String(c.name), QLatin1String(c.usage), QLatin1String(c.summary));
    }
    text += QStringLiteral(
        "  --help\n      this help\n"
        "  --version\n      the version and the licence\n");
    return text;
}

QString versionNotice() {
    return QStringLiteral("quillmere-journal (Quillmere) " QUILLMERE_VERSION
                          "\n"
                          "Copyright (C) 2026 Velmora Durazu\n"
                          "License GPL-3.0-or-later: GNU GPL version 3 or later "
                          "<https://gnu.org/licenses/gpl.html>.\n"
                          "This is free software: you are free to change and redistribute it.\n"
                          "There is NO WARRANTY, to the extent permitted by law.\n");
}

bool asksForHelp(const QString& arg) {
    return arg == QStringLiteral("--help") || arg == QStringLiteral("-h") ||
           arg == QStringLiteral("help");
}

QString oneLine(QString message) {
    message.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return message;
}

}  // namespace

bool registerCommand(const Command& command) {
    table()[command.name] = command;
    return true;
}

std::vector<Command> commands() {
    std::vector<Command> all;
    for (const auto& [name, command] : table()) {
        all.push_back(command);
    }
    return all;
}

const Command* findCommand(const QString& name) {
    const auto it = table().find(name.toStdString());
    return it == table().end() ? nullptr : &it->second;
}

void print(QIODevice& device, const QString& text) {
    device.write(text.toUtf8());
}

void requireArgs(const QStringList& args, int min, int max) {
    if (args.size() < min || args.size() > max) {
        throw UsageError(QStringLiteral("wrong number of arguments"));
    }
}

double parseDay(const QString& text) {
    const std::optional<double> day = dayFromIsoText(text);
    if (!day) {
        throw UsageError(QStringLiteral("DAY must be written yyyy-mm-dd: \"%1\"").arg(text));
    }
    return *day;
}

QString formatDay(double day) {
    return isoTextOfDayTime(day);
}

void requireReadableFile(const QString& path, qint64 maxBytes) {
    const FileStatus status = fileAccess().status(path);
    const auto refuse = [&path](const QString& why) {
        throw Error(QStringLiteral("cannot read \"%1\": %2").arg(path, why));
    };
    switch (status.kind) {
        case FileKind::kMissing:
            refuse(QStringLiteral("no such file"));
        case FileKind::kFolder:
            refuse(QStringLiteral("a folder, not a file"));
        case FileKind::kOther:
            refuse(QStringLiteral("not a regular file"));
        case FileKind::kRegular:
            break;
    }
    if (status.size > maxBytes) {
        refuse(QStringLiteral("larger than %1 bytes").arg(maxBytes));
    }
}

void openExistingJournal(JournalTable& journal, const QString& path) {
    requireReadableFile(path);
    openJournalFile(journal, path);
}

LineReader& standardInputReader() {
    static LineReader reader = readStandardInputLine;
    return reader;
}

qint64 parseRange(const QString& text, const char* option, qint64 min, qint64 max) {
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok || value < min || value > max) {
        throw UsageError(QStringLiteral("%1 needs a whole number from %2 to %3")
                             .arg(QLatin1String(option))
                             .arg(min)
                             .arg(max));
    }
    return value;
}

int runTool(const QStringList& toolArgs, QIODevice& out, QIODevice& err) {
    // --password-file FILE may stand anywhere; passwords never come from an
    // argument themselves.
    QStringList args = toolArgs;
    QString passwordFile;
    const qsizetype option = args.indexOf(QStringLiteral("--password-file"));
    if (option >= 0) {
        if (option + 1 >= args.size()) {
            print(err, QStringLiteral("--password-file needs a FILE\n") + toolUsage());
            return 2;
        }
        passwordFile = args[option + 1];
        args.remove(option, 2);
    }
    setPasswordSource(passwordFile, standardInputReader());
    if (args.isEmpty()) {
        print(err, toolUsage());
        return 2;
    }
    // Asked for, the usage and the version go to standard output and count as
    // success; wrong usage prints the same usage on standard error with 2.
    if (asksForHelp(args.front())) {
        print(out, toolUsage());
        return 0;
    }
    if (args.front() == QStringLiteral("--version")) {
        print(out, versionNotice());
        return 0;
    }
    const Command* command = findCommand(args.front());
    if (!command) {
        print(err, QStringLiteral("unknown command \"%1\"\n").arg(args.front()) + toolUsage());
        return 2;
    }
    if (args.size() == 2 && args[1] == QStringLiteral("--help")) {
        print(out,
              usageLine(*command) + QStringLiteral("  %1\n").arg(QLatin1String(command->summary)));
        return 0;
    }
    CommandIo io{out, err};
    try {
        return command->run(args.mid(1), io);
    } catch (const UsageError& e) {
        print(err, oneLine(e.message()) + QLatin1Char('\n') + usageLine(*command));
        return 2;
    } catch (const Error& e) {
        print(err,
              QStringLiteral("%1: %2\n").arg(QLatin1String(command->name), oneLine(e.message())));
        return 1;
    } catch (const std::exception& e) {
        print(err,
              QStringLiteral("%1: %2\n")
                  .arg(QLatin1String(command->name), oneLine(QString::fromLocal8Bit(e.what()))));
        return 1;
    }
}

}  // namespace quillmere::journaltool
