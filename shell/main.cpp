// Quillmere: a single-user desktop diary. The program takes nothing from its
// command line but the two options every Linux program answers, --help and
// --version; any other argument is left to Qt (-platform, -display, -style)
// or ignored, as it always was.
#include "shell/application.h"
#include "shell/program.h"
#include "shell/translations.h"
#include "store/data_location.h"
#include "store/packet_preload.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

QByteArray helpText() {
    return quillmere::TranslateBeforeStart(
               "quillmere::CommandLine",
               QT_TRANSLATE_NOOP("quillmere::CommandLine", "Usage: quillmere [--help | --version]\n"
               "\n"
               "Quillmere is a private diary: one rich-text entry per calendar day, kept\n"
               "in one local data file and guarded by an optional password.\n"
               "\n"
               "Started without options it opens the diary kept in\n"
               "~/.local/share/Quillmere/ (a build run from its build folder keeps it\n"
               "beside its executable). Other arguments are ignored, except Qt's own\n"
               "options such as -platform, -display and -style.\n"
               "\n"
               "  --help     show this help and exit\n"
               "  --version  show the version and licence and exit\n"
               "\n"
               "The keys and the files: man quillmere. The diary file from the command\n"
               "line: quillmere-journal --help.\n"))
        .toLocal8Bit();
}

QByteArray versionText() {
    return QByteArray("quillmere " QUILLMERE_VERSION "\n") +
           quillmere::TranslateBeforeStart(
               "quillmere::CommandLine",
               QT_TRANSLATE_NOOP("quillmere::CommandLine", "Copyright (C) 2026 Velmora Durazu\n"
               "License GPL-3.0-or-later: GNU GPL version 3 or later "
               "<https://gnu.org/licenses/gpl.html>.\n"
               "This is free software: you are free to change and redistribute it.\n"
               "There is NO WARRANTY, to the extent permitted by law.\n"))
               .toLocal8Bit();
}

// Answers --help or --version (the first of them among the arguments, up to
// a "--") on standard output, before anything else starts, so both work in a
// terminal without a display. The exit code when one was answered: 0, or 1
// with a message on standard error when standard output could not take the
// text; nothing when the program is to start.
std::optional<int> answerInformationOption(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        QByteArray text;
        if (std::strcmp(argv[i], "--") == 0) {
            return std::nullopt;
        } else if (std::strcmp(argv[i], "--help") == 0) {
            text = helpText();
        } else if (std::strcmp(argv[i], "--version") == 0) {
            text = versionText();
        } else {
            continue;
        }
        const bool written = std::fwrite(text.constData(), 1, std::size_t(text.size()), stdout) ==
                                 std::size_t(text.size()) &&
                             std::fflush(stdout) == 0;
        if (!written) {
            std::fprintf(stderr, "quillmere: cannot write to standard output: %s\n",
                         std::strerror(errno));
            return 1;
        }
        return 0;
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> answered = answerInformationOption(argc, argv)) {
        return *answered;
    }
    // A diary of many years takes longer to read than the windows take to
    // build: its reading starts first, on a worker thread, and the main
    // window takes the loaded journal when it opens it.
    quillmere::PreloadDataFile(quillmere::earlyDataFilePath(
        QStringLiteral("Journal.cds"), QString::fromLatin1(quillmere::kApplicationTitle)));
    quillmere::QuillmereApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    // Ties the windows to the installed desktop entry (its icon and name).
    app.setDesktopFileName(QString::fromLatin1(quillmere::kApplicationId));
    // German under a German locale (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).
    const quillmere::Translations translations(QLocale::system());
    int result = 0;
    {
        quillmere::Program program(quillmere::DefaultProgramPaths());
        result = program.run();
    }
    return result;
}
