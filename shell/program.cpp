#include "shell/program.h"

#include "editor/pickers/char_map_window.h"
#include "editor/pickers/emoticons_window.h"
#include "editor/rich_editor.h"
#include "export/exporter.h"
#include "export/progress_window.h"
#include "lookback/core/lookback.h"
#include "lookback/on_this_day_window.h"
#include "search/db_search_form.h"
#include "shell/calendar_window.h"
#include "shell/entry_merge.h"
#include "shell/idle_lock.h"
#include "shell/login_window.h"
#include "shell/main_hosts.h"
#include "shell/main_window.h"
#include "shell/message_boxes.h"
#include "shell/placement.h"
#include "shell/settings_window.h"
#include "shell/termination_signals.h"
#include "store/data_location.h"
#include "store/errors.h"
#include "store/font_settings.h"
#include "store/handler_guard.h"
#include "store/journal_session.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>

namespace quillmere {

ProgramPaths DefaultProgramPaths() {
    ProgramPaths paths;
    const DataFolderChoice data = locateDataFolder();
    paths.dataFolder = data.path;
    paths.dataFolderFallbackFrom = data.fellBackFrom;
    paths.placementFile = PlacementFilePath(QCoreApplication::applicationFilePath());
    return paths;
}

QString DataFolderFallbackText(const QString& unwritable, const QString& dataFolder, bool copied) {
    QString text =
        QCoreApplication::translate("quillmere::Program",
            "Quillmere cannot write to its own folder \"%1\", so your diary is kept in \"%2\".")
            .arg(QDir::toNativeSeparators(unwritable), QDir::toNativeSeparators(dataFolder));
    if (copied) {
        text += QCoreApplication::translate(
                    "Program",
                    " The diary that was in \"%1\" has been copied there; the files left in "
                    "\"%1\" are no longer used.")
                    .arg(QDir::toNativeSeparators(unwritable));
    }
    return text;
}

namespace {

QString countedDays(int n) {
    return n == 1 ? QCoreApplication::translate("Program", "1 day")
                  : QCoreApplication::translate("Program", "%1 days").arg(n);
}

}  // namespace

QString RescueOfferText(int days, int lostDays, int logDays, bool restUnreadable, int diaryDays) {
    QString text =
        days > 0 ? QCoreApplication::translate(
                       "Program", "Quillmere can open the %1 it could read from the damaged diary")
                       .arg(countedDays(days))
                 : QCoreApplication::translate(
                       "Program", "Quillmere could read no day from the damaged diary");
    if (lostDays > 0) {
        text +=
            QCoreApplication::translate("Program", " (%1 known lost)").arg(countedDays(lostDays));
    }
    text += QLatin1Char('.');
    if (restUnreadable) {
        // The encrypted stream cannot be followed past a damaged chunk: the
        // counted loss above is only the day cut at the damage.
        text += QCoreApplication::translate(
            "Program",
            " The rest of the encrypted diary, after the damaged part, cannot be read: every day "
            "written there is lost.");
        if (diaryDays > days) {
            text += QCoreApplication::translate("Program", " The diary held %1 in all.")
                        .arg(countedDays(diaryDays));
        }
    }
    if (logDays > 0) {
        text += (days > 0 ? QCoreApplication::translate(
                                "Program",
                                " The text of %1 typed in earlier runs and kept in \"%2\" is put "
                                "over them.")
                          : QCoreApplication::translate(
                                "Program",
                                " The text of %1 typed in earlier runs is kept in \"%2\" and can "
                                "be opened."))
                    .arg(countedDays(logDays), QString::fromLatin1(kRecoveryFileName));
    }
    return text + QCoreApplication::translate(
                      "Program",
                      "\n\nNothing on disk changes now: when Quillmere ends you choose whether to "
                      "keep the rescued diary, and the damaged file is then kept beside it. Quit "
                      "leaves every file as it is.");
}

Program::Program(const ProgramPaths& paths)
    : session_(std::make_unique<JournalSession>(paths.dataFolder)) {
    if (session_->lockFolder() == JournalSession::LockResult::kHeldByAnother) {
        refused_ = true;
        session_.reset();
        return;
    }
    session_->setEntryMerger(MergeEntryRtf);
    if (!adoptDiary(paths)) {
        quitAtStart_ = true;
        return;
    }
    createWindows(paths);
    idleLock_ = std::make_unique<IdleLock>();
    TfrmMain* mainWindow = main_.get();
    QObject::connect(idleLock_.get(), &IdleLock::idle, mainWindow,
                     guardSlot(mainWindow, &TfrmMain::lockDiary));
    main_->afterLogin = [this] { return afterLogin(); };
}

bool Program::afterLogin() {
    if (recoverAfterLogin_) {
        recoverAfterLogin_ = false;
        // The login opened the encrypted journal with its key: a damaged
        // one is offered for rescue now, with that key, and the log (whose
        // records need the key too) is replayed over what was opened.
        if (!offerRescue()) {
            return false;
        }
        recover();
        // The settings window filled its controls before the key was
        // known; the replay may have changed the record.
        settings_->fillFontControls();
    }
    idleLock_->setMinutes(ReadLockMinutes(session_->filePath(kFontSettingsFileName)));
    return true;
}

bool Program::adoptDiary(const ProgramPaths& paths) {
    if (paths.dataFolderFallbackFrom.isEmpty()) {
        return true;
    }
    try {
        diaryCopied_ =
            !adoptDiaryFrom(paths.dataFolderFallbackFrom, session_->dataFolder()).isEmpty();
    } catch (const Error& e) {
        ShowErrorBox(nullptr,
                     e.message() + QCoreApplication::translate(
                                       "Program",
                                       "\n\nThe diary in \"%1\" could not be copied into "
                                       "\"%2\", where Quillmere has to keep it. Quillmere ends "
                                       "now, so that the diary is not split in two.")
                                       .arg(QDir::toNativeSeparators(paths.dataFolderFallbackFrom),
                                            QDir::toNativeSeparators(session_->dataFolder())));
        return false;
    }
    return true;
}

void Program::createWindows(const ProgramPaths& paths) {
    main_ = std::make_unique<TfrmMain>(*session_, paths.placementFile);
    if (!paths.dataFolderFallbackFrom.isEmpty()) {
        main_->addStartupNotice(DataFolderFallbackText(paths.dataFolderFallbackFrom,
                                                       session_->dataFolder(), diaryCopied_));
    }
    // An encrypted journal is read with the key the login gives: its rescue
    // and its log wait for the login (afterLogin).
    recoverAfterLogin_ = session_->journalLocked();
    if (!recoverAfterLogin_ && !offerRescue()) {
        quitAtStart_ = true;
    }
    login_ = std::make_unique<TfrmLogin>(main_.get(), *session_);
    // Before any window reads the settings: the settings window fills its
    // controls from the record when it is made.
    if (!quitAtStart_ && !recoverAfterLogin_) {
        recover();
    }
    emoticons_ = std::make_unique<TfrmEmoticons>(main_.get());
    characterMap_ = std::make_unique<TDLLForm>(main_.get());
    calendar_ = std::make_unique<TfrmCalendar>(main_.get());
    settings_ = std::make_unique<TfrmSettings>(*session_, main_.get());
    searchHost_ = std::make_unique<MainSearchHost>(*main_);
    search_ = std::make_unique<TfrmDBSearch>(*searchHost_);
    progress_ = std::make_unique<TfrmProgress>(main_.get());
    exportHost_ = std::make_unique<MainExportHost>(*main_);
    exporter_ = std::make_unique<TExporter>(*exportHost_, *progress_);
    lookbackHost_ = std::make_unique<MainLookbackHost>(*main_);
    onThisDay_ = std::make_unique<TfrmOnThisDay>(*lookbackHost_);

    main_->setLoginWindow(login_.get());
    main_->setEmoticonsWindow(emoticons_.get());
    main_->setCalendarWindow(calendar_.get());
    main_->setSettingsWindow(settings_.get());
    main_->setSearchWindow(search_.get());
    main_->setCharacterMap(characterMap_.get());
    main_->setOnThisDayWindow(onThisDay_.get());
    TfrmOnThisDay* onThisDay = onThisDay_.get();
    QObject::connect(session_.get(), &JournalSession::entryStored, onThisDay,
                     [onThisDay](double day) { onThisDay->entryStored(day); });
    TExporter* exporter = exporter_.get();
    main_->onExport = [exporter] { exporter->btnExportClick(); };
    TfrmMain* mainWindow = main_.get();
    QObject::connect(exporter, &TExporter::exportFinished, mainWindow,
                     [mainWindow] { mainWindow->Editor->setFocus(); });
    TfrmDBSearch* search = search_.get();
    QObject::connect(mainWindow, &TfrmMain::endWaitingForJournal, exporter, [exporter, search] {
        exporter->cancelExport();
        if (search->isSearching()) {
            search->btnStopClick();
        }
    });
    calendar_->currentDay = [mainWindow] { return mainWindow->currentDate(); };
    calendar_->daysWithEntries = [mainWindow](int year, int month) {
        return DaysWithEntries(mainWindow->journal(), year, month);
    };
}

bool Program::offerRescue() {
    if (!session_->journalDamaged()) {
        return true;
    }
    JournalSession::RescueOffer offer;
    try {
        offer = session_->prepareRescue();
    } catch (const Error& e) {
        ShowErrorBox(main_.get(), e.message());
        return true;
    }
    if (!offer.worthOpening()) {
        return true;
    }
    const int choice = ShowChoiceBox(
        main_.get(),
        RescueOfferText(offer.days, offer.lostDays, static_cast<int>(offer.logDays.size()),
                        offer.restUnreadable, offer.diaryDays),
        {QCoreApplication::translate("Program", "Open Rescued Days"),
         QCoreApplication::translate("Program", "Quit")});
    if (choice != 0) {
        return false;
    }
    try {
        session_->openRescuedJournal();
    } catch (const Error& e) {
        ShowErrorBox(main_.get(), e.message());
    }
    return true;
}

void Program::recover() {
    try {
        const JournalSession::Recovered recovered = session_->recover();
        if (!recovered.days.empty() || recovered.settings || recovered.logDamaged) {
            main_->addStartupNotice(RecoveredText(recovered));
        }
    } catch (const Error& e) {
        ShowErrorBox(main_.get(), e.message());
    }
}

Program::~Program() {
    destroyWindows();
}

void Program::destroyWindows() {
    idleLock_.reset();
    if (main_) {
        main_->afterLogin = nullptr;
        main_->onExport = nullptr;
        main_->setSearchWindow(nullptr);
        main_->setEmoticonsWindow(nullptr);
        main_->setCharacterMap(nullptr);
        main_->setOnThisDayWindow(nullptr);
    }
    onThisDay_.reset();
    lookbackHost_.reset();
    exporter_.reset();
    exportHost_.reset();
    progress_.reset();
    search_.reset();
    searchHost_.reset();
    settings_.reset();
    calendar_.reset();
    characterMap_.reset();
    emoticons_.reset();
    login_.reset();
    main_.reset();
    if (session_ && !ended_) {
        ended_ = true;
        EndRun(*session_, writePrompt_, folderPrompt_);
    }
}

bool Program::start() {
    if (refused_ || quitAtStart_) {
        return false;
    }
    main_->show();
    return !main_->closed();
}

int Program::run() {
    if (refused_) {
        ShowInformationBox(nullptr, QString::fromLatin1(kAlreadyRunningMessage));
        return 0;
    }
    if (quitAtStart_) {
        return 0;
    }
    TerminationSignals endSignals;
    TfrmMain* mainWindow = main_.get();
    QObject::connect(&endSignals, &TerminationSignals::endRequested, mainWindow,
                     [mainWindow] { mainWindow->requestEnd(); });
    if (!start()) {
        return 0;
    }
    return QApplication::exec();
}

}  // namespace quillmere
