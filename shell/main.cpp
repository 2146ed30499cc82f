// Quillmere: a single-user desktop diary. The program takes nothing from its
// command line.
#include "shell/application.h"
#include "shell/program.h"
#include "store/data_location.h"
#include "store/packet_preload.h"

int main(int argc, char** argv) {
    // A diary of many years takes longer to read than the windows take to
    // build: its reading starts first, on a worker thread, and the main
    // window takes the loaded journal when it opens it.
    quillmere::PreloadDataFile(quillmere::earlyDataFilePath(
        QStringLiteral("Journal.cds"), QString::fromLatin1(quillmere::kApplicationTitle)));
    quillmere::QuillmereApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    // Ties the windows to the installed desktop entry (its icon and name).
    app.setDesktopFileName(QString::fromLatin1(quillmere::kApplicationId));
    int result = 0;
    {
        quillmere::Program program(quillmere::DefaultProgramPaths());
        result = program.run();
    }
    return result;
}
