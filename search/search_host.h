// What the search window needs of the main window. A small adapter of the
// main window implements this interface and is handed to TfrmDBSearch when
// the program creates it, so the search knows nothing of the other windows.
#pragma once

#include <QImage>
#include <QString>

class QWidget;

namespace quillmere {

class JournalTable;

class SearchHost {
public:
    virtual ~SearchHost() = default;

    // The journal table `tblJournal`. The search only reads it: it walks the
    // records in date order and never changes the table's data.
    virtual const JournalTable& journal() const = 0;

    // The ShowDay sequence: when the editor is modified, its text is stored
    // under the day shown (SaveEntry); then `day` becomes the current day and
    // its entry is loaded. May throw Error; the search shows the message in
    // the error box.
    virtual void ShowDay(double day) = 0;

    // Image 20 of the 16 x 16 image list `ImageList1`, rendered on white
    // (the picture beside every result). A null image draws no picture.
    virtual QImage resultImage() const = 0;

    // Shows the message in the program's error box ("Error", error icon, OK).
    virtual void showError(const QString& message) = 0;

    // Shows the message in the program's information box ("Information",
    // information icon, OK).
    virtual void showInformation(const QString& message) = 0;

    // Switches off (and back on) every command of the main window that moves
    // or changes `tblJournal` (day navigation, calendar, save, import, export,
    // closing the program), while a scan lets input through. Calls come in
    // pairs: false when a scan starts, true when it has ended.
    virtual void setJournalCommandsEnabled(bool enabled) = 0;

    // The main window: the search window's owner, kept above it and centred
    // on it. May be null (the window is then centred on the screen).
    virtual QWidget* mainWindow() const = 0;
};

}  // namespace quillmere
