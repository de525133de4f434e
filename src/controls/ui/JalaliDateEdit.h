#pragma once
// The suite's date field: Jalali text yyyy/mm/dd over a Gregorian value, with the year, month and
// day parts. Empty is allowed (a cleared delivery or due date).

#include <QDate>
#include <QLineEdit>

namespace si {

class JalaliDateEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit JalaliDateEdit(QWidget* parent = nullptr);

    QDate date() const { return date_; }
    QString jalaliText() const;  // "" when empty
    bool isEmpty() const { return !date_.isValid(); }
    int year() const;
    int month() const;
    int day() const;

    void setDate(const QDate& date);
    void setJalaliText(const QString& text);  // an invalid text empties the field
    void clearDate() { setDate(QDate()); }

Q_SIGNALS:
    void dateChanged(const QDate& date);

private:
    void commitTyped();
    QDate date_;
};

}  // namespace si
