// Import and save-as of the current entry: the file dialogs `OpenDialog1` and
// `SaveDialog1` behind small function types (tests put scripted choices in
// their place), the choice of text format by extension, and the two commands'
// cores over the editor.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace quillmere {

class RichEditor;

// `OpenDialog1`: title, filter (in the Windows form "label|patterns|...") and
// default extension.
inline constexpr char kImportDialogTitle[] = QT_TRANSLATE_NOOP("quillmere::EntryFiles", "Import Document");
inline constexpr char kImportFilter[] =
    QT_TRANSLATE_NOOP("quillmere::EntryFiles", "All Supported Documents (*.*)|*.rtf;*.txt|Rich Text File (*.rtf)|*.rtf|"
    "Plain Text File (*.txt)|*.txt");
// `SaveDialog1`: filter; the title is the system's.
inline constexpr char kSaveFilter[] = QT_TRANSLATE_NOOP("quillmere::EntryFiles", "Rich Text Format (*.rtf)|*.rtf");
// Both dialogs' default extension, without its dot.
inline constexpr char kDefaultExtension[] = "rtf";

// The messages of the two commands ("%1" is the file name).
inline constexpr char kCannotOpenFile[] = QT_TRANSLATE_NOOP("quillmere::EntryFiles", "Cannot open file %1");
inline constexpr char kCannotCreateFile[] = QT_TRANSLATE_NOOP("quillmere::EntryFiles", "Cannot create file %1");
inline constexpr char kFailedToSaveStream[] = QT_TRANSLATE_NOOP("quillmere::EntryFiles", "Failed to Save Stream");

// The name filters of a Windows filter string, one per label and pattern
// pair, as Qt's file dialogs take them: the patterns the pair filters by,
// in the label's parentheses ("All Supported Documents (*.rtf *.txt)").
QStringList documentNameFilters(const QString& windowsFilter);

// True when the file name ends in ".txt" in any letter case: plain text;
// every other name means rich text.
bool isPlainTextFile(const QString& path);

// The chosen file name, or nothing when the dialog was cancelled.
using OpenFileDialogFn = std::function<std::optional<QString>(QWidget* parent)>;
// The chosen file name, or nothing when cancelled. The dialog offers
// `proposedName` (a file name without folder; none when empty) in the folder
// it shows, adds the default extension to a name typed without one and asks
// before overwriting.
using SaveFileDialogFn =
    std::function<std::optional<QString>(QWidget* parent, const QString& proposedName)>;

// Qt's file dialogs set up as `OpenDialog1` (file must exist) and
// `SaveDialog1` (overwrite prompt); each remembers its folder.
OpenFileDialogFn platformOpenDialog();
SaveFileDialogFn platformSaveDialog();

// Replaces the editor's content with the file: read as plain text (all of it
// in the editor's default character format) for ".txt", as RTF otherwise;
// when that fails, in the other format. The editor is in rich mode
// afterwards either way, the caret at the start, and the entry is marked
// modified, so that leaving the day stores it. Throws Error
// kCannotOpenFile naming the file when it cannot be read, RtfError("Failed
// to Load Stream") when neither format reads (the editor keeps its content).
void importEntryFile(RichEditor& editor, const QString& path);

// Writes the whole content to the file: plain text (UTF-8) for ".txt", RTF
// otherwise. The file is written beside its final name and renamed over it,
// so a failed save never leaves a truncated file under that name. Throws
// Error kCannotCreateFile naming the file when its folder takes no new file,
// kFailedToSaveStream when writing fails (an old file stays as it was).
void saveEntryFile(const RichEditor& editor, const QString& path);

// The name a save dialog gave, with ".rtf" added when it has no extension.
QString withDefaultExtension(const QString& path);

// The name save-as offers for the entry of a day: `dayName` (the day as
// "yyyy-mm-dd") with ".rtf", as the export of all entries names its files;
// empty for an empty `dayName`.
QString proposedEntryFileName(const QString& dayName);

// The import and save-as commands (`btnNoteBookOpenClick`,
// `btnNoteBookSaveAsClick`) with their dialogs.
class EntryFileCommands {
public:
    EntryFileCommands();

    void setOpenDialog(OpenFileDialogFn dialog) { OpenDialog1 = std::move(dialog); }
    void setSaveDialog(SaveFileDialogFn dialog) { SaveDialog1 = std::move(dialog); }
    // Asked when ".rtf" was added to a typed name and that file exists;
    // true to overwrite it. Without it such a file is not overwritten.
    std::function<bool(const QString& question)> confirm;
    // Shows a save error in the error box; without it the error is thrown.
    std::function<void(const QString& message)> showError;

    // Import: the dialog, then importEntryFile. Cancelled: nothing. Throws as
    // importEntryFile (the import's errors reach the default error display).
    void btnNoteBookOpenClick(RichEditor& editor, QWidget* parent);
    // Save-as: nothing for an entry without text; otherwise saveContentAs.
    void btnNoteBookSaveAsClick(const RichEditor& editor, QWidget* parent,
                                const QString& dayName = {});

    enum class SaveOutcome { kSaved, kCancelled, kFailed };
    // The save dialog offering the day's file name (proposedEntryFileName of
    // `dayName`), then saveEntryFile into the chosen file (also for an entry
    // without text). kCancelled when the dialog was cancelled or the user
    // kept an existing file; kFailed after the error went to showError.
    // Throws saveEntryFile's Error when there is no showError.
    SaveOutcome saveContentAs(const RichEditor& editor, QWidget* parent,
                              const QString& dayName = {});

private:
    OpenFileDialogFn OpenDialog1;
    SaveFileDialogFn SaveDialog1;
};

}  // namespace quillmere
