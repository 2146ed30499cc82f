// The open-file dialog of the picture and link commands: Qt's own dialog
// with the program's filters and, for pictures, a preview pane.
#include "editor/pictures/picture_commands.h"

#include "editor/pictures/picture_file.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>

namespace quillmere {

namespace {

constexpr int kPreviewSide = 200;
// Room for the file list beside the preview.
constexpr int kDialogWidth = 860;
constexpr int kDialogHeight = 480;

// "*.jpg" as "*.[jJ][pP][gG]": file names on this system differ by case.
QString caseless(const QString& pattern) {
    if (pattern == u"*.*") {
        return QStringLiteral("*");
    }
    QString out;
    for (QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper()) {
            out += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        } else {
            out += c;
        }
    }
    return out;
}

void addPreview(QFileDialog& dialog) {
    auto* preview = new QLabel(&dialog);
    preview->setObjectName(QStringLiteral("preview"));
    preview->setFixedSize(kPreviewSide, kPreviewSide);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (grid != nullptr) {
        grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    }
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview,
                     [preview](const QString& path) {
                         const QImage image =
                             loadPicturePreview(path, QSize(kPreviewSide - 8, kPreviewSide - 8));
                         if (image.isNull()) {
                             preview->setPixmap({});
                             preview->setText(QString());
                         } else {
                             preview->setPixmap(QPixmap::fromImage(image));
                         }
                     });
}

}  // namespace

QStringList qtNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            patterns.append(caseless(pattern.trimmed()));
        }
        filters.append(parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')'));
    }
    return filters;
}

QString runOpenFileDialog(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent);
    dialog.setObjectName(request.objectName);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!request.title.isEmpty()) {
        dialog.setWindowTitle(request.title);
    }
    dialog.setNameFilters(qtNameFilters(request.filter));
    // "*.*" asks for no particular extension; any other default is added to
    // a typed name without one.
    if (!request.defaultExtension.isEmpty() && !request.defaultExtension.contains(u'*')) {
        dialog.setDefaultSuffix(request.defaultExtension);
    }
    if (request.preview) {
        addPreview(dialog);
        dialog.resize(kDialogWidth, kDialogHeight);
    }
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles().value(0);
}

}  // namespace quillmere
