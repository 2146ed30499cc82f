// Windows of the program that other parts of the program fill in: the
// emoticon picker, the character map, the full-text search window and the
// export progress window. They exist here so that the program creates all
// eight of its windows in their order; each is an empty window for now and
// is replaced by its real class when that part arrives.
#pragma once

#include <QDialog>

namespace quillmere {

// Emoticon picker (borderless, moved by dragging its panel).
class TfrmEmoticons : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEmoticons(QWidget* parent = nullptr);
};

// Character map (borderless, moved by dragging its panel).
class TDLLForm : public QDialog {
    Q_OBJECT
public:
    explicit TDLLForm(QWidget* parent = nullptr);
};

// Full-text search window: a dialog with a title bar that stays above the
// program's other windows.
class TfrmDBSearch : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDBSearch(QWidget* parent = nullptr);
};

// Export progress window: a dialog with a title bar that stays above the
// program's other windows.
class TfrmProgress : public QDialog {
    Q_OBJECT
public:
    explicit TfrmProgress(QWidget* parent = nullptr);
};

}  // namespace quillmere
