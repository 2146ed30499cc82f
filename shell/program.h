// The program's life: the journal session (one per data folder, locked), its
// eight windows, made once in their order at start and destroyed in the
// reverse order at the end, and the writing of the data files after them.
#pragma once

#include "shell/end_of_run.h"

#include <QString>

#include <memory>

namespace quillmere {

class TfrmMain;
class TfrmLogin;
class TfrmEmoticons;
class TDLLForm;
class TfrmCalendar;
class TfrmSettings;
class TfrmDBSearch;
class TfrmProgress;
class TExporter;
class MainSearchHost;
class MainExportHost;
class MainLookbackHost;
class TfrmOnThisDay;
class JournalSession;
class TerminationSignals;
class IdleLock;

// Where the program keeps its files.
struct ProgramPaths {
    QString dataFolder;     // "Journal.cds", "Settings.cds", "FontSettings.Ini"
    QString placementFile;  // the window placement profile file
    // The folder the data files should have been in when it could not be
    // written (dataFolder is then the user's data folder); empty otherwise.
    QString dataFolderFallbackFrom;
};

// The paths of a normal run: the data folder helper's folder (and the
// fallback it made) and the placement file named after the executable.
ProgramPaths DefaultProgramPaths();

// The information box at start after a fallback: the folder that could not
// be written and the full path of the folder the diary is kept in; with
// `copied`, also that the diary found in the unwritable folder was copied.
QString DataFolderFallbackText(const QString& unwritable, const QString& dataFolder,
                               bool copied = false);

// The question after a damaged "Journal.cds" was reported: how many days the
// salvage reader can read (`days`) and knows lost, and how many days the
// recovery log holds text of. For an encrypted journal that cannot be read
// past its damage (`restUnreadable`) the text says that everything after the
// damage is lost, with the days the journal counted in all when known
// (`diaryDays` > 0).
QString RescueOfferText(int days, int lostDays, int logDays, bool restUnreadable = false,
                        int diaryDays = 0);

class Program {
public:
    // Takes the data folder's lock first: when another running program holds
    // it, nothing is made or read (refused()). When the data folder is a
    // fallback (paths.dataFolderFallbackFrom), a diary in the folder that
    // could not be written is copied into it once (adoptDiaryFrom; a copy
    // that fails is shown in the error box and the program ends at once,
    // ended()), and the information box right after the login says where the
    // diary is kept. Then creates the windows in this order: main (opens
    // "Journal.cds"), login (opens "Settings.cds"), emoticons, character map,
    // calendar, settings (fills its font controls from the settings record),
    // search, progress, On This Day. Opening errors are shown in the error box and
    // start-up goes on; for a damaged journal the days that can be rescued
    // are offered (RescueOfferText), and Quit ends the program at once. A
    // recovery log a killed run left is replayed right after the login window
    // opened the settings, before any window reads them, and told after the
    // login. An encrypted journal is opened by the login, which gives its
    // key: the rescue of a damaged one is offered right after the login
    // (Quit then ends the program as the login's Exit does), its log is
    // replayed then, and the settings window fills its controls again.
    explicit Program(const ProgramPaths& paths);

    // destroyWindows().
    ~Program();

    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the main window (which runs the login gate) and runs the message
    // loop until the main window has closed; SIGTERM, SIGHUP and the
    // desktop's logout close it as Exit does. Returns the loop's exit code.
    // A refused program shows "Quillmere is already running with this
    // diary." in the information box and returns 0 at once.
    int run();

    // True when another running program holds the data folder.
    bool refused() const { return refused_; }
    // True when the program ends before the login: the diary could not be
    // copied from the unwritable folder, or the user quit at the rescue offer.
    bool ended() const { return quitAtStart_; }

    // Shows the main window without running the loop (tests drive the loop
    // themselves). False when the login did not pass and the window closed.
    bool start();

    // Destroys the windows now, in reverse order (the export first, which
    // waits for a worker still running), then writes "Settings.cds" and
    // "Journal.cds" when they changed and removes the recovery log (EndRun).
    // The destructor then has nothing left to do.
    void destroyWindows();

    // The session the windows view (null when refused).
    JournalSession* session() const { return session_.get(); }

    // Replace the boxes asked when "Journal.cds" cannot be written (tests).
    void setWriteFailurePrompt(WriteFailurePrompt prompt) { writePrompt_ = std::move(prompt); }
    void setFolderPrompt(FolderPrompt prompt) { folderPrompt_ = std::move(prompt); }

    TfrmMain* main() const { return main_.get(); }
    TfrmLogin* login() const { return login_.get(); }
    TfrmEmoticons* emoticons() const { return emoticons_.get(); }
    TDLLForm* characterMap() const { return characterMap_.get(); }
    TfrmCalendar* calendar() const { return calendar_.get(); }
    TfrmSettings* settings() const { return settings_.get(); }
    TfrmDBSearch* search() const { return search_.get(); }
    TfrmProgress* progress() const { return progress_.get(); }
    // The On This Day window, made after the design's eight.
    TfrmOnThisDay* onThisDay() const { return onThisDay_.get(); }
    // The export behind the Export button and the main window as the export
    // sees it (tests script its folder chooser).
    TExporter* exporter() const { return exporter_.get(); }
    MainExportHost* exportHost() const { return exportHost_.get(); }

private:
    // The diary beside the unwritable program folder, copied into the data
    // folder; false when that failed (shown) and the program must end.
    bool adoptDiary(const ProgramPaths& paths);
    void createWindows(const ProgramPaths& paths);
    // False when the user chose to quit.
    bool offerRescue();
    void recover();
    // Right after the login passed; false ends the program.
    bool afterLogin();

    std::unique_ptr<JournalSession> session_;
    bool refused_ = false;
    bool quitAtStart_ = false;
    bool diaryCopied_ = false;
    // The journal is encrypted: its rescue and its log wait for the login.
    bool recoverAfterLogin_ = false;
    bool ended_ = false;
    WriteFailurePrompt writePrompt_ = AskAboutWriteFailure;
    FolderPrompt folderPrompt_ = AskForSaveFolder;
    // The main window as the search and the export see it; made before and
    // destroyed after the windows that use them.
    std::unique_ptr<MainSearchHost> searchHost_;
    std::unique_ptr<MainExportHost> exportHost_;
    std::unique_ptr<TfrmMain> main_;
    std::unique_ptr<TfrmLogin> login_;
    std::unique_ptr<TfrmEmoticons> emoticons_;
    std::unique_ptr<TDLLForm> characterMap_;
    std::unique_ptr<TfrmCalendar> calendar_;
    std::unique_ptr<TfrmSettings> settings_;
    std::unique_ptr<TfrmDBSearch> search_;
    std::unique_ptr<TfrmProgress> progress_;
    std::unique_ptr<TExporter> exporter_;
    // Locks an encrypted diary after the idle minutes.
    std::unique_ptr<IdleLock> idleLock_;
    std::unique_ptr<MainLookbackHost> lookbackHost_;
    std::unique_ptr<TfrmOnThisDay> onThisDay_;
};

}  // namespace quillmere
