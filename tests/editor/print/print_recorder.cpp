#include "print_recorder.h"

#include "store/errors.h"

#include <QPaintEngineState>
#include <QPixmap>
#include <QTextItem>

namespace quillmere::testing {

namespace {

class RecordingEngine : public QPaintEngine {
public:
    explicit RecordingEngine(RecordingDevice& device)
        : QPaintEngine(QPaintEngine::AllFeatures), device_(device) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    Type type() const override { return QPaintEngine::User; }

    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        const QPointF at = painter()->combinedTransform().map(p);
        device_.allTexts.push_back({device_.page, item.text(), at});
        if (visible(at)) {
            device_.texts.push_back({device_.page, item.text(), at});
        }
    }
    void drawPixmap(const QRectF& r, const QPixmap& pixmap, const QRectF& source) override {
        picture(r, pixmap.toImage().copy(source.toAlignedRect()));
    }
    void drawImage(const QRectF& r, const QImage& image, const QRectF& source,
                   Qt::ImageConversionFlags) override {
        picture(r, image.copy(source.toAlignedRect()));
    }
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}

private:
    bool visible(const QPointF& devicePoint) const {
        if (!painter()->hasClipping()) {
            return true;
        }
        const QRegion clip = painter()->clipRegion() * painter()->combinedTransform();
        return clip.boundingRect().adjusted(0, 0, 1, 1).contains(devicePoint.toPoint());
    }
    void picture(const QRectF& r, const QImage& image) {
        const QRectF mapped = painter()->combinedTransform().mapRect(r);
        device_.allPictures.push_back({device_.page, mapped, image});
        if (visible(mapped.center())) {
            device_.pictures.push_back({device_.page, mapped, image});
        }
    }

    RecordingDevice& device_;
};

}  // namespace

RecordingDevice::RecordingDevice(QSize pixels, int dpi)
    : pixels_(pixels), dpi_(dpi), engine_(std::make_unique<RecordingEngine>(*this)) {}

RecordingDevice::~RecordingDevice() = default;

QPaintEngine* RecordingDevice::paintEngine() const {
    return engine_.get();
}

int RecordingDevice::metric(PaintDeviceMetric metric) const {
    switch (metric) {
        case PdmWidth:
            return pixels_.width();
        case PdmHeight:
            return pixels_.height();
        case PdmWidthMM:
            return pixels_.width() * 254 / (dpi_ * 10);
        case PdmHeightMM:
            return pixels_.height() * 254 / (dpi_ * 10);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return dpi_;
        case PdmNumColors:
            return 0x7fffffff;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
    }
    return 0;
}

QString RecordingDevice::pageText(int page) const {
    QString text;
    for (const DrawnText& run : texts) {
        if (run.page == page) {
            text += run.text;
        }
    }
    return text;
}

void RecordingPrinter::beginDocument() {
    ++begins;
    begun_ = true;
    painter_.begin(&device_);
}

void RecordingPrinter::newPage() {
    if (failAtPage > 0 && device_.page + 1 >= failAtPage) {
        throw Error(QStringLiteral("paper jam"));
    }
    ++device_.page;
}

void RecordingPrinter::endDocument() {
    ++ends;
    painter_.end();
}

}  // namespace quillmere::testing
