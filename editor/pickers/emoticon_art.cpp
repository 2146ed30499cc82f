#include "editor/pickers/emoticon_art.h"

#include <QColor>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <mutex>

namespace quillmere {

namespace {

// clang-format off
// Tags 10 and 11 stand in the first row in the order 11, 10.
const EmoticonRow kRows[kEmoticonCount] = {
    { 1, "Image2",  QRect( 24,  24, 21, 21), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Angry   :x"),                  {0x1F620, 0}},      // angry face
    { 2, "Image23", QRect( 56,  24, 21, 21), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Smiley   :)"),                 {0x1F642, 0}},      // slightly smiling face
    { 3, "Image5",  QRect( 88,  24, 21, 21), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Tongue   :p or :P"),           {0x1F61B, 0}},      // face with tongue
    { 4, "Image7",  QRect(120,  24, 21, 21), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Laugh out Loud   :lol:"),      {0x1F602, 0}},      // face with tears of joy
    { 5, "Image26", QRect(152,  24, 20, 20), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Puke or Sick   +o("),          {0x1F922, 0}},      // nauseated face
    { 6, "Image9",  QRect(184,  24, 21, 21), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Oh My!   :o"),                 {0x1F62E, 0}},      // face with open mouth
    { 7, "Image10", QRect(216,  24, 21, 21), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Unsure or Confused   :s or :?"), {0x1F615, 0}},    // confused face
    { 8, "Image11", QRect(248,  24, 21, 21), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Wacko   x)"),                  {0x1F92A, 0}},      // zany face
    { 9, "Image13", QRect(280,  24, 21, 21), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "ph34r"),                       {0x1F977, 0}},      // ninja
    {10, "Image27", QRect(344,  24, 20, 22), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Crying   :'("),                {0x1F622, 0}},      // crying face
    {11, "Image29", QRect(312,  24, 21, 21), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Mellow or Uninterested   :|"), {0x1F610, 0}},      // neutral face
    {12, "Image28", QRect(376,  24, 20, 20), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Question"),                    {0x2753, 0}},       // red question mark
    {13, "Image3",  QRect( 24,  72, 22, 26), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Sad   :("),                    {0x2639, 0xFE0F}},  // frowning face
    {14, "Image4",  QRect( 56,  72, 22, 26), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Big Smile!   :D"),             {0x1F600, 0}},      // grinning face
    {15, "Image6",  QRect( 88,  72, 23, 22), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Cool   8)"),                   {0x1F60E, 0}},      // smiling face with sunglasses
    {16, "Image8",  QRect(120,  72, 22, 26), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Wink   ;)"),                   {0x1F609, 0}},      // winking face
    {17, "Image12", QRect(152,  72, 22, 30), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Crazy   8x)"),                 {0x1F635, 0}},      // dizzy face
    {18, "Image14", QRect(184,  72, 22, 26), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Nea"),                         {0x1F645, 0}},      // person gesturing no
    {19, "Image15", QRect(216,  72, 23, 25), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Sarcastic"),                   {0x1F60F, 0}},      // smirking face
    {20, "Image16", QRect(252,  72, 31, 26), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Bye-Bye"),                     {0x1F44B, 0}},      // waving hand
    {21, "Image25", QRect(285,  72, 40, 27), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Dancing"),                     {0x1F483, 0}},      // woman dancing
    {22, "Image24", QRect(333,  72, 36, 26), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Pardon"),                      {0x1F647, 0}},      // person bowing
    {23, "Image1",  QRect(376,  72, 22, 26), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Happy Smile   :)"),            {0x1F60A, 0}},      // smiling face with smiling eyes
    {24, "Image17", QRect( 48, 128, 45, 27), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Hello"),                       {0x270B, 0}},       // raised hand
    {25, "Image18", QRect(104, 128, 54, 30), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Let's drink on that"),         {0x1F37B, 0}},      // clinking beer mugs
    {26, "Image20", QRect(168, 128, 43, 26), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Praise"),                      {0x1F64F, 0}},      // folded hands
    {27, "Image22", QRect(224, 128, 27, 25), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Bomb"),                        {0x1F4A3, 0}},      // bomb
    {28, "Image21", QRect(264, 128, 34, 24), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Yahoo!"),                      {0x1F973, 0}},      // partying face
    {29, "Image19", QRect(320, 128, 51, 45), QT_TRANSLATE_NOOP("quillmere::TfrmEmoticons", "Truce or Surrender"),          {0x1F3F3, 0xFE0F}}, // white flag
};
// clang-format on

// The emoji is drawn this large first and then scaled down to its picture,
// which keeps the small pictures smooth.
constexpr int kDrawPixels = 64;
constexpr int kCanvasSide = 2 * kDrawPixels;

QFont emojiFont(const QString& family) {
    QFont font(family);
    font.setPixelSize(kDrawPixels);
    // Another font standing in for a missing emoji would draw a plain box.
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

// The smallest rectangle holding every pixel that is not fully transparent.
QRect visibleBounds(const QImage& image) {
    int left = image.width();
    int right = -1;
    int top = image.height();
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return {};
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QImage transparentImage(QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

bool emojiAvailable(const EmoticonRow& row, const QString& family) {
    if (!QFontDatabase::hasFamily(family)) {
        return false;
    }
    const QFontMetrics metrics(emojiFont(family));
    return metrics.inFontUcs4(row.emoji[0]);
}

void reportMissingFontOnce(const QString& family) {
    static std::once_flag reported;
    std::call_once(reported, [&family] {
        std::fprintf(stderr,
                     "Quillmere: the font \"%s\" is not installed or lacks an emoji; "
                     "the emoticons are drawn as plain faces.\n",
                     family.toUtf8().constData());
    });
}

// The emoji `text` drawn from `family`, its visible part scaled to fit `size`
// (keeping its proportions) and centred on a transparent background; a null
// image when the font drew nothing.
QImage drawEmoji(const QString& family, const QString& text, QSize size) {
    if (size.isEmpty()) {
        return {};
    }
    QImage canvas = transparentImage(QSize(kCanvasSide, kCanvasSide));
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setFont(emojiFont(family));
        painter.drawText(canvas.rect(), Qt::AlignCenter, text);
    }
    const QRect bounds = visibleBounds(canvas);
    if (bounds.isEmpty()) {
        return {};
    }
    const QImage glyph =
        canvas.copy(bounds).scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QImage picture = transparentImage(size);
    QPainter painter(&picture);
    painter.drawImage((size.width() - glyph.width()) / 2, (size.height() - glyph.height()) / 2,
                      glyph);
    return picture;
}

}  // namespace

std::span<const EmoticonRow> EmoticonRows() {
    return kRows;
}

const EmoticonRow* EmoticonRowOf(int tag) {
    if (tag < 1 || tag > kEmoticonCount) {
        return nullptr;
    }
    return &kRows[tag - 1];
}

QString EmojiText(const EmoticonRow& row) {
    QString text;
    for (char32_t codePoint : row.emoji) {
        if (codePoint != 0) {
            text += QString::fromUcs4(&codePoint, 1);
        }
    }
    return text;
}

bool EmojiAvailable(const EmoticonRow& row) {
    return emojiAvailable(row, QString::fromLatin1(kEmojiFamily));
}

QImage DrawCircleFace(QSize size) {
    QImage picture = transparentImage(size);
    const int side = std::min(size.width(), size.height());
    if (side < 4) {
        return picture;
    }
    const QRectF face((size.width() - side) / 2.0 + 0.5, (size.height() - side) / 2.0 + 0.5,
                      side - 1.0, side - 1.0);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0xB0, 0x80, 0x00), 1.0));
    painter.setBrush(QColor(0xFF, 0xD4, 0x2A));
    painter.drawEllipse(face);

    const double unit = face.width() / 10.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x40, 0x2A, 0x00));
    const QPointF centre = face.center();
    painter.drawEllipse(QPointF(centre.x() - 2 * unit, centre.y() - 1.4 * unit), 0.8 * unit,
                        1.1 * unit);
    painter.drawEllipse(QPointF(centre.x() + 2 * unit, centre.y() - 1.4 * unit), 0.8 * unit,
                        1.1 * unit);

    QPainterPath smile;
    smile.moveTo(centre.x() - 3 * unit, centre.y() + 1.2 * unit);
    smile.quadTo(centre.x(), centre.y() + 4.2 * unit, centre.x() + 3 * unit,
                 centre.y() + 1.2 * unit);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(
        QPen(QColor(0x40, 0x2A, 0x00), std::max(1.0, 0.7 * unit), Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(smile);
    return picture;
}

QImage DrawEmoticon(const EmoticonRow& row) {
    return DrawEmoticonFrom(QString::fromLatin1(kEmojiFamily), row);
}

QImage DrawEmoticonFrom(const QString& family, const EmoticonRow& row) {
    const QSize size = row.geometry.size();
    if (emojiAvailable(row, family)) {
        QImage picture = drawEmoji(family, EmojiText(row), size);
        if (!picture.isNull()) {
            return picture;
        }
    }
    reportMissingFontOnce(family);
    return DrawCircleFace(size);
}

}  // namespace quillmere
