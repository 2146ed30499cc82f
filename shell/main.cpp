// Quillmere: a single-user desktop diary. The program takes nothing from its
// command line.
#include "shell/application.h"
#include "shell/program.h"

int main(int argc, char** argv) {
    quillmere::QuillmereApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    int result = 0;
    {
        quillmere::Program program(quillmere::DefaultProgramPaths());
        result = program.run();
    }
    return result;
}
