// The main window: the date header, the tool bar band, the entry editor and
// the bottom bar with the day commands. It is a view of the journal session,
// which owns the journal, the day shown and the settings; its operations are
// thin calls into the session and the editor, and every other window works on
// the journal through them.
#pragma once

#include <QDate>
#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "shell/placement.h"
#include "store/draft_schedule.h"

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QPushButton;
class QToolBar;

namespace quillmere {

class EntryFileCommands;
class Error;
class EntryPrintCommand;
class FormatCommands;
class PictureCommands;
class SpellChecking;
class TfrmDBSearch;
class TfrmEmoticons;
class TDLLForm;
class RichEditor;
class TRbButton;
class TRbPanel;
class ToolBarKeys;
class TfrmCalendar;
class TfrmLogin;
class TfrmOnThisDay;
class TfrmSettings;
class JournalTable;
class JournalSession;

// The maker's home page, opened from the date header's web label.
inline constexpr const char* kHomePageUrl = "https://quillmere.example.org";
inline constexpr const char* kHomePageCaption = "quillmere.example.org";

class ActivationSource;

class TfrmMain : public QWidget {
    Q_OBJECT
public:
    // Builds the window over `session` and opens "Journal.cds" through it (an
    // error is shown in the error box and leaves the table closed). The
    // placement is kept in `placementFile` (no placement is kept when it is
    // empty). `session` must outlive the window.
    TfrmMain(JournalSession& session, const QString& placementFile, QWidget* parent = nullptr);

    // Saves the placement if closing did not. The data files are written by
    // the session's end of run, after every window is gone.
    ~TfrmMain() override;

    // The windows the main window works with; set by the program right after
    // they are made (the login window owns the settings record, the settings
    // window owns "Skip empty entries").
    void setLoginWindow(TfrmLogin* login) { login_ = login; }
    // Clicking the settings window's "Skip empty entries" stores the option
    // at once (chkSkipClick).
    void setSettingsWindow(TfrmSettings* settings);
    void setCalendarWindow(TfrmCalendar* calendar) { calendar_ = calendar; }
    // The emoticon picker the tool bar's emoticon button shows (null: none).
    void setEmoticonsWindow(TfrmEmoticons* emoticons) { emoticons_ = emoticons; }
    // The search window the tool bar's search button shows (null: none).
    void setSearchWindow(TfrmDBSearch* search) { search_ = search; }
    // The character map the tool bar's special-character button opens (null:
    // the button is disabled).
    void setCharacterMap(TDLLForm* map);
    // The On This Day window its button shows (null: none).
    void setOnThisDayWindow(TfrmOnThisDay* window);

    // --- State ---------------------------------------------------------------

    // The day shown: days since 30 December 1899, no time part.
    double CurrentDay() const;
    QDate currentDate() const;
    // The journal table (for the search and the export, which walk it).
    JournalTable& journal();
    JournalSession& session() const { return session_; }
    RichEditor* editor() const { return Editor; }
    QString dataFolder() const;
    // Set by the login window: false when it becomes active, true when the
    // password check passed.
    bool LoggedIn = false;
    // True once the window has closed and the program is to end.
    bool closed() const { return closed_; }

    // --- Journal operations ----------------------------------------------------

    // Reads "Journal.cds" (or makes an empty table); errors go to the error
    // box and leave the table closed.
    void OpenJournal();
    // Shows the entry of CurrentDay: nothing on an empty table; found: its
    // RTF replaces the editor content; not found: the editor is cleared and
    // not modified. The editor then takes the focus. An entry that does not
    // inflate or read leaves the editor empty and read-only for this day and
    // throws Error "<day caption>: <zlib's or the reader's message>" (for
    // example "15 June 2010: data error"); the stored bytes stay as they are.
    void LoadEntry();
    // Stores the editor content as the entry of CurrentDay (update when the
    // day has a record, insert otherwise; on disk in the recovery log before
    // it returns). A failure inside the insert or update is shown in the
    // error box and the editor stays modified; a failure of the lookup
    // (closed table) is thrown.
    void SaveEntry();
    // The nearest earlier (later) day with an entry, walking through
    // SetCurrentDay, called after CurrentDay moved one day; errors are shown
    // in the error box and give CurrentDay as it was when the search began.
    double FindPreviousEntryDay();
    double FindNextEntryDay();

    // --- Settings ----------------------------------------------------------------

    // Gives an empty editor the default font of the settings record (nothing
    // when there is no record) and marks it not modified.
    void ApplyDefaultFont();
    // Header font name and character set and "Skip empty entries" from
    // "FontSettings.Ini". Throws FileError when the file cannot be read.
    void ReadFontSettings();
    // Writes them to "FontSettings.Ini". Throws FileError; the values stay
    // in use, and activation does not read the file over them until a
    // write went through.
    void WriteFontSettings();
    // "Skip empty entries" was clicked in the settings window: the option is
    // written to "FontSettings.Ini" at once. A failed write is shown in the
    // error box; the option stays as clicked.
    void chkSkipClick();
    // The header font's character set number (as stored in "Charset").
    int headerCharset() const;
    // A spelling language was chosen in the settings window: the editor is
    // checked in it and it is written to "FontSettings.Ini" at once. A
    // failed write is shown in the error box; the choice stays in use.
    void spellingChosen(const QString& choice);

    // --- Days ----------------------------------------------------------------------

    // CurrentDay := day and the header shows it; nothing else.
    void SetCurrentDay(double day);
    // Stores a modified entry, then shows `day` (used by the search results).
    void ShowDay(double day);

    // --- Drafts ----------------------------------------------------------------------

    // Unsaved text is kept as a draft kDraftIdleMs after the last change,
    // and at the latest kDraftMaxWaitMs after the first change not yet kept
    // (store/draft_schedule.h).
    // Hands the editor's text to the session as a draft of CurrentDay now
    // (nothing when the editor is not modified).
    void writeDraft();

    // Adds a paragraph to the message shown once in the information box
    // right after the login passed (where the diary is kept after a
    // fallback, what a start recovered), in the order added.
    void addStartupNotice(const QString& text);

    // Ends the program the way Exit does, as soon as no scan or export holds
    // the journal (a logout, SIGTERM, SIGHUP, or closing the window while they
    // run). While they hold it, an open modal box is closed (as its own close
    // would answer it) and endWaitingForJournal asks them to stop. While the
    // login is shown (with a message over it or not) every modal window
    // closes and the login does not pass, so the program ends as after the
    // login's Exit.
    void requestEnd();

    // Runs once right after the login passed, before the startup notice is
    // shown (the program replays an encrypted diary's recovery log there).
    // False ends the program as the login's Exit does (nothing is written).
    std::function<bool()> afterLogin;

    // The idle lock of an encrypted diary: the entry is stored, the key
    // wiped (JournalSession::lock), every window of the program hidden and
    // the login window asks for the password again; the windows come back
    // when it gives the key back, and Exit there ends the program as Exit
    // does. Nothing happens for a plain diary, while a modal window or a
    // scan is open (the next idle period tries again) or when the entry
    // cannot be stored.
    void lockDiary();

    // --- Commands of the bottom bar ------------------------------------------------

    void btnPreviousClick();
    void btnNextClick();
    void btnTodayClick();
    void btnCalendarClick();
    void btnSettingsClick();
    void btnExitClick();
    void btnHeaderFontClick();
    // The bottom bar's On This Day button (Alt+O): shows the On This Day
    // window for the day shown and brings it to the front.
    void btnOnThisDayClick();
    // The On This Day button's caption: "On This Day", with the number of
    // earlier years that hold an entry for the day shown ("On This Day (3)")
    // when there are any. Follows every change of the day shown.
    void updateOnThisDayCount();
    // The About box (F1, or the date header's "About" button): name,
    // version, licence, home page and the libraries used, shown modally.
    void showAbout();
    // Set by the export work when it arrives; the button does nothing before.
    std::function<void()> onExport;
    // The tool bar's search button: shows the search window and brings it to
    // the front (nothing without one).
    void btnDBSearchClick();
    // The tool bar's emoticon button: shows the picker modally and, when a
    // picture was picked, pastes it from the clipboard over the selection.
    // Nothing happens without a picker. Errors go to the error box.
    void btnInsertEmoticonClick();
    // The tool bar's picture and link buttons and a click on a link in the
    // entry (see PictureCommands). Insert Picture throws its errors on to
    // the application's default error display.
    void btnInsertPictureClick();
    void btnInsertLinkClick();
    void EditorURLClick(const QString& urlText);
    // The tool bar's special-character button: the character map opens with
    // the selection's face; on OK its text replaces the selection (or goes in
    // at the caret) in the map's face at the selection's size and colour.
    // Errors are shown in the error box.
    void btnInsertCharClick();

    // --- Commands that move the journal ----------------------------------------

    // Switches off (false) and back on (true) every command that moves or
    // changes the journal table while a search scan or an export lets input
    // through: Previous, Next, Today, Calendar, Export, Settings, Exit, the
    // tool bar's search button, and closing the window (a close request is
    // refused meanwhile). Calls come in pairs and nest: the commands come
    // back only when every false has had its true.
    void setJournalCommandsEnabled(bool enabled);
    bool journalCommandsEnabled() const;

    // --- Import, save-as and print of the current entry (main_entry_files.cpp) ---

    // The tool bar's import, save-as and print buttons. Import and print
    // errors reach the default error display; save-as errors the error box.
    void btnNoteBookOpenClick();
    void btnNoteBookSaveAsClick();
    void ToolButton13Click();
    // The commands with their dialogs (tests put scripted dialogs in place).
    std::shared_ptr<EntryFileCommands> EntryFiles;
    std::shared_ptr<EntryPrintCommand> EntryPrint;

    // --- Window events ------------------------------------------------------------

    // First show: placement restored, the login run modally, today shown (or
    // the window closed when the login did not pass).
    void FormShow();
    // The window became the program's active window after the login, or
    // again coming from one of the program's windows shown without being
    // modal (the search window, the export progress window): full work-area
    // height, "FontSettings.Ini" read again (unless it holds older values
    // than the ones in use after a failed write), the editor focused.
    // Coming back from another program, or from a modal window of this one,
    // runs nothing of it.
    void FormActivate();
    // Saves the placement under "TfrmMain" ("Visible" as given).
    void savePlacement(bool visible);
    PlacementRecord capturePlacement();
    void writePlacement(const PlacementRecord& record, bool visible);

    // Today's local date as a day value (tests replace it).
    std::function<double()> today;

    // Controls, by their design names.
    TRbPanel* RbPanel1 = nullptr;     // date header
    TRbPanel* RbPanel8 = nullptr;     // tool bar band
    TRbPanel* RbPanel5 = nullptr;     // editor band
    TRbPanel* RbPanel3 = nullptr;     // bottom bar
    QLabel* Image1 = nullptr;         // program icon
    QLabel* Label3 = nullptr;         // web label
    QPushButton* btnAbout = nullptr;  // "About", beside the web label
    TRbButton* btnHeaderFont = nullptr;
    QToolBar* ToolBar1 = nullptr;
    // F10, the arrows, Enter, Space and Escape on ToolBar1.
    ToolBarKeys* ToolBarNavigation = nullptr;
    RichEditor* Editor = nullptr;
    // The formatting commands: ToolBar1's buttons, the editor's context menu
    // and the header font command. Destroyed before the child widgets.
    std::unique_ptr<FormatCommands> Commands;
    // Insert Picture, Insert Link and the opening of clicked links (a child
    // of the window).
    PictureCommands* Pictures = nullptr;
    // Spell checking of the entry and its context-menu items (a child of
    // the editor; main_spelling.cpp).
    SpellChecking* Spelling = nullptr;
    TRbButton* btnPrevious = nullptr;
    TRbButton* btnToday = nullptr;
    TRbButton* btnNext = nullptr;
    TRbButton* btnExport = nullptr;
    TRbButton* btnCalendar = nullptr;
    TRbButton* btnSettings = nullptr;
    TRbButton* btnOnThisDay = nullptr;
    TRbButton* btnExit = nullptr;

signals:
    // SetCurrentDay ran (also for every day a skip search walks over).
    void currentDayChanged(double day);
    // The program was asked to end (a close, a logout, a signal) while a scan
    // or an export holds the journal: they should stop, and the program ends
    // as soon as they have let go of it.
    void endWaitingForJournal();

protected:
    void setVisible(bool visible) override;
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildHeader();
    void buildToolBarBand();
    void buildEditorBand();
    void buildCommands();
    void buildSpelling();
    // Checks the editor in the stored spelling choice when it is not the
    // one in use (after "FontSettings.Ini" was read).
    void applySpellingChoice();
    void buildPictures();
    void buildEntryFileCommands();
    void buildBottomBar();
    void placeBands();
    // Keys for the day commands, the search and printing; Tab order.
    void buildKeyboard();
    // The main window is told to screen readers as a frame, busy while a
    // scan or an export holds the journal; the entry is named after its day.
    void buildAccessibility();
    void nameEditorAfterDay(double day);
    // Ctrl+Tab and Ctrl+Shift+Tab in the editor move the focus on.
    bool leaveEditorByKey(QEvent* event);
    // A day whose stored entry cannot be read: an empty, read-only editor,
    // then throws Error "<day caption>: <the error's message>".
    [[noreturn]] void showDamagedEntry(const Error& error);
    void FormResize();
    // Shutdown: placement, SaveEntry when modified, the font settings; an
    // error of the store goes to the default error display, then
    // offerUnstoredText; then the application is told to quit.
    void FormClose();
    // Text that could not be stored at the close: asks whether to save it as
    // a rich text file and runs the save dialog until it saved or was
    // cancelled. When the end was requested (logout, signal) it is kept as a
    // draft in the recovery log instead, without asking.
    void offerUnstoredText();
    // Reads the placement file and applies it, pulled onto the screens'
    // work areas.
    void restorePlacement();
    // Gives the window the outer rectangle `outer` in its normal state, kept
    // until the window manager reported the frame (NormalRectKeeper).
    void placeNormal(const QRect& outer);
    // Applies the wanted normal rectangle again once the frame is known.
    void keepNormalRect();
    // Closes the program's modal windows, the topmost first.
    void closeModalWindows();
    // The frame every navigation command runs in: hourglass, store when
    // modified, the day change, and finally the default font for an empty
    // editor.
    void navigate(const std::function<void()>& dayChange);
    bool skipMode() const;
    QString fontSettingsPath() const;
    bool lookUpCurrentDay();
    void connectSession();
    void editorChanged();
    void busyChanged(bool busy);

    JournalSession& session_;
    QString placementFile_;
    QString startupNotice_;
    QTimer draftTimer_;
    QElapsedTimer clock_;  // started at construction: the drafts' time
    DraftSchedule drafts_;
    bool endRequested_ = false;
    bool shownOnce_ = false;
    bool loginRunning_ = false;
    bool activatedOnce_ = false;
    bool placementSaved_ = false;
    bool closing_ = false;
    bool closed_ = false;
    bool fontSettingsUnstored_ = false;
    // The spelling choice the editor is checked in (none before the font
    // settings were first read: checking starts off).
    std::optional<QString> spellingInUse_;
    NormalRectKeeper normalRect_;
    bool placing_ = false;
    ActivationSource* activation_ = nullptr;
    TfrmLogin* login_ = nullptr;
    TfrmSettings* settings_ = nullptr;
    TfrmCalendar* calendar_ = nullptr;
    TfrmDBSearch* search_ = nullptr;
    TfrmEmoticons* emoticons_ = nullptr;
    TDLLForm* characterMap_ = nullptr;
    TfrmOnThisDay* onThisDay_ = nullptr;
};

}  // namespace quillmere
