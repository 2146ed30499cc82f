// The end of a run, after every window is gone: "Settings.cds" and
// "Journal.cds" written when they changed, a changed "Journal.cds" merged, a
// failed write offered again (Retry) or into another folder (Save As), and the
// recovery log removed once both files hold everything.
#pragma once

#include "store/journal_session.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace quillmere {

enum class WriteFailureChoice { kRetry, kSaveAs, kGiveUp };

// Asks what to do about a data file that could not be written; `text` names
// the file and the reason.
using WriteFailurePrompt = std::function<WriteFailureChoice(const QString& text)>;
// Picks a folder for Save As; nothing when the user cancelled.
using FolderPrompt = std::function<std::optional<QString>()>;

// The desktop's boxes: "Error" with Retry, Save As... and Quit Without Saving;
// the folder chooser.
WriteFailureChoice AskAboutWriteFailure(const QString& text);
std::optional<QString> AskForSaveFolder();

// The text of the failure box for the error `message`. `logHoldsRun`: the
// recovery log beside the file holds every change of this run (its last
// write did not fail), so the text may promise that nothing is lost.
QString WriteFailureText(const QString& message, bool logHoldsRun = true);

// The days a merge took from "Journal.cds" (`days`) and whose entry now holds
// both texts (`bothChanged`), and the days a start recovered, as told in the
// information box.
QString MergedDaysText(const std::vector<double>& days,
                       const std::vector<double>& bothChanged = {});
QString RecoveredText(const std::vector<double>& days, bool settings);
// A "Journal.cds" changed meanwhile that could not be read (`reason` names
// it and says why), kept as "Journal.cds.bak".
QString KeptAsBackupText(const QString& reason);
// The whole message after a start that replayed the recovery log: the days
// recovered, which of them hold the unsaved text being typed, the settings,
// and damage that was skipped.
QString RecoveredText(const JournalSession::Recovered& recovered);

// The question at the end of a run on rescued days (Keep Rescued Diary, Not
// Now), and what is told after they were written and the damaged file was
// kept as `damagedKeptAs`.
QString KeepRescueText();
QString RescueKeptText(const QString& damagedKeptAs);

// Writes the data files of `session` and removes its recovery log when they
// hold everything. A journal of rescued days is written only when the user
// keeps it (KeepRescueText). Messages and that question go through the
// program's message boxes; write failures of "Journal.cds" through `prompt`
// and `chooseFolder`. Never throws.
void EndRun(JournalSession& session, const WriteFailurePrompt& prompt,
            const FolderPrompt& chooseFolder);

}  // namespace quillmere
