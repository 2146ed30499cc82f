// The colour sets of the drawn buttons and check box (their Colors property)
// and of the style manager's splitter colours.
#pragma once

#include "controls/system_colors.h"

#include <functional>

namespace quillmere {

// Normal and hover gradient colours. The owner is told of every change; the
// flag says whether its cached gradient pictures must be rebuilt (true) or a
// repaint is enough (false).
class TRbCustomColors {
public:
    using ChangeHandler = std::function<void(bool rebuild)>;

    explicit TRbCustomColors(ChangeHandler onChange = {});
    virtual ~TRbCustomColors() = default;
    TRbCustomColors(const TRbCustomColors&) = delete;
    TRbCustomColors& operator=(const TRbCustomColors&) = delete;

    TColor DefaultFrom() const { return defaultFrom_; }
    TColor DefaultTo() const { return defaultTo_; }
    TColor OverFrom() const { return overFrom_; }
    TColor OverTo() const { return overTo_; }
    void SetDefaultFrom(TColor value) { set(defaultFrom_, value, true); }
    void SetDefaultTo(TColor value) { set(defaultTo_, value, true); }
    void SetOverFrom(TColor value) { set(overFrom_, value, true); }
    void SetOverTo(TColor value) { set(overTo_, value, true); }

    // Copies every colour of source; the owner is told once.
    virtual void Assign(const TRbCustomColors& source);

protected:
    void set(TColor& field, TColor value, bool rebuild);
    void changed(bool rebuild);

private:
    ChangeHandler onChange_;
    TColor defaultFrom_ = 0xFFFFFF;
    TColor defaultTo_ = 13745839;  // #AFBED1
    TColor overFrom_ = 0xFFFFFF;
    TColor overTo_ = 12489846;  // #7694BE
};

// The nine colours of a button or check box: the three gradients, the border,
// the hot-track caption colour and the caption shadow.
class TRbControlColors : public TRbCustomColors {
public:
    explicit TRbControlColors(ChangeHandler onChange = {});

    TColor ClickedFrom() const { return clickedFrom_; }
    TColor ClickedTo() const { return clickedTo_; }
    TColor BorderColor() const { return borderColor_; }
    TColor HotTrack() const { return hotTrack_; }
    TColor TextShadow() const { return textShadow_; }
    void SetClickedFrom(TColor value) { set(clickedFrom_, value, true); }
    void SetClickedTo(TColor value) { set(clickedTo_, value, true); }
    void SetBorderColor(TColor value) { set(borderColor_, value, true); }
    void SetHotTrack(TColor value) { set(hotTrack_, value, false); }
    void SetTextShadow(TColor value) { set(textShadow_, value, false); }

    // Copies all nine colours when source is a TRbControlColors, else the four
    // gradient colours; the owner is told once.
    void Assign(const TRbCustomColors& source) override;

private:
    TColor clickedFrom_ = 13029334;  // #D6CFC6
    TColor clickedTo_ = 15463415;    // #F7F3EB
    TColor borderColor_ = 8421504;   // #808080
    TColor hotTrack_ = 16711680;     // #0000FF
    TColor textShadow_ = 16777215;   // #FFFFFF
};

}  // namespace quillmere
