// The program's life: its eight windows, made once in their order at start
// and destroyed in the reverse order at the end.
#pragma once

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

// Where the program keeps its files.
struct ProgramPaths {
    QString dataFolder;     // "Journal.cds", "Settings.cds", "FontSettings.Ini"
    QString placementFile;  // the window placement profile file
};

// The paths of a normal run: the data folder helper's folder and the
// placement file named after the executable.
ProgramPaths DefaultProgramPaths();

class Program {
public:
    // Creates the windows in this order: main (opens "Journal.cds"), login
    // (opens "Settings.cds"), emoticons, character map, calendar, settings
    // (fills its font controls from the settings record), search, progress.
    // Opening errors are shown in the error box and start-up goes on.
    explicit Program(const ProgramPaths& paths);

    // Destroys the windows in reverse order (the export first, which waits
    // for a worker still running); the login window's destruction
    // writes "Settings.cds" and the main window's "Journal.cds", each only
    // when its table changed. A file that cannot be written is reported in
    // the error box with its name.
    ~Program();

    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the main window (which runs the login gate) and runs the message
    // loop until the main window has closed. Returns the loop's exit code.
    int run();

    // Shows the main window without running the loop (tests drive the loop
    // themselves). False when the login did not pass and the window closed.
    bool start();

    // Destroys the windows now, in reverse order (the destructor then has
    // nothing left to do).
    void destroyWindows();

    TfrmMain* main() const { return main_.get(); }
    TfrmLogin* login() const { return login_.get(); }
    TfrmEmoticons* emoticons() const { return emoticons_.get(); }
    TDLLForm* characterMap() const { return characterMap_.get(); }
    TfrmCalendar* calendar() const { return calendar_.get(); }
    TfrmSettings* settings() const { return settings_.get(); }
    TfrmDBSearch* search() const { return search_.get(); }
    TfrmProgress* progress() const { return progress_.get(); }
    // The export behind the Export button and the main window as the export
    // sees it (tests script its folder chooser).
    TExporter* exporter() const { return exporter_.get(); }
    MainExportHost* exportHost() const { return exportHost_.get(); }

private:
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
};

}  // namespace quillmere
