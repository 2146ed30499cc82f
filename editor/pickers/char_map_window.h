// The character map `TDLLForm`: a borderless window with a font list and a
// 20 x 13 grid of the 256 8-bit codes in that font (the last four cells hold
// codes 0 to 3 again), a large preview of the picked character with its
// keyboard code, and a line for composing several characters. Insert puts
// the picked character on the clipboard as plain text, Insert Line the
// composed line; both close the window with result OK. Close (or Escape)
// closes with result cancel and leaves the clipboard alone.
//
// The window is made once and kept: its font, grid, the remembered pick
// (`PickRow`, `PickCol`) and the preview stay between showings; the edit line
// is emptied on every showing. The caller runs it modally and, on OK, pastes
// the clipboard where the text belongs (InsertFromCharacterMap does that for
// the entry editor).
#pragma once

#include "editor/pickers/char_map.h"

#include <QDialog>
#include <QFont>
#include <QPoint>
#include <QString>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace quillmere {

class TRbButton;
class TRbPanel;

class TDLLForm : public QDialog {
    Q_OBJECT
public:
    // Client area of the window.
    static constexpr int kWidth = 718;
    static constexpr int kHeight = 538;
    // The pick after creation: row 3, column 5 (code 65, the letter A).
    static constexpr int kInitialPickRow = 3;
    static constexpr int kInitialPickCol = 5;

    // Builds the window (FormCreate). It is centred on its parent when shown.
    explicit TDLLForm(QWidget* parent = nullptr);

    // --- State ----------------------------------------------------------------

    int PickRow = kInitialPickRow;
    int PickCol = kInitialPickCol;
    // The grid's font: the chosen face, 12 points, navy, regular.
    QFont gridFont() const;
    // True when the chosen face is a symbol font (its cells show the font's
    // own symbols and the text carries the symbol character set).
    bool symbolFont() const { return mapping_ != CodeMapping::CodePage1252; }
    CodeMapping codeMapping() const { return mapping_; }
    // The Windows character set the grid's face resolves to (its font asks
    // for the default set): 2 (symbol) for a symbol font, else 0 (ANSI).
    int gridCharset() const;
    // The text the last Insert or Insert Line put on the clipboard; empty
    // when the window was closed without inserting, or when there was
    // nothing to insert (an empty cell or an empty line), in which case the
    // clipboard was left as it was.
    QString insertedText() const { return insertedText_; }

    // Tells how a face maps its codes (tests put a fake in place; the
    // default asks the font database). Refills the grid for the shown face.
    void setCodeMappingTest(std::function<CodeMapping(const QString&)> test);

    // Chooses `face` in the font list when it is listed and differs from the
    // one shown (the font change then runs). Returns false and changes
    // nothing when the face is not listed.
    bool setFontName(const QString& face);
    // The face shown in the font list.
    QString fontName() const;

    // --- Handlers -------------------------------------------------------------

    void FillCharGrid();
    void FontComboBox1Change();
    // The pick: code label, PickRow/PickCol, preview, grid selection. Cells
    // outside the grid are ignored.
    void StringGrid1SelectCell(int ACol, int ARow);
    void FormActivate();
    void dxButton2Click();
    void btnAddClick();
    void btnInsertLineClick();
    void dxButton1Click();
    void RbPanel1MouseDown(const QPoint& globalPos);

    // --- Controls, by their design names ----------------------------------------

    TRbPanel* RbPanel1 = nullptr;
    TRbPanel* RbPanel3 = nullptr;
    QComboBox* FontComboBox1 = nullptr;
    QTableWidget* StringGrid1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    TRbButton* btnInsert = nullptr;
    TRbButton* btnAdd = nullptr;
    TRbButton* btnInsertLine = nullptr;
    QLineEdit* Edit1 = nullptr;
    TRbPanel* RbPanel2 = nullptr;
    TRbButton* RbButton1 = nullptr;

public slots:
    // Escape and closing the window run Close.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    // Enter anywhere but the edit line inserts the highlighted character.
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPanels();
    void buildFontList();
    void buildGrid();
    void buildPreview();
    void buildButtons();
    QString cellText(int column, int row) const;
    void putOnClipboard(const QString& text);
    // Enter: the highlighted cell is picked and inserted. False for other keys.
    bool insertOnEnter(const QKeyEvent* event);

    QFont gridFont_;
    CodeMapping mapping_ = CodeMapping::CodePage1252;
    QString insertedText_;
    std::function<CodeMapping(const QString&)> mappingTest_;
    // The manual drag of the title panel where the window system cannot move
    // the window itself: the press point relative to the window's corner.
    bool dragging_ = false;
    QPoint dragOffset_;
};

}  // namespace quillmere
