// The main window's life: the first show with the login gate, activation,
// the remembered placement, and the orderly close that stores the current
// entry and the font settings.
#include "editor/entry_files.h"
#include "editor/format/format_commands.h"
#include "editor/rich_editor.h"
#include "shell/activation_source.h"
#include "shell/login_window.h"
#include "shell/main_window.h"
#include "shell/message_boxes.h"
#include "shell/placement.h"
#include "shell/wait_cursor.h"
#include "store/day.h"
#include "store/day_caption.h"
#include "store/errors.h"
#include "store/handler_guard.h"
#include "store/journal_session.h"
#include "store/journal_table.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <cmath>
#include <exception>
#include <vector>

namespace quillmere {

namespace {

const QString kPlacementSection = QStringLiteral("TfrmMain");
// How long a window manager may take to report the frame after a change of
// geometry or state.
constexpr int kFrameSettleMs = 300;

QScreen* primaryScreen() {
    return QGuiApplication::primaryScreen();
}

int pixelsPerInch() {
    QScreen* screen = primaryScreen();
    return screen != nullptr ? static_cast<int>(std::lround(screen->logicalDotsPerInch())) : 96;
}

QSize screenSize() {
    QScreen* screen = primaryScreen();
    return screen != nullptr ? screen->geometry().size() : QSize();
}

// Runs a step whose errors go to the default error display without
// stopping what follows.
template <typename Step>
void reportingErrors(Step step) {
    try {
        step();
    } catch (const Error& e) {
        ShowUnhandledError(e.message());
    } catch (const std::exception& e) {
        ShowUnhandledError(QString::fromUtf8(e.what()));
    }
}

}  // namespace

TfrmMain::~TfrmMain() {
    if (!placementSaved_) {
        reportingErrors([this] { savePlacement(true); });
    }
}

void TfrmMain::requestEnd() {
    endRequested_ = true;
    if (closing_ || closed_) {
        return;
    }
    if (loginRunning_) {
        // Every modal window closes, a message over the login first and the
        // login last, without passing: the first show then ends the program
        // as after the login's Exit button.
        closeModalWindows();
        return;
    }
    // A modal window of the program (settings, calendar, a message, the
    // export's questions) goes first, as it would when the user closed it.
    if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal != this) {
        modal->close();
    }
    if (!journalCommandsEnabled()) {
        // Ends when the scan or export lets go of the journal (busyChanged).
        emit endWaitingForJournal();
        return;
    }
    if (!shownOnce_) {
        closed_ = true;
        QCoreApplication::quit();
        return;
    }
    close();
}

void TfrmMain::closeModalWindows() {
    // The topmost first, as the user would close them: a message over the
    // login (or over the settings window), then the window under it.
    constexpr int kMaxNested = 16;
    for (int i = 0; i < kMaxNested; ++i) {
        QPointer<QWidget> modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == this) {
            return;
        }
        modal->close();
        if (modal != nullptr && modal->isVisible()) {
            return;  // it refused to close
        }
    }
}

void TfrmMain::addStartupNotice(const QString& text) {
    if (!startupNotice_.isEmpty()) {
        startupNotice_ += QStringLiteral("\n\n");
    }
    startupNotice_ += text;
}

void TfrmMain::setVisible(bool visible) {
    if (visible && !shownOnce_) {
        shownOnce_ = true;
        FormShow();
        if (closed_) {
            return;
        }
    }
    QWidget::setVisible(visible);
    if (visible) {
        // Some platforms know the frame as soon as the window is shown.
        keepNormalRect();
    }
}

void TfrmMain::FormShow() {
    reportingErrors([this] { restorePlacement(); });
    if (login_ != nullptr) {
        loginRunning_ = true;
        login_->exec();
        loginRunning_ = false;
    } else {
        LoggedIn = true;
    }
    if (!LoggedIn) {
        close();
        return;
    }
    if (afterLogin) {
        bool goOn = true;
        reportingErrors([this, &goOn] { goOn = afterLogin(); });
        if (!goOn) {
            LoggedIn = false;
            close();
            return;
        }
    }
    if (!startupNotice_.isEmpty()) {
        ShowInformationBox(this, startupNotice_);
        startupNotice_.clear();
        session_.userToldOfRecovery();
    }
    reportingErrors([this] {
        SetCurrentDay(today());
        LoadEntry();
        if (Editor->toPlainText().isEmpty()) {
            ApplyDefaultFont();
        }
    });
    Editor->setFocus();
}

bool TfrmMain::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::WindowActivate: {
            // The first activation after the login counts, and coming back
            // from a window of the program that is not modal (the search
            // window). Coming back from another program (every Alt+Tab) or
            // from a closed modal window (settings, calendar, a message)
            // does not.
            QWidget* from = activation_->previous();
            const bool fromOwnWindow =
                from != nullptr && from != this && !activation_->previousWasModal();
            if (shownOnce_ && !closed_ && (!activatedOnce_ || fromOwnWindow)) {
                activatedOnce_ = true;
                runGuarded([this] { FormActivate(); });
            }
            break;
        }
        default:
            break;
    }
    return QWidget::event(event);
}

void TfrmMain::FormActivate() {
    QScreen* screen = primaryScreen();
    if (screen != nullptr && !isMaximized() && !isMinimized()) {
        // Learns the frame if it became known without a move.
        keepNormalRect();
        const QRect work = screen->availableGeometry();
        const QRect outer =
            normalRect_.normalOuter(geometry(), FrameMargins(frameGeometry(), geometry()));
        placeNormal(QRect(outer.left(), work.top(), outer.width(), work.height()));
    }
    // After a failed write the file holds older values than the ones in use.
    if (!fontSettingsUnstored_) {
        ReadFontSettings();
    }
    Editor->setFocus();
}

void TfrmMain::placeNormal(const QRect& outer) {
    placing_ = true;
    PlaceWindow(*this, outer, normalRect_.want(outer));
    placing_ = false;
}

void TfrmMain::keepNormalRect() {
    if (placing_ || !isVisible()) {
        return;
    }
    const bool normal =
        !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
    if (const std::optional<QRect> client =
            normalRect_.update(frameGeometry(), geometry(), normal)) {
        placing_ = true;
        PlaceWindow(*this, *normalRect_.wanted(), *client);
        placing_ = false;
        // A window manager may tell the frame of the new state only after
        // the geometry (openbox leaving the maximised state): look again
        // once it has settled.
        QTimer::singleShot(kFrameSettleMs, this, &TfrmMain::keepNormalRect);
    }
}

void TfrmMain::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        // The new state's geometry and frame come after the state itself;
        // the move and resize events that bring them apply the wanted
        // rectangle. This is for a window manager that sent them before.
        QTimer::singleShot(kFrameSettleMs, this, &TfrmMain::keepNormalRect);
    }
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    // A scan or an export is still walking the journal inside this event
    // loop: closing now would store and close the table under it.
    if (!journalCommandsEnabled() && !closing_) {
        event->ignore();
        // Remembered: the program ends once they have stopped.
        requestEnd();
        return;
    }
    event->accept();
    // The close processes pending events; a second close request arriving
    // then must not run the shutdown again.
    if (!closing_) {
        closing_ = true;
        // An error while storing the entry goes to the default error display.
        runGuarded([this] { FormClose(); });
    }
}

void TfrmMain::FormClose() {
    // The placement is taken while the window shows and written once it has
    // gone: the window goes at once.
    const PlacementRecord placement = capturePlacement();
    hide();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    reportingErrors([this, &placement] { writePlacement(placement, false); });
    // What is left (storing the day and the settings here, the journal's
    // write after every window is gone) is covered by the recovery log,
    // which keeps every stored day until the journal has been written whole;
    // the window comes back only when the user must be asked something.
    std::exception_ptr failure;
    {
        WaitCursor wait;
        draftTimer_.stop();
        try {
            if (Editor->isModified()) {
                SaveEntry();
            }
            QCoreApplication::processEvents();
        } catch (...) {
            failure = std::current_exception();
        }
        // After a failed login the file was never read in this run; writing
        // it would replace the stored header font and skip option.
        if (LoggedIn) {
            try {
                WriteFontSettings();
            } catch (const Error& e) {
                show();
                ShowErrorBox(this, e.message());
            }
        }
    }
    closed_ = true;
    if (failure) {
        show();
        try {
            std::rethrow_exception(failure);
        } catch (...) {
            presentError(ErrorDisplay::kDefault, currentExceptionMessage());
        }
    }
    // Whatever happens while offering, the program still ends.
    runGuarded([this] { offerUnstoredText(); });
    QCoreApplication::quit();
}

void TfrmMain::offerUnstoredText() {
    // Still modified: the entry could not be stored (a journal that could
    // not be read, a failed store), and the text would end with the program.
    if (!Editor->isModified() || Editor->toPlainText().isEmpty()) {
        return;
    }
    if (endRequested_) {
        // Nobody may be there to answer (a logout, a signal): the text goes
        // to the recovery log, which the next start with a readable journal
        // brings back.
        writeDraft();
        return;
    }
    const QString question =
        tr("The text of %1 could not be stored in the diary. Save it as a rich text "
           "file before Quillmere ends?")
            .arg(DayCaption(currentDate()));
    show();
    if (!ShowConfirmBox(this, question)) {
        return;
    }
    // A failed save shows its error and offers the dialog again; Cancel in
    // the dialog is the user's choice to end without the text.
    while (EntryFiles->saveContentAs(*Editor, this, isoTextOfDay(CurrentDay())) ==
           EntryFileCommands::SaveOutcome::kFailed) {
    }
}

void TfrmMain::lockDiary() {
    if (!session_.encrypted() || session_.locked() || !shownOnce_ || closing_ || closed_ ||
        !journalCommandsEnabled() || QApplication::activeModalWidget() != nullptr) {
        return;
    }
    draftTimer_.stop();
    if (Editor->isModified()) {
        SaveEntry();
        if (Editor->isModified()) {
            // Not stored (told already): the text is not hidden behind a lock.
            return;
        }
    }
    session_.lock();
    // Every window that may show the diary's text goes out of sight.
    std::vector<QPointer<QWidget>> hidden;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window != login_) {
            hidden.emplace_back(window);
            window->hide();
        }
    }
    // An end request during this login ends the program as its Exit does.
    loginRunning_ = true;
    const bool back = login_ != nullptr && login_->exec() == QDialog::Accepted;
    loginRunning_ = false;
    // The run was logged in; the lock's login does not change that.
    LoggedIn = true;
    if (!back) {
        close();
        return;
    }
    for (const QPointer<QWidget>& window : hidden) {
        if (window) {
            window->show();
        }
    }
    activateWindow();
    Editor->setFocus();
}

void TfrmMain::savePlacement(bool visible) {
    writePlacement(capturePlacement(), visible);
}

PlacementRecord TfrmMain::capturePlacement() {
    PlacementRecord record = CapturePlacement(*this, normalRect_);
    if (QGuiApplication::applicationState() == Qt::ApplicationHidden) {
        record.showCmd = kShowMinimized;
    }
    return record;
}

void TfrmMain::writePlacement(const PlacementRecord& record, bool visible) {
    if (placementFile_.isEmpty()) {
        return;
    }
    // Saved once: a failure at closing is not reported a second time when
    // the window is destroyed.
    placementSaved_ = true;
    QDir().mkpath(QFileInfo(placementFile_).absolutePath());
    // One rewrite of the file for all keys.
    ProfileFileBatch profile(placementFile_);
    WritePlacement(profile, kPlacementSection, record, screenSize(), pixelsPerInch(), visible);
    profile.commit();
}

void TfrmMain::restorePlacement() {
    if (placementFile_.isEmpty()) {
        return;
    }
    ProfileFileAccess profile(placementFile_);
    std::optional<PlacementRecord> record =
        ReadPlacement(profile, kPlacementSection, screenSize(), pixelsPerInch(), frameGeometry());
    if (!record) {
        return;
    }
    // A rectangle stored with a screen that is gone (a second monitor, a
    // larger resolution) would leave the window out of reach.
    QList<QRect> workAreas;
    if (QScreen* primary = primaryScreen()) {
        workAreas.push_back(primary->availableGeometry());
    }
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != primaryScreen()) {
            workAreas.push_back(screen->availableGeometry());
        }
    }
    record->normal = PullOntoWorkArea(record->normal, workAreas);
    placing_ = true;
    ApplyPlacement(*this, *record, normalRect_);
    placing_ = false;
}

}  // namespace quillmere
