// Printing the current entry: the page rectangle and job title, the page
// loop of a printed selection, the printer behind a small interface (so the
// page loops run on a recording device in tests), and the print command with
// its print dialog `PrintDialog1` and a print preview.
//
// The whole entry is printed by the editor's own RichEditor::print; the
// selection by printSelection below. Both fill pages through the editor's
// render call (RichEditor::formatRange).
#pragma once

#include "editor/print/format_range.h"

#include <QString>

#include <functional>
#include <memory>

class QPainter;
class QPaintDevice;
class QPrinter;
class QWidget;

namespace quillmere {

class RichEditor;

// The printer's messages, as the error display shows them.
inline constexpr char kNoDefaultPrinter[] = QT_TRANSLATE_NOOP("quillmere::EntryPrint", "There is no default printer currently selected");
inline constexpr char kPrinterNotValid[] = QT_TRANSLATE_NOOP("quillmere::EntryPrint", "Printer selected is not valid");
inline constexpr char kPrintingInProgress[] = QT_TRANSLATE_NOOP("quillmere::EntryPrint", "Printing in progress");
// The job title: this and the date header's caption.
inline constexpr char kPrintTitlePrefix[] = QT_TRANSLATE_NOOP("quillmere::EntryPrint", "My Journal Entry For ");

// Page rectangle edges in device pixels: left and top from the printable
// area's corner, right and bottom as distances from its far edges.
inline constexpr int kPrintLeft = 190;
inline constexpr int kPrintTop = 150;
inline constexpr int kPrintRightInset = 180;
inline constexpr int kPrintBottomInset = 100;

// The page rectangle of a printable area of pageWidth × pageHeight device
// pixels: (190, 150, pageWidth - 180, pageHeight - 100).
constexpr PageRect printPageRectangle(int pageWidth, int pageHeight) {
    return {kPrintLeft, kPrintTop, pageWidth - kPrintRightInset, pageHeight - kPrintBottomInset};
}

// "My Journal Entry For " + the date header's caption.
QString printJobTitle(const QString& headerCaption);

// What the page loops need of a printer. The page metrics are valid at any
// time, the painter between beginDocument and endDocument.
class PrintDevice {
public:
    virtual ~PrintDevice() = default;
    // The document title (the print queue's job name).
    virtual void setDocumentTitle(const QString& title) = 0;
    // Starts the document on its first page. Throws Error when the printer
    // cannot start it.
    virtual void beginDocument() = 0;
    // Starts a new page. Throws Error when the printer cannot.
    virtual void newPage() = 0;
    // Ends the document (sends the job). Never throws.
    virtual void endDocument() = 0;
    // The painter on the page, in device pixels.
    virtual QPainter& painter() = 0;
    // The page: width and height of the printable area in device pixels and
    // the logical pixels per inch.
    virtual const QPaintDevice& device() const = 0;
    // True while a document is begun and not yet ended.
    virtual bool printing() const = 0;
};

// A PrintDevice over a QPrinter and a painter of its own.
class PrinterDevice : public PrintDevice {
public:
    explicit PrinterDevice(QPrinter& printer);
    ~PrinterDevice() override;
    void setDocumentTitle(const QString& title) override;
    // Throws Error: kPrintingInProgress when the printer already prints,
    // "Cannot create file %s" when its output file cannot be made,
    // kPrinterNotValid when the printer refuses the job.
    void beginDocument() override;
    void newPage() override;
    void endDocument() override;
    QPainter& painter() override;
    const QPaintDevice& device() const override;
    bool printing() const override;

private:
    QPrinter& printer_;
    std::unique_ptr<QPainter> painter_;
};

// The selection branch of the print command: prints the editor's selection
// [start, start + length) from the top of page one, a new page whenever the
// render call returns an index before the end. `letRepaint` runs at the
// points where the window may repaint. The document is ended whatever
// happens, also when an error passes on (Error of the device).
void printSelection(RichEditor& editor, PrintDevice& device, const QString& title,
                    const std::function<void()>& letRepaint);

// Prints the whole entry (RichEditor::print) or its selection onto a
// printer, after making the page rectangle the editor's print rectangle. The
// loops of the print command, and of its preview. Throws Error.
void printEntry(RichEditor& editor, PrintDevice& device, const QString& title, bool selection,
                const std::function<void()>& letRepaint);

// What the print dialog gave.
enum class PrintDialogResult { Cancelled, Print, Preview };

// Shows the print dialog over `parent` for `printer`, offering print to file
// and the range selection (only when `selectionAvailable`), no page range;
// the choice (printer, file, range) is left in `printer`. The printer's
// document name, when it has one, names the file that printing to a file
// offers (with ".pdf"; the command puts the day's name there).
using PrintDialogFn =
    std::function<PrintDialogResult(QWidget* parent, QPrinter& printer, bool selectionAvailable)>;
// Shows a print preview of `printer`'s pages, drawn by `paint`; its own
// print button prints them through `paint` as well.
using PrintPreviewFn = std::function<void(QWidget* parent, QPrinter& printer,
                                          const std::function<void(QPrinter&)>& paint)>;

// Qt's print dialog with a "Preview..." button beside OK and Cancel; print
// to file offers the document name with ".pdf" in the folder Qt proposes
// (the one printed to last, else the home or working folder).
PrintDialogFn platformPrintDialog();
// Qt's print preview dialog.
PrintPreviewFn platformPrintPreview();

// The print command (`ToolButton13Click`): keeps the printer and its
// settings between prints.
class EntryPrintCommand {
public:
    EntryPrintCommand();
    ~EntryPrintCommand();

    void setPrintDialog(PrintDialogFn dialog) { PrintDialog1 = std::move(dialog); }
    void setPrintPreview(PrintPreviewFn preview) { preview_ = std::move(preview); }
    QPrinter& printer() { return *printer_; }

    // Shows the dialog and prints (or previews) the entry titled `title`;
    // print to file offers `fileName` with ".pdf" (the day, "yyyy-mm-dd").
    // The focus goes back to `editor` afterwards, also after an error. Throws
    // Error with the printer's messages (kNoDefaultPrinter when no printer is
    // configured and none was chosen); a begun document is ended first.
    void run(RichEditor& editor, QWidget* parent, const QString& title,
             const QString& fileName = {});

private:
    std::unique_ptr<QPrinter> printer_;
    PrintDialogFn PrintDialog1;
    PrintPreviewFn preview_;
};

}  // namespace quillmere
