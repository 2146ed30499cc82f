// `ToolBar1`: the command buttons, left to right, as the table below lists
// them; a row without a name is a separator.
#include "editor/format/format_commands.h"

#include "controls/flat_tool_button.h"
#include "editor/format/image_list.h"
#include "store/handler_guard.h"

#include <QFrame>
#include <QLayout>
#include <QToolBar>
#include <QToolButton>

namespace quillmere {

namespace {

constexpr int kButtonSize = 30;
constexpr int kSeparatorWidth = 8;
constexpr int kImageSize = 16;

enum class Kind { Command, Toggle, Later };

struct ToolButtonRow {
    QToolButton* FormatCommands::*button;  // null for a separator
    const char* name;
    const char* hint;  // empty: no tooltip
    int image;
    Kind kind;
    void (FormatCommands::*handler)();
};

using F = FormatCommands;

// clang-format off
const ToolButtonRow kToolButtons[] = {
    {&F::btnNoteBookOpen,       "btnNoteBookOpen",       QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Import..."),                    26, Kind::Later,   nullptr},
    {&F::btnNoteBookSaveAs,     "btnNoteBookSaveAs",     QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Export..."),                    21, Kind::Later,   nullptr},
    {&F::ToolButton13,          "ToolButton13",          QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Print..."),                     13, Kind::Later,   nullptr},
    {nullptr, nullptr, nullptr, -1, Kind::Command, nullptr},
    {&F::btnBold,               "btnBold",               QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Bold"),                          4, Kind::Toggle,  &F::btnBoldClick},
    {&F::btnItalic,             "btnItalic",             QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Italic"),                        5, Kind::Toggle,  &F::btnItalicClick},
    {&F::btnUnderline,          "btnUnderline",          QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Underline"),                     6, Kind::Toggle,  &F::btnUnderlineClick},
    {nullptr, nullptr, nullptr, -1, Kind::Command, nullptr},
    {&F::btnLeft,               "btnLeft",               QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Align Left"),                    7, Kind::Toggle,  &F::btnLeftClick},
    {&F::btnCenter,             "btnCenter",             QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Align Center"),                  8, Kind::Toggle,  &F::btnCenterClick},
    {&F::btnRight,              "btnRight",              QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Align Right"),                   9, Kind::Toggle,  &F::btnRightClick},
    {&F::btnJustify,            "btnJustify",            "",                             31, Kind::Toggle,  &F::btnJustifyClick},
    {nullptr, nullptr, nullptr, -1, Kind::Command, nullptr},
    {&F::btnCut,                "btnCut",                QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Cut"),                          10, Kind::Command, &F::btnCutClick},
    {&F::btnCopy,               "btnCopy",               QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Copy"),                         11, Kind::Command, &F::btnCopyClick},
    {&F::btnPaste,              "btnPaste",              QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Paste"),                        12, Kind::Command, &F::btnPasteClick},
    {nullptr, nullptr, nullptr, -1, Kind::Command, nullptr},
    {&F::btnFind,               "btnFind",               QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Find Text..."),                 27, Kind::Command, &F::btnFindClick},
    {&F::btnDBSearch,           "btnDBSearch",           QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Full Database Text Search..."), 28, Kind::Command, &F::btnDBSearchClick},
    {&F::btnFont,               "btnFont",               QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Font..."),                      15, Kind::Command, &F::btnFontClick},
    {&F::btnBullet,             "btnBullet",             QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Bullets"),                      14, Kind::Toggle,  &F::btnBulletClick},
    {nullptr, nullptr, nullptr, -1, Kind::Command, nullptr},
    {&F::btnUndo,               "btnUndo",               QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Undo"),                         17, Kind::Command, &F::btnUndoClick},
    {&F::btnRedo,               "btnRedo",               QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Redo"),                         16, Kind::Command, &F::btnRedoClick},
    {nullptr, nullptr, nullptr, -1, Kind::Command, nullptr},
    {&F::btnNoteBookFillColour, "btnNoteBookFillColour", QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Highlight Colour..."),          23, Kind::Command, &F::btnNoteBookFillColourClick},
    {&F::btnNoteBookFontColour, "btnNoteBookFontColour", QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Font Colour..."),               22, Kind::Command, &F::btnNoteBookFontColourClick},
    {nullptr, nullptr, nullptr, -1, Kind::Command, nullptr},
    {&F::btnInsertChar,         "btnInsertChar",         QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Insert Special Characters..."), 25, Kind::Command, nullptr},
    {&F::btnInsertEmoticon,     "btnInsertEmoticon",     QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Insert Emoticon..."),           24, Kind::Command, nullptr},
    {&F::btnInsertPicture,      "btnInsertPicture",      QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Insert Picture..."),            29, Kind::Later,   nullptr},
    {&F::btnInsertLink,         "btnInsertLink",         QT_TRANSLATE_NOOP("quillmere::FormatCommands", "Insert Link..."),               30, Kind::Later,   nullptr},
};
// clang-format on

// An 8-pixel gap with an etched line in its middle.
QWidget* makeSeparator(QToolBar* toolBar) {
    auto* line = new QFrame(toolBar);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedSize(kSeparatorWidth, kButtonSize);
    return line;
}

QToolButton* makeButton(QToolBar* toolBar, const ToolButtonRow& row, const ImageList& images) {
    // Drawn in fixed colours on the white band; the focus comes to it only
    // from the keyboard (F10 and the arrows, see controls/tool_bar_keys.h).
    auto* button = new FlatToolButton(toolBar);
    button->setObjectName(QString::fromLatin1(row.name));
    button->setFixedSize(kButtonSize, kButtonSize);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setIconSize(QSize(kImageSize, kImageSize));
    button->setProperty(FormatCommands::kImageIndexProperty, row.image);
    button->setIcon(images.icon(row.image));
    button->setToolTip(FormatCommands::tr(row.hint));
    button->setCheckable(row.kind == Kind::Toggle);
    button->setEnabled(row.kind != Kind::Later);
    return button;
}

}  // namespace

void FormatCommands::buildToolBar() {
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(kImageSize, kImageSize));
    // Flat, and exactly as wide as its buttons and separators need: no
    // margins or gaps that would push the last buttons into an overflow menu.
    ToolBar1->setStyleSheet(
        QStringLiteral("QToolBar { border: none; background: transparent; padding: 0px;"
                       " margin: 0px; spacing: 0px; }"));
    ToolBar1->setContentsMargins(0, 0, 0, 0);
    if (ToolBar1->layout() != nullptr) {
        ToolBar1->layout()->setContentsMargins(0, 0, 0, 0);
        ToolBar1->layout()->setSpacing(0);
    }
    for (const ToolButtonRow& row : kToolButtons) {
        if (row.button == nullptr) {
            ToolBar1->addWidget(makeSeparator(ToolBar1));
            continue;
        }
        QToolButton* button = makeButton(ToolBar1, row, *ImageList1);
        this->*row.button = button;
        ToolBar1->addWidget(button);
        if (row.handler != nullptr) {
            connect(button, &QToolButton::clicked, this, guardSlot(this, row.handler));
        }
    }
    if (!hooks_.openSearchWindow) {
        btnDBSearch->setEnabled(false);
    }
    ToolBar1->resize(kToolBarWidth, kButtonSize);
}

// Pictures handed out before the image list's background changed are
// replaced by the ones on the new background.
void FormatCommands::refreshImages() {
    if (ToolBar1.isNull()) {
        return;
    }
    for (const ToolButtonRow& row : kToolButtons) {
        if (row.button != nullptr) {
            QToolButton* button = this->*row.button;
            button->setIcon(
                ImageList1->icon(button->property(FormatCommands::kImageIndexProperty).toInt()));
        }
    }
    const QList<QIcon> icons = ImageList1->icons();
    for (QAction* item :
         {Cut1, Copy1, Paste1, ClearSelection1, ClearAll1, Bold1, Italic1, Underline1}) {
        item->setIcon(icons.value(item->property(FormatCommands::kImageIndexProperty).toInt()));
    }
}

}  // namespace quillmere
