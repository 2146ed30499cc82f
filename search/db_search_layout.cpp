// Construction of the search window: its controls, positions and captions.
#include "controls/rb_button.h"
#include "controls/rb_fonts.h"
#include "controls/rb_panel.h"
#include "controls/rb_panel_styles.h"
#include "editor/rich_editor.h"
#include "search/date_field.h"
#include "search/db_search_form.h"
#include "search/result_list.h"
#include "search/search_host.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace quillmere {

namespace {

constexpr int kClientWidth = 307;
constexpr int kClientHeight = 445;
constexpr int kButtonGlyphSize = 24;

QFont plainFont() {
    return designFont(QStringLiteral("Arial"), 13);
}

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, int left, int top) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(plainFont());
    label->adjustSize();
    label->move(left, top);
    return label;
}

TRbButton* addButton(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    auto* button = new TRbButton(parent, QString::fromLatin1(name));
    button->SetCaption(caption);
    button->SetColor(clWhite);  // the corners show the white frame behind
    button->setGeometry(geometry);
    return button;
}

QGroupBox* addGroupBox(QWidget* parent, const char* name, const QString& title, QRect geometry) {
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setFont(designFont(QStringLiteral("Arial"), 13, true));
    box->setGeometry(geometry);
    return box;
}

}  // namespace

void TfrmDBSearch::buildControls() {
    installFontSubstitutes();
    setObjectName(QStringLiteral("frmDBSearch"));
    setWindowTitle(tr("Full Database Text Search"));
    setFixedSize(kClientWidth, kClientHeight);

    RbPanel8 = new TRbPanel(this, QStringLiteral("RbPanel8"));
    applyContentFrameStyle(*RbPanel8, 25, 7);
    RbPanel8->SetCaption(tr("Database Text Search"));
    RbPanel8->setGeometry(0, 0, kClientWidth, kClientHeight);

    buildCriteriaGroup();
    buildResultsGroup();

    btnClose = addButton(RbPanel8, "btnClose", tr("Close"), {205, 400, 75, 25});

    // Turns stored content into text; never shown.
    tmpEditor = new RichEditor(RbPanel8);
    tmpEditor->setObjectName(QStringLiteral("tmpEditor"));
    tmpEditor->setUrlDetection(false);
    tmpEditor->setGeometry(24, 392, 150, 25);
    tmpEditor->hide();

    nameControls();

    setTabOrder(DateEdit1, DateEdit2);
    setTabOrder(DateEdit2, edtText);
    setTabOrder(edtText, btnSearch);
    setTabOrder(btnSearch, btnStop);
}

void TfrmDBSearch::buildCriteriaGroup() {
    GroupBox1 = addGroupBox(RbPanel8, "GroupBox1", tr("Text Search Criteria"),
                            {24, 40, 257, 193});

    Label1 = addLabel(GroupBox1, "Label1", tr("From Date"), 16, 27);
    DateEdit1 = new TDateField(GroupBox1);
    DateEdit1->setObjectName(QStringLiteral("DateEdit1"));
    DateEdit1->setFont(plainFont());
    DateEdit1->setGeometry(112, 24, 129, 21);

    Label2 = addLabel(GroupBox1, "Label2", tr("To Date"), 16, 59);
    DateEdit2 = new TDateField(GroupBox1);
    DateEdit2->setObjectName(QStringLiteral("DateEdit2"));
    DateEdit2->setFont(plainFont());
    DateEdit2->setGeometry(112, 56, 129, 21);

    Label3 = addLabel(GroupBox1, "Label3", tr("Text to search for"), 16, 93);
    edtText = new QLineEdit(GroupBox1);
    edtText->setObjectName(QStringLiteral("edtText"));
    edtText->setFont(plainFont());
    edtText->setGeometry(16, 112, 225, 24);

    btnSearch = addButton(GroupBox1, "btnSearch", tr("Search"), {16, 152, 81, 33});
    btnSearch->SetGlyph(materialGlyph(QStringLiteral("search"), kButtonGlyphSize, clBlack));
    btnStop = addButton(GroupBox1, "btnStop", tr("Stop"), {160, 152, 80, 33});
    btnStop->SetGlyph(materialGlyph(QStringLiteral("stop"), kButtonGlyphSize, clBlack));
    btnStop->setEnabled(false);
}

// Screen readers name each field by its label (not by the group around it)
// and the list by its group, with the hint as its description.
void TfrmDBSearch::nameControls() {
    const std::pair<QLabel*, QWidget*> labelled[] = {
        {Label1, DateEdit1}, {Label2, DateEdit2}, {Label3, edtText}};
    for (const auto& [label, field] : labelled) {
        label->setBuddy(field);
        field->setAccessibleName(label->text());
    }
    ListBox1->setAccessibleName(GroupBox2->title());
    ListBox1->setAccessibleDescription(tr("Enter or double-click shows the day"));
}

void TfrmDBSearch::buildResultsGroup() {
    GroupBox2 = addGroupBox(RbPanel8, "GroupBox2", tr("Results"), {24, 240, 257, 145});
    ListBox1 = new TResultListBox(GroupBox2);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(16, 24, 225, 105);
    ListBox1->setToolTip(tr("Double-Click to view journal entry"));
    ListBox1->setItemImage(host_.resultImage());
}

}  // namespace quillmere
