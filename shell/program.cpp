#include "shell/program.h"

#include "editor/pickers/char_map_window.h"
#include "editor/pickers/emoticons_window.h"
#include "editor/rich_editor.h"
#include "export/exporter.h"
#include "export/progress_window.h"
#include "search/db_search_form.h"
#include "shell/calendar_window.h"
#include "shell/login_window.h"
#include "shell/main_hosts.h"
#include "shell/main_window.h"
#include "shell/message_boxes.h"
#include "shell/placement.h"
#include "shell/settings_window.h"
#include "shell/termination_signals.h"
#include "store/data_location.h"
#include "store/errors.h"
#include "store/journal_session.h"

#include <QApplication>
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

QString DataFolderFallbackText(const QString& unwritable, const QString& dataFolder) {
    return QCoreApplication::translate("quillmere::Program",
               "Quillmere cannot write to its own folder \"%1\", so your diary is kept in "
               "\"%2\".")
        .arg(QDir::toNativeSeparators(unwritable), QDir::toNativeSeparators(dataFolder));
}

Program::Program(const ProgramPaths& paths)
    : session_(std::make_unique<JournalSession>(paths.dataFolder)) {
    if (session_->lockFolder() == JournalSession::LockResult::kHeldByAnother) {
        refused_ = true;
        session_.reset();
        return;
    }
    createWindows(paths);
    if (!paths.dataFolderFallbackFrom.isEmpty()) {
        main_->addStartupNotice(
            DataFolderFallbackText(paths.dataFolderFallbackFrom, session_->dataFolder()));
    }
    recover();
}

void Program::createWindows(const ProgramPaths& paths) {
    main_ = std::make_unique<TfrmMain>(*session_, paths.placementFile);
    login_ = std::make_unique<TfrmLogin>(main_.get(), *session_);
    emoticons_ = std::make_unique<TfrmEmoticons>(main_.get());
    characterMap_ = std::make_unique<TDLLForm>(main_.get());
    calendar_ = std::make_unique<TfrmCalendar>(main_.get());
    settings_ = std::make_unique<TfrmSettings>(*session_, main_.get());
    searchHost_ = std::make_unique<MainSearchHost>(*main_);
    search_ = std::make_unique<TfrmDBSearch>(*searchHost_);
    progress_ = std::make_unique<TfrmProgress>(main_.get());
    exportHost_ = std::make_unique<MainExportHost>(*main_);
    exporter_ = std::make_unique<TExporter>(*exportHost_, *progress_);

    main_->setLoginWindow(login_.get());
    main_->setEmoticonsWindow(emoticons_.get());
    main_->setCalendarWindow(calendar_.get());
    main_->setSettingsWindow(settings_.get());
    main_->setSearchWindow(search_.get());
    main_->setCharacterMap(characterMap_.get());
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
    if (main_) {
        main_->onExport = nullptr;
        main_->setSearchWindow(nullptr);
        main_->setEmoticonsWindow(nullptr);
        main_->setCharacterMap(nullptr);
    }
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
    if (refused_) {
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
