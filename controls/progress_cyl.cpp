// Properties, layout and position arithmetic of TProgressCyl. Drawing is in
// progress_cyl_paint.cpp, the presets in pro_effect.cpp.
#include "controls/progress_cyl.h"

#include "controls/rb_accessible.h"

#include <QEvent>
#include <QFont>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quillmere {

namespace {

// Nearest integer, halves to the even neighbour.
long long roundEven(long double x) {
    return static_cast<long long>(std::nearbyintl(x));
}

int clampChannel(int value) {
    return std::clamp(value, 0, 255);
}

// Factor of one channel c under a style: ((c * IntensityFactor + IntensityRGB)
// / Intensity + c) / RangeRGB, in extended precision, kept as a float.
float channelFactor(int c, const StyleValues& s) {
    const long double x =
        ((static_cast<long double>(c) * s.IntensityFactor + s.IntensityRGB) / s.Intensity + c) /
        s.RangeRGB;
    return static_cast<float>(x);
}

ChannelFactors factorsOf(TColor color, const StyleValues& s) {
    const TColor rgb = colorToRGB(color);
    return {channelFactor(redOf(rgb), s), channelFactor(greenOf(rgb), s),
            channelFactor(blueOf(rgb), s)};
}

int levelOf(TCylinderEffect effect) {
    static constexpr int kLevels[] = {1, 51, 102, 153, 204, 255};
    return kLevels[std::min<int>(effect, ceMaximum)];
}

}  // namespace

// ---------------------------------------------------------------- style ----

void TPCColorStyle::changed() {
    if (control_ != nullptr) {
        control_->styleChanged();
    }
}

void TPCColorStyle::setIntensityRGB(std::int32_t value) {
    if (value != v_.IntensityRGB) {
        v_.IntensityRGB = value;
        changed();
    }
}

void TPCColorStyle::setIntensity(float value) {
    if (std::isfinite(value) && value != v_.Intensity && value != 0.0f) {
        v_.Intensity = value;
        changed();
    }
}

void TPCColorStyle::setIntensityFactor(float value) {
    if (std::isfinite(value) && value != v_.IntensityFactor) {
        v_.IntensityFactor = value;
        changed();
    }
}

void TPCColorStyle::setRangeRGB(std::int32_t value) {
    if (value != v_.RangeRGB && value != 0) {
        v_.RangeRGB = value;
        changed();
    }
}

void TPCColorStyle::setColorRGB(std::int32_t value) {
    if (value != v_.ColorRGB) {
        v_.ColorRGB = value;
        changed();
    }
}

void TPCColorStyle::setColorFactor(float value) {
    if (std::isfinite(value) && value != v_.ColorFactor) {
        v_.ColorFactor = value;
        changed();
    }
}

void TPCColorStyle::setLightAngle(float value) {
    if (std::isfinite(value) && value != v_.LightAngle && value != 0.0f) {
        v_.LightAngle = value;
        changed();
    }
}

void TPCColorStyle::assign(const StyleValues& values) {
    setIntensityRGB(values.IntensityRGB);
    setIntensity(values.Intensity);
    setIntensityFactor(values.IntensityFactor);
    setRangeRGB(values.RangeRGB);
    setColorRGB(values.ColorRGB);
    setColorFactor(values.ColorFactor);
    setLightAngle(values.LightAngle);
}

// -------------------------------------------------------- construction ----

TProgressCyl::TProgressCyl(QWidget* parent) : QWidget(parent) {
    InstallDrawnControlsAccessibility();
    applyingPreset_ = true;
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    resize(150, 22);
    bufferBitmap_ = QImage(150, 22, QImage::Format_RGB32);
    QFont textFont(QStringLiteral("Arial"));
    textFont.setPointSize(9);
    textFont.setBold(true);
    setFont(textFont);
    setFontColor(clBlack);
    setText(QStringLiteral("%"));
    setTextDone(tr("Done"));
    setFontEffect(feShadowBottomRight);
    setFontShadowColor(clBtnFace);
    setFontOrientation(foLeftToRight);
    setShowText(true);
    setOrientation(pbHorizontal);
    setMin(0);
    setMax(100);
    setStep(1);
    setStopAtMax(true);
    setBevelOuter(bvLowered);
    setBorderWidth(2);
    setBevelWidth(1);
    setBevelInner(bvRaised);
    setBackColor(clBtnFace);
    setBackBorderColor(clBlack);
    setForeLineColor(clHighlight);
    setForeColor(clWhite);
    setColor(clBtnFace);
    setBevelColor(clBtnFace);
    setCylinderEffect(ceMaximum);
    lastBarEnd_ = 0;
    setPosition(0);
    ready_ = true;
    applyingPreset_ = false;
}

TProgressCyl::~TProgressCyl() {
    // Releases the inverted-text image before the buffer, as the text switches off.
    showText_ = false;
    invertBitmap_.reset();
}

// ------------------------------------------------------------ geometry ----

TProgressCyl::Layout TProgressCyl::layoutMetrics() const {
    Layout m;
    m.a = bevelWidth_ + borderWidth_;
    m.b = 2 * bevelWidth_ + borderWidth_;
    m.innerWidth = width() - 2 * m.b;
    m.innerHeight = height() - 2 * m.b;
    return m;
}

bool TProgressCyl::geometryValidWith(int bevelWidth, int borderWidth) const {
    const int w = width();
    const int h = height();
    const int a = bevelWidth + borderWidth;
    const int b = 2 * bevelWidth + borderWidth;
    return bevelWidth >= 0 && borderWidth >= 0 && w > 0 && h > 0 && w - 2 * a > 0 &&
           h - 2 * a > 0 && w - 2 * b > 0 && h - 2 * b > 0;
}

bool TProgressCyl::geometryValid() const {
    return geometryValidWith(bevelWidth_, borderWidth_);
}

void TProgressCyl::runLayout() {
    layoutSize_ = size();
    const Layout m = layoutMetrics();
    if (m.innerWidth > 0 && m.innerHeight > 0) {
        shadeStepY_ = static_cast<float>(cylinderLevel_ / m.innerHeight);
        shadeStepX_ = static_cast<float>(cylinderLevel_ / m.innerWidth);
    }
    setPosition(position_);
}

void TProgressCyl::repaintControl() {
    update();
}

void TProgressCyl::markCustom() {
    if (!applyingPreset_) {
        proEffect_ = peCustom;
    }
}

void TProgressCyl::styleChanged() {
    markCustom();
    RecomputeColors();
}

// ------------------------------------------------------------- colours ----

void TProgressCyl::setBackBorderColor(TColor value) {
    if (value == backBorderColor_) {
        return;
    }
    backBorderColor_ = value;
    markCustom();
    repaintControl();
}

void TProgressCyl::setFontShadowColor(TColor value) {
    if (value == fontShadowColor_) {
        return;
    }
    fontShadowColor_ = value;
    markCustom();
    repaintControl();
}

void TProgressCyl::setForeColor(TColor value) {
    foreColor_ = value;
    foreFactors_ = factorsOf(foreColor_, foreStyle_.values());
    markCustom();
    repaintControl();
}

void TProgressCyl::setForeLineColor(TColor value) {
    foreLineColor_ = value;
    lineFactors_ = factorsOf(foreLineColor_, foreStyle_.values());
    markCustom();
    repaintControl();
}

void TProgressCyl::setBackColor(TColor value) {
    backColor_ = value;
    backFactors_ = factorsOf(backColor_, backStyle_.values());
    markCustom();
    repaintControl();
}

void TProgressCyl::setBevelColor(TColor value) {
    bevelColor_ = value;
    computeBevelColors();
    markCustom();
    runLayout();
    repaintControl();
}

void TProgressCyl::setColor(TColor value) {
    color_ = value;
    repaintControl();
}

void TProgressCyl::setFontColor(TColor value) {
    fontColor_ = value;
    repaintControl();
}

void TProgressCyl::RecomputeColors() {
    // Recomputing follows the system colours; it is not a change of look, so
    // the preset name stays.
    const bool wasApplying = applyingPreset_;
    applyingPreset_ = true;
    setForeColor(foreColor_);
    setForeLineColor(foreLineColor_);
    setFontShadowColor(fontShadowColor_);
    setBackColor(backColor_);
    setBackBorderColor(backBorderColor_);
    setBevelColor(bevelColor_);
    applyingPreset_ = wasApplying;
}

void TProgressCyl::computeBevelColors() {
    if (bevelColor_ == clBtnFace) {
        bevelHighlight_ = clBtnHighlight;
        bevelShadow_ = clBtnShadow;
        bevelLight_ = cl3DLight;
        bevelDarkShadow_ = cl3DDkShadow;
    } else {
        const TColor rgb = colorToRGB(bevelColor_);
        const int r = redOf(rgb);
        const int g = greenOf(rgb);
        const int b = blueOf(rgb);
        bevelHighlight_ =
            rgbColor(clampChannel(r + 64), clampChannel(g + 64), clampChannel(b + 64));
        bevelShadow_ = rgbColor(clampChannel(r - 64), clampChannel(g - 64), clampChannel(b - 64));
        bevelLight_ = bevelHighlight_;
        bevelDarkShadow_ = bevelShadow_;
    }
    switch (bevelInner_) {
        case bvNone:
            break;
        case bvSpace:
            innerTopColor_ = color_;
            innerBottomColor_ = color_;
            break;
        case bvLowered:
            if (bevelOuter_ == bvLowered && borderWidth_ == 0) {
                innerTopColor_ = bevelDarkShadow_;
                innerBottomColor_ = bevelLight_;
            } else {
                innerTopColor_ = bevelShadow_;
                innerBottomColor_ = bevelHighlight_;
            }
            break;
        case bvRaised:
            innerTopColor_ =
                (bevelOuter_ == bvRaised && borderWidth_ == 0) ? bevelLight_ : bevelHighlight_;
            innerBottomColor_ = bevelShadow_;
            break;
    }
    switch (bevelOuter_) {
        case bvNone:
            break;
        case bvSpace:
            outerTopColor_ = color_;
            outerBottomColor_ = color_;
            break;
        case bvLowered:
            outerTopColor_ = bevelShadow_;
            outerBottomColor_ = bevelHighlight_;
            break;
        case bvRaised:
            outerTopColor_ = bevelHighlight_;
            outerBottomColor_ =
                (bevelInner_ == bvRaised && borderWidth_ == 0) ? bevelDarkShadow_ : bevelShadow_;
            break;
    }
}

// --------------------------------------------------------------- frame ----

template <typename T>
void TProgressCyl::setFrameValue(T& field, T value) {
    if (field == value) {
        return;
    }
    const T old = field;
    field = value;
    if (!geometryValid()) {
        field = old;
    }
    computeBevelColors();
    runLayout();
    repaintControl();
}

void TProgressCyl::setBevelInner(TBevelCut value) {
    setFrameValue(bevelInner_, value);
}

void TProgressCyl::setBevelOuter(TBevelCut value) {
    setFrameValue(bevelOuter_, value);
}

void TProgressCyl::setBevelWidth(int value) {
    setFrameValue(bevelWidth_, value);
}

void TProgressCyl::setBorderWidth(int value) {
    setFrameValue(borderWidth_, value);
}

void TProgressCyl::setCylinderEffect(TCylinderEffect value) {
    if (value == cylinderEffect_) {
        return;
    }
    cylinderLevel_ = levelOf(value);
    cylinderEffect_ = value;
    markCustom();
    runLayout();
    repaintControl();
}

// ---------------------------------------------------------------- text ----

void TProgressCyl::reconfigureTextEffect() {
    if (showText_ && fontEffect_ == feInvert) {
        if (!invertBitmap_) {
            invertBitmap_.emplace(bufferBitmap_.size(), QImage::Format_RGB32);
        }
        return;
    }
    invertBitmap_.reset();
    if (showText_) {
        shadowOffset_ = fontEffect_ == feShadowTopLeft       ? -1
                        : fontEffect_ == feShadowBottomRight ? 1
                                                             : 0;
    }
}

void TProgressCyl::setFontEffect(TFontEffect value) {
    if (value == fontEffect_) {
        return;
    }
    fontEffect_ = value;
    markCustom();
    reconfigureTextEffect();
    repaintControl();
}

void TProgressCyl::setFontOrientation(TFontOrientation value) {
    if (value == fontOrientation_) {
        return;
    }
    fontOrientation_ = value;
    reconfigureTextEffect();
    repaintControl();
}

void TProgressCyl::setShowText(bool value) {
    if (value == showText_) {
        return;
    }
    showText_ = value;
    reconfigureTextEffect();
    repaintControl();
}

void TProgressCyl::setText(const QString& value) {
    if (value == text_) {
        return;
    }
    text_ = value;
    repaintControl();
}

void TProgressCyl::setTextDone(const QString& value) {
    if (value == textDone_) {
        return;
    }
    textDone_ = value;
    repaintControl();
}

void TProgressCyl::setOrientation(TProgressBarOrientation value) {
    if (value == orientation_) {
        return;
    }
    orientation_ = value;
    fontOrientation_ = value == pbVertical ? foBottomToTop : foLeftToRight;
    runLayout();
    repaintControl();
}

// ------------------------------------------------------- range, value ----

void TProgressCyl::setMin(int value) {
    if (value == min_) {
        return;
    }
    if (value == max_) {
        --value;
    }
    if (value < max_) {
        min_ = value;
        positionScale_ = static_cast<float>(
            1.0L / (static_cast<long double>(max_) - static_cast<long double>(min_)));
        position_ = std::max(position_, min_);
    }
    runLayout();
}

void TProgressCyl::setMax(int value) {
    if (value == max_) {
        return;
    }
    if (value == min_) {
        ++value;
    }
    if (value > min_) {
        max_ = value;
        positionScale_ = static_cast<float>(
            1.0L / (static_cast<long double>(max_) - static_cast<long double>(min_)));
        position_ = std::min(position_, max_);
    }
    runLayout();
}

void TProgressCyl::setPosition(int value) {
    position_ = std::clamp(value, min_, max_);
    const long long rel = static_cast<long long>(position_) - min_;
    const long long range = static_cast<long long>(max_) - min_;
    percent_ = static_cast<int>(roundEven(static_cast<long double>(rel) / range * 100));
    const int b = layoutMetrics().b;
    const long double scaled = static_cast<long double>(rel) * positionScale_;
    const int extent = orientation_ == pbHorizontal ? width() : height();
    const long long a = roundEven(extent * scaled) + 2 * b;
    const long long bb = roundEven(2 * b * scaled);
    const int e = static_cast<int>(a - bb);
    if (orientation_ == pbHorizontal) {
        barEdge_ = std::max(e - b, b + 1);
    } else {
        barEdge_ = (height() - b) - (e - 2 * b);
    }

    // The done event follows the arrival at Max itself, not the repaint
    // shortcut below: an arrival that moves neither the bar end nor the
    // rounded percentage (the last steps of a long range) still counts, and
    // a relayout at Max does not count again.
    const bool atMax = position_ == max_;
    const bool arrived = atMax && !wasAtMax_;
    wasAtMax_ = atMax;
    if (e == lastBarEnd_ && percent_ == lastPercent_) {
        if (arrived) {
            emit OnProgressDone(this);
        }
        return;
    }
    const bool percentMoved = percent_ != lastPercent_;
    lastBarEnd_ = e;
    lastPercent_ = percent_;
    if (percentMoved) {
        NotifyAccessibleValueChanged(this, position_);
    }
    if (arrived) {
        emit OnProgressDone(this);
    }
    repaintControl();
}

// -------------------------------------------------------------- events ----

void TProgressCyl::paintEvent(QPaintEvent* event) {
    const QImage& image = paintBuffer();
    QPainter painter(this);
    painter.drawImage(event->rect(), image, event->rect());
}

void TProgressCyl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (ready_ && geometryValid()) {
        bufferBitmap_ = QImage(size(), QImage::Format_RGB32);
        if (invertBitmap_) {
            invertBitmap_.emplace(size(), QImage::Format_RGB32);
        }
        runLayout();
        repaintControl();
    }
}

void TProgressCyl::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    emit OnMouseEnter(this);
    repaintControl();
}

void TProgressCyl::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    emit OnMouseLeave(this);
    repaintControl();
}

void TProgressCyl::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange ||
        event->type() == QEvent::ApplicationPaletteChange) {
        RecomputeColors();
    } else if (event->type() == QEvent::FontChange) {
        repaintControl();
    }
}

}  // namespace quillmere
