#include "shell/settings_window.h"
#include "store/errors.h"

#include "controls/popup_placement.h"
#include "controls/rb_button.h"
#include "controls/rb_check_box.h"
#include "controls/rb_panel.h"
#include "controls/system_colors.h"
#include "editor/format/font_families.h"
#include "shell/dialog_frame.h"
#include "shell/glyphs.h"
#include "shell/message_boxes.h"
#include "store/handler_guard.h"
#include "store/journal_session.h"
#include "store/settings_table.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStyledItemDelegate>

namespace quillmere {

const NamedColor kFontColors[20] = {
    {QT_TRANSLATE_NOOP("quillmere::TfrmSettings", "clBlack"), 0},        {QT_TRANSLATE_NOOP("quillmere::TfrmSettings", "clMaroon"), 128},          {QT_TRANSLATE_NOOP("quillmere::TfrmSettings", "clGreen"), 32768},
    {QT_TRANSLATE_NOOP("quillmere::TfrmSettings", "clOlive"), 32896},    {QT_TRANSLATE_NOOP("quillmere::TfrmSettings", "clNavy"), 8388608},        {QT_TRANSLATE_NOOP("quillmere::TfrmSettings", "clPurple"), 8388736},
    {QT_TRANSLATE_NOOP("quillmere::TfrmSettings", "clTeal"), 8421376},   {QT_TRANSLATE_NOOP("quillmere::TfrmSettings", "clGray"), 8421504},        {QT_TRANSLATE_NOOP("quillmere::TfrmSettings", "clSilver"), 12632256},
    {QT_TRANSLATE_NOOP("quillmere::TfrmSettings", "clRed"), 255},        {QT_TRANSLATE_NOOP("quillmere::TfrmSettings", "clLime"), 65280},          {QT_TRANSLATE_NOOP("quillmere::TfrmSettings", "clYellow"), 65535},
    {QT_TRANSLATE_NOOP("quillmere::TfrmSettings", "clBlue"), 16711680},  {QT_TRANSLATE_NOOP("quillmere::TfrmSettings", "clFuchsia"), 16711935},    {QT_TRANSLATE_NOOP("quillmere::TfrmSettings", "clAqua"), 16776960},
    {QT_TRANSLATE_NOOP("quillmere::TfrmSettings", "clWhite"), 16777215}, {QT_TRANSLATE_NOOP("quillmere::TfrmSettings", "clMoneyGreen"), 12639424}, {QT_TRANSLATE_NOOP("quillmere::TfrmSettings", "clSkyBlue"), 15780518},
    {QT_TRANSLATE_NOOP("quillmere::TfrmSettings", "clCream"), 15793151}, {QT_TRANSLATE_NOOP("quillmere::TfrmSettings", "clMedGray"), 10789024},
};

namespace {

constexpr int kMinFontSize = 6;
constexpr int kMaxFontSize = 200;
constexpr int kPasswordLength = 20;
constexpr int kFontListWidth = 250;

// The size box: any text may be typed; leaving the box clamps it.
class FontSizeBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& input, int& /*pos*/) const override {
        bool ok = false;
        const int value = input.toInt(&ok);
        return ok && value >= minimum() && value <= maximum() ? QValidator::Acceptable
                                                              : QValidator::Intermediate;
    }
    void fixup(QString& input) const override { input = QString::number(ClampFontSize(input)); }
    int valueFromText(const QString& text) const override { return ClampFontSize(text); }
};

// Draws each font name in its own font.
class FontNameDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const QString family = index.data(Qt::DisplayRole).toString();
        QFont font(showsItsOwnName(family) ? family : option->font.family());
        font.setPixelSize(13);
        option->font = font;
    }
};

// Colour items: 16 pixels high, swatch and bold name.
class ColorItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), 16);
    }
};

QIcon swatch(uint32_t ref) {
    QPixmap pixmap(14, 12);
    pixmap.fill(toQColor(static_cast<TColor>(ref)));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 13, 11);
    return QIcon(pixmap);
}

QLabel* label(QWidget* parent, const QString& text, const QPoint& at) {
    auto* l = new QLabel(text, parent);
    l->setFont(ArialPixels(13));
    SetBlackText(l);
    l->move(at);
    l->adjustSize();
    return l;
}

QFrame* line(QWidget* parent, const QPoint& at) {
    // The bottom edge of a 185 x 10 box.
    auto* f = new QFrame(parent);
    f->setGeometry(at.x(), at.y() + 8, 185, 2);
    f->setFrameShape(QFrame::HLine);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}

}  // namespace

int ClampFontSize(const QString& text) {
    static const QRegularExpression wholeNumber(QStringLiteral("^[+-]?[0-9]+$"));
    const QString t = text.trimmed();
    if (!wholeNumber.match(t).hasMatch()) {
        return kMinFontSize;
    }
    bool ok = false;
    const qlonglong value = t.toLongLong(&ok);
    if (!ok) {
        // Too many digits for any integer: beyond the bound of its sign.
        return t.startsWith(QLatin1Char('-')) ? kMinFontSize : kMaxFontSize;
    }
    return static_cast<int>(std::clamp<qlonglong>(value, kMinFontSize, kMaxFontSize));
}

TfrmSettings::TfrmSettings(JournalSession& session, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint), session_(session), table_(session.settings()) {
    keepPopupsAtTheirBoxes(this);
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(tr("Edit Password"));
    setFixedSize(231, 405);
    RbPanel8 = MakeContentFrame(this, tr("Enter Password"));
    buildControls();
    buildLabels();
    fillFontControls();
    buildSpellingChoice();
    connect(chkSkip, &TRbCheckBox::OnClick, this, [this] {
        session_.setSkipEmptyEntries(chkSkip->Checked());
        emit skipEmptyEntriesClicked(chkSkip->Checked());
    });
}

void TfrmSettings::buildControls() {
    const QFont text = ArialPixels(13);
    DBEdit1 = new QLineEdit(RbPanel8);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->setGeometry(32, 48, 169, 24);
    DBEdit1->setMaxLength(kPasswordLength);
    DBEdit1->setFont(text);
    DBEdit1->installEventFilter(this);
    connect(DBEdit1, &QLineEdit::returnPressed, this, guardSlot(this, &TfrmSettings::btnSaveClick));
    connect(DBEdit1, &QLineEdit::editingFinished, this,
            guardSlot(this, &TfrmSettings::commitPassword, ErrorDisplay::kErrorBox));

    FontComboBox1 = new QComboBox(RbPanel8);
    FontComboBox1->setObjectName(QStringLiteral("FontComboBox1"));
    FontComboBox1->setGeometry(32, 144, 169, 23);
    FontComboBox1->setEditable(false);
    FontComboBox1->setFont(text);
    // Each family once, with the names the program maps to an installed font
    // ("Arial"), so the design's default font can be chosen.
    FontComboBox1->addItems(fontFamilyList());
    FontComboBox1->setItemDelegate(new FontNameDelegate(FontComboBox1));
    FontComboBox1->view()->setMinimumWidth(kFontListWidth);

    SpinEdit1 = new FontSizeBox(RbPanel8);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setGeometry(32, 192, 75, 26);
    SpinEdit1->setRange(kMinFontSize, kMaxFontSize);
    SpinEdit1->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    SpinEdit1->setKeyboardTracking(false);
    SpinEdit1->setFont(text);

    ColorBox1 = new QComboBox(RbPanel8);
    ColorBox1->setObjectName(QStringLiteral("ColorBox1"));
    ColorBox1->setGeometry(32, 244, 169, 22);
    QFont bold = ArialPixels(13, true);
    ColorBox1->setFont(bold);
    ColorBox1->setItemDelegate(new ColorItemDelegate(ColorBox1));
    for (const NamedColor& c : kFontColors) {
        ColorBox1->addItem(swatch(c.value), tr(c.name),
                           QVariant::fromValue(c.value));
    }

    chkSkip = MakeSkipCheckBox(RbPanel8, QRect(32, 304, 169, 17));
    buildEncryptionBox();

    btnSave = MakeDialogButton(RbPanel8, QStringLiteral("btnSave"), tr("Save"),
                               QRect(32, 346, 75, 25), glyph::kSave);
    connect(btnSave, &TRbButton::OnClick, this, guardSlot(this, &TfrmSettings::btnSaveClick));
    btnCancel = MakeDialogButton(RbPanel8, QStringLiteral("btnCancel"), tr("Cancel"),
                                 QRect(125, 346, 75, 25), glyph::kCancel);
    connect(btnCancel, &TRbButton::OnClick, this, guardSlot(this, &TfrmSettings::btnCancelClick));

    // Tab order as listed in the window's design, the encryption box after
    // the password it belongs to.
    setTabOrder(DBEdit1, chkEncrypt);
    setTabOrder(chkEncrypt, FontComboBox1);
    setTabOrder(FontComboBox1, SpinEdit1);
    setTabOrder(SpinEdit1, btnSave);
    setTabOrder(btnSave, btnCancel);
    setTabOrder(btnCancel, chkSkip);
    setTabOrder(chkSkip, ColorBox1);
}

void TfrmSettings::buildLabels() {
    line(RbPanel8, QPoint(24, 88));
    auto* heading = new QLabel(tr("Default Font Settings"), RbPanel8);
    heading->setFont(ArialPixels(13, true));
    SetBlackText(heading);
    heading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    heading->setGeometry(8, 104, 217, 16);
    const std::pair<QLabel*, QWidget*> labelled[] = {
        {label(RbPanel8, tr("Font Name"), QPoint(32, 128)), FontComboBox1},
        {label(RbPanel8, tr("Font Size"), QPoint(32, 176)), SpinEdit1},
        {label(RbPanel8, tr("Font Color"), QPoint(32, 228)), ColorBox1},
    };
    // Screen readers name the lists and the size box by their labels, not by
    // the value they show; the password box, which has none, by what it is.
    for (const auto& [text, field] : labelled) {
        text->setBuddy(field);
        field->setAccessibleName(text->text());
    }
    DBEdit1->setAccessibleName(tr("Password"));
    line(RbPanel8, QPoint(24, 278));
}

void TfrmSettings::fillFontControls() {
    QString name = QStringLiteral("Arial");
    int size = 11;
    uint32_t color = 0;
    try {
        if (!table_.isEmpty()) {
            name = table_.FontName();
            size = table_.FontSize();
            color = static_cast<uint32_t>(table_.FontColor());
        }
    } catch (const Error&) {
        // A closed table counts as having no record.
    }
    FontComboBox1->setCurrentIndex(FontComboBox1->findText(name, Qt::MatchFixedString));
    SpinEdit1->setValue(std::clamp(size, kMinFontSize, kMaxFontSize));
    unlistedColor_ = color;
    ColorBox1->setCurrentIndex(ColorBox1->findData(QVariant::fromValue(color)));
}

bool TfrmSettings::skipEmptyEntries() const {
    return chkSkip->Checked();
}

void TfrmSettings::setSkipEmptyEntries(bool on) {
    chkSkip->SetChecked(on);
    session_.setSkipEmptyEntries(on);
}

void TfrmSettings::showEvent(QShowEvent* event) {
    CentreOn(*this, parentWidget());
    fillSpellingChoice();
    // The password box shows the field's current value (empty for an
    // encrypted diary, whose password no file holds).
    try {
        DBEdit1->setText(table_.Password());
    } catch (const Error&) {
        DBEdit1->clear();
    }
    chkEncrypt->SetChecked(session_.encrypted());
    DBEdit1->setPlaceholderText(session_.encrypted() ? tr("unchanged") : QString());
    QDialog::showEvent(event);
    FormActivate();
}

void TfrmSettings::FormActivate() {
    DBEdit1->setFocus();
}

void TfrmSettings::commitPassword() {
    if (table_.mode() != TableMode::kBrowse) {
        table_.setPassword(DBEdit1->text());
    }
}

void TfrmSettings::commitSize() {
    SpinEdit1->setValue(ClampFontSize(SpinEdit1->text()));
}

uint32_t TfrmSettings::selectedColor() const {
    const QVariant data = ColorBox1->currentData();
    return data.isValid() ? data.value<uint32_t>() : unlistedColor_;
}

void TfrmSettings::btnSaveClick() {
    try {
        commitSize();
        const EncryptionStep step = encryptionStep();
        std::shared_ptr<const FileCipher> cipher;
        if (!prepareEncryption(step, &cipher)) {
            return;
        }
        table_.setFontName(FontComboBox1->currentText());
        table_.setFontSize(SpinEdit1->value());
        table_.setFontColor(static_cast<int>(selectedColor()));
        const bool encryptedAfter =
            step == EncryptionStep::kNone ? session_.encrypted() : cipher != nullptr;
        table_.setPassword(encryptedAfter ? QString() : DBEdit1->text());
        if (step != EncryptionStep::kNone) {
            applyEncryption(std::move(cipher));
        }
        if (table_.mode() != TableMode::kBrowse) {
            session_.postSettings();
        }
        accept();
    } catch (const Error& e) {
        ShowErrorBox(this, e.message());
    }
}

void TfrmSettings::btnCancelClick() {
    try {
        table_.cancel();
        reject();
    } catch (const Error& e) {
        ShowErrorBox(this, e.message());
    }
}

void TfrmSettings::done(int result) {
    // However the window closes, the record does not stay half edited.
    if (table_.mode() != TableMode::kBrowse) {
        try {
            table_.cancel();
        } catch (const Error&) {
        }
    }
    QDialog::done(result);
}

void TfrmSettings::keyPressEvent(QKeyEvent* event) {
    // The window has no cancel key; Escape belongs to the password box.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfrmSettings::eventFilter(QObject* watched, QEvent* event) {
    if (watched == DBEdit1 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        // Escape puts the box back to the field's value and selects it all.
        try {
            DBEdit1->setText(table_.Password());
        } catch (const Error&) {
        }
        DBEdit1->selectAll();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace quillmere
