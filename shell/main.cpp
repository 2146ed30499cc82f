// Quillmere: a single-user desktop diary. The program takes nothing from its
// command line.
#include "shell/application.h"
#include "shell/program.h"
#include "store/data_location.h"

int main(int argc, char** argv) {
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
