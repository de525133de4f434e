#include "controls/ui/JalaliDateEdit.h"

#include "common/Jalali.h"

namespace si {

JalaliDateEdit::JalaliDateEdit(QWidget* parent) : QLineEdit(parent) {
    setInputMask(QStringLiteral("9999/99/99;_"));
    setAlignment(Qt::AlignCenter);
    setLayoutDirection(Qt::LeftToRight);
    setMaximumWidth(110);
    connect(this, &QLineEdit::editingFinished, this, &JalaliDateEdit::commitTyped);
}

QString JalaliDateEdit::jalaliText() const {
    return date_.isValid() ? getFarsiDate(date_) : QString();
}

int JalaliDateEdit::year() const {
    return date_.isValid() ? JalaliOf(date_).year : 0;
}
int JalaliDateEdit::month() const {
    return date_.isValid() ? JalaliOf(date_).month : 0;
}
int JalaliDateEdit::day() const {
    return date_.isValid() ? JalaliOf(date_).day : 0;
}

void JalaliDateEdit::setDate(const QDate& date) {
    const bool differs = date != date_;
    date_ = date;
    setText(date.isValid() ? getFarsiDate(date) : QString());
    if (differs) Q_EMIT dateChanged(date_);
}

void JalaliDateEdit::setJalaliText(const QString& text) {
    setDate(getEnglishDate(text));
}

void JalaliDateEdit::commitTyped() {
    const QString typed = text();
    const QDate parsed = getEnglishDate(typed);
    if (parsed.isValid() ||
        QString(typed).remove(QLatin1Char('/')).remove(QLatin1Char('_')).trimmed().isEmpty()) {
        setDate(parsed);
        return;
    }
    setText(jalaliText());  // an impossible date is not accepted
}

}  // namespace si
