// The About box: the program's name and version, its licence, its home page
// and the libraries it is built on, with their versions.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace quillmere {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

    // The libraries, one per line: "Qt 6.4.2", "zlib 1.2.13", ...
    static QStringList libraries();
    // "Quillmere 0.1.0".
    static QString nameAndVersion();

    QLabel* title = nullptr;
    QLabel* licence = nullptr;
    QLabel* homePage = nullptr;
    QLabel* libraryList = nullptr;
    QPushButton* btnClose = nullptr;
};

}  // namespace quillmere
