// Windows of the program that other parts of the program fill in: the
// emoticon picker. It exists here so that the program creates all eight of
// its windows in their order; it is an empty window for now and is replaced
// by its real class when that part arrives.
#pragma once

#include <QDialog>

namespace quillmere {

// Emoticon picker (borderless, moved by dragging its panel).
class TfrmEmoticons : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEmoticons(QWidget* parent = nullptr);
};

}  // namespace quillmere
