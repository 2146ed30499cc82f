// The search window's result list `ListBox1`: one item per day found, drawn
// by ListBox1DrawItem (a rounded cream-to-gold gradient for the selected item,
// white otherwise, the result picture and the day's text), fixed item height
// 25. Item i stands for position i of the window's ResultList.
#pragma once

#include <QImage>
#include <QListWidget>
#include <QStyledItemDelegate>

class QPainter;

namespace quillmere {

// Height of every item.
inline constexpr int kResultItemHeight = 25;

// The item's look, as ListBox1DrawItem needs it.
struct ResultItemState {
    bool selected = false;
    bool focused = false;
};

// Draws one item into `rect` (left, top, right and bottom exclusive) with
// the list's font: selected, the gradient #FFF5DD, #FFF5DD, #FFD25E top to
// bottom clipped to a rounded rectangle with 5 x 5 corner ellipses and a
// #C5C5C5 outline; unselected, white. Then `image` at (L + 4, T + 4) with its
// white pixels transparent, and `text` in black from (L + 25, T + 4), cut with
// "..." where it would pass the right edge. A focused item gets a dotted
// focus rectangle drawn over it last. Never throws.
void ListBox1DrawItem(QPainter& painter, const QRect& rect, const QString& text,
                      const QImage& image, ResultItemState state);

// `text` cut so that it fits `width` pixels in `metrics`, ending with "..."
// when it had to be cut.
QString elideWithDots(const QString& text, const QFontMetrics& metrics, int width);

// `ListBox1`: a single-selection list whose items are drawn by
// ListBox1DrawItem. A double-click anywhere on the list reports
// listDoubleClicked, Enter or Space itemChosenByKey; the window then uses the
// selected item.
class TResultListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TResultListBox(QWidget* parent = nullptr);

    // The picture drawn beside every item (image 20 of ImageList1 on white).
    void setItemImage(const QImage& image);
    const QImage& itemImage() const { return image_; }

signals:
    void listDoubleClicked();
    // Enter or Space on the list: the keyboard's double-click.
    void itemChosenByKey();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QImage image_;
};

// Paints the items of a TResultListBox through ListBox1DrawItem.
class TResultItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TResultItemDelegate(TResultListBox* list);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    TResultListBox* list_;
};

}  // namespace quillmere
