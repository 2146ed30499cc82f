#include "shell/main_hosts.h"

#include "export/export_choice_dialog.h"
#include "store/day.h"
#include "store/journal_table.h"

#include "editor/format/format_commands.h"
#include "editor/format/image_list.h"
#include "editor/rich_editor.h"
#include "shell/main_window.h"
#include "shell/message_boxes.h"
#include "store/journal_session.h"

#include <QCoreApplication>
#include <QPainter>

namespace quillmere {

namespace {

constexpr int kResultImageIndex = 20;

}  // namespace

// --- Search -----------------------------------------------------------------------

const JournalTable& MainSearchHost::journal() const {
    return main_.journal();
}

void MainSearchHost::ShowDay(double day) {
    if (!main_.journalCommandsEnabled()) {
        return;
    }
    main_.ShowDay(day);
}

QImage MainSearchHost::resultImage() const {
    // Composed here rather than by switching the shared list to a white
    // background, which would repaint the tool bar and menu pictures.
    const QImage picture = main_.Commands->ImageList1->image(kResultImageIndex);
    if (picture.isNull()) {
        return {};
    }
    QImage onWhite(picture.size(), QImage::Format_ARGB32);
    onWhite.fill(Qt::white);
    QPainter painter(&onWhite);
    painter.drawImage(0, 0, picture);
    painter.end();
    return onWhite;
}

void MainSearchHost::showError(const QString& message) {
    ShowErrorBox(&main_, message);
}

void MainSearchHost::showInformation(const QString& message) {
    ShowInformationBox(&main_, message);
}

void MainSearchHost::setJournalCommandsEnabled(bool enabled) {
    main_.setJournalCommandsEnabled(enabled);
}

QWidget* MainSearchHost::mainWindow() const {
    return &main_;
}

// --- Export -----------------------------------------------------------------------

JournalTable& MainExportHost::journal() {
    return main_.journal();
}

void MainExportHost::saveIfModified() {
    if (main_.editor()->isModified()) {
        main_.SaveEntry();
    }
}

bool MainExportHost::confirm(const QString& question) {
    return ShowConfirmBox(&main_, question);
}

OverwriteAnswer MainExportHost::askOverwrite(const QString& question, QWidget* keepVisible) {
    const int chosen = ShowChoiceBox(&main_, question, OverwriteAnswerCaptions(), keepVisible);
    switch (chosen) {
        case 0:
            return OverwriteAnswer::Yes;
        case 1:
            return OverwriteAnswer::No;
        case 2:
            return OverwriteAnswer::YesToAll;
        case 3:
            return OverwriteAnswer::NoToAll;
        default:
            return OverwriteAnswer::Cancel;
    }
}

void MainExportHost::showError(const QString& message) {
    ShowErrorBox(&main_, message);
}

FailureChoice MainExportHost::askAfterFailure(const QString& message, QWidget* keepVisible) {
    switch (ShowErrorChoiceBox(&main_, message, FailureChoiceCaptions(), keepVisible)) {
        case 0:
            return FailureChoice::kContinue;
        case 1:
            return FailureChoice::kContinueWithoutAsking;
        default:
            return FailureChoice::kStop;
    }
}

void MainExportHost::showInformation(const QString& message) {
    ShowInformationBox(&main_, message);
}

QString PlainExportQuestion() {
    return QCoreApplication::translate(
        "MainExportHost",
        "Your diary is encrypted, but the exported entries are written as plain files: "
        "anyone who can open the folder you choose can read them. Export anyway?");
}

bool MainExportHost::agreeToPlainExport() {
    // An encrypted diary's entries leave their protection: the user agrees
    // to that once in a run, before the first export is chosen.
    if (main_.session().encrypted() && !plainExportAgreed_) {
        if (!ShowConfirmBox(&main_, PlainExportQuestion())) {
            return false;
        }
        plainExportAgreed_ = true;
    }
    return true;
}

std::optional<QString> MainExportHost::chooseFolder() {
    if (!agreeToPlainExport()) {
        return std::nullopt;
    }
    return chooser_ ? chooser_() : chooseExportFolder(&main_);
}

std::optional<ExportChoice> MainExportHost::chooseExport() {
    if (!agreeToPlainExport()) {
        return std::nullopt;
    }
    if (exportChooser_) {
        return exportChooser_();
    }
    if (chooser_) {
        return ExportHost::chooseExport();
    }
    // The range starts on the diary's first and last days.
    const JournalTable& table = main_.journal();
    const bool empty = table.recordCount() == 0;
    const QDate first = empty ? main_.currentDate() : dateFromDay(table.dayAt(0));
    const QDate last =
        empty ? main_.currentDate() : dateFromDay(table.dayAt(table.recordCount() - 1));
    return quillmere::chooseExport(&main_, first, last);
}

void MainExportHost::setJournalCommandsEnabled(bool enabled) {
    main_.setJournalCommandsEnabled(enabled);
}

QWidget* MainExportHost::ownerWindow() {
    return &main_;
}

const JournalTable& MainLookbackHost::journal() const {
    return main_.journal();
}

QDate MainLookbackHost::shownDate() const {
    return main_.currentDate();
}

QDate MainLookbackHost::today() const {
    return dateFromDay(main_.today());
}

void MainLookbackHost::ShowDay(double day) {
    if (!main_.journalCommandsEnabled()) {
        return;
    }
    main_.ShowDay(day);
}

void MainLookbackHost::showError(const QString& message) {
    ShowErrorBox(&main_, message);
}

QWidget* MainLookbackHost::mainWindow() const {
    return &main_;
}

}  // namespace quillmere
