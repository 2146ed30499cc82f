// The main window together with the parts it hosts: the formatting commands
// in its tool bar, the search window and the export of all entries.
#include "failing_files.h"
#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "controls/rb_panel.h"
#include "editor/format/format_commands.h"
#include "editor/format/image_list.h"
#include "editor/pickers/char_map_window.h"
#include "editor/pickers/emoticons_window.h"
#include "editor/rich_editor.h"
#include "export/exporter.h"
#include "export/progress_window.h"
#include "search/date_field.h"
#include "search/db_search_form.h"
#include "search/result_list.h"
#include "shell/calendar_window.h"
#include "shell/login_window.h"
#include "shell/main_hosts.h"
#include "shell/main_window.h"
#include "shell/settings_window.h"
#include "store/day.h"
#include "store/entry_codec.h"
#include "store/errors.h"
#include "store/file_access.h"
#include "store/journal_table.h"
#include "store/profile_file.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <optional>

namespace quillmere {
namespace {

class MainIntegrationTest : public ShellTest {
protected:
    FormatCommands& commands() const { return *main().Commands; }

    // The journal commands as a list, for checking them all at once.
    std::vector<QWidget*> journalCommands() const {
        TfrmMain& m = main();
        return {m.btnPrevious, m.btnNext,     m.btnToday, m.btnCalendar,
                m.btnExport,   m.btnSettings, m.btnExit,  commands().btnDBSearch};
    }
    // Names of the journal commands in the given state.
    std::vector<QString> commandsEnabled(bool enabled) const {
        std::vector<QString> names;
        for (QWidget* w : journalCommands()) {
            if (w->isEnabled() == enabled) {
                names.push_back(w->objectName());
            }
        }
        return names;
    }

    // Runs a search from the search window over [from, to] for `text`.
    TfrmDBSearch& search(const QDate& from, const QDate& to, const QString& text) {
        TfrmDBSearch& window = *program().search();
        window.DateEdit1->setDay(dayFromDate(from));
        window.DateEdit2->setDay(dayFromDate(to));
        window.edtText->setText(text);
        click(window.btnSearch);
        return window;
    }

    std::vector<QString> listedDays(const TfrmDBSearch& window) const {
        std::vector<QString> days;
        for (int i = 0; i < window.ListBox1->count(); ++i) {
            days.push_back(window.ListBox1->item(i)->text());
        }
        return days;
    }

    // The stored blob of `date` in the main window's table (empty without).
    QByteArray storedBlob(const QDate& date) {
        JournalTable& table = main().journal();
        for (int i = 0; i < table.recordCount(); ++i) {
            if (dateFromDay(table.dayAt(i)) == date) {
                return table.entryAt(i);
            }
        }
        return {};
    }

    void waitForExport() {
        TExporter* exporter = program().exporter();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !exporter->isExporting(); }, 10000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !exporter->hasWorker(); }, 10000));
    }
};

std::vector<QString> names(std::initializer_list<const char*> list) {
    std::vector<QString> result;
    for (const char* name : list) {
        result.push_back(QString::fromLatin1(name));
    }
    return result;
}

// --- Tool bar and search button -----------------------------------------------------

TEST_F(MainIntegrationTest, ToolBarHoldsTheFormattingCommandsAndTheSearchButtonShowsTheWindow) {
    start();
    int buttons = 0;
    for (QToolButton* button : main().ToolBar1->findChildren<QToolButton*>()) {
        if (button->objectName() != QStringLiteral("qt_toolbar_ext_button")) {
            ++buttons;
        }
    }
    EXPECT_EQ(25, buttons);
    ASSERT_NE(nullptr, commands().btnDBSearch);
    EXPECT_EQ(main().ToolBar1, commands().btnDBSearch->parentWidget());
    EXPECT_TRUE(commands().btnDBSearch->isEnabled());
    EXPECT_EQ(QStringLiteral("Full Database Text Search... (Ctrl+Shift+F)"),
              commands().btnDBSearch->toolTip());

    TfrmDBSearch* window = program().search();
    ASSERT_FALSE(window->isVisible());
    click(commands().btnDBSearch);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal()) << "the main window stays usable";
    EXPECT_EQ(&main(), window->parentWidget());
    click(commands().btnDBSearch);
    EXPECT_TRUE(window->isVisible()) << "a second click keeps the one window";
    window->hide();
}

TEST_F(MainIntegrationTest, ContextMenuBelongsToTheMainWindowsEditor) {
    start();
    ASSERT_NE(nullptr, commands().PopupMenu1);
    EXPECT_FALSE(commands().PopupMenu1->actions().isEmpty());
    typeIntoEditor(QStringLiteral("bold me"));
    main().Editor->selectAll();
    click(commands().btnBold);
    EXPECT_TRUE(main().Editor->selectionStyles().bold);
    EXPECT_TRUE(commands().btnBold->isChecked());
}

// --- Search window over the main window's journal ----------------------------------------

TEST_F(MainIntegrationTest, SearchFindsStoredDaysAndDoubleClickShowsTheDayKeepingUnsavedText) {
    writeJournal({{QDate(2024, 2, 29), QStringLiteral("an apple from last month")}});
    start(QDate(2024, 3, 20));
    typeIntoEditor(QStringLiteral("apple pie"));
    click(main().btnNext);
    typeIntoEditor(QStringLiteral("pear tart"));
    click(main().btnNext);
    typeIntoEditor(QStringLiteral("Apple crumble, not stored yet"));
    ASSERT_TRUE(main().Editor->isModified());

    click(commands().btnDBSearch);
    TfrmDBSearch& window = search(QDate(2024, 2, 1), QDate(2024, 3, 31), QStringLiteral("apple"));
    EXPECT_EQ(
        std::vector<QString>({TfrmDBSearch::formatResultDay(dayFromDate(QDate(2024, 2, 29))),
                              TfrmDBSearch::formatResultDay(dayFromDate(QDate(2024, 3, 20)))}),
        listedDays(window))
        << "the unsaved text of 22 March is not in the table yet";
    EXPECT_TRUE(main().journalCommandsEnabled()) << "the scan gives the commands back";
    EXPECT_TRUE(commandsEnabled(false).empty());

    // Double-click on 20 March.
    QListWidgetItem* item = window.ListBox1->item(1);
    const QPoint at = window.ListBox1->visualItemRect(item).center();
    QTest::mouseClick(window.ListBox1->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(window.ListBox1->viewport(), Qt::LeftButton, Qt::NoModifier, at);

    EXPECT_EQ(QDate(2024, 3, 20), main().currentDate());
    EXPECT_EQ(QStringLiteral("apple pie"), main().Editor->toPlainText());
    EXPECT_FALSE(main().Editor->isModified());
    EXPECT_TRUE(window.isVisible()) << "the search window stays open";
    EXPECT_EQ(QStringLiteral("Apple crumble, not stored yet"),
              PlainTextOfRtf(DecodeEntryContent(storedBlob(QDate(2024, 3, 22)))))
        << "the text typed under the old day was stored first";

    search(QDate(2024, 3, 1), QDate(2024, 3, 31), QStringLiteral("apple"));
    EXPECT_EQ(2, window.ListBox1->count()) << "the stored day is found now";
    EXPECT_TRUE(messages_.calls.empty());
    window.hide();
    quit();
    EXPECT_EQ(4u, storedEntries().size());
}

TEST_F(MainIntegrationTest, ResultPictureIsImageTwentyOnWhite) {
    start();
    const QImage picture = MainSearchHost(main()).resultImage();
    ASSERT_EQ(QSize(16, 16), picture.size());
    ImageList onWhite;
    onWhite.setBackgroundColor(QColor(Qt::white));
    const QImage expected = onWhite.image(20).convertToFormat(QImage::Format_ARGB32);
    int differing = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QColor a = picture.pixelColor(x, y);
            const QColor b = expected.pixelColor(x, y);
            EXPECT_EQ(255, a.alpha()) << x << "," << y;
            if (std::abs(a.red() - b.red()) > 1 || std::abs(a.green() - b.green()) > 1 ||
                std::abs(a.blue() - b.blue()) > 1) {
                ++differing;
            }
        }
    }
    EXPECT_EQ(0, differing);
    EXPECT_EQ(std::nullopt, commands().ImageList1->backgroundColor())
        << "the shared list keeps its transparent pictures";
    EXPECT_FALSE(program().search()->ListBox1->itemImage().isNull());
}

// --- The journal commands switch ---------------------------------------------------------

TEST_F(MainIntegrationTest, JournalCommandsSwitchNestsAndHoldsBackClosing) {
    start();
    const std::vector<QString> all = names({"btnPrevious", "btnNext", "btnToday", "btnCalendar",
                                            "btnExport", "btnSettings", "btnExit", "btnDBSearch"});
    struct Step {
        bool enabled;
        bool expectOn;
    };
    // An unpaired "on" is ignored; two "off" need two "on".
    const Step steps[] = {{true, true}, {false, false}, {false, false}, {true, false},
                          {true, true}, {true, true},   {false, false}, {true, true}};
    for (const Step& step : steps) {
        main().setJournalCommandsEnabled(step.enabled);
        EXPECT_EQ(step.expectOn, main().journalCommandsEnabled());
        EXPECT_EQ(step.expectOn ? all : std::vector<QString>(), commandsEnabled(true));
    }

    main().setJournalCommandsEnabled(false);
    EXPECT_FALSE(main().close());
    EXPECT_FALSE(main().closed());
    EXPECT_TRUE(main().isVisible());
    main().setJournalCommandsEnabled(true);
    quit();
    EXPECT_TRUE(messages_.calls.empty());
}

TEST_F(MainIntegrationTest, DayShownFromTheSearchWaitsWhileTheCommandsAreHeld) {
    writeJournal({{QDate(2024, 3, 1), QStringLiteral("first")}});
    start(QDate(2024, 3, 20));
    typeIntoEditor(QStringLiteral("typed"));
    MainSearchHost host(main());
    main().setJournalCommandsEnabled(false);
    host.ShowDay(dayFromDate(QDate(2024, 3, 1)));
    EXPECT_EQ(QDate(2024, 3, 20), main().currentDate());
    EXPECT_EQ(QStringLiteral("typed"), main().Editor->toPlainText());
    EXPECT_EQ(1, main().journal().recordCount()) << "nothing stored meanwhile";
    main().setJournalCommandsEnabled(true);
    host.ShowDay(dayFromDate(QDate(2024, 3, 1)));
    EXPECT_EQ(QDate(2024, 3, 1), main().currentDate());
    EXPECT_EQ(QStringLiteral("first"), main().Editor->toPlainText());
    EXPECT_EQ(2, main().journal().recordCount());
}

// --- Export through the main window ----------------------------------------------------

TEST_F(MainIntegrationTest, ExportWritesEveryEntryAndHoldsTheCommandsMeanwhile) {
    writeJournal({{QDate(2023, 12, 31), QStringLiteral("old year")},
                  {QDate(2024, 1, 5), QStringLiteral("fifth")}});
    start(QDate(2024, 3, 20));
    typeIntoEditor(QStringLiteral("typed before the export"));

    testsupport::TempFolder target;
    // An existing file: the export asks before replacing it.
    target.write(QStringLiteral("2024-01-05.rtf"), "older file");
    program().exportHost()->setFolderChooser([&] { return std::optional<QString>(target.path()); });
    program().exporter()->setPause([](int) {});

    struct Observed {
        QString question;
        std::vector<QString> enabled;
        bool progressShown = false;
    };
    std::vector<Observed> observed;
    ScopedMessageHook hook([&](const MessageRequest& request) {
        Observed o;
        o.question = request.text;
        o.enabled = commandsEnabled(true);
        o.progressShown = program().progress()->isVisible();
        observed.push_back(o);
        return request.kind == MessageKind::Confirmation;
    });
    click(main().btnExport);
    waitForExport();

    ASSERT_EQ(1u, observed.size());
    EXPECT_EQ(OverwriteQuestion(QDir(target.path()).filePath(QStringLiteral("2024-01-05.rtf"))),
              observed[0].question);
    EXPECT_EQ(std::vector<QString>(), observed[0].enabled) << "all commands held during the export";
    EXPECT_TRUE(observed[0].progressShown);

    EXPECT_FALSE(main().closed());
    EXPECT_FALSE(program().progress()->isVisible());
    EXPECT_EQ(8u, commandsEnabled(true).size()) << "everything is back after the export";
    EXPECT_FALSE(main().Editor->isModified()) << "the typed entry was stored first";

    const QStringList files = QDir(target.path()).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(QStringList({QStringLiteral("2023-12-31.rtf"), QStringLiteral("2024-01-05.rtf"),
                           QStringLiteral("2024-03-20.rtf")}),
              files);
    for (const QDate& date : {QDate(2023, 12, 31), QDate(2024, 1, 5), QDate(2024, 3, 20)}) {
        const QString name = date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".rtf");
        EXPECT_EQ(DecodeEntryContent(storedBlob(date)), target.read(name)) << name.toStdString();
    }
    EXPECT_EQ(QStringLiteral("typed before the export"),
              PlainTextOfRtf(target.read(QStringLiteral("2024-03-20.rtf"))));
    quit();
}

// Closing the window while the export runs, or a logout while its question
// waits, is not lost: the export stops after the entry in hand and the
// program ends as Exit ends it, with the typed entry stored.
struct EndDuringExportCase {
    const char* label;
    bool realQuestionBox;  // the question is on the screen (else a hook answers Yes)
    bool replaced;         // the existing file was replaced before the export stopped
};

class EndDuringExportTest : public MainIntegrationTest,
                            public ::testing::WithParamInterface<EndDuringExportCase> {};

TEST_P(EndDuringExportTest, EndsOnceTheExportHasStopped) {
    writeJournal({{QDate(2023, 12, 31), QStringLiteral("old year")},
                  {QDate(2024, 1, 5), QStringLiteral("fifth")},
                  {QDate(2024, 2, 1), QStringLiteral("february")}});
    start(QDate(2024, 3, 20));
    typeIntoEditor(QStringLiteral("typed before the export"));
    testsupport::TempFolder target;
    target.write(QStringLiteral("2024-01-05.rtf"), "older file");
    program().exportHost()->setFolderChooser([&] { return std::optional<QString>(target.path()); });
    program().exporter()->setPause([](int) {});

    bool closeAccepted = true;
    std::optional<ScopedMessageHook> hook;
    QTimer logout;
    if (GetParam().realQuestionBox) {
        hook.emplace(MessageHook());  // real boxes
        // The desktop's logout arrives while the question waits on the screen.
        QObject::connect(&logout, &QTimer::timeout, [&] {
            if (qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr) {
                logout.stop();
                main().requestEnd();
            }
        });
        logout.start(10);
    } else {
        hook.emplace([&](const MessageRequest&) {
            closeAccepted = main().close();  // the window's close box
            return true;
        });
    }
    click(main().btnExport);
    ASSERT_TRUE(QTest::qWaitFor([&] { return main().closed(); }, 10000))
        << "the end request was forgotten";

    if (!GetParam().realQuestionBox) {
        EXPECT_FALSE(closeAccepted) << "the close waits for the export to stop";
    }
    EXPECT_FALSE(program().exporter()->isExporting());
    EXPECT_EQ((QStringList{QStringLiteral("2023-12-31.rtf"), QStringLiteral("2024-01-05.rtf")}),
              QDir(target.path()).entryList(QDir::Files, QDir::Name))
        << "the export stopped after the entry in hand";
    const QByteArray existing = target.read(QStringLiteral("2024-01-05.rtf"));
    if (GetParam().replaced) {
        EXPECT_EQ(QStringLiteral("fifth"), PlainTextOfRtf(existing));
    } else {
        EXPECT_EQ("older file", existing) << "closing the question answers it with Cancel";
    }
    program().destroyWindows();
    EXPECT_EQ(4u, storedEntries().size());
    EXPECT_EQ(QStringLiteral("typed before the export"), storedEntries().back().second);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, EndDuringExportTest,
    ::testing::Values(EndDuringExportCase{"nominal_window_closed_while_exporting", false, true},
                      EndDuringExportCase{"nominal_logout_while_the_question_waits", true, false}),
    [](const ::testing::TestParamInfo<EndDuringExportCase>& info) {
        return std::string(info.param.label);
    });

struct ChooserCase {
    const char* label;
    std::optional<QString> answer;
    bool errorShown;
};

class ExportChooserTest : public MainIntegrationTest,
                          public ::testing::WithParamInterface<ChooserCase> {};

TEST_P(ExportChooserTest, NoUsableFolderWritesNothingAndKeepsTheCommands) {
    writeJournal({{QDate(2024, 1, 5), QStringLiteral("fifth")}});
    start(QDate(2024, 3, 20));
    const ChooserCase& c = GetParam();
    int asked = 0;
    program().exportHost()->setFolderChooser([&] {
        ++asked;
        return c.answer;
    });
    click(main().btnExport);
    EXPECT_EQ(1, asked);
    EXPECT_FALSE(program().exporter()->isExporting());
    EXPECT_FALSE(program().progress()->isVisible());
    EXPECT_TRUE(main().journalCommandsEnabled());
    EXPECT_EQ(c.errorShown ? 1u : 0u, messages_.texts(MessageKind::Error).size()) << c.label;
}

INSTANTIATE_TEST_SUITE_P(Answers, ExportChooserTest,
                         ::testing::Values(ChooserCase{"cancelled", std::nullopt, false},
                                           ChooserCase{"not a file system folder", QString(),
                                                       true}),
                         [](const ::testing::TestParamInfo<ChooserCase>& info) {
                             return info.index == 0 ? "Cancelled" : "NoPath";
                         });

// --- Header font ----------------------------------------------------------------------------

// Fails every safe write of one file name.
TEST_F(MainIntegrationTest, HeaderFontButtonGoesThroughTheCommandsAndWritesTheSettings) {
    start();
    FontChoice offered;
    commands().setFontDialog([&](QWidget*, const FontChoice& initial) {
        offered = initial;
        FontChoice choice = initial;
        choice.font.setFamily(QStringLiteral("Liberation Serif"));
        choice.charset = 0;
        return std::optional<FontChoice>(choice);
    });
    click(main().btnHeaderFont);
    EXPECT_EQ(main().RbPanel1->font().family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(QStringLiteral("Arial"), offered.font.family())
        << "the dialog starts at the header font";
    EXPECT_EQ(1, offered.charset);
    EXPECT_EQ(0, main().headerCharset());
    ProfileFile ini(dataPath(QStringLiteral("FontSettings.Ini")));
    EXPECT_EQ(QStringLiteral("Liberation Serif"),
              ini.readString(QStringLiteral("Font"), QStringLiteral("Name"), QString()));
    EXPECT_EQ(QStringLiteral("0"),
              ini.readString(QStringLiteral("Font"), QStringLiteral("Charset"), QString()));

    testsupport::FailingFiles failing({QStringLiteral("FontSettings.Ini")},
                                      QStringLiteral("disk full"));
    ScopedFileAccess guard(&failing);
    click(main().btnHeaderFont);
    const std::vector<QString> errors = messages_.texts(MessageKind::Error);
    ASSERT_EQ(1u, errors.size());
    EXPECT_TRUE(errors[0].contains(QStringLiteral("FontSettings.Ini"))) << errors[0].toStdString();
}

// --- Windows and fonts ------------------------------------------------------------------------

TEST_F(MainIntegrationTest, EightWindowsAreMadeInTheirOrder) {
    createProgram();
    // The windows after the login are owned by the main window, whose
    // children keep the order they were made in. The login window stands on
    // its own (it is shown before the main window); the settings window,
    // made later, reads the login's open settings table.
    const std::vector<QObject*> expected = {program().emoticons(), program().characterMap(),
                                            program().calendar(),  program().settings(),
                                            program().search(),    program().progress()};
    std::vector<QObject*> made;
    for (QObject* child : main().children()) {
        if (std::find(expected.begin(), expected.end(), child) != expected.end()) {
            made.push_back(child);
        }
    }
    EXPECT_EQ(expected, made);
    EXPECT_NE(nullptr, program().login());
    EXPECT_EQ(nullptr, program().login()->parent());
    EXPECT_EQ(QStringLiteral("frmDBSearch"), program().search()->objectName());
    EXPECT_EQ(QStringLiteral("frmProgress"), program().progress()->objectName());
}

TEST(RichEditorFont, EditorTakesNoStyleFromItsParent) {
    QWidget parent;
    QFont bold(QStringLiteral("Arial"));
    bold.setBold(true);
    bold.setItalic(true);
    bold.setUnderline(true);
    parent.setFont(bold);
    RichEditor editor(&parent);
    const auto plain = [](const QFont& font) {
        return !font.bold() && !font.italic() && !font.underline() && !font.strikeOut();
    };
    EXPECT_TRUE(plain(editor.font()));
    EXPECT_TRUE(plain(editor.document()->defaultFont()));
    const uint needed = QFont::FamiliesResolved | QFont::SizeResolved | QFont::WeightResolved |
                        QFont::StyleResolved | QFont::UnderlineResolved | QFont::StrikeOutResolved |
                        QFont::StretchResolved;
    EXPECT_EQ(needed, editor.font().resolveMask() & needed)
        << std::hex << editor.font().resolveMask();

    // A later change of the parent does not reach the editor either.
    QFont other(QStringLiteral("Liberation Mono"));
    other.setWeight(QFont::Black);
    parent.setFont(other);
    EXPECT_TRUE(plain(editor.font()));
    EXPECT_EQ(QFont::Normal, editor.font().weight());

    editor.applyDefaultFont(QStringLiteral("Liberation Serif"), 14, QColor(Qt::black));
    EXPECT_TRUE(plain(editor.font()));
    EXPECT_TRUE(plain(editor.document()->defaultFont()));
    EXPECT_EQ(QStringLiteral("Liberation Serif"), editor.font().family());
}

}  // namespace
}  // namespace quillmere
