// The main window as the search window and the export see it: two small
// adapters that forward to TfrmMain, so neither part knows the program's
// other windows.
#pragma once

#include "export/export_host.h"
#include "lookback/on_this_day_window.h"
#include "search/search_host.h"

#include <functional>
#include <optional>

namespace quillmere {

class TfrmMain;

// What the search window asks of the main window. `main` must outlive it.
class MainSearchHost : public SearchHost {
public:
    explicit MainSearchHost(TfrmMain& main) : main_(main) {}

    const JournalTable& journal() const override;
    // TfrmMain::ShowDay, except while an export holds the journal commands:
    // storing and moving the current record then would disturb its walk, so
    // the request is ignored. Throws what ShowDay throws.
    void ShowDay(double day) override;
    // Picture 20 of the formatting commands' image list on white (a null
    // image when the list has no such picture).
    QImage resultImage() const override;
    void showError(const QString& message) override;
    void showInformation(const QString& message) override;
    void setJournalCommandsEnabled(bool enabled) override;
    QWidget* mainWindow() const override;

private:
    TfrmMain& main_;
};

// What the On This Day window asks of the main window. `main` must outlive it.
class MainLookbackHost : public LookbackHost {
public:
    explicit MainLookbackHost(TfrmMain& main) : main_(main) {}

    const JournalTable& journal() const override;
    QDate shownDate() const override;
    QDate today() const override;
    // TfrmMain::ShowDay, except while a scan or an export holds the journal
    // commands (then nothing). Throws what ShowDay throws.
    void ShowDay(double day) override;
    void showError(const QString& message) override;
    QWidget* mainWindow() const override;

private:
    TfrmMain& main_;
};

// What the export asks of the main window. `main` must outlive it.
// The question asked once in a run before an encrypted diary is exported.
QString PlainExportQuestion();

class MainExportHost : public ExportHost {
public:
    using FolderChooser = std::function<std::optional<QString>()>;

    explicit MainExportHost(TfrmMain& main) : main_(main) {}

    JournalTable& journal() override;
    // SaveEntry when the editor is modified (SaveEntry shows its own errors).
    void saveIfModified() override;
    bool confirm(const QString& question) override;
    // The overwrite question with Yes, No, Yes to All, No to All and Cancel,
    // placed clear of the progress window.
    OverwriteAnswer askOverwrite(const QString& question, QWidget* keepVisible) override;
    void showError(const QString& message) override;
    // The error box with Continue, Continue Without Asking and Stop Export,
    // placed clear of the progress window.
    FailureChoice askAfterFailure(const QString& message, QWidget* keepVisible) override;
    void showInformation(const QString& message) override;
    // The chooser set by setFolderChooser, else the desktop's folder chooser
    // owned by the main window.
    std::optional<QString> chooseFolder() override;
    // The chooser set by setExportChooser; else, with a folder chooser set,
    // that folder for RTF files of every day; else the folder dialog with
    // the form and the days, its range starting on the diary's first and
    // last days.
    std::optional<ExportChoice> chooseExport() override;
    void setJournalCommandsEnabled(bool enabled) override;
    QWidget* ownerWindow() override;

    // Replaces the folder chooser (tests script the answer); an empty
    // function brings the desktop's chooser back.
    void setFolderChooser(FolderChooser chooser) { chooser_ = std::move(chooser); }
    // Replaces the whole choice (tests script the form and the days).
    using ExportChooser = std::function<std::optional<ExportChoice>()>;
    void setExportChooser(ExportChooser chooser) { exportChooser_ = std::move(chooser); }

private:
    // Asks once in a run, for an encrypted diary, whether its entries may
    // leave as plain files; true when they may (always for a plain diary).
    bool agreeToPlainExport();

    TfrmMain& main_;
    FolderChooser chooser_;
    // The user agreed in this run that exported entries of an encrypted
    // diary are plain files.
    bool plainExportAgreed_ = false;
    ExportChooser exportChooser_;
};

}  // namespace quillmere
