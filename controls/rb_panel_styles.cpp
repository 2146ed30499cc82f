#include "controls/rb_panel_styles.h"

#include "controls/rb_fonts.h"

#include <QSizePolicy>

namespace quillmere {

namespace {

void applyBar(TRbPanel& panel, TColor from, TColor to) {
    panel.BeginLoad();
    panel.setFixedHeight(kBarHeight);
    panel.setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    panel.SetAntialiased(false);
    panel.SetGradient(true);
    panel.SetGradientType(gtDoubleVert);
    panel.SetDefaultFrom(from);
    panel.SetDefaultTo(to);
    panel.SetCornerWidth(0);
    panel.SetBorderWidth(1);
    panel.SetBorderColor(8421504);  // #808080
    panel.SetOuterColor(clBtnFace);
    panel.SetColor(14933983);  // #DFDFE3
    panel.SetCaptionPosition(cpMiddleCenter);
    panel.SetTextShadow(false);
    panel.EndLoad();
}

}  // namespace

void applyTitleBarStyle(TRbPanel& panel, int captionHeight) {
    applyBar(panel, 13665296, 16758897);  // #1084D0 .. #71B8FF
    panel.setFont(designFont(QStringLiteral("Arial"), captionHeight, true));
    panel.SetFontColor(clWhite);
    panel.SetShowCaption(true);
}

void applyButtonBarStyle(TRbPanel& panel) {
    applyBar(panel, 40704, 5424899);  // #009F00 .. #03C752
    panel.setFont(designFont(QStringLiteral("Arial"), 24, true));
    panel.SetFontColor(clWhite);
    panel.SetShowCaption(false);
}

void applyContentFrameStyle(TRbPanel& panel, int cornerWidth, int borderWidth) {
    panel.BeginLoad();
    panel.setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    panel.SetGradient(false);
    panel.SetAntialiased(true);
    panel.SetColor(clWhite);
    panel.SetBorderWidth(borderWidth);
    panel.SetBorderColor(12632256);  // #C0C0C0
    panel.SetOuterColor(12632256);
    panel.SetCornerWidth(cornerWidth);
    panel.SetCaptionPosition(cpTopCenter);
    panel.SetTextShadow(true);
    panel.SetTextShadowColor(clWhite);
    panel.setFont(designFont(QStringLiteral("Arial"), 19, true));
    panel.SetFontColor(clBlack);
    panel.EndLoad();
}

}  // namespace quillmere
