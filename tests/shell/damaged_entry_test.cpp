// A day whose stored entry does not inflate: the message names the day, the
// editor shows nothing of another day and cannot be edited, and the damaged
// bytes survive moving away, until the user clears the day on purpose.
#include "shell_fixture.h"

#include "controls/rb_button.h"
#include "editor/format/format_commands.h"
#include "editor/rich_editor.h"
#include "export/exporter.h"
#include "search/date_field.h"
#include "search/db_search_form.h"
#include "search/result_list.h"
#include "shell/main_hosts.h"
#include "shell/main_window.h"
#include "store/day.h"
#include "store/journal_session.h"
#include "store/journal_table.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QTest>

namespace quillmere {
namespace {

const QByteArray kDamagedBlob = QByteArray::fromHex("7801ffff0000");

class DamagedEntryTest : public ShellTest {
protected:
    // 19 March has a good entry; 20 March (today) a damaged one.
    void startOnGoodDay() {
        writeJournal({{QDate(2024, 3, 19), QStringLiteral("good day")}});
        start(QDate(2024, 3, 19));
        main().journal().StoreDay(dayFromDate(QDate(2024, 3, 20)), [] { return kDamagedBlob; });
        messages_.calls.clear();
    }
    QByteArray storedBlob(const QDate& date) {
        JournalTable& table = main().journal();
        if (!table.Locate(dayFromDate(date))) {
            return {};
        }
        return table.JournalEntry();
    }
};

TEST_F(DamagedEntryTest, TheDayIsNamedAndTheEditorIsEmptyAndReadOnly) {
    startOnGoodDay();
    click(main().btnNext);
    ASSERT_FALSE(messages_.calls.empty());
    EXPECT_EQ(QStringLiteral("20 March 2024: data error."), messages_.calls.back().text);
    EXPECT_EQ(QDate(2024, 3, 20), main().currentDate());
    EXPECT_TRUE(main().Editor->toPlainText().isEmpty()) << "nothing of 19 March stays";
    EXPECT_TRUE(main().Editor->isReadOnly());

    // Typing goes nowhere, and moving on leaves the damaged bytes alone.
    main().Editor->setFocus();
    QTest::keyClicks(main().Editor, QStringLiteral("overwrite"));
    EXPECT_TRUE(main().Editor->toPlainText().isEmpty());
    click(main().btnPrevious);
    EXPECT_FALSE(main().Editor->isReadOnly()) << "other days are editable";
    EXPECT_EQ(QStringLiteral("good day"), main().Editor->toPlainText());
    EXPECT_EQ(kDamagedBlob, storedBlob(QDate(2024, 3, 20)));
}

TEST_F(DamagedEntryTest, ClearAllGivesTheDayUpOnPurpose) {
    startOnGoodDay();
    click(main().btnNext);
    main().Commands->ClearAll1->trigger();
    EXPECT_FALSE(main().Editor->isReadOnly());
    main().Editor->setFocus();
    QTest::keyClicks(main().Editor, QStringLiteral("new start"));
    click(main().btnPrevious);
    EXPECT_NE(kDamagedBlob, storedBlob(QDate(2024, 3, 20)));
    click(main().btnNext);
    EXPECT_EQ(QStringLiteral("new start"), main().Editor->toPlainText());
}

// The search and the export meet the damaged entry while they walk the whole
// journal: they go on past it and name its day the way the date header does.
TEST_F(DamagedEntryTest, SearchAndExportNameTheDamagedDay) {
    startOnGoodDay();
    TfrmDBSearch& search = *program().search();
    search.DateEdit1->setDay(dayFromDate(QDate(2024, 3, 1)));
    search.DateEdit2->setDay(dayFromDate(QDate(2024, 3, 31)));
    search.edtText->setText(QStringLiteral("good"));
    click(search.btnSearch);
    EXPECT_TRUE(messages_.texts(MessageKind::Error).empty());
    ASSERT_EQ(1u, messages_.texts(MessageKind::Information).size());
    EXPECT_TRUE(messages_.texts(MessageKind::Information)[0].startsWith(
        QStringLiteral("Could not read: 20 March 2024\n\n")));
    EXPECT_EQ(1, search.ListBox1->count()) << "the day found is listed";
    search.hide();

    messages_.calls.clear();
    testsupport::TempFolder target;
    program().exportHost()->setFolderChooser([&] { return std::optional<QString>(target.path()); });
    program().exporter()->setPause([](int) {});
    click(main().btnExport);
    TExporter* exporter = program().exporter();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !exporter->isExporting(); }, 10000));
    EXPECT_EQ(std::vector<QString>{QStringLiteral("20 March 2024: data error")},
              messages_.texts(MessageKind::Error));
    EXPECT_EQ(std::vector<QString>{QStringLiteral("Exported 1 of 2 entries to \"%1\".\n1 entry "
                                                  "could not be exported: 20 March 2024.")
                                       .arg(target.path())},
              messages_.texts(MessageKind::Information));
    EXPECT_EQ(QStringList{QStringLiteral("2024-03-19.rtf")},
              QDir(target.path()).entryList(QDir::Files));
    EXPECT_EQ(kDamagedBlob, storedBlob(QDate(2024, 3, 20)));
}

}  // namespace
}  // namespace quillmere
