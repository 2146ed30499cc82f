// What the export needs of the main window. An adapter of TfrmMain implements it; tests use
// a fake that scripts the answers. Every call comes on the user-interface
// thread.
#pragma once

#include "export/core/book_export.h"
#include "export/core/export_core.h"

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace quillmere {

class JournalTable;

// The answers to the error box of a failed entry.
enum class FailureChoice { kContinue, kContinueWithoutAsking, kStop };

// The button captions of that box, in the order of FailureChoice:
// "Continue", "Continue Without Asking", "Stop Export".
QStringList FailureChoiceCaptions();

class ExportHost {
public:
    virtual ~ExportHost() = default;

    // The journal table `tblJournal`, walked by the export in date order.
    virtual JournalTable& journal() = 0;
    // Stores the current entry (SaveEntry) when the editor is modified. Errors
    // it does not show itself may be thrown as Error; the export then stops
    // before anything is written and the message goes to showError.
    virtual void saveIfModified() = 0;
    // "Confirm" box (question icon, Yes and No) with `question`: true for Yes.
    virtual bool confirm(const QString& question) = 0;
    // The overwrite question: a "Confirm" box with the buttons of
    // OverwriteAnswerCaptions, placed so that it does not cover
    // `keepVisible` (the progress window, whose Cancel stays reachable). A
    // host without such a box asks `confirm` and answers Yes or No.
    virtual OverwriteAnswer askOverwrite(const QString& question, QWidget* keepVisible) {
        Q_UNUSED(keepVisible);
        return confirm(question) ? OverwriteAnswer::Yes : OverwriteAnswer::No;
    }
    // Error box (title "Error", error icon, OK) with `message`.
    virtual void showError(const QString& message) = 0;
    // An entry could not be exported: an error box (title "Error", error
    // icon) with `message` and the buttons of FailureChoiceCaptions, placed so
    // that it does not cover `keepVisible` (the progress window). Closing the
    // box answers kStop.
    virtual FailureChoice askAfterFailure(const QString& message, QWidget* keepVisible) = 0;
    // Information box (title "Information", information icon, OK).
    virtual void showInformation(const QString& message) = 0;
    // The folder chooser titled "Export All Entries" (chooseExportFolder does
    // this). Nothing when the user cancels; an empty string for a chosen item
    // that has no path in the file system.
    virtual std::optional<QString> chooseFolder() = 0;
    // The folder dialog with the form and the days (TExportChoiceDialog).
    // A host without it asks chooseFolder: one RTF file per entry, every day.
    virtual std::optional<ExportChoice> chooseExport() {
        const std::optional<QString> folder = chooseFolder();
        if (!folder) {
            return std::nullopt;
        }
        ExportChoice choice;
        choice.folder = *folder;
        return choice;
    }
    // False while an export runs: day navigation, the search, the Export
    // button and every other command that moves `tblJournal`'s current
    // record are disabled; true again when it has ended.
    virtual void setJournalCommandsEnabled(bool enabled) = 0;
    // The main window, for centring the progress window on it (may be null).
    virtual QWidget* ownerWindow() = 0;
};

// The desktop's folder chooser titled "Export All Entries", owned by `parent`,
// preselecting no folder. Nothing when cancelled; an empty string when the
// chosen item is not a folder of the file system.
std::optional<QString> chooseExportFolder(QWidget* parent);

}  // namespace quillmere
