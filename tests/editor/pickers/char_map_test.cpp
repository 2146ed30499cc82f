// The character map's cells, characters, labels and preview, and its window:
// picking, adding, the two inserts, closing, keys and dragging.
#include "editor/pickers/char_map.h"
#include "controls/rb_button.h"
#include "controls/rb_panel.h"
#include "editor/pickers/char_map_window.h"
#include "test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace quillmere {
namespace {

// --- Codes of the cells --------------------------------------------------------------

struct CellCase {
    const char* label;
    int column;
    int row;
    int code;
};

TEST(CharMapCells, CodeIsTwentyRowsPlusColumnModulo256) {
    const CellCase cases[] = {
        {"nominal: first cell", 0, 0, 0},
        {"nominal: the letter A", 5, 3, 65},
        {"nominal: last code in row 12", 15, 12, 255},
        {"nominal: row 12 wraps to 0", 16, 12, 0},
        {"nominal: row 12 column 17 is code 1", 17, 12, 1},
        {"nominal: last cell", 19, 12, 3},
        {"nominal: e acute", 13, 11, 233},
        {"robustness: column past the grid", 20, 0, -1},
        {"robustness: row past the grid", 0, 13, -1},
        {"robustness: negative column", -1, 3, -1},
    };
    for (const CellCase& c : cases) {
        EXPECT_EQ(c.code, charMapCode(c.column, c.row)) << c.label;
    }
}

TEST(CharMapCells, EveryCodeAppearsAndOnlyCodes0To3Twice) {
    int seen[256] = {};
    for (int row = 0; row < kCharMapRows; ++row) {
        for (int column = 0; column < kCharMapColumns; ++column) {
            ++seen[charMapCode(column, row)];
        }
    }
    for (int code = 0; code < 256; ++code) {
        EXPECT_EQ(code < 4 ? 2 : 1, seen[code]) << "code " << code;
    }
}

// --- Characters of the codes ---------------------------------------------------------

constexpr CodeMapping kAnsi = CodeMapping::CodePage1252;
constexpr CodeMapping kPua = CodeMapping::SymbolPrivateUse;
constexpr CodeMapping kLatin1 = CodeMapping::SymbolLatin1;

struct CharCase {
    const char* label;
    int code;
    CodeMapping mapping;
    char16_t expected;  // 0: no character
};

TEST(CharMapText, CodePage1252AndSymbolFonts) {
    const CharCase cases[] = {
        {"nominal: A", 65, kAnsi, u'A'},
        {"nominal: space", 32, kAnsi, u' '},
        {"nominal: tilde", 126, kAnsi, u'~'},
        {"nominal: euro sign", 128, kAnsi, 0x20AC},
        {"nominal: low single quote", 130, kAnsi, 0x201A},
        {"nominal: trade mark", 153, kAnsi, 0x2122},
        {"nominal: Y diaeresis", 159, kAnsi, 0x0178},
        {"nominal: no-break space", 160, kAnsi, 0x00A0},
        {"nominal: e acute", 233, kAnsi, 0x00E9},
        {"nominal: y diaeresis", 255, kAnsi, 0x00FF},
        {"robustness: NUL shows nothing", 0, kAnsi, 0},
        {"robustness: control code 1", 1, kAnsi, 0},
        {"robustness: tab", 9, kAnsi, 0},
        {"robustness: carriage return", 13, kAnsi, 0},
        {"robustness: control code 31", 31, kAnsi, 0},
        {"robustness: DEL", 127, kAnsi, 0},
        {"robustness: undefined 129", 129, kAnsi, 0},
        {"robustness: undefined 141", 141, kAnsi, 0},
        {"robustness: undefined 143", 143, kAnsi, 0},
        {"robustness: undefined 144", 144, kAnsi, 0},
        {"robustness: undefined 157", 157, kAnsi, 0},
        {"robustness: code past 255", 256, kAnsi, 0},
        {"robustness: negative code", -1, kAnsi, 0},
        {"nominal: symbol A", 65, kPua, 0xF041},
        {"nominal: symbol 128", 128, kPua, 0xF080},
        {"nominal: symbol 129 (undefined in 1252)", 129, kPua, 0xF081},
        {"nominal: symbol 255", 255, kPua, 0xF0FF},
        {"robustness: symbol control code", 10, kPua, 0},
        {"robustness: symbol NUL", 0, kPua, 0},
        {"nominal: Latin-1 symbol A", 65, kLatin1, u'A'},
        {"nominal: Latin-1 symbol 160", 160, kLatin1, 0x00A0},
        {"nominal: Latin-1 symbol 255", 255, kLatin1, 0x00FF},
        {"robustness: Latin-1 symbol 128 is a control code", 128, kLatin1, 0},
        {"robustness: Latin-1 symbol 159 is a control code", 159, kLatin1, 0},
        {"robustness: Latin-1 symbol DEL", 127, kLatin1, 0},
    };
    for (const CharCase& c : cases) {
        const QString expected = c.expected == 0 ? QString() : QString(QChar(c.expected));
        EXPECT_EQ(expected, charMapText(c.code, c.mapping)) << c.label;
    }
}

TEST(CharMapText, CodeOfTextReversesEveryCharacter) {
    // 256 codes less 33 control codes; 1252 has five holes, Latin-1 has 32
    // more control codes.
    const std::pair<CodeMapping, int> mappings[] = {{kAnsi, 218}, {kPua, 223}, {kLatin1, 191}};
    for (const auto& [mapping, count] : mappings) {
        int characters = 0;
        for (int code = 0; code < 256; ++code) {
            const QString text = charMapText(code, mapping);
            if (!text.isEmpty()) {
                ++characters;
                EXPECT_EQ(code, charMapCodeOfText(text, mapping)) << code;
            }
        }
        EXPECT_EQ(count, characters);
    }
    EXPECT_EQ(-1, charMapCodeOfText(QString(), kAnsi));
    EXPECT_EQ(-1, charMapCodeOfText(QStringLiteral("AB"), kAnsi));
    EXPECT_EQ(-1, charMapCodeOfText(QString(QChar(0x03B1)), kAnsi));  // not in 1252
    EXPECT_EQ(-1, charMapCodeOfText(QString(QChar(0x0080)), kAnsi));
    EXPECT_EQ(-1, charMapCodeOfText(QStringLiteral("A"), kPua));
    EXPECT_EQ(-1, charMapCodeOfText(QString(QChar(0x20AC)), kLatin1));
    EXPECT_EQ(-1, charMapCodeOfText(QString(QChar(0x0085)), kLatin1));
}

TEST(CharMapText, InstalledFacesReportTheirMapping) {
    EXPECT_EQ(kAnsi, codeMappingOf(QStringLiteral("DejaVu Sans")));
    EXPECT_EQ(kAnsi, codeMappingOf(QStringLiteral("Liberation Sans")));
    // The URW symbol font keys its symbols on Latin-1; it is optional.
    const QString symbols = QStringLiteral("Standard Symbols PS");
    if (!QFontDatabase::hasFamily(symbols)) {
        GTEST_SKIP() << "no " << symbols.toStdString() << " installed";
    }
    EXPECT_EQ(kLatin1, codeMappingOf(symbols));
}

TEST(CharMapText, AltCodeLabelIsZeroAndTheDecimalCode) {
    EXPECT_EQ(QStringLiteral("065"), altCodeLabel(65));
    EXPECT_EQ(QStringLiteral("0200"), altCodeLabel(200));
    EXPECT_EQ(QStringLiteral("00"), altCodeLabel(0));
    EXPECT_EQ(QStringLiteral("01"), altCodeLabel(1));
    EXPECT_EQ(QStringLiteral("0255"), altCodeLabel(255));
}

// --- Preview -------------------------------------------------------------------------

// Bounding box of the pixels that are neither white nor the outline.
QRect inkBox(const QImage& image) {
    QRect box;
    for (int y = 1; y < image.height() - 1; ++y) {
        for (int x = 1; x < image.width() - 1; ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

// The window's preview against a fresh drawing of the expected one. Qt's
// glyph cache may place the outline's antialiased edge pixels slightly
// differently between a drawing made before the window was first shown and
// one made after, so the frame must match exactly, the ink box within a
// pixel and nearly all pixels exactly.
::testing::AssertionResult samePreview(const QImage& shown, const QImage& expected) {
    if (shown.size() != expected.size()) {
        return ::testing::AssertionFailure() << "size differs";
    }
    int differing = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const bool frame =
                x == 0 || y == 0 || x == shown.width() - 1 || y == shown.height() - 1;
            if (shown.pixel(x, y) != expected.pixel(x, y)) {
                if (frame) {
                    return ::testing::AssertionFailure() << "frame differs at " << x << "," << y;
                }
                ++differing;
            }
        }
    }
    const QRect a = inkBox(shown);
    const QRect b = inkBox(expected);
    if (a.isEmpty() != b.isEmpty() || std::abs(a.left() - b.left()) > 1 ||
        std::abs(a.top() - b.top()) > 1 || std::abs(a.right() - b.right()) > 1 ||
        std::abs(a.bottom() - b.bottom()) > 1) {
        return ::testing::AssertionFailure() << "ink box differs";
    }
    if (differing * 20 > shown.width() * shown.height()) {
        return ::testing::AssertionFailure() << differing << " pixels differ";
    }
    return ::testing::AssertionSuccess();
}

QFont arial12() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(12);
    return font;
}

TEST(CharMapPreview, WhiteWithBlackOutlineAndCentredCharacter) {
    const QImage image = renderCharPreview(QStringLiteral("A"), arial12());
    ASSERT_EQ(QSize(121, 129), image.size());
    for (int x = 0; x < 121; ++x) {
        EXPECT_PIXEL(image, x, 0, "#000000");
        EXPECT_PIXEL(image, x, 128, "#000000");
    }
    for (int y = 0; y < 129; ++y) {
        EXPECT_PIXEL(image, 0, y, "#000000");
        EXPECT_PIXEL(image, 120, y, "#000000");
    }
    EXPECT_PIXEL(image, 1, 1, "#FFFFFF");
    EXPECT_PIXEL(image, 119, 127, "#FFFFFF");
    const QRect ink = inkBox(image);
    ASSERT_FALSE(ink.isEmpty());
    // A 70-point A is about 50 pixels wide, centred across the inside.
    EXPECT_GT(ink.width(), 40);
    EXPECT_GT(ink.height(), 45);
    const int leftGap = ink.left() - 1;
    const int rightGap = 119 - ink.right();
    EXPECT_LE(std::abs(leftGap - rightGap), 3) << leftGap << " " << rightGap;
    // The ink is navy: the strokes are solid navy inside their
    // antialiased edges.
    int navy = 0;
    for (int y = ink.top(); y <= ink.bottom(); ++y) {
        for (int x = ink.left(); x <= ink.right(); ++x) {
            navy += image.pixel(x, y) == qRgb(0, 0, 128) ? 1 : 0;
            EXPECT_EQ(qRed(image.pixel(x, y)), qGreen(image.pixel(x, y))) << x << "," << y;
        }
    }
    EXPECT_GT(navy, 200);
}

TEST(CharMapPreview, EmptyTextLeavesOnlyTheOutline) {
    const QImage image = renderCharPreview(QString(), arial12());
    EXPECT_TRUE(inkBox(image).isEmpty());
    EXPECT_PIXEL(image, 60, 0, "#000000");
}

TEST(CharMapPreview, AmpersandIsDrawnNotTakenAsMnemonic) {
    EXPECT_FALSE(inkBox(renderCharPreview(QStringLiteral("&"), arial12())).isEmpty());
}

// --- The window ----------------------------------------------------------------------

class CharMapWindow : public ::testing::Test {
protected:
    void SetUp() override {
        parent_ = std::make_unique<QWidget>();
        parent_->setGeometry(100, 100, 1024, 700);
        map_ = new TDLLForm(parent_.get());
    }
    void TearDown() override { parent_.reset(); }

    void show() {
        map_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(map_));
    }

    QString label() const { return map_->Label2->text() + map_->Label4->text(); }
    QRect cellRect(int column, int row) const {
        return map_->StringGrid1->visualItemRect(map_->StringGrid1->item(row, column));
    }
    void clickCell(int column, int row) {
        QTest::mouseClick(map_->StringGrid1->viewport(), Qt::LeftButton, {},
                          cellRect(column, row).center());
    }
    void click(TRbButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    QImage preview() const {
        return map_->Image1->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QImage expectedPreview(int column, int row) const {
        return renderCharPreview(map_->StringGrid1->item(row, column)->text(), map_->gridFont());
    }

    std::unique_ptr<QWidget> parent_;
    TDLLForm* map_ = nullptr;
};

struct Placement {
    const char* name;
    QRect geometry;
};

TEST_F(CharMapWindow, ControlsSitWhereTheLayoutPutsThem) {
    show();
    EXPECT_EQ(QSize(718, 538), map_->size());
    EXPECT_TRUE(map_->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(QStringLiteral("Character Map"), map_->windowTitle());
    const Placement placements[] = {
        {"RbPanel1", QRect(0, 0, 718, 45)},         {"RbPanel3", QRect(0, 45, 718, 448)},
        {"RbPanel2", QRect(0, 493, 718, 45)},       {"FontComboBox1", QRect(24, 24, 521, 27)},
        {"StringGrid1", QRect(24, 64, 521, 361)},   {"Image1", QRect(568, 64, 121, 129)},
        {"btnInsert", QRect(568, 240, 121, 49)},    {"btnAdd", QRect(568, 340, 40, 25)},
        {"btnInsertLine", QRect(622, 340, 65, 25)}, {"Edit1", QRect(568, 373, 121, 21)},
        {"RbButton1", QRect(610, 10, 75, 25)},
    };
    for (const Placement& p : placements) {
        auto* widget = map_->findChild<QWidget*>(QString::fromLatin1(p.name));
        ASSERT_NE(nullptr, widget) << p.name;
        EXPECT_EQ(p.geometry, widget->geometry()) << p.name;
    }
    EXPECT_EQ(QPoint(592, 208), map_->Label2->pos());
    EXPECT_EQ(QPoint(638, 208), map_->Label4->pos());
    EXPECT_EQ(QStringLiteral("Character Map"), map_->RbPanel1->Caption());
    EXPECT_EQ(QStringLiteral("Current Font Selection"), map_->RbPanel3->Caption());
    EXPECT_EQ(QStringLiteral("  Insert"), map_->btnInsert->Caption());
    EXPECT_EQ(QStringLiteral("Add"), map_->btnAdd->Caption());
    EXPECT_EQ(QStringLiteral("Insert Line"), map_->btnInsertLine->Caption());
    EXPECT_EQ(QStringLiteral("  Close"), map_->RbButton1->Caption());
    // The hints have an empty tooltip part.
    EXPECT_TRUE(map_->btnInsert->toolTip().isEmpty());
    EXPECT_TRUE(map_->RbButton1->toolTip().isEmpty());
    EXPECT_EQ(QStringLiteral("Insert Selected Character"), map_->btnInsert->statusTip());
}

TEST_F(CharMapWindow, IsCentredOnItsParentWhenShown) {
    parent_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(parent_.get()));
    show();
    const QRect over = parent_->frameGeometry();
    const QRect mine = map_->frameGeometry();
    EXPECT_LE(std::abs(over.center().x() - mine.center().x()), 1);
    EXPECT_LE(std::abs(over.center().y() - mine.center().y()), 1);
}

TEST_F(CharMapWindow, GridHoldsTheMapCharactersInArialNavy) {
    QTableWidget* grid = map_->StringGrid1;
    ASSERT_EQ(13, grid->rowCount());
    ASSERT_EQ(20, grid->columnCount());
    for (int row = 0; row < 13; ++row) {
        for (int column = 0; column < 20; ++column) {
            EXPECT_EQ(charMapText(charMapCode(column, row), kAnsi), grid->item(row, column)->text())
                << row << "," << column;
        }
    }
    EXPECT_TRUE(grid->item(0, 0)->text().isEmpty());
    EXPECT_EQ(QStringLiteral("\u20AC"), grid->item(6, 8)->text());  // code 128
    EXPECT_EQ(QStringLiteral("Arial"), map_->gridFont().family());
    EXPECT_EQ(12, map_->gridFont().pointSize());
    EXPECT_FALSE(map_->gridFont().bold());
    EXPECT_EQ(QColor(0, 0, 128), grid->palette().color(QPalette::Text));
    EXPECT_EQ(map_->gridFont(), map_->Edit1->font());
    EXPECT_EQ(0, map_->gridCharset());
}

TEST_F(CharMapWindow, FirstUseShowsAWithItsAltCodeAndAnEmptyLine) {
    map_->Edit1->setText(QStringLiteral("left over"));
    show();
    EXPECT_EQ(QStringLiteral("Arial"), map_->FontComboBox1->currentText());
    EXPECT_EQ(QStringLiteral("ALT + 065"), label());
    EXPECT_EQ(3, map_->PickRow);
    EXPECT_EQ(5, map_->PickCol);
    EXPECT_TRUE(map_->Edit1->text().isEmpty());
    EXPECT_TRUE(samePreview(preview(), expectedPreview(5, 3)));
    EXPECT_EQ(QStringLiteral("A"), map_->StringGrid1->item(3, 5)->text());
}

TEST_F(CharMapWindow, PickingCellsShowsTheirCodes) {
    show();
    struct Pick {
        int column;
        int row;
        const char* label;
    };
    const Pick picks[] = {{17, 12, "ALT + 01"},
                          {0, 10, "ALT + 0200"},
                          {0, 0, "ALT + 00"},
                          {8, 6, "ALT + 0128"},
                          {13, 11, "ALT + 0233"}};
    for (const Pick& p : picks) {
        clickCell(p.column, p.row);
        EXPECT_EQ(QString::fromLatin1(p.label), label());
        EXPECT_EQ(p.row, map_->PickRow);
        EXPECT_EQ(p.column, map_->PickCol);
        EXPECT_EQ(p.row, map_->StringGrid1->currentRow());
        EXPECT_EQ(p.column, map_->StringGrid1->currentColumn());
        EXPECT_TRUE(samePreview(preview(), expectedPreview(p.column, p.row))) << p.label;
    }
}

TEST_F(CharMapWindow, InsertPutsTheEuroSignOnTheClipboardAndClosesWithOk) {
    show();
    clickCell(8, 6);
    click(map_->btnInsert);
    EXPECT_FALSE(map_->isVisible());
    EXPECT_EQ(QDialog::Accepted, map_->result());
    EXPECT_EQ(QStringLiteral("\u20AC"), QApplication::clipboard()->text());
    EXPECT_EQ(QStringLiteral("\u20AC"), map_->insertedText());
}

TEST_F(CharMapWindow, AddThreeTimesThenInsertLinePutsTheLineOnTheClipboard) {
    show();
    clickCell(13, 11);  // 233
    for (int i = 0; i < 3; ++i) {
        click(map_->btnAdd);
    }
    EXPECT_EQ(QStringLiteral("\u00E9\u00E9\u00E9"), map_->Edit1->text());
    EXPECT_TRUE(map_->isVisible());
    click(map_->btnInsertLine);
    EXPECT_EQ(QDialog::Accepted, map_->result());
    EXPECT_EQ(QStringLiteral("\u00E9\u00E9\u00E9"), QApplication::clipboard()->text());
}

TEST_F(CharMapWindow, NothingToInsertLeavesTheClipboardAlone) {
    struct Case {
        const char* label;
        int column;
        int row;
        bool line;
    };
    const Case cases[] = {{"robustness: code 0 cell", 0, 0, false},
                          {"robustness: control code cell", 17, 12, false},
                          {"robustness: undefined 1252 code", 9, 6, false},  // 129
                          {"robustness: empty line", 5, 3, true}};
    for (const Case& c : cases) {
        QApplication::clipboard()->setText(QStringLiteral("kept"));
        show();
        clickCell(c.column, c.row);
        if (c.line) {
            click(map_->btnInsertLine);
        } else {
            click(map_->btnInsert);
        }
        EXPECT_FALSE(map_->isVisible()) << c.label;
        EXPECT_TRUE(map_->insertedText().isEmpty()) << c.label;
        EXPECT_EQ(QStringLiteral("kept"), QApplication::clipboard()->text()) << c.label;
    }
}

TEST_F(CharMapWindow, CloseRemembersTheHighlightedCellForTheNextShowing) {
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    show();
    clickCell(2, 4);  // 82, R
    map_->Edit1->setText(QStringLiteral("xyz"));
    click(map_->RbButton1);
    EXPECT_FALSE(map_->isVisible());
    EXPECT_EQ(QDialog::Rejected, map_->result());
    EXPECT_EQ(QStringLiteral("kept"), QApplication::clipboard()->text());
    EXPECT_EQ(4, map_->PickRow);
    EXPECT_EQ(2, map_->PickCol);
    show();
    EXPECT_EQ(QStringLiteral("ALT + 082"), label());
    EXPECT_TRUE(samePreview(preview(), expectedPreview(2, 4)));
    EXPECT_TRUE(map_->Edit1->text().isEmpty());
}

TEST_F(CharMapWindow, ShowingDoesNotMoveTheGridHighlight) {
    show();
    clickCell(2, 4);
    map_->PickRow = 11;
    map_->PickCol = 13;
    map_->FormActivate();
    EXPECT_EQ(QStringLiteral("ALT + 0233"), label());
    EXPECT_EQ(4, map_->StringGrid1->currentRow());
    EXPECT_EQ(2, map_->StringGrid1->currentColumn());
}

TEST_F(CharMapWindow, ArrowKeysMoveThePickAndEnterInserts) {
    show();
    QTest::keyClick(map_->StringGrid1, Qt::Key_Right);
    EXPECT_EQ(QStringLiteral("ALT + 066"), label());
    QTest::keyClick(map_->StringGrid1, Qt::Key_Down);
    EXPECT_EQ(QStringLiteral("ALT + 086"), label());
    QTest::keyClick(map_->StringGrid1, Qt::Key_Return);
    EXPECT_FALSE(map_->isVisible());
    EXPECT_EQ(QDialog::Accepted, map_->result());
    EXPECT_EQ(QStringLiteral("V"), QApplication::clipboard()->text());
}

TEST_F(CharMapWindow, EscapeClosesAsCloseDoes) {
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    show();
    clickCell(7, 3);
    QTest::keyClick(map_->StringGrid1, Qt::Key_Escape);
    EXPECT_FALSE(map_->isVisible());
    EXPECT_EQ(QDialog::Rejected, map_->result());
    EXPECT_EQ(QStringLiteral("kept"), QApplication::clipboard()->text());
    EXPECT_EQ(7, map_->PickCol);
}

TEST_F(CharMapWindow, EnterInTheEditLineInsertsTheLine) {
    show();
    map_->Edit1->setFocus();
    QTest::keyClicks(map_->Edit1, QStringLiteral("ab"));
    QTest::keyClick(map_->Edit1, Qt::Key_Return);
    EXPECT_EQ(QDialog::Accepted, map_->result());
    EXPECT_EQ(QStringLiteral("ab"), QApplication::clipboard()->text());
}

TEST_F(CharMapWindow, DoubleClickInsertsTheCell) {
    show();
    // A double click is a click and then the second press.
    QTest::mouseClick(map_->StringGrid1->viewport(), Qt::LeftButton, {}, cellRect(3, 2).center());
    QTest::mouseDClick(map_->StringGrid1->viewport(), Qt::LeftButton, {}, cellRect(3, 2).center());
    EXPECT_EQ(QDialog::Accepted, map_->result());
    EXPECT_EQ(QStringLiteral("+"), QApplication::clipboard()->text());  // 43
}

TEST_F(CharMapWindow, ChoosingAFontRefillsGridEditAndPreview) {
    show();
    ASSERT_TRUE(map_->setFontName(QStringLiteral("DejaVu Serif")));
    EXPECT_EQ(QStringLiteral("DejaVu Serif"), map_->gridFont().family());
    EXPECT_EQ(12, map_->gridFont().pointSize());
    EXPECT_EQ(map_->gridFont(), map_->StringGrid1->font());
    EXPECT_EQ(map_->gridFont(), map_->Edit1->font());
    EXPECT_TRUE(samePreview(preview(), expectedPreview(5, 3)));
    EXPECT_FALSE(map_->setFontName(QStringLiteral("No Such Face 123")));
    EXPECT_EQ(QStringLiteral("DejaVu Serif"), map_->fontName());
}

TEST_F(CharMapWindow, ASymbolFontShowsItsOwnSymbols) {
    // No symbol font need be installed: the test says which face is one.
    map_->setCodeMappingTest([](const QString& face) {
        if (face == QStringLiteral("DejaVu Serif")) {
            return kLatin1;
        }
        return face == QStringLiteral("DejaVu Sans") ? kPua : kAnsi;
    });
    ASSERT_TRUE(map_->setFontName(QStringLiteral("DejaVu Sans")));
    EXPECT_TRUE(map_->symbolFont());
    EXPECT_EQ(2, map_->gridCharset());
    EXPECT_EQ(QString(QChar(0xF041)), map_->StringGrid1->item(3, 5)->text());
    EXPECT_EQ(QString(QChar(0xF081)), map_->StringGrid1->item(6, 9)->text());
    EXPECT_TRUE(map_->StringGrid1->item(0, 0)->text().isEmpty());
    ASSERT_TRUE(map_->setFontName(QStringLiteral("DejaVu Serif")));
    EXPECT_EQ(kLatin1, map_->codeMapping());
    EXPECT_EQ(2, map_->gridCharset());
    EXPECT_EQ(QStringLiteral("A"), map_->StringGrid1->item(3, 5)->text());
    EXPECT_TRUE(map_->StringGrid1->item(6, 8)->text().isEmpty());  // 128
    ASSERT_TRUE(map_->setFontName(QStringLiteral("Arial")));
    EXPECT_FALSE(map_->symbolFont());
    EXPECT_EQ(0, map_->gridCharset());
    EXPECT_EQ(QStringLiteral("A"), map_->StringGrid1->item(3, 5)->text());
}

TEST_F(CharMapWindow, DraggingTheTitlePanelMovesTheWindow) {
    show();
    const QPoint before = map_->pos();
    QWidget* title = map_->RbPanel1;
    QTest::mousePress(title, Qt::LeftButton, {}, QPoint(100, 20));
    QMouseEvent move(QEvent::MouseMove, QPointF(140, 50), title->mapToGlobal(QPointF(140, 50)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(title, &move);
    QTest::mouseRelease(title, Qt::LeftButton, {}, QPoint(140, 50));
    EXPECT_EQ(before + QPoint(40, 30), map_->pos());

    // The content panel does not drag.
    const QPoint after = map_->pos();
    QWidget* content = map_->RbPanel3;
    QTest::mousePress(content, Qt::LeftButton, {}, QPoint(600, 420));
    QMouseEvent other(QEvent::MouseMove, QPointF(640, 440), content->mapToGlobal(QPointF(640, 440)),
                      Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(content, &other);
    QTest::mouseRelease(content, Qt::LeftButton, {}, QPoint(640, 440));
    EXPECT_EQ(after, map_->pos());
}

}  // namespace
}  // namespace quillmere
