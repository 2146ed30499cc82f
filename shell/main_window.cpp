// The main window's frame: its four bands and their controls, the resize
// rules and the date header's web label.
#include "shell/main_window.h"

#include "controls/bar_button.h"
#include "controls/rb_button.h"
#include "controls/rb_check_box.h"
#include "controls/rb_panel.h"
#include "editor/format/format_commands.h"
#include "editor/rich_editor.h"
#include "shell/activation_source.h"
#include "shell/dialog_frame.h"
#include "shell/glyphs.h"
#include "shell/message_boxes.h"
#include "shell/program_icon.h"
#include "store/day.h"
#include "store/day_caption.h"
#include "store/handler_guard.h"
#include "store/journal_session.h"
#include "store/journal_table.h"

#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace quillmere {

namespace {

constexpr int kDesignWidth = 1024;
constexpr int kDesignHeight = 565;
// The smallest window that keeps the whole tool bar, the date clear of the
// web label, and a few lines of the editor in view.
constexpr int kMinimumWidth = 840;
constexpr int kMinimumHeight = 300;
// 0x00BBGGRR colours of the bottom bar's buttons.
constexpr uint32_t kBarButtonColor = 4827907;  // #03AB49

}  // namespace

TfrmMain::TfrmMain(JournalSession& session, const QString& placementFile, QWidget* parent)
    : QWidget(parent), session_(session), placementFile_(placementFile) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Velmora Durazu - Quillmere"));
    setWindowIcon(ProgramIcon());
    today = [] { return quillmere::today(); };
    activation_ = new ActivationSource(this);
    buildHeader();
    buildToolBarBand();
    buildEditorBand();
    buildCommands();
    buildSpelling();
    buildPictures();
    buildEntryFileCommands();
    buildBottomBar();
    placeBands();
    buildKeyboard();
    buildAccessibility();
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    resize(kDesignWidth, kDesignHeight);
    FormResize();
    CentreOn(*this, nullptr);
    Editor->setAdvancedTypography(true);
    connectSession();
    OpenJournal();
}

void TfrmMain::connectSession() {
    connect(&session_, &JournalSession::currentDayChanged, this, [this](double day) {
        RbPanel1->SetCaption(DayCaption(dateFromDay(day)));
        updateOnThisDayCount();
        emit currentDayChanged(day);
    });
    connect(&session_, &JournalSession::busyChanged, this, &TfrmMain::busyChanged);
    connect(&session_, &JournalSession::busyChanged, this, [this](bool busy) {
        if (!busy && endRequested_) {
            requestEnd();
        }
    });
    connect(&session_, &JournalSession::errorOccurred, this,
            [this](const QString& message) { ShowErrorBox(this, message); });
    clock_.start();
    draftTimer_.setSingleShot(true);
    connect(&draftTimer_, &QTimer::timeout, this, &TfrmMain::writeDraft);
    connect(Editor, &QTextEdit::textChanged, this, &TfrmMain::editorChanged);
}

void TfrmMain::buildHeader() {
    RbPanel1 = MakeTitleBar(this, QStringLiteral("RbPanel1"), 29);
    Image1 = new QLabel(RbPanel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(ProgramIconPixmap(32));
    Image1->setGeometry(25, 7, 32, 32);

    Label3 = new QLabel(QString::fromLatin1(kHomePageCaption), RbPanel1);
    Label3->setObjectName(QStringLiteral("Label3"));
    QFont small(QStringLiteral("Sans Serif"));
    small.setStyleHint(QFont::SansSerif);
    small.setPointSize(8);
    // Plain: a style left open would come from the header's bold caption.
    small.setWeight(QFont::Normal);
    small.setItalic(false);
    small.setUnderline(false);
    Label3->setFont(small);
    Label3->setStyleSheet(QStringLiteral("QLabel { color: white; background: transparent; }"));
    Label3->setAttribute(Qt::WA_TranslucentBackground);
    Label3->setCursor(Qt::PointingHandCursor);
    Label3->move(112, 16);
    Label3->adjustSize();
    Label3->installEventFilter(this);
    Label3->setAccessibleName(tr("Home page: %1").arg(QString::fromLatin1(kHomePageCaption)));

    // "About" beside the web label, in the same white text; Tab reaches it
    // (a click does not take the focus from the entry) and F1 opens it too.
    btnAbout = new QPushButton(tr("About"), RbPanel1);
    btnAbout->setObjectName(QStringLiteral("btnAbout"));
    btnAbout->setFont(small);
    btnAbout->setFlat(true);
    btnAbout->setFocusPolicy(Qt::TabFocus);
    btnAbout->setCursor(Qt::PointingHandCursor);
    btnAbout->setToolTip(tr("About Quillmere"));
    btnAbout->setStyleSheet(
        QStringLiteral("QPushButton { color: white; background: transparent; border: 1px solid "
                       "transparent; padding: 1px 3px; }"
                       "QPushButton:hover { text-decoration: underline; }"
                       "QPushButton:focus { border: 1px dotted white; }"));
    btnAbout->adjustSize();
    btnAbout->move(Label3->x() + Label3->width() + 12, Label3->y() - 3);
    connect(btnAbout, &QPushButton::clicked, this, guardSlot(this, &TfrmMain::showAbout));

    btnHeaderFont = MakeDialogButton(RbPanel1, QStringLiteral("btnHeaderFont"),
                                     QStringLiteral("..."), QRect(0, 10, 25, 25), 0);
    btnHeaderFont->setToolTip(tr("Change Header Font.."));
    connect(btnHeaderFont, &TRbButton::OnClick, this,
            guardSlot(this, &TfrmMain::btnHeaderFontClick));
}

void TfrmMain::buildToolBarBand() {
    RbPanel8 = MakeToolBarBand(this, QStringLiteral("RbPanel8"));
    ToolBar1 = new QToolBar(RbPanel8);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    // The formatting commands fill it and set its look (buildCommands).
    ToolBar1->setGeometry(0, 7, FormatCommands::kToolBarWidth, 30);
}

void TfrmMain::buildEditorBand() {
    RbPanel5 = MakeEditorBand(this, QStringLiteral("RbPanel5"));
    Editor = new RichEditor(RbPanel5);
    Editor->setObjectName(QStringLiteral("Editor"));
    Editor->setFrameShape(QFrame::NoFrame);
    Editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Editor->setTabChangesFocus(false);
    // The panel keeps its layout inside its border (8 pixels for border 7).
    auto* layout = new QVBoxLayout(RbPanel5);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Editor);
}

void TfrmMain::buildBottomBar() {
    RbPanel3 = MakeButtonBar(this, QStringLiteral("RbPanel3"));
    struct ButtonRow {
        TRbButton** button;
        const char* name;
        const char* caption;
        QRect geometry;
        char16_t glyph;
        bool glyphRight;
        const char* hint;
        void (TfrmMain::*handler)();
    };
    const ButtonRow rows[] = {
        {&btnPrevious, "btnPrevious", QT_TRANSLATE_NOOP("quillmere::TfrmMain", "Previous"), QRect(19, 10, 75, 25), glyph::kChevronLeft, false,
         "", &TfrmMain::btnPreviousClick},
        {&btnToday, "btnToday", QT_TRANSLATE_NOOP("quillmere::TfrmMain", "Today"), QRect(107, 10, 75, 25), glyph::kToday, false, "",
         &TfrmMain::btnTodayClick},
        {&btnNext, "btnNext", QT_TRANSLATE_NOOP("quillmere::TfrmMain", "Next"), QRect(195, 10, 75, 25), glyph::kChevronRight, true, "",
         &TfrmMain::btnNextClick},
        {&btnExport, "btnExport", QT_TRANSLATE_NOOP("quillmere::TfrmMain", "Export"), QRect(331, 8, 86, 30), glyph::kSaveAlt, false,
         QT_TRANSLATE_NOOP("quillmere::TfrmMain", "Export All..."), nullptr},
        {&btnCalendar, "btnCalendar", QT_TRANSLATE_NOOP("quillmere::TfrmMain", "Calendar"), QRect(435, 8, 86, 30), glyph::kEvent, false, "",
         &TfrmMain::btnCalendarClick},
        {&btnSettings, "btnSettings", "...", QRect(539, 8, 30, 30), 0, false, QT_TRANSLATE_NOOP("quillmere::TfrmMain", "Settings..."),
         &TfrmMain::btnSettingsClick},
        {&btnOnThisDay, "btnOnThisDay", QT_TRANSLATE_NOOP("quillmere::TfrmMain", "On This Day"), QRect(587, 8, 120, 30), glyph::kHistory,
         false, QT_TRANSLATE_NOOP("quillmere::TfrmMain", "Earlier years of the day shown"), &TfrmMain::btnOnThisDayClick},
        {&btnExit, "btnExit", QT_TRANSLATE_NOOP("quillmere::TfrmMain", "Exit"), QRect(kDesignWidth - 100, 10, 75, 25), glyph::kExitToApp,
         false, "", &TfrmMain::btnExitClick},
    };
    for (const ButtonRow& row : rows) {
        TRbButton* b =
            MakeBarButton(RbPanel3, QString::fromLatin1(row.name), tr(row.caption),
                          row.geometry, row.glyph, row.glyphRight, kBarButtonColor);
        if (*row.hint != '\0') {
            b->setToolTip(tr(row.hint));
        }
        if (row.handler != nullptr) {
            connect(b, &TRbButton::OnClick, this, guardSlot(this, row.handler));
        }
        *row.button = b;
    }
    connect(btnExport, &TRbButton::OnClick, this, guardSlot([this] {
                if (onExport) {
                    onExport();
                }
                // The drawn button took the focus; typing goes to the entry
                // again unless an export now holds the journal.
                if (journalCommandsEnabled()) {
                    Editor->setFocus();
                }
            }));
}

void TfrmMain::placeBands() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    RbPanel1->setFixedHeight(45);
    RbPanel8->setFixedHeight(44);
    RbPanel3->setFixedHeight(45);
    layout->addWidget(RbPanel1);
    layout->addWidget(RbPanel8);
    layout->addWidget(RbPanel5, 1);
    layout->addWidget(RbPanel3);
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    keepNormalRect();
    FormResize();
}

void TfrmMain::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // The frame's size is known only once the window is placed; the outer
    // width may change with it.
    keepNormalRect();
    FormResize();
}

void TfrmMain::FormResize() {
    const int width = frameGeometry().width();
    // Integer division truncates towards zero: 806 gives 0, 805 gives -1.
    ToolBar1->move((width - FormatCommands::kToolBarWidth) / 2, ToolBar1->y());
    btnHeaderFont->move(width - 50, btnHeaderFont->y());
    btnExit->move(width - 100, btnExit->y());
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Editor && leaveEditorByKey(event)) {
        return true;
    }
    if (watched == Label3) {
        QFont font = Label3->font();
        switch (event->type()) {
            case QEvent::Enter:
                font.setUnderline(true);
                Label3->setFont(font);
                break;
            case QEvent::Leave:
                font.setUnderline(false);
                Label3->setFont(font);
                break;
            case QEvent::MouseButtonRelease:
                QDesktopServices::openUrl(QUrl(QString::fromLatin1(kHomePageUrl)));
                return true;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmMain::btnExitClick() {
    close();
}

}  // namespace quillmere
