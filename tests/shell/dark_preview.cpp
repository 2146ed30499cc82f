// The real program under a dark desktop palette (Fusion's style and dark
// colours), for trying the windows by eye and by keys on a test display.
// Built with the tests only; the program itself takes its palette from the
// desktop as usual.
#include "dark_palette.h"
#include "shell/application.h"
#include "shell/program.h"

#include <QStyleFactory>

int main(int argc, char** argv) {
    quillmere::QuillmereApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(testsupport::darkFusionPalette());
    int result = 0;
    {
        quillmere::Program program(quillmere::DefaultProgramPaths());
        result = program.run();
    }
    return result;
}
