// A paint device that records what is drawn on it (text runs and pictures,
// at their device positions, with the clip in force), and a PrintDevice of
// such pages, so the print loops can be checked page by page and position by
// position without a printer.
#pragma once

#include "editor/print/entry_print.h"

#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

namespace quillmere::testing {

// One run of text: its characters and the start of its baseline in device
// pixels.
struct DrawnText {
    int page = 0;
    QString text;
    QPointF baseline;
};

struct DrawnPicture {
    int page = 0;
    QRectF rect;   // device pixels
    QImage image;  // the part of the picture drawn there
};

class RecordingDevice : public QPaintDevice {
public:
    RecordingDevice(QSize pixels, int dpi);
    ~RecordingDevice() override;
    QPaintEngine* paintEngine() const override;

    // Only what a real device would show: runs and pictures whose anchor lies
    // inside the clip at the time they were drawn.
    std::vector<DrawnText> texts;
    std::vector<DrawnPicture> pictures;
    // Everything drawn, also what the clip hid: what a PDF file would hold.
    std::vector<DrawnText> allTexts;
    std::vector<DrawnPicture> allPictures;
    int page = 0;

    // The text of one page, runs joined in drawing order.
    QString pageText(int page) const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize pixels_;
    int dpi_;
    std::unique_ptr<QPaintEngine> engine_;
};

// Pages of a RecordingDevice behind the print loops' printer interface.
class RecordingPrinter : public PrintDevice {
public:
    RecordingPrinter(QSize pixels, int dpi) : device_(pixels, dpi) {}
    void setDocumentTitle(const QString& title) override { title_ = title; }
    void beginDocument() override;
    void newPage() override;
    void endDocument() override;
    QPainter& painter() override { return painter_; }
    const QPaintDevice& device() const override { return device_; }
    bool printing() const override { return painter_.isActive(); }

    RecordingDevice& pages() { return device_; }
    int pageCount() const { return begun_ ? device_.page + 1 : 0; }
    QString title() const { return title_; }
    int begins = 0;
    int ends = 0;
    // newPage throws Error("paper jam") when this many pages exist (0: never).
    int failAtPage = 0;

private:
    RecordingDevice device_;
    QPainter painter_;
    QString title_;
    bool begun_ = false;
};

}  // namespace quillmere::testing
