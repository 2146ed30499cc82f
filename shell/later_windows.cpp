#include "shell/later_windows.h"

namespace quillmere {

TDLLForm::TDLLForm(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("DLLForm"));
}

}  // namespace quillmere
