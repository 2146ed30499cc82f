#include "export/export_choice_dialog.h"

#include "store/day.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QUrl>

namespace quillmere {

TExportChoiceDialog::TExportChoiceDialog(QWidget* parent, const QDate& firstDay,
                                         const QDate& lastDay)
    : QFileDialog(parent, tr("Export All Entries")) {
    setObjectName(QStringLiteral("dlgExportChoice"));
    setFileMode(QFileDialog::Directory);
    setOption(QFileDialog::ShowDirsOnly, true);
    // The program's own dialog: the desktop's would have no room for the
    // two choices.
    setOption(QFileDialog::DontUseNativeDialog, true);
    setAcceptMode(QFileDialog::AcceptOpen);
    addChoices(firstDay, lastDay);
}

QStringList TExportChoiceDialog::formCaptions() {
    return {tr("One RTF file per entry"), tr("One HTML file"), tr("One Markdown file"),
            tr("One PDF file")};
}

void TExportChoiceDialog::addChoices(const QDate& firstDay, const QDate& lastDay) {
    auto* grid = qobject_cast<QGridLayout*>(layout());
    cmbForm = new QComboBox(this);
    cmbForm->setObjectName(QStringLiteral("cmbForm"));
    cmbForm->addItems(formCaptions());
    cmbForm->setCurrentIndex(0);

    rbAllDays = new QRadioButton(tr("&All days"), this);
    rbAllDays->setObjectName(QStringLiteral("rbAllDays"));
    rbAllDays->setChecked(true);
    rbRange = new QRadioButton(tr("F&rom"), this);
    rbRange->setObjectName(QStringLiteral("rbRange"));
    const auto makeDate = [this](const char* name, const QDate& date) {
        auto* edit = new QDateEdit(date.isValid() ? date : QDate::currentDate(), this);
        edit->setObjectName(QLatin1String(name));
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        edit->setEnabled(false);
        return edit;
    };
    dtFrom = makeDate("dtFrom", firstDay);
    dtTo = makeDate("dtTo", lastDay);
    dtFrom->setAccessibleName(tr("From day"));
    dtTo->setAccessibleName(tr("To day"));
    auto* toLabel = new QLabel(tr("&to"), this);
    toLabel->setBuddy(dtTo);

    auto* days = new QHBoxLayout;
    days->addWidget(rbAllDays);
    days->addSpacing(12);
    days->addWidget(rbRange);
    days->addWidget(dtFrom);
    days->addWidget(toLabel);
    days->addWidget(dtTo);
    days->addStretch(1);

    auto* formLabel = new QLabel(tr("E&xport as:"), this);
    formLabel->setBuddy(cmbForm);
    auto* daysLabel = new QLabel(tr("Days:"), this);
    if (grid != nullptr) {
        const int row = grid->rowCount();
        grid->addWidget(formLabel, row, 0);
        grid->addWidget(cmbForm, row, 1, 1, 1);
        grid->addWidget(daysLabel, row + 1, 0);
        grid->addLayout(days, row + 1, 1, 1, grid->columnCount() - 1);
    }
    connect(rbRange, &QRadioButton::toggled, this, &TExportChoiceDialog::rangeChanged);
    // The two ends stay in order whichever is changed.
    connect(dtFrom, &QDateEdit::dateChanged, this, [this](const QDate& from) {
        if (dtTo->date() < from) {
            dtTo->setDate(from);
        }
    });
    connect(dtTo, &QDateEdit::dateChanged, this, [this](const QDate& to) {
        if (dtFrom->date() > to) {
            dtFrom->setDate(to);
        }
    });
}

void TExportChoiceDialog::rangeChanged() {
    dtFrom->setEnabled(rbRange->isChecked());
    dtTo->setEnabled(rbRange->isChecked());
}

ExportChoice TExportChoiceDialog::choice() const {
    ExportChoice chosen;
    const QList<QUrl> urls = selectedUrls();
    if (!urls.isEmpty() && urls.first().isLocalFile()) {
        chosen.folder = urls.first().toLocalFile();
    }
    chosen.form = static_cast<ExportForm>(cmbForm->currentIndex());
    if (rbRange->isChecked()) {
        chosen.days.from = dayFromDate(dtFrom->date());
        chosen.days.to = dayFromDate(dtTo->date());
    }
    return chosen;
}

std::optional<ExportChoice> chooseExport(QWidget* parent, const QDate& firstDay,
                                         const QDate& lastDay) {
    TExportChoiceDialog dialog(parent, firstDay, lastDay);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.choice();
}

}  // namespace quillmere
