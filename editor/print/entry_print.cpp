// The print command: its dialog, the page loop of a printed selection, the
// printer behind PrintDevice, and the preview over the same loops.
#include "editor/print/entry_print.h"

#include "editor/rich_editor.h"
#include "store/errors.h"

#include <QAbstractPrintDialog>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <optional>

namespace quillmere {

namespace {

// A PDF file has no resolution of its own; it gets that of a usual office
// printer, so the page rectangle's margins come out as on paper.
constexpr int kPdfResolution = 600;
// Safety bound of the wait for a job to leave the printer's hands.
constexpr int kMaxJobWaitRounds = 1000;

// The window repaints, but takes no input, while a job is being drawn.
void letWindowRepaint() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The file print to file offers: `name`.pdf in the folder of what the
// dialog proposed (a folder ending in "/", or a file), else in the home
// folder.
QString proposedPdfFile(const QString& proposed, const QString& name) {
    QString folder = proposed.endsWith(u'/') ? proposed : QFileInfo(proposed).path();
    if (proposed.isEmpty() || folder.isEmpty() || folder == u".") {
        folder = QDir::homePath();
    }
    if (!folder.endsWith(u'/')) {
        folder += u'/';
    }
    return folder + name + QStringLiteral(".pdf");
}

}  // namespace

QString printJobTitle(const QString& headerCaption) {
    return QCoreApplication::translate("quillmere::EntryPrint", kPrintTitlePrefix) + headerCaption;
}

// --- PrinterDevice ----------------------------------------------------------

PrinterDevice::PrinterDevice(QPrinter& printer) : printer_(printer) {}

PrinterDevice::~PrinterDevice() {
    if (printing()) {
        painter_->end();
    }
}

void PrinterDevice::setDocumentTitle(const QString& title) {
    printer_.setDocName(title);
}

void PrinterDevice::beginDocument() {
    if (printing() || printer_.printerState() == QPrinter::Active) {
        throw Error(QCoreApplication::translate("quillmere::EntryPrint", kPrintingInProgress));
    }
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(&printer_)) {
        if (printer_.outputFormat() == QPrinter::PdfFormat) {
            throw Error(QCoreApplication::translate("quillmere::EntryPrint", "Cannot create file %1")
                            .arg(QDir::toNativeSeparators(printer_.outputFileName())));
        }
        throw Error(QCoreApplication::translate("quillmere::EntryPrint", kPrinterNotValid));
    }
    painter_ = std::move(painter);
}

void PrinterDevice::newPage() {
    if (!printer_.newPage()) {
        throw Error(QCoreApplication::translate("quillmere::EntryPrint", kPrinterNotValid));
    }
}

void PrinterDevice::endDocument() {
    if (painter_ != nullptr) {
        painter_->end();
        painter_.reset();
    }
}

QPainter& PrinterDevice::painter() {
    return *painter_;
}

const QPaintDevice& PrinterDevice::device() const {
    return printer_;
}

bool PrinterDevice::printing() const {
    return painter_ != nullptr && painter_->isActive();
}

// --- Page loops ---------------------------------------------------------------

void printSelection(RichEditor& editor, PrintDevice& device, const QString& title,
                    const std::function<void()>& letRepaint) {
    device.setDocumentTitle(title);
    letRepaint();
    device.beginDocument();
    struct Finish {
        RichEditor& editor;
        PrintDevice& device;
        const std::function<void()>& letRepaint;
        ~Finish() {
            editor.releaseFormatRange();
            letRepaint();
            device.endDocument();
            letRepaint();
        }
    } finish{editor, device, letRepaint};

    const QPaintDevice& page = device.device();
    const int dpiX = page.logicalDpiX();
    const int dpiY = page.logicalDpiY();
    if (dpiX <= 0 || dpiY <= 0) {
        throw Error(QCoreApplication::translate("quillmere::EntryPrint", kPrinterNotValid));
    }
    const PageRect rc = toTwips(editor.printRectangle(), dpiX, dpiY);
    letRepaint();
    const PageRect rcPage{0, 0, page.width() * kTwipsPerInch / dpiX,
                          page.height() * kTwipsPerInch / dpiY};
    const int cpMin = editor.selectionStart();
    const int cpMax = cpMin + editor.selectionLength();
    FormatRange range{&device.painter(), &page, rc, rcPage, cpMin, cpMax};
    letRepaint();
    int r = cpMax;
    do {
        const int from = range.cpMin;
        r = editor.formatRange(true, range);
        if (r <= from) {
            break;  // nothing taken: an empty selection or no room at all
        }
        if (r < cpMax) {
            device.newPage();
            range.cpMin = r;
        }
    } while (r < cpMax);
}

void printEntry(RichEditor& editor, PrintDevice& device, const QString& title, bool selection,
                const std::function<void()>& letRepaint) {
    const QPaintDevice& page = device.device();
    editor.setPrintRectangle(printPageRectangle(page.width(), page.height()));
    letRepaint();
    if (selection) {
        printSelection(editor, device, title, letRepaint);
    } else {
        editor.print(device, title);
    }
}

// --- Dialogs ------------------------------------------------------------------

PrintDialogFn platformPrintDialog() {
    return [](QWidget* parent, QPrinter& printer, bool selectionAvailable) {
        QPrintDialog dialog(&printer, parent);
        dialog.setObjectName(QStringLiteral("PrintDialog1"));
        QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintToFile |
                                                           QAbstractPrintDialog::PrintShowPageSize |
                                                           QAbstractPrintDialog::PrintCollateCopies;
        if (selectionAvailable) {
            options |= QAbstractPrintDialog::PrintSelection;
        }
        dialog.setOptions(options);
        // A preview button beside OK and Cancel: it takes the settings as OK
        // does and shows the pages instead of printing them.
        bool previewRequested = false;
        if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
            QPushButton* preview =
                buttons->addButton(QObject::tr("Pre&view..."), QDialogButtonBox::ActionRole);
            preview->setObjectName(QStringLiteral("btnPreview"));
            QObject::connect(preview, &QPushButton::clicked, &dialog, [&dialog, &previewRequested] {
                previewRequested = true;
                dialog.accept();
            });
        }
        // No page range: Qt's dialog enables "Pages from" whatever the
        // options say, each time it is shown. Print to file offers the
        // document's own name instead of Qt's "print.pdf".
        const QString fileName = printer.docName();
        QTimer::singleShot(0, &dialog, [&dialog, fileName] {
            if (auto* pageRange = dialog.findChild<QRadioButton*>(QStringLiteral("printRange"))) {
                pageRange->setEnabled(false);
            }
            auto* file = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
            if (file != nullptr && !fileName.isEmpty()) {
                file->setText(proposedPdfFile(file->text(), fileName));
            }
        });
        if (dialog.exec() != QDialog::Accepted) {
            return PrintDialogResult::Cancelled;
        }
        return previewRequested ? PrintDialogResult::Preview : PrintDialogResult::Print;
    };
}

PrintPreviewFn platformPrintPreview() {
    return [](QWidget* parent, QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
        QPrintPreviewDialog dialog(&printer, parent);
        dialog.setObjectName(QStringLiteral("PrintPreview1"));
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                         [&paint](QPrinter* pages) { paint(*pages); });
        if (parent != nullptr) {
            dialog.resize(parent->window()->size());
        }
        dialog.exec();
    };
}

// --- The command ----------------------------------------------------------------

EntryPrintCommand::EntryPrintCommand()
    : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      PrintDialog1(platformPrintDialog()),
      preview_(platformPrintPreview()) {}

EntryPrintCommand::~EntryPrintCommand() = default;

void EntryPrintCommand::run(RichEditor& editor, QWidget* parent, const QString& title,
                            const QString& fileName) {
    struct FocusBack {
        RichEditor& editor;
        ~FocusBack() { editor.setFocus(); }
    } focusBack{editor};

    QPrinter& printer = *printer_;
    const bool hasSelection = editor.selectionLength() > 0;
    // The range starts at all each time; the dialog offers the selection
    // only when there is one.
    printer.setPrintRange(QPrinter::AllPages);
    // The dialog names a PDF file after the document; the job gets its title
    // when it is drawn.
    printer.setDocName(fileName);
    const PrintDialogResult choice = PrintDialog1(parent, printer, hasSelection);
    if (choice != PrintDialogResult::Cancelled) {
        // Without any printer Qt falls back to a PDF file; without a file
        // name there is nowhere to print to (a preview needs neither).
        const bool noPrinter = printer.outputFormat() == QPrinter::NativeFormat
                                   ? !printer.isValid() || printer.printerName().isEmpty()
                                   : printer.outputFileName().isEmpty();
        if (noPrinter && choice == PrintDialogResult::Print) {
            throw Error(QCoreApplication::translate("quillmere::EntryPrint", kNoDefaultPrinter));
        }
        if (printer.outputFormat() == QPrinter::PdfFormat) {
            printer.setResolution(kPdfResolution);
        }
        const bool selection = hasSelection && printer.printRange() == QPrinter::Selection;
        letWindowRepaint();
        if (choice == PrintDialogResult::Preview) {
            // The preview draws inside Qt's signal: an error is kept and
            // passed on once the preview has closed.
            std::optional<QString> failure;
            preview_(parent, printer, [&](QPrinter& pages) {
                try {
                    PrinterDevice device(pages);
                    printEntry(editor, device, title, selection, [] {});
                } catch (const Error& e) {
                    if (!failure) {
                        failure = e.message();
                    }
                }
            });
            if (failure) {
                throw Error(*failure);
            }
        } else {
            WaitCursor wait;
            PrinterDevice device(printer);
            printEntry(editor, device, title, selection, letWindowRepaint);
        }
    }
    for (int round = 0; round < kMaxJobWaitRounds && printer.printerState() == QPrinter::Active;
         ++round) {
        QCoreApplication::processEvents();
    }
}

}  // namespace quillmere
