// TProgressCyl: a progress bar drawn as a lit, shaded cylinder.
//
// Every pixel of the bar area is computed from a base colour, a set of
// shading parameters (TPCColorStyle) and its distance from a light line; the
// whole control is drawn into an off-screen image first and copied in one go,
// so it is opaque and never flickers. Looks can be chosen all at once with a
// TProEffect preset (pro_effect.h); changing a look property directly makes
// the effect read peCustom.
//
// Geometry, with W and H the control's size: a = BevelWidth + BorderWidth,
// b = 2 * BevelWidth + BorderWidth. The outer bevel lies on (0, 0, W, H), the
// inner bevel on (a, a, W - a, H - a), the bar area on (b, b, W - b, H - b)
// (right and bottom exclusive), framed by one pixel of BackBorderColor.
#pragma once

#include "controls/pro_effect.h"
#include "controls/progress_cyl_types.h"
#include "controls/system_colors.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>

namespace quillmere {

class TProgressCyl;

// Shading parameters of one part of the bar (filled or unfilled). Owned by
// its control; every accepted change makes the control recompute its colours
// and, outside a preset, read peCustom.
class TPCColorStyle {
public:
    explicit TPCColorStyle(TProgressCyl* control) : control_(control) {}
    TPCColorStyle(const TPCColorStyle&) = delete;
    TPCColorStyle& operator=(const TPCColorStyle&) = delete;

    std::int32_t intensityRGB() const { return v_.IntensityRGB; }
    float intensity() const { return v_.Intensity; }
    float intensityFactor() const { return v_.IntensityFactor; }
    std::int32_t rangeRGB() const { return v_.RangeRGB; }
    std::int32_t colorRGB() const { return v_.ColorRGB; }
    float colorFactor() const { return v_.ColorFactor; }
    float lightAngle() const { return v_.LightAngle; }
    const StyleValues& values() const { return v_; }

    // Each setter ignores a value equal to the present one, and the float
    // setters a value that is not finite. Intensity, RangeRGB and LightAngle
    // also ignore 0, so no division by zero can occur.
    void setIntensityRGB(std::int32_t value);
    void setIntensity(float value);
    void setIntensityFactor(float value);
    void setRangeRGB(std::int32_t value);
    void setColorRGB(std::int32_t value);
    void setColorFactor(float value);
    void setLightAngle(float value);

    // Assigns all seven values through the setters above.
    void assign(const StyleValues& values);

private:
    void changed();

    TProgressCyl* control_;
    StyleValues v_ = kDefaultStyleValues;
};

// Red, green and blue channel factors of a colour under a style.
using ChannelFactors = std::array<float, 3>;

class TProgressCyl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Position READ position WRITE setPosition)
    Q_PROPERTY(int Min READ min WRITE setMin)
    Q_PROPERTY(int Max READ max WRITE setMax)
    Q_PROPERTY(bool ShowText READ showText WRITE setShowText)
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(QString TextDone READ textDone WRITE setTextDone)

public:
    // Builds the control with its defaults: 150 x 22, Arial 9 pt bold black
    // text "n%" with a bottom-right shadow, white cylinder on button face,
    // lowered outer and raised inner bevel, range 0..100 at 0.
    explicit TProgressCyl(QWidget* parent = nullptr);
    ~TProgressCyl() override;

    QSize sizeHint() const override { return {150, 22}; }

    // Colours (0x00BBGGRR or system colour identifiers).
    TColor backBorderColor() const { return backBorderColor_; }
    TColor backColor() const { return backColor_; }
    TColor bevelColor() const { return bevelColor_; }
    TColor color() const { return color_; }
    TColor fontColor() const { return fontColor_; }
    TColor fontShadowColor() const { return fontShadowColor_; }
    TColor foreColor() const { return foreColor_; }
    TColor foreLineColor() const { return foreLineColor_; }
    void setBackBorderColor(TColor value);
    void setBackColor(TColor value);
    void setBevelColor(TColor value);
    void setColor(TColor value);
    void setFontColor(TColor value);
    void setFontShadowColor(TColor value);
    void setForeColor(TColor value);
    void setForeLineColor(TColor value);

    // Shading parameters of the unfilled and the filled part (the filled part's
    // also shade the leading-edge line).
    TPCColorStyle& backStyle() { return backStyle_; }
    TPCColorStyle& foreStyle() { return foreStyle_; }
    const TPCColorStyle& backStyle() const { return backStyle_; }
    const TPCColorStyle& foreStyle() const { return foreStyle_; }
    void setBackStyle(const StyleValues& values) { backStyle_.assign(values); }
    void setForeStyle(const StyleValues& values) { foreStyle_.assign(values); }
    void setBackStyle(const TPCColorStyle& style) { backStyle_.assign(style.values()); }
    void setForeStyle(const TPCColorStyle& style) { foreStyle_.assign(style.values()); }

    // Frame. A bevel or border width that is negative or would leave no bar
    // area is refused silently and the old value stays.
    TBevelCut bevelInner() const { return bevelInner_; }
    TBevelCut bevelOuter() const { return bevelOuter_; }
    int bevelWidth() const { return bevelWidth_; }
    int borderWidth() const { return borderWidth_; }
    void setBevelInner(TBevelCut value);
    void setBevelOuter(TBevelCut value);
    void setBevelWidth(int value);
    void setBorderWidth(int value);

    TCylinderEffect cylinderEffect() const { return cylinderEffect_; }
    void setCylinderEffect(TCylinderEffect value);

    // Text. The control's QWidget font is the text font; fontColor() its colour.
    TFontEffect fontEffect() const { return fontEffect_; }
    TFontOrientation fontOrientation() const { return fontOrientation_; }
    bool showText() const { return showText_; }
    QString text() const { return text_; }
    QString textDone() const { return textDone_; }
    void setFontEffect(TFontEffect value);
    void setFontOrientation(TFontOrientation value);
    void setShowText(bool value);
    void setText(const QString& value);
    void setTextDone(const QString& value);

    // Horizontal bars fill from the left, vertical ones from the bottom.
    // Changing it also sets the text direction (bottom to top when vertical).
    TProgressBarOrientation orientation() const { return orientation_; }
    void setOrientation(TProgressBarOrientation value);

    // Range and value. Min and Max never become equal (an assignment that
    // would make them equal moves one step apart; one that would cross the
    // other end is not stored). Position is clamped into Min..Max.
    int min() const { return min_; }
    int max() const { return max_; }
    int position() const { return position_; }
    void setMin(int value);
    void setMax(int value);
    void setPosition(int value);

    // Stored and published only; nothing of the control reads them.
    int step() const { return step_; }
    bool stopAtMax() const { return stopAtMax_; }
    void setStep(int value) { step_ = value; }
    void setStopAtMax(bool value) { stopAtMax_ = value; }

    // The preset last applied, or peCustom after a direct change of a look
    // property. Assigning a preset applies it and leaves the control visible.
    TProEffect proEffect() const { return proEffect_; }
    void setProEffect(TProEffect value);

    // Assigns the colour properties their own values again, so factors and
    // bevel colours follow a change of the system colours.
    void RecomputeColors();

    // The text the bar shows: TextDone once the rounded percentage is 100 (when
    // TextDone is not empty), else the percentage followed by Text.
    QString displayText() const;

    // Draws the whole control into its off-screen image and returns it; a
    // control whose size leaves no bar area is filled with Color.
    const QImage& paintBuffer();

    // Derived state, readable for the drawing code's users and for checks.
    int cylinderLevel() const { return cylinderLevel_; }
    float shadeStepX() const { return shadeStepX_; }
    float shadeStepY() const { return shadeStepY_; }
    float positionScale() const { return positionScale_; }
    int percent() const { return percent_; }
    int barEdge() const { return barEdge_; }
    int shadowOffset() const { return shadowOffset_; }
    bool hasInvertBitmap() const { return invertBitmap_.has_value(); }
    const ChannelFactors& foreFactors() const { return foreFactors_; }
    const ChannelFactors& lineFactors() const { return lineFactors_; }
    const ChannelFactors& backFactors() const { return backFactors_; }
    TColor innerTopColor() const { return innerTopColor_; }
    TColor innerBottomColor() const { return innerBottomColor_; }
    TColor outerTopColor() const { return outerTopColor_; }
    TColor outerBottomColor() const { return outerBottomColor_; }
    bool geometryValid() const;

signals:
    // Position has arrived at Max (raised once per arrival).
    void OnProgressDone(TProgressCyl* sender);
    void OnMouseEnter(TProgressCyl* sender);
    void OnMouseLeave(TProgressCyl* sender);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class TPCColorStyle;

    struct Layout {
        int a = 0;
        int b = 0;
        int innerWidth = 0;
        int innerHeight = 0;
    };

    Layout layoutMetrics() const;
    bool geometryValidWith(int bevelWidth, int borderWidth) const;
    void markCustom();
    void styleChanged();
    void computeBevelColors();
    void runLayout();
    void reconfigureTextEffect();
    void repaintControl();
    template <typename T>
    void setFrameValue(T& field, T value);

    // Drawing (progress_cyl_paint.cpp).
    void shadeBar(const Layout& m);
    void drawFrames(const Layout& m);
    void drawText();

    bool ready_ = false;
    bool applyingPreset_ = false;

    TColor backBorderColor_ = clBlack;
    TColor backColor_ = clBlack;
    TColor bevelColor_ = clBlack;
    TColor color_ = clBlack;
    TColor fontColor_ = clBlack;
    TColor fontShadowColor_ = clBlack;
    TColor foreColor_ = clBlack;
    TColor foreLineColor_ = clBlack;
    TPCColorStyle backStyle_{this};
    TPCColorStyle foreStyle_{this};
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvNone;
    int bevelWidth_ = 0;
    int borderWidth_ = 0;
    TCylinderEffect cylinderEffect_ = ceFlat;
    TFontEffect fontEffect_ = feNone;
    TFontOrientation fontOrientation_ = foLeftToRight;
    TProgressBarOrientation orientation_ = pbHorizontal;
    bool showText_ = false;
    QString text_;
    QString textDone_;
    std::int32_t min_ = 0;
    std::int32_t max_ = 0;
    std::int32_t position_ = 0;
    std::int32_t step_ = 0;
    bool stopAtMax_ = false;
    TProEffect proEffect_ = demoSystem;

    int cylinderLevel_ = 0;
    float shadeStepX_ = 0;
    float shadeStepY_ = 0;
    float positionScale_ = 0;
    int percent_ = 0;
    int barEdge_ = 0;
    int lastBarEnd_ = 0;
    int lastPercent_ = 0;
    bool wasAtMax_ = false;
    ChannelFactors foreFactors_{};
    ChannelFactors lineFactors_{};
    ChannelFactors backFactors_{};
    TColor bevelHighlight_ = clBlack;
    TColor bevelShadow_ = clBlack;
    TColor bevelLight_ = clBlack;
    TColor bevelDarkShadow_ = clBlack;
    TColor innerTopColor_ = clBlack;
    TColor innerBottomColor_ = clBlack;
    TColor outerTopColor_ = clBlack;
    TColor outerBottomColor_ = clBlack;
    int shadowOffset_ = 0;
    QSize layoutSize_;
    QImage bufferBitmap_;
    std::optional<QImage> invertBitmap_;
};

}  // namespace quillmere
