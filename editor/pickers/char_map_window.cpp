// The character map's construction, as its layout table reads, and its
// handlers.
#include "editor/pickers/char_map_window.h"

#include "controls/bar_button.h"
#include "controls/popup_placement.h"
#include "controls/rb_button.h"
#include "controls/rb_fonts.h"
#include "controls/rb_panel.h"
#include "controls/rb_panel_styles.h"
#include "editor/format/font_families.h"
#include "editor/pickers/char_map.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWindow>

namespace quillmere {

namespace {

constexpr int kContentHeight = 448;
constexpr int kCellSize = 24;
constexpr int kGridPointSize = 12;
constexpr int kAnsiCharset = 0;
constexpr int kSymbolCharset = 2;
constexpr TColor kNavy = 8388608;            // #000080
constexpr TColor kBarButtonColor = 4827907;  // #03AB49
// Material icons of the buttons.
constexpr char32_t kGlyphInsert = 0xE5CA;  // check
constexpr char32_t kGlyphClose = 0xE5CD;   // close

// The font list draws every face in its own font.
class FontNameDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const QString face = index.data(Qt::DisplayRole).toString();
        installFontSubstitutes();
        QFont font(face);
        font.setPointSize(option->font.pointSize() > 0 ? option->font.pointSize() : 10);
        // A symbol or icon face cannot spell its own name: it is shown plainly.
        if (showsItsOwnName(face)) {
            option->font = font;
        }
    }
};

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, const QPoint& at) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(designFont(QStringLiteral("MS Sans Serif"), 11, true));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->move(at);
    label->adjustSize();
    return label;
}

}  // namespace

TDLLForm::TDLLForm(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("DLLForm"));
    setWindowTitle(tr("Character Map"));
    setFixedSize(kWidth, kHeight);
    keepPopupsAtTheirBoxes(this);
    mappingTest_ = codeMappingOf;
    buildPanels();
    buildFontList();
    buildGrid();
    buildPreview();
    buildButtons();
    // The grid starts in Arial, like the font list.
    setFontName(QStringLiteral("Arial"));
    if (FontComboBox1->currentIndex() < 0 && FontComboBox1->count() > 0) {
        FontComboBox1->setCurrentIndex(0);
    }
    FontComboBox1Change();
    // The highlighted cell starts on the remembered pick, so Enter and Close
    // agree with what the preview shows.
    StringGrid1SelectCell(PickCol, PickRow);
}

void TDLLForm::buildPanels() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    RbPanel1 = new TRbPanel(this, QStringLiteral("RbPanel1"));
    applyTitleBarStyle(*RbPanel1, 24);
    RbPanel1->SetCaption(tr("Character Map"));
    RbPanel1->installEventFilter(this);
    layout->addWidget(RbPanel1);

    RbPanel3 = new TRbPanel(this, QStringLiteral("RbPanel3"));
    applyContentFrameStyle(*RbPanel3, 40, 7);
    RbPanel3->SetCaptionPosition(cpTopLeft);
    RbPanel3->setFont(designFont(QStringLiteral("Arial"), 13, true));
    RbPanel3->SetCaption(tr("Current Font Selection"));
    RbPanel3->setFixedHeight(kContentHeight);
    layout->addWidget(RbPanel3);

    RbPanel2 = new TRbPanel(this, QStringLiteral("RbPanel2"));
    applyButtonBarStyle(*RbPanel2);
    RbPanel2->SetCaption(QString());
    layout->addWidget(RbPanel2);
}

void TDLLForm::buildFontList() {
    FontComboBox1 = new QComboBox(RbPanel3);
    FontComboBox1->setObjectName(QStringLiteral("FontComboBox1"));
    FontComboBox1->setGeometry(24, 24, 521, 27);
    FontComboBox1->setEditable(false);
    FontComboBox1->setFont(designFont(QStringLiteral("Arial"), 13));
    FontComboBox1->addItems(fontFamilyList());
    FontComboBox1->setItemDelegate(new FontNameDelegate(FontComboBox1));
    FontComboBox1->setMaxVisibleItems(16);
    connect(FontComboBox1, &QComboBox::currentIndexChanged, this,
            [this] { FontComboBox1Change(); });
}

void TDLLForm::buildGrid() {
    StringGrid1 = new QTableWidget(kCharMapRows, kCharMapColumns, RbPanel3);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setAccessibleName(tr("Characters"));
    StringGrid1->setGeometry(24, 64, 521, 361);
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    // A section holds the cell and the grid line after it.
    StringGrid1->horizontalHeader()->setMinimumSectionSize(1);
    StringGrid1->verticalHeader()->setMinimumSectionSize(1);
    StringGrid1->horizontalHeader()->setDefaultSectionSize(kCellSize + 1);
    StringGrid1->verticalHeader()->setDefaultSectionSize(kCellSize + 1);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->setShowGrid(true);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setTabKeyNavigation(false);
    StringGrid1->setWordWrap(false);
    StringGrid1->setTextElideMode(Qt::ElideNone);
    StringGrid1->installEventFilter(this);
    for (int row = 0; row < kCharMapRows; ++row) {
        for (int column = 0; column < kCharMapColumns; ++column) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            StringGrid1->setItem(row, column, item);
        }
    }
    connect(StringGrid1, &QTableWidget::currentCellChanged, this,
            [this](int row, int column) { StringGrid1SelectCell(column, row); });
    connect(StringGrid1, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        StringGrid1SelectCell(column, row);
        dxButton2Click();
    });
}

void TDLLForm::buildPreview() {
    Image1 = new QLabel(RbPanel3);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(568, 64, kPreviewWidth, kPreviewHeight);
    Label2 = makeLabel(RbPanel3, QStringLiteral("Label2"), tr("ALT + "), {592, 208});
    Label4 = makeLabel(RbPanel3, QStringLiteral("Label4"), QStringLiteral("0"), {638, 208});
}

void TDLLForm::buildButtons() {
    btnInsert = MakeBarButton(RbPanel3, QStringLiteral("btnInsert"), tr("  Insert"),
                              QRect(568, 240, 121, 49), kGlyphInsert, false, clWhite);
    btnInsert->setStatusTip(tr("Insert Selected Character"));
    connect(btnInsert, &TRbButton::OnClick, this, &TDLLForm::dxButton2Click);

    btnAdd = MakeBarButton(RbPanel3, QStringLiteral("btnAdd"), tr("Add"),
                           QRect(568, 340, 40, 25), 0, false, clWhite);
    connect(btnAdd, &TRbButton::OnClick, this, &TDLLForm::btnAddClick);

    btnInsertLine =
        MakeBarButton(RbPanel3, QStringLiteral("btnInsertLine"), tr("Insert Line"),
                      QRect(622, 340, 65, 25), 0, false, clWhite);
    connect(btnInsertLine, &TRbButton::OnClick, this, &TDLLForm::btnInsertLineClick);

    Edit1 = new QLineEdit(RbPanel3);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(tr("Characters to insert"));
    Edit1->setGeometry(568, 373, 121, 21);
    Edit1->installEventFilter(this);

    RbButton1 = MakeBarButton(RbPanel2, QStringLiteral("RbButton1"), tr("  Close"),
                              QRect(610, 10, 75, 25), kGlyphClose, false, kBarButtonColor);
    RbButton1->setStatusTip(tr("Close"));
    connect(RbButton1, &TRbButton::OnClick, this, &TDLLForm::dxButton1Click);
}

// --- State -------------------------------------------------------------------------

QFont TDLLForm::gridFont() const {
    return gridFont_;
}

int TDLLForm::gridCharset() const {
    return symbolFont() ? kSymbolCharset : kAnsiCharset;
}

void TDLLForm::setCodeMappingTest(std::function<CodeMapping(const QString&)> test) {
    mappingTest_ =
        test ? std::move(test) : std::function<CodeMapping(const QString&)>(codeMappingOf);
    FontComboBox1Change();
}

bool TDLLForm::setFontName(const QString& face) {
    const int index = FontComboBox1->findText(face, Qt::MatchFixedString);
    if (index < 0) {
        return false;
    }
    if (index != FontComboBox1->currentIndex()) {
        FontComboBox1->setCurrentIndex(index);  // runs FontComboBox1Change
    }
    return true;
}

QString TDLLForm::fontName() const {
    return FontComboBox1->currentText();
}

QString TDLLForm::cellText(int column, int row) const {
    const QTableWidgetItem* item = StringGrid1->item(row, column);
    return item != nullptr ? item->text() : QString();
}

// --- Handlers ----------------------------------------------------------------------

void TDLLForm::FillCharGrid() {
    for (int row = 0; row < kCharMapRows; ++row) {
        for (int column = 0; column < kCharMapColumns; ++column) {
            StringGrid1->item(row, column)
                ->setText(charMapText(charMapCode(column, row), mapping_));
        }
    }
}

void TDLLForm::FontComboBox1Change() {
    installFontSubstitutes();
    QFont font(FontComboBox1->currentText());
    font.setPointSize(kGridPointSize);
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    gridFont_ = font;
    mapping_ = mappingTest_(font.family());

    QPalette palette = StringGrid1->palette();
    palette.setColor(QPalette::Text, toQColor(kNavy));
    StringGrid1->setPalette(palette);
    StringGrid1->setFont(font);
    Edit1->setPalette(palette);
    Edit1->setFont(font);
    FillCharGrid();
    // The preview shows the pick in the new face.
    if (Image1 != nullptr) {
        const QString text = cellText(PickCol, PickRow);
        Image1->setPixmap(QPixmap::fromImage(renderCharPreview(text, gridFont_, toQColor(kNavy))));
    }
}

void TDLLForm::StringGrid1SelectCell(int ACol, int ARow) {
    const int code = charMapCode(ACol, ARow);
    if (code < 0) {
        return;
    }
    Label4->setText(altCodeLabel(code));
    Label4->adjustSize();
    PickRow = ARow;
    PickCol = ACol;
    Image1->setPixmap(
        QPixmap::fromImage(renderCharPreview(cellText(ACol, ARow), gridFont_, toQColor(kNavy))));
    if (StringGrid1->currentRow() != ARow || StringGrid1->currentColumn() != ACol) {
        StringGrid1->setCurrentCell(ARow, ACol);
    }
}

void TDLLForm::FormActivate() {
    // The labels and preview show the remembered pick; the grid's highlight
    // stays where it is.
    const int row = PickRow;
    const int column = PickCol;
    const QSignalBlocker blockGrid(StringGrid1);
    const int highlightRow = StringGrid1->currentRow();
    const int highlightColumn = StringGrid1->currentColumn();
    StringGrid1SelectCell(column, row);
    StringGrid1->setCurrentCell(highlightRow, highlightColumn);
    Edit1->clear();
    insertedText_.clear();
}

void TDLLForm::putOnClipboard(const QString& text) {
    insertedText_ = text;
    if (!text.isEmpty()) {
        QApplication::clipboard()->setText(text);
    }
}

void TDLLForm::dxButton2Click() {
    putOnClipboard(cellText(PickCol, PickRow));
    accept();
}

void TDLLForm::btnAddClick() {
    Edit1->setText(Edit1->text() + cellText(PickCol, PickRow));
}

void TDLLForm::btnInsertLineClick() {
    putOnClipboard(Edit1->text());
    accept();
}

void TDLLForm::dxButton1Click() {
    if (StringGrid1->currentRow() >= 0 && StringGrid1->currentColumn() >= 0) {
        PickRow = StringGrid1->currentRow();
        PickCol = StringGrid1->currentColumn();
    }
    insertedText_.clear();
    QDialog::reject();
}

void TDLLForm::reject() {
    dxButton1Click();
}

void TDLLForm::RbPanel1MouseDown(const QPoint& globalPos) {
    // The window system moves the window while the button is held; where it
    // cannot, the title panel's mouse moves do it.
    QWindow* window = windowHandle();
    if (window != nullptr && window->startSystemMove()) {
        dragging_ = false;
        return;
    }
    dragging_ = true;
    dragOffset_ = globalPos - frameGeometry().topLeft();
}

// --- Events ------------------------------------------------------------------------

void TDLLForm::showEvent(QShowEvent* event) {
    if (parentWidget() != nullptr && parentWidget()->isVisible()) {
        const QRect over = parentWidget()->frameGeometry();
        move(over.left() + (over.width() - frameGeometry().width()) / 2,
             over.top() + (over.height() - frameGeometry().height()) / 2);
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2);
    }
    FormActivate();
    QDialog::showEvent(event);
    StringGrid1->setFocus();
}

bool TDLLForm::insertOnEnter(const QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        return false;
    }
    StringGrid1SelectCell(StringGrid1->currentColumn(), StringGrid1->currentRow());
    dxButton2Click();
    return true;
}

void TDLLForm::keyPressEvent(QKeyEvent* event) {
    if (!insertOnEnter(event)) {
        QDialog::keyPressEvent(event);
    }
}

bool TDLLForm::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == RbPanel1 && (type == QEvent::MouseButtonPress || type == QEvent::MouseMove ||
                                type == QEvent::MouseButtonRelease)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
            RbPanel1MouseDown(mouse->globalPosition().toPoint());
            return true;
        }
        if (type == QEvent::MouseMove && dragging_ && (mouse->buttons() & Qt::LeftButton)) {
            move(mouse->globalPosition().toPoint() - dragOffset_);
            return true;
        }
        if (type == QEvent::MouseButtonRelease && dragging_) {
            dragging_ = false;
            return true;
        }
    } else if (type == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (watched == StringGrid1 && insertOnEnter(key)) {
            return true;
        }
        if (watched == Edit1 && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            // Enter in the edit line inserts the line being composed.
            btnInsertLineClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace quillmere
