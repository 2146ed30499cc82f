// Common base of the drawn panel, button and check box: caption and shadow
// switches, the link to a style manager, and the hover and press fading that
// the button and check box animate with a timer.
#pragma once

#include "controls/system_colors.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace quillmere {

class TRbStyleManager;

// Timer interval of the fading: 40, 20, 12 or 8 milliseconds.
enum TFadeSpeed { fsSlow, fsMedium, fsFast, fsVeryFast };

// Milliseconds between two fade ticks at `speed`.
int FadeInterval(TFadeSpeed speed);

class TRbCustomControl : public QWidget {
    Q_OBJECT

public:
    // A control named `name`; its caption follows the name until set.
    explicit TRbCustomControl(QWidget* parent = nullptr, const QString& name = {});
    ~TRbCustomControl() override;

    // The caption; the control's object name until a caption is set.
    QString Caption() const { return captionSet_ ? caption_ : objectName(); }
    void SetCaption(const QString& caption);

    bool TextShadow() const { return textShadow_; }
    void SetTextShadow(bool on);
    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool on);

    // Colour of the caption font (QFont carries none). Repaints.
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor color);

    // The shared style object the control is listed with; null when none. The
    // manager forgets the control when it is destroyed, and the control forgets
    // a manager that is destroyed.
    TRbStyleManager* RbStyleManager() const { return styleManager_; }
    void SetRbStyleManager(TRbStyleManager* manager);

    // Fade state: hover level 0..100 (briefly -10), press level 0 or 100.
    int HoverLevel() const { return hoverLevel_; }
    int PressLevel() const { return pressLevel_; }
    bool MouseOver() const { return mouseOver_; }
    bool Pressed() const { return pressed_; }
    TFadeSpeed FadeSpeed() const { return fadeSpeed_; }
    void SetFadeSpeed(TFadeSpeed speed) { fadeSpeed_ = speed; }
    bool FadeTimerActive() const { return fadeTimer_.isActive(); }
    int FadeTimerInterval() const { return fadeTimer_.interval(); }

    // Stops the fade timer and starts it again with the interval of FadeSpeed.
    void StartFadeTimer();
    // Fade steps; the timer's tick runs the one chosen last.
    void FadeInStep();
    void FadeOutStep();
    // One tick of the fade timer, as the timer delivers it: runs the chosen
    // step; an exception thrown while repainting is swallowed.
    void FadeTick();

    // True while the control has the focus and got it from the keyboard (Tab,
    // Shift+Tab, a shortcut); a mouse press on it clears this. The button
    // and the check box then draw their focus mark even where their design
    // shows none, so a keyboard user sees where the focus is.
    bool FocusFromKeyboard() const { return hasFocus() && keyboardFocus_; }

signals:
    void OnMouseEnter();
    void OnMouseLeave();

protected:
    // The drawn controls show their focus, enabled state and font in their
    // own pictures, so each such change repaints them.
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

    enum class FadeStepKind { In, Out };
    void ChooseFadeStep(FadeStepKind kind) { fadeStep_ = kind; }
    void SetMouseOverState(bool on) { mouseOver_ = on; }
    void SetPressedState(bool on) { pressed_ = on; }
    // True when the control, its window and its ancestors let it take the focus.
    bool CanFocus() const;

    // Called by the manager when it is destroyed.
    friend class TRbStyleManager;
    void ForgetStyleManager() { styleManager_ = nullptr; }

private:
    QString caption_;
    bool captionSet_ = false;
    bool textShadow_ = true;
    bool showCaption_ = true;
    TColor fontColor_ = clBlack;
    TRbStyleManager* styleManager_ = nullptr;
    int hoverLevel_ = 0;
    int pressLevel_ = 0;
    bool mouseOver_ = false;
    bool pressed_ = false;
    bool keyboardFocus_ = false;
    TFadeSpeed fadeSpeed_ = fsMedium;
    FadeStepKind fadeStep_ = FadeStepKind::In;
    QTimer fadeTimer_;
};

}  // namespace quillmere
