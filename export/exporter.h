// The Export button's work: btnExportClick prepares the progress window and
// starts a TExportThread, whose only task is to have ExportAllEntries run on
// the user-interface thread by one blocking, synchronised call. All reading of
// the journal, all file writing and all window work happen on that thread.
#pragma once

#include "export/core/book_export.h"
#include "export/core/export_core.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QThread>

#include <functional>
#include <optional>

namespace quillmere {

class ExportHost;
class TfrmProgress;

class TExporter;

// The worker thread: one blocking call of TExporter::ExportAllEntries on the
// exporter's (user-interface) thread, then it ends and deletes itself.
class TExportThread : public QThread {
    Q_OBJECT

public:
    explicit TExportThread(TExporter* exporter);

protected:
    void run() override;

private:
    TExporter* exporter_;
};

class TExporter : public QObject {
    Q_OBJECT

public:
    static constexpr int kFinishPauseMs = 1000;
    using PauseFn = std::function<void(int milliseconds)>;

    // Lives on the user-interface thread. `progress` is the program's one
    // progress window; both must outlive the exporter.
    TExporter(ExportHost& host, TfrmProgress& progress, QObject* parent = nullptr);
    // Waits for a worker thread that has not finished yet (at program end).
    ~TExporter() override;

    // The Export button: stores a modified entry, asks for the folder, the
    // form and the days (ExportHost::chooseExport), resets the progress
    // window (its bar counts the records of the days chosen) and shows it,
    // then starts a TExportThread and returns. A book (HTML, Markdown, PDF)
    // is written as BookFileName in the chosen folder. Does nothing while an export runs. A chosen
    // item without a path and a folder that cannot take files (ExportFolderProblem) are refused
    // with one error box before anything is shown; an error is shown in the
    // error box.
    void btnExportClick();

    // The export loop (on the user-interface thread): ExportEntries into the
    // chosen folder, or ExportBook for a book (the counter then reads "Days
    // exported:" and counts the entries in the book; a completed book is
    // named in an information box), with the progress window's bar and its counter of files
    // written; on normal end the one-second pause, then (in every case) the
    // progress window is closed and the journal commands are enabled again.
    // An entry that fails is named by its day in an error box placed clear of
    // the progress window ("15 June 2010: data error"), which offers to go on,
    // to go on without asking again, or to stop the export. After the window
    // has closed: a folder that could no longer take files is reported in one
    // error box (FolderFailureText); a completed export that kept or failed
    // entries says how many files were written (ExportResultText). Never
    // throws.
    void ExportAllEntries();

    // Ends a running export after the entry being written, as the cancel
    // button does (the program was asked to end). Nothing when none runs.
    void cancelExport();

    // Set by the progress window's cancel button, cleared when an export starts.
    bool ExportCancelled() const { return exportCancelled_; }
    // From the click until the loop has returned.
    bool isExporting() const { return exporting_; }
    // The worker thread exists (until it has ended and been deleted).
    bool hasWorker() const { return !worker_.isNull(); }
    const ExportSummary& lastSummary() const { return lastSummary_; }

    // The sleep after the last entry (QThread::msleep by default; the window
    // is deliberately not repainted during it). Tests make it instant.
    void setPause(PauseFn pause) { pause_ = std::move(pause); }

signals:
    // The loop has ended (normally or cancelled) and the window is closed.
    void exportFinished();

private:
    ExportCallbacks windowCallbacks();
    FailureAnswer afterFailure(double day, const QString& message);
    void reportResult();
    // The book's file in the chosen folder.
    QString bookPath() const;
    void finish();

    ExportHost& host_;
    TfrmProgress& progress_;
    QString folder_;
    ExportChoice choice_;
    bool exportCancelled_ = false;
    bool exporting_ = false;
    // The user's answer for every remaining file (Yes to All: true, No to
    // All: false); empty until given. Cleared when an export starts.
    std::optional<bool> overwriteAll_;
    // "Continue Without Asking" was chosen after a failed entry: later
    // failures of this export are only counted. Cleared when an export starts.
    bool failuresSilenced_ = false;
    ExportSummary lastSummary_;
    PauseFn pause_;
    QPointer<TExportThread> worker_;
};

}  // namespace quillmere
