// quillmere-gallery [--screenshot FILE]
#include "controls/rb_fonts.h"
#include "tools/gallery/gallery_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <QImage>

#include <algorithm>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillmere-gallery"));
    quillmere::installFontSubstitutes();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows every drawn control of Quillmere."));
    parser.addHelpOption();
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Write a PNG of the window and exit."),
                                        QStringLiteral("FILE"));
    parser.addOption(screenshot);
    const QCommandLineOption crop(QStringLiteral("crop"),
                                  QStringLiteral("Keep only this part of the screenshot."),
                                  QStringLiteral("X,Y,W,H"));
    parser.addOption(crop);
    const QCommandLineOption zoom(QStringLiteral("zoom"),
                                  QStringLiteral("Enlarge the screenshot N times, pixel by pixel."),
                                  QStringLiteral("N"), QStringLiteral("1"));
    parser.addOption(zoom);
    parser.process(app);

    quillmere::GalleryWindow window;
    window.show();
    if (!parser.isSet(screenshot)) {
        return QApplication::exec();
    }
    window.showStates();
    const QString file = parser.value(screenshot);
    int status = 0;
    QTimer::singleShot(0, &window, [&] {
        QImage picture = window.grab().toImage();
        const QStringList part = parser.value(crop).split(QLatin1Char(','));
        if (part.size() == 4) {
            picture =
                picture.copy(part[0].toInt(), part[1].toInt(), part[2].toInt(), part[3].toInt());
        }
        const int factor = std::max(1, parser.value(zoom).toInt());
        picture =
            picture.scaled(picture.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (!picture.save(file, "PNG")) {
            std::fprintf(stderr, "quillmere-gallery: could not write %s\n", qPrintable(file));
            status = 1;
        }
        QApplication::quit();
    });
    QApplication::exec();
    return status;
}
