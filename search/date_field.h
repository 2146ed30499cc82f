// A date field with a drop-down calendar, as the search window's From and To
// fields: it holds a date without a time of day, and text that is empty or
// not a valid date reads as today.
#pragma once

#include <QDateEdit>

namespace quillmere {

class TDateField : public QDateEdit {
    Q_OBJECT
public:
    explicit TDateField(QWidget* parent = nullptr);

    // The date the text names as a whole-day value; today when the text is
    // empty or not a valid date.
    double day() const;
    // Shows the date of a day value (its time of day dropped). A value outside
    // the dates the field can hold leaves the field as it is.
    void setDay(double day);

    // The text the field shows (for tests and for reading it as a date).
    QString shownText() const;
    // Replaces the shown text as if it had been typed (tests).
    void setShownText(const QString& text);

    // True when `text` is a whole date in `format` as `locale` writes it:
    // every part typed out (a four-digit year) and nothing left over.
    static bool isCompleteDate(const QString& text, const QString& format, const QLocale& locale);

signals:
    // Any change of the shown text, by typing, by the calendar or by setDay.
    void textChanged();
    // A date was given as a whole: picked in the drop-down calendar, stepped
    // with the mouse on the arrows, set by the program (setDay), or typed to
    // its last digit with the caret at the end. Typing part of a date does
    // not report it, so the user can go on typing.
    void dateEntered();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void typedTextChanged();

    bool settingDay_ = false;
    QDate dateAtMousePress_;
    bool mouseHeld_ = false;
};

}  // namespace quillmere
