#include "tools/journal/passwords.h"

#include "crypto/journal_cipher.h"
#include "store/file_access.h"
#include "store/journal_table.h"

#include <QStringList>

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

namespace quillmere::journaltool {

namespace {

struct Source {
    QString file;
    bool fileRead = false;
    QStringList fileLines;
    LineReader stdinLines;
};

Source& source() {
    static Source s;
    return s;
}

std::optional<QString> nextLine(const QString& prompt) {
    Source& s = source();
    if (s.file.isEmpty()) {
        return s.stdinLines ? s.stdinLines(prompt) : std::nullopt;
    }
    if (!s.fileRead) {
        const QByteArray bytes = fileAccess().readAll(s.file);
        s.fileLines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
        for (QString& line : s.fileLines) {
            if (line.endsWith(QLatin1Char('\r'))) {
                line.chop(1);
            }
        }
        s.fileRead = true;
    }
    if (s.fileLines.isEmpty() || (s.fileLines.size() == 1 && s.fileLines.front().isEmpty())) {
        return std::nullopt;
    }
    return s.fileLines.takeFirst();
}

// Turns the terminal's echo off for the life of the object.
class NoEcho {
public:
    NoEcho() {
        if (tcgetattr(STDIN_FILENO, &saved_) == 0) {
            termios quiet = saved_;
            quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            active_ = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
        }
    }
    ~NoEcho() {
        if (active_) {
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
            std::fputs("\n", stderr);
        }
    }
    NoEcho(const NoEcho&) = delete;
    NoEcho& operator=(const NoEcho&) = delete;

private:
    termios saved_{};
    bool active_ = false;
};

}  // namespace

void setPasswordSource(const QString& passwordFile, LineReader stdinLines) {
    source() = Source{passwordFile, false, {}, std::move(stdinLines)};
}

std::optional<QString> readStandardInputLine(const QString& prompt) {
    const bool terminal = isatty(STDIN_FILENO) != 0;
    std::string line;
    if (terminal) {
        std::fputs(prompt.toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
        const NoEcho quiet;
        if (!std::getline(std::cin, line)) {
            return std::nullopt;
        }
    } else if (!std::getline(std::cin, line)) {
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return QString::fromStdString(line);
}

QString nextPassword(const QString& what) {
    const std::optional<QString> line = nextLine(QStringLiteral("Password of %1: ").arg(what));
    if (!line) {
        throw Error(QStringLiteral("%1 is encrypted: give its password on standard input or with "
                                   "--password-file FILE")
                        .arg(what));
    }
    return *line;
}

QString nextNewPassword(const QString& path) {
    const QString what = QStringLiteral("\"%1\"").arg(path);
    const std::optional<QString> first =
        nextLine(QStringLiteral("New password for %1: ").arg(what));
    if (!first) {
        throw Error(QStringLiteral("no new password for %1: give it on standard input or with "
                                   "--password-file FILE")
                        .arg(what));
    }
    if (first->isEmpty()) {
        throw Error(QStringLiteral("the new password for %1 is empty").arg(what));
    }
    if (source().file.isEmpty() && isatty(STDIN_FILENO) != 0) {
        const std::optional<QString> again = nextLine(QStringLiteral("The same again: "));
        if (!again || *again != *first) {
            throw Error(QStringLiteral("the two new passwords differ; nothing was changed"));
        }
    }
    return *first;
}

std::shared_ptr<const FileCipher> unlockFile(QByteArrayView head, const QString& path) {
    const QString password = nextPassword(QStringLiteral("\"%1\"").arg(path));
    try {
        return crypto::JournalCipher::unlock(head, password, path);
    } catch (const WrongKeyError&) {
        throw Error(QStringLiteral("wrong password for \"%1\"").arg(path));
    }
}

void openJournalFile(JournalTable& journal, const QString& path) {
    try {
        journal.OpenJournal(path);
    } catch (const KeyRequiredError& e) {
        journal.setCipher(unlockFile(e.head(), path));
        journal.OpenJournal(path);
    }
}

}  // namespace quillmere::journaltool
