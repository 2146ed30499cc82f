// The main window's picture and link commands: Insert Picture (through the
// system clipboard, as the editor's Paste), Insert Link (a "file:" link to a
// chosen file) and the opening of a clicked link.
//
// Dialogs and the desktop's "open" are functions the owner (and tests) can
// replace; by default they are Qt's file dialog (not the platform's, with a
// preview of the highlighted picture for pictures) and QDesktopServices.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class QWidget;

namespace quillmere {

class RichEditor;

// An open-file dialog as the program describes it. `filter` is in the
// "Name|patterns|Name|patterns" form; `title` empty means the default title.
struct FileDialogRequest {
    QString objectName;
    QString title;
    QString filter;
    QString defaultExtension;
    bool preview = false;  // show a preview of the highlighted picture
};

// Shows the dialog; returns the chosen file's full path, empty on cancel.
using FileDialogFn = std::function<QString(QWidget* parent, const FileDialogRequest& request)>;
// Asks the desktop to open an address; the result is not checked.
using UrlOpenerFn = std::function<void(const QUrl& url)>;

// The name filters of Qt's file dialog for a "Name|patterns|..." filter. Each
// name is shown exactly as given (the dialog hides the patterns Qt adds after
// it with QFileDialog::HideNameFilterDetails); each pattern is matched
// without regard to case, and "*.*" matches every file, as on the system the
// filters were written for. A filter with an odd number of parts drops the
// last name.
QStringList qtNameFilters(const QString& filter);

// Qt's file dialog for a request: existing files only, our own (not the
// platform's) dialog, a preview pane beside the file list when asked for.
QString runOpenFileDialog(QWidget* parent, const FileDialogRequest& request);

class PictureCommands : public QObject {
    Q_OBJECT
public:
    // The exact filters of the two dialogs.
    static const char* const kPictureFilter;
    static const char* const kLinkFilter;
    static const char* const kLinkTitle;

    // `window` is the main window (parent of the dialogs); both must outlive
    // the commands. `showInformation` shows a message in the information box.
    PictureCommands(RichEditor* editor, QWidget* window,
                    std::function<void(const QString&)> showError,
                    std::function<void(const QString&)> showInformation, QObject* parent = nullptr);

    void setFileDialog(FileDialogFn dialog) { fileDialog_ = std::move(dialog); }
    void setUrlOpener(UrlOpenerFn opener) { openUrl_ = std::move(opener); }

    // Insert Picture: OpenPictureDialog1; on a choice the picture file is
    // loaded by its extension and converted on the editor's picture thread
    // (the window goes on meanwhile), inserted at the selection as a paste
    // would and left on the clipboard in its stored form (replacing what was
    // there). A metafile that holds no bitmap is not inserted; the
    // information box says so. Throws PictureError with the loader's message
    // (not caught here: the application's default error display shows it);
    // nothing is inserted then and the clipboard is left as it was.
    void btnInsertPictureClick();

    // Insert Link: OpenDialog2 titled "Link To Selected File"; the chosen
    // file's link text (fileLinkText) replaces the selection, the caret ends
    // after it. An error is shown in the error box.
    void btnInsertLinkClick();

    // A click on a link: the desktop opens it (linkTarget: a "file:" link
    // with every "%" back to a blank, any other address as written). The
    // button is not used; failures are not reported.
    void EditorURLClick(const QString& urlText, Qt::MouseButton button = Qt::LeftButton);

private:
    void letWindowRepaint();

    RichEditor* Editor;
    QPointer<QWidget> window_;
    std::function<void(const QString&)> showError_;
    std::function<void(const QString&)> showInformation_;
    FileDialogFn fileDialog_;
    UrlOpenerFn openUrl_;
};

}  // namespace quillmere
