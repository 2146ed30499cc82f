// A shared store of control styles. Controls register with it through their
// RbStyleManager property; it keeps the values only and pushes nothing into
// the controls.
#pragma once

#include "controls/rb_control_colors.h"
#include "controls/rb_custom_control.h"

#include <QFont>
#include <QList>
#include <QObject>

namespace quillmere {

class TRbStyleManager : public QObject {
    Q_OBJECT

public:
    explicit TRbStyleManager(QObject* parent = nullptr);
    // Every listed control forgets the manager.
    ~TRbStyleManager() override;

    TRbControlColors& Colors() { return colors_; }
    const TRbControlColors& Colors() const { return colors_; }
    TRbCustomColors& SplitterColors() { return splitterColors_; }
    const TRbCustomColors& SplitterColors() const { return splitterColors_; }

    bool ShowFocusRect() const { return showFocusRect_; }
    bool HotTrack() const { return hotTrack_; }
    bool GradientBorder() const { return gradientBorder_; }
    bool TextShadow() const { return textShadow_; }
    TColor CheckColor() const { return checkColor_; }
    TFadeSpeed FadeSpeed() const { return fadeSpeed_; }
    TColor PanelColor() const { return panelColor_; }
    TColor BorderColor() const { return borderColor_; }
    const QFont& Font() const { return font_; }
    void SetShowFocusRect(bool on) { showFocusRect_ = on; }
    void SetHotTrack(bool on) { hotTrack_ = on; }
    void SetGradientBorder(bool on) { gradientBorder_ = on; }
    void SetTextShadow(bool on) { textShadow_ = on; }
    void SetCheckColor(TColor color) { checkColor_ = color; }
    void SetFadeSpeed(TFadeSpeed speed) { fadeSpeed_ = speed; }
    void SetPanelColor(TColor color) { panelColor_ = color; }
    void SetBorderColor(TColor color) { borderColor_ = color; }
    void SetFont(const QFont& font) { font_ = font; }

    // Copies every stored value of source (not its list of controls).
    void Assign(const TRbStyleManager& source);

    // The controls whose RbStyleManager names this manager, in joining order.
    const QList<TRbCustomControl*>& Controls() const { return controls_; }

private:
    friend class TRbCustomControl;
    void AddControl(TRbCustomControl* control);
    void RemoveControl(TRbCustomControl* control);

    TRbControlColors colors_;
    TRbCustomColors splitterColors_;
    bool showFocusRect_ = true;
    bool hotTrack_ = false;
    bool gradientBorder_ = true;
    bool textShadow_ = true;
    TColor checkColor_ = 32768;  // #008000
    TFadeSpeed fadeSpeed_ = fsMedium;
    TColor panelColor_ = 14933983;  // #DFDFE3
    TColor borderColor_ = 8421504;  // #808080
    QFont font_;
    QList<TRbCustomControl*> controls_;
};

}  // namespace quillmere
