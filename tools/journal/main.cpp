// quillmere-journal: works on a journal file from the command line.
#include "tools/journal/commands.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly);
    const int code = quillmere::journaltool::runTool(app.arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return code;
}
