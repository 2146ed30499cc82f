#include "shell/later_windows.h"

namespace quillmere {

TfrmEmoticons::TfrmEmoticons(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmEmoticons"));
}

}  // namespace quillmere
