#include "export/exporter.h"

#include "controls/progress_cyl.h"
#include "export/export_host.h"
#include "export/progress_window.h"
#include "store/day_caption.h"
#include "store/errors.h"
#include "store/handler_guard.h"
#include "store/journal_table.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QUrl>

namespace quillmere {

namespace {

const char kNoFolderPathMessage[] =
    QT_TRANSLATE_NOOP("quillmere::TExporter", "The chosen item is not a folder of the file system. Please choose a folder on a disk "
    "to export the entries to.");

}  // namespace

QStringList FailureChoiceCaptions() {
    return {QCoreApplication::translate("quillmere::TExporter", "Continue"), QCoreApplication::translate("quillmere::TExporter", "Continue Without Asking"),
            QCoreApplication::translate("quillmere::TExporter", "Stop Export")};
}

std::optional<QString> chooseExportFolder(QWidget* parent) {
    const QUrl url = QFileDialog::getExistingDirectoryUrl(
        parent, QCoreApplication::translate("quillmere::TExporter", "Export All Entries"), QUrl(), QFileDialog::ShowDirsOnly);
    if (url.isEmpty()) {
        return std::nullopt;
    }
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

TExportThread::TExportThread(TExporter* exporter) : exporter_(exporter) {
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

void TExportThread::run() {
    TExporter* exporter = exporter_;
    QMetaObject::invokeMethod(
        exporter, [exporter] { runGuarded([exporter] { exporter->ExportAllEntries(); }); },
        Qt::BlockingQueuedConnection);
}

TExporter::TExporter(ExportHost& host, TfrmProgress& progress, QObject* parent)
    : QObject(parent),
      host_(host),
      progress_(progress),
      pause_([](int milliseconds) { QThread::msleep(static_cast<unsigned long>(milliseconds)); }) {
    connect(&progress_, &TfrmProgress::cancelRequested, this, [this] { exportCancelled_ = true; });
}

TExporter::~TExporter() {
    // A worker still waiting for its call: dropping the queued call releases
    // it, so it can end before this object goes.
    while (worker_ && !worker_->wait(QDeadlineTimer(20))) {
        QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
    }
}

void TExporter::btnExportClick() {
    if (exporting_) {
        return;
    }
    try {
        host_.saveIfModified();
        const std::optional<ExportChoice> choice = host_.chooseExport();
        if (!choice) {
            return;
        }
        if (choice->folder.isEmpty()) {
            host_.showError(tr(kNoFolderPathMessage));
            return;
        }
        // A folder that cannot take a single file is said once, before any
        // progress is shown.
        CheckExportFolder(choice->folder);
        choice_ = *choice;
        folder_ = choice->folder;
        exportCancelled_ = false;
        overwriteAll_.reset();
        failuresSilenced_ = false;
        progress_.xipZip->setPosition(0);
        progress_.xipZip->setMax(RecordsInRange(host_.journal(), choice_.days));
        progress_.lblCount->setText(QStringLiteral("0"));
        progress_.Label4->setText(choice_.form == ExportForm::kRtfFiles
                                      ? QCoreApplication::translate("quillmere::TExporter", "Files exported:")
                                      : QCoreApplication::translate("quillmere::TExporter", "Days exported:"));
        progress_.Label4->adjustSize();
        progress_.Label1->setText(QCoreApplication::translate("quillmere::TExporter", "Exporting..."));
        exporting_ = true;
        host_.setJournalCommandsEnabled(false);
        progress_.showCentredOn(host_.ownerWindow());
        QCoreApplication::processEvents();
        // The first question may come at once: its place clear of this
        // window needs the window's place on the screen.
        progress_.waitUntilPlaced();
        worker_ = new TExportThread(this);
        worker_->start();
    } catch (const Error& e) {
        host_.showError(e.message());
    }
}

ExportCallbacks TExporter::windowCallbacks() {
    ExportCallbacks callbacks;
    callbacks.confirmOverwrite = [this](const QString& path) {
        if (overwriteAll_) {
            return *overwriteAll_;
        }
        switch (host_.askOverwrite(OverwriteQuestion(path), &progress_)) {
            case OverwriteAnswer::Yes:
                return true;
            case OverwriteAnswer::YesToAll:
                overwriteAll_ = true;
                return true;
            case OverwriteAnswer::NoToAll:
                overwriteAll_ = false;
                return false;
            case OverwriteAnswer::Cancel:
                // Ends the export after this entry, as the progress window's
                // cancel button does; this file is kept.
                exportCancelled_ = true;
                return false;
            case OverwriteAnswer::No:
                break;
        }
        return false;
    };
    callbacks.entryFailed = [this](double day, const QString& message) {
        return afterFailure(day, message);
    };
    callbacks.advanceBar = [this] {
        progress_.xipZip->setPosition(progress_.xipZip->position() + 1);
    };
    callbacks.showWritten = [this](int written) {
        // "Files exported:" counts files written, not the ones kept or failed.
        progress_.lblCount->setText(QString::number(written));
    };
    callbacks.processEvents = [] { QCoreApplication::processEvents(); };
    callbacks.cancelled = [this] { return exportCancelled_; };
    return callbacks;
}

FailureAnswer TExporter::afterFailure(double day, const QString& message) {
    if (failuresSilenced_) {
        return FailureAnswer::kContinue;
    }
    // Placed clear of the progress window, which stays on top: the box would
    // otherwise wait unseen behind it.
    switch (host_.askAfterFailure(DayMessage(day, message), &progress_)) {
        case FailureChoice::kContinue:
            return FailureAnswer::kContinue;
        case FailureChoice::kContinueWithoutAsking:
            failuresSilenced_ = true;
            return FailureAnswer::kContinue;
        case FailureChoice::kStop:
            break;
    }
    return FailureAnswer::kStop;
}

void TExporter::ExportAllEntries() {
    lastSummary_ = ExportSummary();
    QString failure;
    try {
        if (choice_.form == ExportForm::kRtfFiles) {
            lastSummary_ = ExportEntries(host_.journal(), folder_, windowCallbacks(), choice_.days);
        } else {
            lastSummary_ = ExportBook(host_.journal(), bookPath(), choice_.form, windowCallbacks(),
                                      choice_.days, BookPageSize());
        }
        if (lastSummary_.end == ExportEnd::kCompleted) {
            // "Export Complete" stays on the screen for a moment; nothing is
            // repainted meanwhile.
            pause_(kFinishPauseMs);
        }
    } catch (const Error& e) {
        failure = e.message();
    } catch (const std::exception& e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    // Every message after the loop comes once the progress window is gone,
    // so none can hide behind it.
    progress_.close();
    if (!failure.isEmpty()) {
        host_.showError(failure);
    } else {
        reportResult();
    }
    finish();
}

void TExporter::reportResult() {
    if (lastSummary_.end == ExportEnd::kFolderFailed) {
        host_.showError(FolderFailureText(lastSummary_));
        return;
    }
    const QString result = ExportResultText(lastSummary_, folder_);
    if (!result.isEmpty()) {
        host_.showInformation(result);
    }
}

QString TExporter::bookPath() const {
    return QDir(folder_).filePath(BookFileName(choice_.form, choice_.days));
}

void TExporter::cancelExport() {
    if (exporting_ && !exportCancelled_) {
        progress_.Label1->setText(QCoreApplication::translate("quillmere::TExporter", "Finalizing..."));
        exportCancelled_ = true;
    }
}

void TExporter::finish() {
    exporting_ = false;
    host_.setJournalCommandsEnabled(true);
    emit exportFinished();
}

}  // namespace quillmere
