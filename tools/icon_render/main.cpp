// quillmere-icon-render: writes the program icon as PNG files for the icon
// theme, FOLDER/<N>x<N>/apps/NAME.png for every size N given. Run at build
// time so the installed icons are exactly the picture the program shows.
#include "resources/program_icon_image.h"

#include <QDir>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv) {
    // Rendering needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: quillmere-icon-render FOLDER NAME SIZE...\n");
        return 2;
    }
    const QDir folder(args.at(1));
    const QString name = args.at(2);
    for (qsizetype i = 3; i < args.size(); ++i) {
        bool ok = false;
        const int size = args.at(i).toInt(&ok);
        if (!ok || size < 1 || size > 1024) {
            std::fprintf(stderr, "quillmere-icon-render: not a size: %s\n", qPrintable(args.at(i)));
            return 2;
        }
        const QString sub = QStringLiteral("%1x%1/apps").arg(size);
        const QString path =
            folder.filePath(sub + QLatin1Char('/') + name + QStringLiteral(".png"));
        if (!folder.mkpath(sub) || !quillmere::ProgramIconImage(size).save(path, "PNG")) {
            std::fprintf(stderr, "quillmere-icon-render: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
