#include "editor/format/find_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillmere {

namespace {

// Gaps between the dialog and a hit it moves away from.
constexpr int kCoverProbeDown = 20;
constexpr int kGapAbove = 20;
constexpr int kGapBelow = 40;

}  // namespace

FindDialog::FindDialog(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("FindDialog"));
    setWindowTitle(tr("Find"));
    setModal(false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* label = new QLabel(tr("Fi&nd what:"), this);
    edtFind = new QLineEdit(this);
    edtFind->setObjectName(QStringLiteral("edtFind"));
    label->setBuddy(edtFind);
    chkWholeWord = new QCheckBox(tr("Match &whole word only"), this);
    chkWholeWord->setObjectName(QStringLiteral("chkWholeWord"));
    chkMatchCase = new QCheckBox(tr("Match &case"), this);
    chkMatchCase->setObjectName(QStringLiteral("chkMatchCase"));

    auto* direction = new QGroupBox(tr("Direction"), this);
    rbUp = new QRadioButton(tr("&Up"), direction);
    rbUp->setObjectName(QStringLiteral("rbUp"));
    rbDown = new QRadioButton(tr("&Down"), direction);
    rbDown->setObjectName(QStringLiteral("rbDown"));
    rbDown->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(rbUp);
    directionLayout->addWidget(rbDown);

    btnFindNext = new QPushButton(tr("&Find Next"), this);
    btnFindNext->setObjectName(QStringLiteral("btnFindNext"));
    btnFindNext->setDefault(true);
    btnCancel = new QPushButton(tr("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(edtFind, 0, 1, 1, 2);
    grid->addWidget(btnFindNext, 0, 3);
    auto* checks = new QVBoxLayout;
    checks->addWidget(chkWholeWord);
    checks->addWidget(chkMatchCase);
    grid->addLayout(checks, 1, 0, 1, 2);
    grid->addWidget(direction, 1, 2);
    grid->addWidget(btnCancel, 1, 3, Qt::AlignTop);

    connect(btnFindNext, &QPushButton::clicked, this, &FindDialog::findNext);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::hide);
    connect(edtFind, &QLineEdit::textChanged, this, &FindDialog::updateFindNextEnabled);
    updateFindNextEnabled();
}

QString FindDialog::findText() const {
    return edtFind->text();
}

void FindDialog::setFindText(const QString& text) {
    edtFind->setText(text);
    edtFind->selectAll();
}

FindOptions FindDialog::options() const {
    FindOptions options;
    options.forward = !rbUp->isChecked();
    options.matchCase = chkMatchCase->isChecked();
    options.wholeWord = chkWholeWord->isChecked();
    return options;
}

void FindDialog::setOptions(const FindOptions& options) {
    (options.forward ? rbDown : rbUp)->setChecked(true);
    chkMatchCase->setChecked(options.matchCase);
    chkWholeWord->setChecked(options.wholeWord);
}

void FindDialog::findNext() {
    if (findText().isEmpty()) {
        return;
    }
    emit findNextRequested(findText(), options());
}

void FindDialog::updateFindNextEnabled() {
    btnFindNext->setEnabled(!findText().isEmpty());
}

std::optional<QPoint> findDialogPositionOffHit(const QRect& dialog, const QPoint& hitStart,
                                               const QPoint& hitEnd, int screenHeight) {
    const bool covers =
        dialog.contains(hitStart) || dialog.contains(hitEnd + QPoint(0, kCoverProbeDown));
    if (!covers) {
        return std::nullopt;
    }
    if (dialog.height() + kGapAbove < hitStart.y()) {
        return QPoint(dialog.left(), hitStart.y() - kGapAbove - dialog.height());
    }
    if (dialog.height() + hitStart.y() < screenHeight) {
        return QPoint(dialog.left(), hitStart.y() + kGapBelow);
    }
    return std::nullopt;
}

}  // namespace quillmere
