// Import and save-as of the current entry.
#include "editor/entry_files.h"

#include "editor/rich_editor.h"
#include "editor/rtf/rtf.h"
#include "store/errors.h"
#include "store/file_access.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>

#include <memory>

namespace quillmere {

namespace {

constexpr char kPlainTextSuffix[] = ".txt";
constexpr char kReplaceQuestion[] = QT_TRANSLATE_NOOP("quillmere::EntryFiles", "%1 already exists.\nDo you want to replace it?");

QString nativeName(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// One dialog per command, made on first use and kept, so that it opens where
// the user was last time.
QFileDialog* sharedFileDialog(QPointer<QFileDialog>& slot, QWidget* parent, const char* name) {
    if (slot.isNull()) {
        slot = new QFileDialog(parent != nullptr ? parent->window() : nullptr);
        slot->setObjectName(QString::fromLatin1(name));
    }
    return slot.data();
}

std::optional<QString> chosenFile(QFileDialog& dialog) {
    const int result = dialog.exec();
    // A name typed and confirmed with Enter can leave the name completer's
    // list open over the main window.
    for (QCompleter* completer : dialog.findChildren<QCompleter*>()) {
        if (completer->popup() != nullptr) {
            completer->popup()->hide();
        }
    }
    if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString chosen = dialog.selectedFiles().constFirst();
    // Next time the dialog opens where this file is, also for a typed path.
    dialog.setDirectory(QFileInfo(chosen).absolutePath());
    return chosen;
}

}  // namespace

QStringList documentNameFilters(const QString& windowsFilter) {
    const QStringList parts = windowsFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString label = parts[i];
        const qsizetype open = label.lastIndexOf(u'(');
        if (open > 0 && label.endsWith(u')')) {
            label = label.left(open).trimmed();
        }
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        filters << QStringLiteral("%1 (%2)").arg(label, patterns);
    }
    return filters;
}

bool isPlainTextFile(const QString& path) {
    return path.endsWith(QLatin1String(kPlainTextSuffix), Qt::CaseInsensitive);
}

QString withDefaultExtension(const QString& path) {
    if (!QFileInfo(path).suffix().isEmpty()) {
        return path;
    }
    const QString dot = path.endsWith(u'.') ? QString() : QStringLiteral(".");
    return path + dot + QLatin1String(kDefaultExtension);
}

QString proposedEntryFileName(const QString& dayName) {
    if (dayName.isEmpty()) {
        return {};
    }
    return dayName + QLatin1Char('.') + QLatin1String(kDefaultExtension);
}

OpenFileDialogFn platformOpenDialog() {
    auto slot = std::make_shared<QPointer<QFileDialog>>();
    return [slot](QWidget* parent) -> std::optional<QString> {
        QFileDialog* dialog = sharedFileDialog(*slot, parent, "OpenDialog1");
        dialog->setWindowTitle(QCoreApplication::translate("quillmere::EntryFiles", kImportDialogTitle));
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
        dialog->setNameFilters(documentNameFilters(QCoreApplication::translate("quillmere::EntryFiles", kImportFilter)));
        dialog->setDefaultSuffix(QString::fromLatin1(kDefaultExtension));
        return chosenFile(*dialog);
    };
}

SaveFileDialogFn platformSaveDialog() {
    auto slot = std::make_shared<QPointer<QFileDialog>>();
    return [slot](QWidget* parent, const QString& proposedName) -> std::optional<QString> {
        QFileDialog* dialog = sharedFileDialog(*slot, parent, "SaveDialog1");
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setNameFilters(documentNameFilters(QCoreApplication::translate("quillmere::EntryFiles", kSaveFilter)));
        dialog->setDefaultSuffix(QString::fromLatin1(kDefaultExtension));
        dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
        // The name box offers the day's name in the folder used last.
        dialog->selectFile(proposedName);
        return chosenFile(*dialog);
    };
}

void importEntryFile(RichEditor& editor, const QString& path) {
    QByteArray bytes;
    try {
        bytes = fileAccess().readAll(path);
    } catch (const FileError&) {
        throw Error(QCoreApplication::translate("quillmere::EntryFiles", kCannotOpenFile).arg(nativeName(path)));
    }
    const bool wasPlain = editor.isPlainTextMode();
    editor.setPlainTextMode(isPlainTextFile(path));
    try {
        editor.loadContent(bytes);
    } catch (const Error&) {
        // The content stays; so does the mode it was shown in.
        editor.setPlainTextMode(wasPlain);
        throw;
    }
    // The text read as plain text has one character format now; from here on
    // it is edited as rich text like every entry, so that pictures can be
    // inserted and a format applies to the selection only.
    editor.setPlainTextMode(false);
    // New content for the day: stored when the user leaves it.
    editor.setModified(true);
    editor.moveCaretToStart();
}

void saveEntryFile(const RichEditor& editor, const QString& path) {
    const QByteArray bytes =
        isPlainTextFile(path) ? rtf::writePlainText(*editor.document()) : editor.saveRtf();
    if (!fileAccess().folderWritable(QFileInfo(path).absolutePath())) {
        throw Error(QCoreApplication::translate("quillmere::EntryFiles", kCannotCreateFile).arg(nativeName(path)));
    }
    try {
        fileAccess().writeAtomic(path, bytes);
    } catch (const FileError&) {
        throw Error(QCoreApplication::translate("quillmere::EntryFiles", kFailedToSaveStream));
    }
}

EntryFileCommands::EntryFileCommands()
    : OpenDialog1(platformOpenDialog()), SaveDialog1(platformSaveDialog()) {}

void EntryFileCommands::btnNoteBookOpenClick(RichEditor& editor, QWidget* parent) {
    const std::optional<QString> path = OpenDialog1(parent);
    if (!path) {
        return;
    }
    importEntryFile(editor, *path);
}

void EntryFileCommands::btnNoteBookSaveAsClick(const RichEditor& editor, QWidget* parent,
                                               const QString& dayName) {
    if (editor.toPlainText().isEmpty()) {
        return;
    }
    saveContentAs(editor, parent, dayName);
}

EntryFileCommands::SaveOutcome EntryFileCommands::saveContentAs(const RichEditor& editor,
                                                                QWidget* parent,
                                                                const QString& dayName) {
    const std::optional<QString> chosen = SaveDialog1(parent, proposedEntryFileName(dayName));
    if (!chosen) {
        return SaveOutcome::kCancelled;
    }
    const QString path = withDefaultExtension(*chosen);
    // The dialog asked about the name it gave; a name the extension was
    // added to here is asked about now.
    if (path != *chosen && fileAccess().exists(path)) {
        if (!confirm || !confirm(QCoreApplication::translate("quillmere::EntryFiles", kReplaceQuestion).arg(nativeName(path)))) {
            return SaveOutcome::kCancelled;
        }
    }
    try {
        saveEntryFile(editor, path);
    } catch (const Error& e) {
        if (!showError) {
            throw;
        }
        showError(e.message());
        return SaveOutcome::kFailed;
    }
    return SaveOutcome::kSaved;
}

}  // namespace quillmere
