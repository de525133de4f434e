#include "suite/report/ReportValues.h"

#include <QRegularExpression>

#include "common/Numbers.h"

namespace si::suite::report {

std::optional<std::pair<QString, QString>> ParseFormulaItem(const QString& item) {
    const qsizetype eq = item.indexOf(QLatin1Char('='));
    if (eq <= 0) return std::nullopt;
    const QString name = item.left(eq).trimmed();
    QString value = item.mid(eq + 1).trimmed();
    if (name.isEmpty()) return std::nullopt;
    if (value.size() >= 2 && value.startsWith(QLatin1Char('\'')) &&
        value.endsWith(QLatin1Char('\'')))
        value = value.mid(1, value.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
    return std::pair{name, value};
}

Formulas ParseFormulas(const QMap<int, QString>& numbered) {
    Formulas formulas;
    for (const QString& item : numbered) {
        if (const auto f = ParseFormulaItem(item)) formulas.insert(f->first.toLower(), f->second);
    }
    return formulas;
}

QList<qint64> SelectedInvoiceIds(const QString& selection) {
    static const QRegularExpression pattern(
        QStringLiteral(
            R"(\{\s*(?:tblSaleInvoice|vwSaleInvoiceSearch)\.ID\s*\}\s*(?:=\s*(\d+)|in\s*[\[(]([\d\s,]*)[\])]))"),
        QRegularExpression::CaseInsensitiveOption);
    const auto match = pattern.match(selection);
    QList<qint64> ids;
    if (!match.hasMatch()) return ids;
    const QString list = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
    for (const QString& part : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const qint64 id = part.trimmed().toLongLong(&ok);
        if (ok && !ids.contains(id)) ids << id;
    }
    return ids;
}

QString PersianDigits(const QString& text) {
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            out[i] = QChar(0x06F0 + (c.unicode() - u'0'));
        else if (c == QLatin1Char('.') && i > 0 && i + 1 < out.size() && text[i - 1].isDigit() &&
                 text[i + 1].isDigit())
            out[i] = QChar(0x066B);
    }
    return out;
}

QString NumbersLeftToRight(const QString& text) {
    static const QRegularExpression joined(
        QStringLiteral("[0-9\\x{06F0}-\\x{06F9}]+(?:[-/.:\\x{066B}][0-9\\x{06F0}-\\x{06F9}]+)+"));
    if (!text.contains(QLatin1Char('-'))) return text;
    QString out = text;
    // From the end, so that earlier positions stay valid.
    QList<QRegularExpressionMatch> matches;
    for (auto it = joined.globalMatch(text); it.hasNext();)
        matches.prepend(it.next());
    for (const auto& m : matches) {
        out.insert(m.capturedEnd(), QChar(0x202C));    // pop directional formatting
        out.insert(m.capturedStart(), QChar(0x202A));  // left-to-right embedding
    }
    return out;
}

namespace {

bool isNumber(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Float:
            return true;
        default:
            return false;
    }
}

// An amount from a number or from a text as the forms show it ("1/234/500"); none for a text
// that is no number.
std::optional<Money> amountOf(const QVariant& value) {
    if (value.isNull()) return std::nullopt;
    if (isNumber(value)) return Money::fromVariant(value);
    QString text = value.toString();
    return Money::parse(text.remove(QLatin1Char('/')));
}

// A caption without the colon it was sent with (":هزينه حمل"), for a template to place its own.
QString Unlabelled(QString text) {
    text = text.trimmed();
    while (text.startsWith(QLatin1Char(':')))
        text.remove(0, 1);
    while (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text.trimmed();
}

}  // namespace

QString ValueSource::format(const QVariant& value, QStringView format) {
    if (value.isNull()) return {};
    if (format == u"label") return Unlabelled(value.toString());
    if (format.isEmpty())
        return isNumber(value) ? Money::fromVariant(value).toString() : value.toString();
    const auto amount = amountOf(value);
    if (!amount) return value.toString();
    if (format == u"amount") return FormatAmount(*amount);
    if (format == u"number") return amount->toString();
    if (format == u"words") return AmountInWords(*amount).simplified();
    return value.toString();
}

QVariant ValueSource::value(QStringView name, const Place& place) const {
    const QString key = name.toString().toLower();
    if (const auto f = content_.formulas.constFind(key); f != content_.formulas.cend()) return *f;
    if (key == u"page") return place.page;
    if (key == u"pages") return place.pages;
    if (key == u"#") return place.line;
    if (key == u"count") return content_.rows.size();
    if (key.startsWith(u"sum(") && key.endsWith(u')'))
        return sum(name.mid(4, name.size() - 5).trimmed().toString()).toString();
    if (place.row && place.row->has(name)) return place.row->value(name);
    if (!content_.rows.empty() && content_.rows.first().has(name))
        return content_.rows.first().value(name);
    return {};
}

QString ValueSource::expand(const QString& text, const Place& place) const {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('{')) {
            out += c;
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == QLatin1Char('{')) {
            out += c;
            ++i;
            continue;
        }
        const qsizetype close = text.indexOf(QLatin1Char('}'), i + 1);
        if (close < 0) {
            out += text.mid(i);
            break;
        }
        const QStringView inner = QStringView(text).mid(i + 1, close - i - 1);
        const qsizetype colon = inner.indexOf(QLatin1Char(':'));
        const QStringView name = (colon < 0 ? inner : inner.left(colon)).trimmed();
        const QStringView fmt = colon < 0 ? QStringView() : inner.mid(colon + 1).trimmed();
        out += format(value(name, place), fmt);
        i = close;
    }
    return out;
}

bool ValueSource::holds(const QString& condition, const Place& place) const {
    const QString text = expand(condition, place).trimmed();
    if (text.isEmpty()) return false;
    const auto amount = amountOf(text);
    return !amount || !amount->isZero();
}

Money ValueSource::sum(const QString& field) const {
    Money total;
    for (const Row& row : content_.rows) {
        if (row.has(field)) total += amountOf(row.value(field)).value_or(Money());
    }
    return total;
}

}  // namespace si::suite::report
