#include "shell/later_windows.h"

namespace quillmere {

TfrmEmoticons::TfrmEmoticons(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmEmoticons"));
}

TDLLForm::TDLLForm(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("DLLForm"));
}

TfrmDBSearch::TfrmDBSearch(QWidget* parent) : QDialog(parent, Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmDBSearch"));
}

TfrmProgress::TfrmProgress(QWidget* parent) : QDialog(parent, Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmProgress"));
}

}  // namespace quillmere
