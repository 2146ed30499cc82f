#include "shell/end_of_run.h"

#include "shell/entry_merge.h"
#include "shell/message_boxes.h"
#include "store/day.h"
#include "store/day_caption.h"
#include "store/errors.h"
#include "store/journal_session.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace quillmere {

namespace {

QString dayList(const std::vector<double>& days) {
    QStringList captions;
    for (const double day : days) {
        captions << DayCaption(dateFromDay(day));
    }
    return captions.join(QStringLiteral(", "));
}

}  // namespace

WriteFailureChoice AskAboutWriteFailure(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QCoreApplication::translate("quillmere::EndOfRun", "Error"), text);
    QPushButton* retry = box.addButton(QMessageBox::Retry);
    QPushButton* saveAs = box.addButton(QCoreApplication::translate("quillmere::EndOfRun", "Save As..."), QMessageBox::AcceptRole);
    QPushButton* quit =
        box.addButton(QCoreApplication::translate("quillmere::EndOfRun", "Quit Without Saving"), QMessageBox::RejectRole);
    box.setDefaultButton(retry);
    box.setEscapeButton(quit);
    box.exec();
    if (box.clickedButton() == retry) {
        return WriteFailureChoice::kRetry;
    }
    if (box.clickedButton() == saveAs) {
        return WriteFailureChoice::kSaveAs;
    }
    return WriteFailureChoice::kGiveUp;
}

std::optional<QString> AskForSaveFolder() {
    const QString folder = QFileDialog::getExistingDirectory(
        nullptr, QCoreApplication::translate("quillmere::EndOfRun", "Save the Diary Into"), QString(),
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return folder;
}

QString WriteFailureText(const QString& message, bool logHoldsRun) {
    if (!logHoldsRun) {
        return message + QCoreApplication::translate("quillmere::EndOfRun",
                             "\n\nThis run's entries are not kept anywhere else: \"%1\" could "
                             "not be written either. Try again, or save the diary into another "
                             "folder?")
                             .arg(QString::fromLatin1(kRecoveryFileName));
    }
    return message + QCoreApplication::translate("quillmere::EndOfRun",
                         "\n\nNothing is lost: this run's entries stay in \"%1\" beside it and "
                         "come back at the next start. Try again, or save the diary into "
                         "another folder?")
                         .arg(QString::fromLatin1(kRecoveryFileName));
}

QString MergedDaysText(const std::vector<double>& days, const std::vector<double>& bothChanged) {
    QString text = QCoreApplication::translate("quillmere::EndOfRun",
        "\"Journal.cds\" was changed by another program while Quillmere was running.");
    if (!days.empty()) {
        text +=
            QStringLiteral(" The entries of these days were taken from it: %1.").arg(dayList(days));
    }
    if (!bothChanged.empty()) {
        text += QCoreApplication::translate(
                    "EndOfRun",
                    " These days were changed both here and in it, so each entry now holds both "
                    "texts, the changed file's below the line \"%1\": %2.")
                    .arg(ChangedFileMarkerLine(), dayList(bothChanged));
    }
    return text;
}

QString KeepRescueText() {
    return QCoreApplication::translate(
               "EndOfRun",
               "Keep the rescued diary? It is then written as \"%1\", and the damaged file is "
               "kept beside it under a name starting with \"%2\".\n\nNot Now leaves both files "
               "as they are; the rescued days and the text of this run are offered again at the "
               "next start.")
        .arg(QString::fromLatin1(kJournalFileName), QString::fromLatin1(kDamagedJournalPrefix));
}

QString RescueKeptText(const QString& damagedKeptAs) {
    return QCoreApplication::translate("EndOfRun",
                                       "The rescued diary is now \"%1\". The damaged file was "
                                       "kept beside it as \"%2\".")
        .arg(QString::fromLatin1(kJournalFileName), damagedKeptAs);
}

QString RecoveredText(const std::vector<double>& days, bool settings) {
    QString text = QCoreApplication::translate("quillmere::EndOfRun", "Quillmere did not end normally last time.");
    if (!days.empty()) {
        text += QCoreApplication::translate("quillmere::EndOfRun", " The entries of these days were recovered: %1.").arg(dayList(days));
    }
    if (settings) {
        text += QCoreApplication::translate("quillmere::EndOfRun", " The settings were recovered.");
    }
    return text;
}

QString KeptAsBackupText(const QString& reason) {
    return QCoreApplication::translate(
               "EndOfRun",
               "\"Journal.cds\" was changed by another program while Quillmere was running, "
               "and Quillmere cannot read it: %1. It was kept as \"Journal.cds.bak\", and the "
               "diary was written as this run left it.")
        .arg(reason);
}

QString RecoveredText(const JournalSession::Recovered& recovered) {
    QString text = RecoveredText(recovered.days, recovered.settings);
    if (!recovered.draftDays.empty()) {
        text += QCoreApplication::translate("quillmere::EndOfRun",
                    " The text being typed for %1 is as it was a few seconds before the end.")
                    .arg(dayList(recovered.draftDays));
    }
    if (recovered.logDamaged) {
        text += QCoreApplication::translate("quillmere::EndOfRun",
                    " Part of \"%1\" was damaged and could not be read, so a change made "
                    "then may be missing; the file is kept until Quillmere ends normally.")
                    .arg(QString::fromLatin1(kRecoveryFileName));
    }
    return text;
}

namespace {

void writeJournalAsking(JournalSession& session, const WriteFailurePrompt& prompt,
                        const FolderPrompt& chooseFolder) {
    for (;;) {
        try {
            const JournalSession::JournalWrite written = session.writeJournal();
            if (!written.damagedKeptAs.isEmpty()) {
                ShowInformationBox(nullptr, RescueKeptText(written.damagedKeptAs));
            }
            if (!written.fromFile.empty() || !written.bothChanged.empty()) {
                ShowInformationBox(nullptr, MergedDaysText(written.fromFile, written.bothChanged));
            }
            if (!written.keptAsBackup.isEmpty()) {
                ShowErrorBox(nullptr, KeptAsBackupText(written.keptAsBackup));
            }
            return;
        } catch (const Error& e) {
            switch (prompt(WriteFailureText(e.message(), session.recoveryLogHoldsRun()))) {
                case WriteFailureChoice::kRetry:
                    continue;
                case WriteFailureChoice::kGiveUp:
                    return;
                case WriteFailureChoice::kSaveAs:
                    break;
            }
        }
        const std::optional<QString> folder = chooseFolder();
        if (!folder) {
            continue;
        }
        try {
            session.saveJournalCopy(*folder);
            QString saved = QCoreApplication::translate("quillmere::EndOfRun", "The diary was saved into \"%1\".").arg(*folder);
            if (session.recoveryLogHoldsRun()) {
                saved +=
                    QCoreApplication::translate("quillmere::EndOfRun", " The entries of this run also come back at the next start.");
            }
            ShowInformationBox(nullptr, saved);
            return;
        } catch (const Error& e) {
            ShowErrorBox(nullptr, e.message());
        }
    }
}

}  // namespace

void EndRun(JournalSession& session, const WriteFailurePrompt& prompt,
            const FolderPrompt& chooseFolder) {
    try {
        session.writeSettings();
    } catch (const Error& e) {
        ShowErrorBox(nullptr, e.message());
    }
    // A locked diary writes nothing (its key is wiped): the rescued days are
    // offered again at the next start.
    if (session.rescueOpen() && !session.locked()) {
        const int choice =
            ShowChoiceBox(nullptr, KeepRescueText(),
                          {QCoreApplication::translate("EndOfRun", "Keep Rescued Diary"),
                           QCoreApplication::translate("EndOfRun", "Not Now")});
        session.keepRescuedJournal(choice == 0);
    }
    writeJournalAsking(session, prompt, chooseFolder);
    try {
        session.finishRun();
    } catch (const Error& e) {
        ShowErrorBox(nullptr, e.message());
    }
}

}  // namespace quillmere
