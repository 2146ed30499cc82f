#include "editor/pictures/picture_commands.h"

#include "editor/pictures/picture_clipboard.h"
#include "editor/pictures/picture_file.h"
#include "editor/pictures/picture_preparation.h"
#include "editor/rich_editor.h"
#include "editor/url_links.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace quillmere {

namespace {

// The hourglass for the time a picture is converted; the arrow comes back
// also after an error.
class PictureWaitCursor {
public:
    PictureWaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~PictureWaitCursor() { QApplication::restoreOverrideCursor(); }
    PictureWaitCursor(const PictureWaitCursor&) = delete;
    PictureWaitCursor& operator=(const PictureWaitCursor&) = delete;
};

}  // namespace

// The classic kinds first, then PNG and WebP, which "All" lists as well.
const char* const PictureCommands::kPictureFilter =
    QT_TRANSLATE_NOOP("quillmere::PictureCommands", "All (*.gif;*.jpg;*.jpeg;*.bmp;*.emf;*.wmf;*.png;*.webp)|"
    "*.gif;*.jpg;*.jpeg;*.bmp;*.emf;*.wmf;*.png;*.webp|"
    "CompuServe GIF Image (*.gif)|*.gif|JPEG Image File (*.jpg)|*.jpg|"
    "JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|"
    "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf|"
    "PNG Image (*.png)|*.png|WebP Image (*.webp)|*.webp");
const char* const PictureCommands::kLinkFilter =
    QT_TRANSLATE_NOOP("quillmere::PictureCommands", "All Files (*.*)|*.*|Images (*.bmp, *.jpg, *.png, *.gif)|*.bmp;*.jpg;*.jpeg;*.png;*.gif");
const char* const PictureCommands::kLinkTitle = QT_TRANSLATE_NOOP("quillmere::PictureCommands", "Link To Selected File");

PictureCommands::PictureCommands(RichEditor* editor, QWidget* window,
                                 std::function<void(const QString&)> showError,
                                 std::function<void(const QString&)> showInformation,
                                 QObject* parent)
    : QObject(parent),
      Editor(editor),
      window_(window),
      showError_(std::move(showError)),
      showInformation_(std::move(showInformation)),
      fileDialog_(runOpenFileDialog),
      openUrl_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {}

void PictureCommands::letWindowRepaint() {
    // Paints and timers only: no input reaches the window meanwhile.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void PictureCommands::btnInsertPictureClick() {
    FileDialogRequest OpenPictureDialog1;
    OpenPictureDialog1.objectName = QStringLiteral("OpenPictureDialog1");
    OpenPictureDialog1.filter = tr(kPictureFilter);
    OpenPictureDialog1.preview = true;
    const QString path = fileDialog_(window_, OpenPictureDialog1);
    if (path.isEmpty()) {
        return;
    }
    letWindowRepaint();
    PictureWaitCursor wait;
    // Loaded and converted on the editor's picture thread, so that the window
    // goes on while a photograph of many megapixels is read; it goes in at
    // the selection as a paste would put it.
    const PreparedInsertion outcome = Editor->insertPrepared([path] {
        PreparedInsertion insertion;
        insertion.items.push_back({preparePictureFile(path), {}});
        return insertion;
    });
    if (!outcome.error.isEmpty()) {
        throw PictureError(outcome.error);
    }
    const PreparedPicture& picture = outcome.items.front().picture;
    if (picture.isNull()) {
        if (showInformation_) {
            showInformation_(
                tr("The picture in %1 cannot be inserted: only metafiles that hold "
                               "a bitmap can be shown.")
                    .arg(QFileInfo(path).fileName()));
        }
        return;
    }
    // Left on the clipboard in its stored form, so that Paste inserts it again.
    putPictureOnClipboard(picture);
    Editor->setFocus();
}

void PictureCommands::btnInsertLinkClick() {
    FileDialogRequest OpenDialog2;
    OpenDialog2.objectName = QStringLiteral("OpenDialog2");
    OpenDialog2.title = tr(kLinkTitle);
    OpenDialog2.filter = tr(kLinkFilter);
    OpenDialog2.defaultExtension = QStringLiteral("*.*");
    const QString path = fileDialog_(window_, OpenDialog2);
    if (path.isEmpty()) {
        return;
    }
    try {
        letWindowRepaint();
        Editor->replaceSelection(fileLinkText(QDir::toNativeSeparators(path)));
        // The link needs no attribute of its own: the editor shows every
        // "file:" address as a link.
        Editor->setFocus();
    } catch (const Error& e) {
        if (!showError_) {
            throw;
        }
        showError_(e.message());
    } catch (const std::exception& e) {
        if (!showError_) {
            throw;
        }
        showError_(QString::fromLocal8Bit(e.what()));
    }
}

void PictureCommands::EditorURLClick(const QString& urlText, Qt::MouseButton) {
    openUrl_(linkTarget(urlText));
}

}  // namespace quillmere
