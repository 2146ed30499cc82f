#include "failing_files.h"
#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "controls/rb_panel.h"
#include "editor/pickers/emoticons_window.h"
#include "editor/rich_editor.h"
#include "failing_files.h"
#include "search/db_search_form.h"
#include "shell/main_window.h"
#include "shell/settings_window.h"
#include "store/errors.h"
#include "store/file_access.h"
#include "store/journal_table.h"
#include "store/profile_file.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <QTest>
#include <QToolBar>
#include <QUrl>

#include <cmath>

namespace quillmere {
namespace {

class MainWindowTest : public ShellTest {};

struct ButtonCase {
    const char* name;
    const char* caption;
    QRect geometry;
    const char* hint;
};

TEST_F(MainWindowTest, FrameFollowsTheDesign) {
    createProgram();
    TfrmMain& m = main();
    EXPECT_EQ(QStringLiteral("Velmora Durazu - Quillmere"), m.windowTitle());
    EXPECT_EQ(QSize(1024, 565), m.size());
    m.layout()->activate();
    EXPECT_EQ(45, m.RbPanel1->height());
    EXPECT_EQ(44, m.RbPanel8->height());
    EXPECT_EQ(45, m.RbPanel3->height());
    EXPECT_EQ(0, m.RbPanel1->y());
    EXPECT_EQ(45, m.RbPanel8->y());
    EXPECT_EQ(89, m.RbPanel5->y());
    EXPECT_EQ(565 - 45, m.RbPanel3->y());
    EXPECT_EQ(QRect(25, 7, 32, 32), m.Image1->geometry());
    EXPECT_EQ(QPoint(112, 16), m.Label3->pos());
    EXPECT_EQ(QString::fromLatin1(kHomePageCaption), m.Label3->text());
    EXPECT_TRUE(m.RbPanel1->font().bold()) << "the caption is bold";
    EXPECT_FALSE(m.Label3->font().bold()) << "the web label is not";
    EXPECT_EQ(8, m.Label3->font().pointSize());
    EXPECT_FALSE(m.Editor->font().bold());
    EXPECT_EQ(QSize(25, 25), m.btnHeaderFont->size());
    EXPECT_EQ(10, m.btnHeaderFont->y());
    EXPECT_EQ(QStringLiteral("..."), m.btnHeaderFont->Caption());
    EXPECT_EQ(QStringLiteral("Change Header Font.."), m.btnHeaderFont->toolTip());
    EXPECT_EQ(QRect(0, 7, 807, 30), m.ToolBar1->geometry().translated(-m.ToolBar1->x(), 0));
    EXPECT_EQ(Qt::ScrollBarAlwaysOn, m.Editor->verticalScrollBarPolicy());
    EXPECT_TRUE(m.Editor->advancedTypography());

    const ButtonCase buttons[] = {
        {"btnPrevious", "Previous", QRect(19, 10, 75, 25), "Previous (Alt+Left)"},
        {"btnToday", "Today", QRect(107, 10, 75, 25), "Today (Alt+Home)"},
        {"btnNext", "Next", QRect(195, 10, 75, 25), "Next (Alt+Right)"},
        {"btnExport", "Export", QRect(331, 8, 86, 30), "Export All..."},
        {"btnCalendar", "Calendar", QRect(435, 8, 86, 30), ""},
        {"btnSettings", "...", QRect(539, 8, 30, 30), "Settings..."},
        {"btnOnThisDay", "On This Day", QRect(587, 8, 120, 30),
         "Earlier years of the day shown (Alt+O)"},
        {"btnExit", "Exit", QRect(1024 - 100, 10, 75, 25), ""},
    };
    for (const ButtonCase& b : buttons) {
        auto* button = m.RbPanel3->findChild<TRbButton*>(QString::fromLatin1(b.name));
        ASSERT_NE(nullptr, button) << b.name;
        EXPECT_EQ(QString::fromLatin1(b.caption), button->Caption()) << b.name;
        EXPECT_EQ(b.geometry, button->geometry()) << b.name;
        EXPECT_EQ(QString::fromLatin1(b.hint), button->toolTip()) << b.name;
        EXPECT_EQ(TColor{4827907}, button->Color()) << b.name;
    }
    EXPECT_EQ(blGlyphRight, m.btnNext->Layout());
    EXPECT_EQ(blGlyphLeft, m.btnPrevious->Layout());
}

struct WidthCase {
    int width;
    int toolBarLeft;
};

class ResizeTest : public ShellTest, public ::testing::WithParamInterface<WidthCase> {};

TEST_P(ResizeTest, ToolBarIsCentredTruncatingAndButtonsFollowTheRightEdge) {
    start();
    const WidthCase& c = GetParam();
    // The rule works on the outer width, also below the window's minimum
    // (which a platform may not enforce).
    main().setMinimumSize(0, 0);
    const int frame = main().frameGeometry().width() - main().width();
    main().resize(c.width - frame, 500);
    ASSERT_EQ(c.width, main().frameGeometry().width());
    EXPECT_EQ(c.toolBarLeft, main().ToolBar1->x()) << c.width;
    EXPECT_EQ(7, main().ToolBar1->y());
    EXPECT_EQ(c.width - 50, main().btnHeaderFont->x()) << c.width;
    EXPECT_EQ(c.width - 100, main().btnExit->x()) << c.width;
}

INSTANTIATE_TEST_SUITE_P(Widths, ResizeTest,
                         ::testing::Values(WidthCase{807, 0}, WidthCase{806, 0}, WidthCase{805, -1},
                                           WidthCase{808, 0}, WidthCase{809, 1},
                                           WidthCase{1024, 108}, WidthCase{600, -103}));

// Made as narrow and as low as it goes, the window still shows the whole
// tool bar, the header font and Exit buttons inside it, and editor lines.
TEST_F(MainWindowTest, SmallestWindowKeepsTheWholeToolBarAndSomeEditorLines) {
    start();
    main().resize(100, 100);
    QCoreApplication::processEvents();
    EXPECT_GE(main().width(), 807 + 30);
    EXPECT_GE(main().ToolBar1->x(), 0);
    EXPECT_LE(main().ToolBar1->x() + main().ToolBar1->width(), main().width());
    EXPECT_EQ(807, main().ToolBar1->width());
    EXPECT_GT(main().btnHeaderFont->x(), main().Label3->geometry().right());
    EXPECT_GT(main().btnExit->x(), main().btnSettings->geometry().right());
    const int line = QFontMetrics(main().Editor->font()).lineSpacing();
    EXPECT_GE(main().Editor->viewport()->height(), 5 * line);
}

TEST_F(MainWindowTest, EditorFillsItsBandInsideTheBorder) {
    start();
    TfrmMain& m = main();
    EXPECT_EQ(QRect(8, 8, m.RbPanel5->width() - 16, m.RbPanel5->height() - 16),
              m.Editor->geometry());
    EXPECT_EQ(m.height() - 45 - 44 - 45, m.RbPanel5->height());
}

TEST_F(MainWindowTest, EditorShowsItsDesignFontNotTheBandsBold) {
    start();
    const QFont font = main().Editor->font();
    EXPECT_FALSE(font.bold());
    EXPECT_EQ(QStringLiteral("Arial"), font.family());
}

TEST_F(MainWindowTest, WebLabelUnderlinesWhileTheMouseIsOverIt) {
    createProgram();
    QLabel* label = main().Label3;
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(label, &enter);
    EXPECT_TRUE(label->font().underline());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(label, &leave);
    EXPECT_FALSE(label->font().underline());
    EXPECT_EQ(Qt::PointingHandCursor, label->cursor().shape());
}

// Receives the addresses the program asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.push_back(url); }
};

TEST_F(MainWindowTest, WebLabelClickOpensTheHomePage) {
    start();
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    QTest::mouseClick(main().Label3, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    EXPECT_EQ(QList<QUrl>{QUrl(QString::fromLatin1(kHomePageUrl))}, catcher.opened);
}

TEST_F(MainWindowTest, PlacementIsWrittenAtCloseWithEveryKey) {
    start();
    main().setGeometry(40, 30, 900, 500);
    const QRect outer = main().frameGeometry();
    quit();
    ProfileFile ini(placementPath());
    const QString s = QStringLiteral("TfrmMain");
    const auto read = [&](const QString& key) {
        return ini.readString(s, key, QStringLiteral("?"));
    };
    QScreen* screen = QGuiApplication::primaryScreen();
    const QString size =
        QStringLiteral("(%1x%2)").arg(screen->geometry().width()).arg(screen->geometry().height());
    EXPECT_EQ(QStringLiteral("0"), read(QStringLiteral("FormVersion")));
    EXPECT_EQ(QStringLiteral("0"), read(QStringLiteral("Flags")));
    EXPECT_EQ(QStringLiteral("1"), read(QStringLiteral("ShowCmd")));
    EXPECT_EQ(QString::number(std::lround(screen->logicalDotsPerInch())),
              read(QStringLiteral("PixelsPerInch")));
    EXPECT_EQ(QStringLiteral("-1,-1,-1,-1"), read(QStringLiteral("MinMaxPos")));
    EXPECT_EQ(read(QStringLiteral("MinMaxPos")), read(QStringLiteral("MinMaxPos") + size));
    const QString norm = QStringLiteral("%1,%2,%3,%4")
                             .arg(outer.left())
                             .arg(outer.top())
                             .arg(outer.left() + outer.width())
                             .arg(outer.top() + outer.height());
    EXPECT_EQ(norm, read(QStringLiteral("NormPos")));
    EXPECT_EQ(norm, read(QStringLiteral("NormPos") + size));
    EXPECT_EQ(QStringLiteral("0"), read(QStringLiteral("Visible")));
}

TEST_F(MainWindowTest, StoredPlacementIsRestoredAtTheFirstShow) {
    ProfileFile ini(placementPath());
    ini.writeString(QStringLiteral("TfrmMain"), QStringLiteral("NormPos"),
                    QStringLiteral("50,60,950,660"));
    createProgram();
    ASSERT_TRUE(startProgram());
    EXPECT_EQ(50, main().frameGeometry().x());
    EXPECT_EQ(900, main().frameGeometry().width()) << "the outer width is kept";
}

TEST_F(MainWindowTest, StoredPlacementNarrowerThanTheMinimumIsWidened) {
    ProfileFile ini(placementPath());
    ini.writeString(QStringLiteral("TfrmMain"), QStringLiteral("NormPos"),
                    QStringLiteral("50,60,650,660"));
    createProgram();
    ASSERT_TRUE(startProgram());
    EXPECT_EQ(50, main().frameGeometry().x());
    EXPECT_EQ(main().minimumWidth(), main().width());
    EXPECT_GE(main().ToolBar1->x(), 0);
}

TEST_F(MainWindowTest, StoredPlacementOffEveryScreenIsPulledOntoTheWorkArea) {
    // Stored while a second monitor was there.
    ProfileFile ini(placementPath());
    ini.writeString(QStringLiteral("TfrmMain"), QStringLiteral("NormPos"),
                    QStringLiteral("3000,2000,4000,2400"));
    createProgram();
    ASSERT_TRUE(startProgram());
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect frame = main().frameGeometry();
    EXPECT_TRUE(work.contains(frame))
        << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
    EXPECT_EQ(QRect(280, 0, 1000, 400).right(), frame.right()) << "as far right as it fits";
}

TEST_F(MainWindowTest, MaximisedRunStoresTheNormalRectangleAsItWasRead) {
    ProfileFile ini(placementPath());
    const QString section = QStringLiteral("TfrmMain");
    ini.writeString(section, QStringLiteral("NormPos"), QStringLiteral("50,60,950,560"));
    ini.writeString(section, QStringLiteral("ShowCmd"), QStringLiteral("3"));
    createProgram();
    ASSERT_TRUE(startProgram());
    ASSERT_TRUE(main().isMaximized());
    quit();
    EXPECT_EQ(QStringLiteral("3"), ini.readString(section, QStringLiteral("ShowCmd"), QString()));
    EXPECT_EQ(QStringLiteral("50,60,950,560"),
              ini.readString(section, QStringLiteral("NormPos"), QString()))
        << "not grown by the frame";
}

TEST_F(MainWindowTest, ActivationTakesTheWorkAreaHeightAndRereadsTheFontSettings) {
    start();
    main().setGeometry(10, 200, 900, 300);
    data_.write(QStringLiteral("FontSettings.Ini"),
                "[Font]\nName=Liberation Mono\nCharset=0\n[Settings]\nSkip=7\n");
    main().FormActivate();
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(work.top(), main().frameGeometry().top());
    EXPECT_EQ(work.height(), main().frameGeometry().height());
    EXPECT_EQ(10, main().geometry().x()) << "the left edge stays";
    EXPECT_TRUE(program().settings()->skipEmptyEntries()) << "7 reads as on";
    EXPECT_EQ(0, main().headerCharset());
    EXPECT_EQ(QStringLiteral("Liberation Mono"), main().RbPanel1->font().family());
}

TEST_F(MainWindowTest, ComingBackFromAWindowWithoutModalityRereadsTheFontSettings) {
    start();
    program().settings()->setSkipEmptyEntries(true);
    QDialog* search = program().search();
    search->show();
    search->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(search));
    main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    QCoreApplication::processEvents();
    EXPECT_FALSE(program().settings()->skipEmptyEntries()) << "the stored value is back";
    search->hide();
}

struct ComingBackCase {
    const char* label;
    bool fromSearchWindow;  // else from another program
    bool refitted;
};

class ComingBackTest : public MainWindowTest,
                       public ::testing::WithParamInterface<ComingBackCase> {};

TEST_P(ComingBackTest, OnlyTheProgramsOwnWindowsRefitTheHeightAndRereadTheFile) {
    const ComingBackCase& c = GetParam();
    start();
    main().setGeometry(10, 200, 900, 300);
    data_.write(QStringLiteral("FontSettings.Ini"), "[Settings]\nSkip=1\n");
    if (c.fromSearchWindow) {
        QDialog* search = program().search();
        search->show();
        search->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(search));
        main().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
        search->hide();
    } else {
        // Another program takes the focus (the program has no active
        // window) and gives it back with Alt+Tab.
        QApplication::setActiveWindow(nullptr);
        QApplication::setActiveWindow(&main());
        ASSERT_TRUE(main().isActiveWindow());
    }
    QCoreApplication::processEvents();
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    if (c.refitted) {
        EXPECT_EQ(work.height(), main().frameGeometry().height()) << c.label;
    } else {
        EXPECT_EQ(QRect(10, 200, 900, 300), main().geometry()) << c.label;
    }
    EXPECT_EQ(c.refitted, program().settings()->skipEmptyEntries()) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ComingBackTest,
    ::testing::Values(ComingBackCase{"nominal: from the search window", true, true},
                      ComingBackCase{"nominal: from another program (Alt+Tab)", false, false}),
    [](const ::testing::TestParamInfo<ComingBackCase>& info) {
        return info.param.fromSearchWindow ? std::string("SearchWindow")
                                           : std::string("AnotherProgram");
    });

TEST_F(MainWindowTest, FontSettingsAreWrittenAtClose) {
    start();
    program().settings()->setSkipEmptyEntries(true);
    quit();
    ProfileFile ini(dataPath(QStringLiteral("FontSettings.Ini")));
    EXPECT_EQ(QStringLiteral("Arial"),
              ini.readString(QStringLiteral("Font"), QStringLiteral("Name"), QString()));
    EXPECT_EQ(QStringLiteral("1"),
              ini.readString(QStringLiteral("Font"), QStringLiteral("Charset"), QString()));
    EXPECT_EQ(QStringLiteral("1"),
              ini.readString(QStringLiteral("Settings"), QStringLiteral("Skip"), QString()));
}

TEST_F(MainWindowTest, FullRunStoresTheTypedEntries) {
    start(QDate(2024, 3, 20));
    typeIntoEditor(QStringLiteral("Wednesday"));
    click(main().btnNext);
    typeIntoEditor(QStringLiteral("Thursday"));
    click(main().btnPrevious);
    EXPECT_EQ(QStringLiteral("Wednesday"), main().Editor->toPlainText());
    click(main().btnNext);
    EXPECT_EQ(QStringLiteral("Thursday"), main().Editor->toPlainText());
    main().Editor->moveCursor(QTextCursor::End);
    typeIntoEditor(QStringLiteral(" evening"));
    EXPECT_FALSE(QFileInfo::exists(dataPath(QStringLiteral("Journal.cds"))))
        << "entries stay in memory until the program ends";
    quit();
    const auto stored = storedEntries();
    ASSERT_EQ(2u, stored.size());
    EXPECT_EQ(QDate(2024, 3, 20), stored[0].first);
    EXPECT_EQ(QStringLiteral("Wednesday"), stored[0].second);
    EXPECT_EQ(QDate(2024, 3, 21), stored[1].first);
    EXPECT_EQ(QStringLiteral("Thursday evening"), stored[1].second) << "stored at close";
    EXPECT_TRUE(messages_.calls.empty());
}

TEST_F(MainWindowTest, RunThatOnlyReadsLeavesTheJournalUntouched) {
    writeJournal({{QDate(2024, 3, 19), QStringLiteral("old")}});
    const QByteArray before = data_.read(QStringLiteral("Journal.cds"));
    const QDateTime time = QFileInfo(dataPath(QStringLiteral("Journal.cds"))).lastModified();
    start(QDate(2024, 3, 20));
    click(main().btnPrevious);
    EXPECT_EQ(QStringLiteral("old"), main().Editor->toPlainText());
    click(main().btnNext);
    quit();
    EXPECT_EQ(before, data_.read(QStringLiteral("Journal.cds")));
    EXPECT_EQ(time, QFileInfo(dataPath(QStringLiteral("Journal.cds"))).lastModified());
}

TEST_F(MainWindowTest, NothingStoredCreatesNoJournalFile) {
    start();
    click(main().btnNext);
    quit();
    EXPECT_FALSE(QFileInfo::exists(dataPath(QStringLiteral("Journal.cds"))));
}

// Fails every safe write of one file name.
struct WriteFailureCase {
    const char* label;
    std::deque<WriteFailureChoice> answers;
    bool saveFolderChosen;
    int prompts;
    bool journalWritten;  // in the data folder, after the disk came back
    bool copySaved;       // in the folder Save As picked
};

class WriteFailureTest : public MainWindowTest,
                         public ::testing::WithParamInterface<WriteFailureCase> {};

TEST_P(WriteFailureTest, FailedWriteAtTheEndOffersRetryAndSaveAsAndKeepsTheLog) {
    const WriteFailureCase& c = GetParam();
    testsupport::TempFolder elsewhere;
    saveFolder_ = c.saveFolderChosen ? std::optional<QString>(elsewhere.path()) : std::nullopt;
    writeAnswers_ = c.answers;
    start();
    typeIntoEditor(QStringLiteral("precious"));
    // Only the data folder's file: Save As writes one of the same name.
    testsupport::FailingFiles failing({dataPath(QStringLiteral("Journal.cds"))},
                                      QStringLiteral("disk full"));
    ScopedFileAccess guard(&failing);
    int prompted = 0;
    program().setWriteFailurePrompt([&](const QString& text) {
        ++prompted;
        writeFailures_.push_back(text);
        EXPECT_TRUE(text.startsWith("Cannot write \"" + dataPath("Journal.cds") + "\": disk full"))
            << text.toStdString();
        if (writeAnswers_.empty()) {
            ADD_FAILURE() << "asked once more than expected";
            return WriteFailureChoice::kGiveUp;
        }
        const WriteFailureChoice answer = writeAnswers_.front();
        writeAnswers_.pop_front();
        if (answer == WriteFailureChoice::kRetry) {
            failing.heal();  // the user freed some room
        }
        return answer;
    });
    quit();
    EXPECT_EQ(c.prompts, prompted) << c.label;
    EXPECT_EQ(c.journalWritten, QFileInfo::exists(dataPath("Journal.cds"))) << c.label;
    EXPECT_EQ(c.copySaved, QFileInfo::exists(elsewhere.file("Journal.cds"))) << c.label;
    EXPECT_EQ(!c.journalWritten, QFileInfo::exists(dataPath("Journal.recovery")))
        << c.label << ": the log stays until the data folder holds the entry";
}

INSTANTIATE_TEST_SUITE_P(
    Answers, WriteFailureTest,
    ::testing::Values(
        WriteFailureCase{"nominal: give up", {WriteFailureChoice::kGiveUp}, false, 1, false, false},
        WriteFailureCase{"nominal: retry after room was made",
                         {WriteFailureChoice::kRetry},
                         false,
                         1,
                         true,
                         false},
        WriteFailureCase{"nominal: save as into another folder",
                         {WriteFailureChoice::kSaveAs},
                         true,
                         1,
                         false,
                         true},
        WriteFailureCase{"nominal: save as cancelled, then give up",
                         {WriteFailureChoice::kSaveAs, WriteFailureChoice::kGiveUp},
                         false,
                         2,
                         false,
                         false}));

// The failure box at the end names the file and the system's reason, and
// promises that nothing is lost only while the recovery log holds the run.
struct FailureTextCase {
    const char* label;
    QSet<QString> failing;  // file names whose writes fail
    WriteFailureChoice answer;
    QString prompt;             // "%1" is the data folder
    std::vector<QString> told;  // information boxes, "%1" is the Save As folder
};

class FailureTextTest : public MainWindowTest,
                        public ::testing::WithParamInterface<FailureTextCase> {};

TEST_P(FailureTextTest, NamesTheFileAndTheReason) {
    const FailureTextCase& c = GetParam();
    testsupport::TempFolder elsewhere;
    saveFolder_ = elsewhere.path();
    start();
    testsupport::FailingFiles failing(c.failing, QStringLiteral("Permission denied"));
    ScopedFileAccess guard(&failing);
    typeIntoEditor(QStringLiteral("precious"));
    click(main().btnNext);  // stored, and on its way to the log
    messages_.calls.clear();
    program().setWriteFailurePrompt([&](const QString& text) {
        writeFailures_.push_back(text);
        // Save As writes a "Journal.cds" too: the other folder takes it.
        failing.heal();
        return c.answer;
    });
    quit();
    ASSERT_EQ(1u, writeFailures_.size()) << c.label;
    EXPECT_EQ(c.prompt.arg(data_.path()), writeFailures_[0]) << c.label;
    std::vector<QString> told;
    for (const QString& text : c.told) {
        told.push_back(text.arg(elsewhere.path()));
    }
    EXPECT_EQ(told, messages_.texts(MessageKind::Information)) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FailureTextTest,
    ::testing::Values(
        FailureTextCase{
            "nominal: the log holds the run",
            {QStringLiteral("Journal.cds")},
            WriteFailureChoice::kGiveUp,
            QStringLiteral(
                "Cannot write \"%1/Journal.cds\": Permission denied\n\nNothing is lost: "
                "this run's entries stay in \"Journal.recovery\" beside it and come back "
                "at the next start. Try again, or save the diary into another folder?"),
            {}},
        FailureTextCase{
            "robustness: the log could not be written either",
            {QStringLiteral("Journal.cds"), QStringLiteral("Journal.recovery")},
            WriteFailureChoice::kGiveUp,
            QStringLiteral("Cannot write \"%1/Journal.cds\": Permission denied\n\nThis run's "
                           "entries are not kept anywhere else: \"Journal.recovery\" could not be "
                           "written either. Try again, or save the diary into another folder?"),
            {}},
        FailureTextCase{
            "robustness: saved elsewhere without a log promises nothing more",
            {QStringLiteral("Journal.cds"), QStringLiteral("Journal.recovery")},
            WriteFailureChoice::kSaveAs,
            QStringLiteral("Cannot write \"%1/Journal.cds\": Permission denied\n\nThis run's "
                           "entries are not kept anywhere else: \"Journal.recovery\" could not be "
                           "written either. Try again, or save the diary into another folder?"),
            {QStringLiteral("The diary was saved into \"%1\".")}}));

TEST_F(MainWindowTest, CloseWithAClosedJournalShowsTheErrorAndStillEnds) {
    data_.write(QStringLiteral("Journal.cds"), "damaged");
    createProgram();
    ASSERT_TRUE(startProgram());
    messages_.calls.clear();
    typeIntoEditor(QStringLiteral("cannot be stored"));
    click(main().btnExit);
    EXPECT_TRUE(main().closed());
    EXPECT_EQ(std::vector<QString>{QStringLiteral(
                  "tblJournal: Cannot perform this operation on a closed dataset.")},
              messages_.texts(MessageKind::Unhandled));
    EXPECT_TRUE(QFileInfo::exists(dataPath(QStringLiteral("FontSettings.Ini"))))
        << "the font settings are written after the failure";
    program().destroyWindows();
    EXPECT_EQ(QByteArray("damaged"), data_.read(QStringLiteral("Journal.cds")));
}

TEST_F(MainWindowTest, EightWindowsAreMade) {
    createProgram();
    EXPECT_NE(nullptr, program().main());
    EXPECT_NE(nullptr, program().login());
    EXPECT_NE(nullptr, program().emoticons());
    EXPECT_NE(nullptr, program().characterMap());
    EXPECT_NE(nullptr, program().calendar());
    EXPECT_NE(nullptr, program().settings());
    EXPECT_NE(nullptr, program().search());
    EXPECT_NE(nullptr, program().progress());
}

}  // namespace
}  // namespace quillmere

#include "main_window_test.moc"
