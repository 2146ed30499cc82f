// The Export button's folder dialog ("Export All Entries") with two more
// choices below the folders: the form of the export (one RTF file per entry,
// as always, or the diary as one HTML, Markdown or PDF file) and the days
// (all, or a range). It opens on one RTF file per entry and all days, so a
// user who only picks a folder gets the export as before.
#pragma once

#include "export/core/book_export.h"

#include <QDate>
#include <QFileDialog>

#include <optional>

class QComboBox;
class QDateEdit;
class QRadioButton;

namespace quillmere {

class TExportChoiceDialog : public QFileDialog {
    Q_OBJECT

public:
    // `firstDay` and `lastDay` are the range's fields' starting dates (the
    // diary's first and last entry; today when it is empty).
    TExportChoiceDialog(QWidget* parent, const QDate& firstDay, const QDate& lastDay);

    // The choice once the dialog was accepted.
    ExportChoice choice() const;

    // The form's names in the list, in the order of ExportForm:
    // "One RTF file per entry", "One HTML file", "One Markdown file",
    // "One PDF file".
    static QStringList formCaptions();

    QComboBox* cmbForm = nullptr;
    QRadioButton* rbAllDays = nullptr;
    QRadioButton* rbRange = nullptr;
    QDateEdit* dtFrom = nullptr;
    QDateEdit* dtTo = nullptr;

private:
    void addChoices(const QDate& firstDay, const QDate& lastDay);
    void rangeChanged();
};

// Runs the dialog modally, owned by `parent`. Nothing when cancelled.
std::optional<ExportChoice> chooseExport(QWidget* parent, const QDate& firstDay,
                                         const QDate& lastDay);

}  // namespace quillmere
