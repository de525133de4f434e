// Final codes: unique and gap-free (1..n) within each numbering range, and in creation-date order.
// The range is the whole table, or with parameter 78 each accounting period.

#include <QMap>
#include <algorithm>

#include "InvariantChecks.h"
#include "common/Jalali.h"
#include "common/SystemParameters.h"

namespace si::soak {

namespace {

struct FinalCode {
    qint64 invoice = 0;
    qint64 code = 0;
    QDate date;
};

struct Period {
    QString name;
    QDate begin, end;
};

QVector<Period> numberingRanges(Session& s) {
    if (!ParameterFlag(s, P::PeriodDates, 0)) return {};
    QVector<Period> periods;
    for (const Row& r : s.query(QStringLiteral(
             "SELECT ID, Name, BeginDate, EndDate FROM tblAccountPeriod ORDER BY BeginDate")))
        periods.append({r.text(u"Name") + QStringLiteral(" (") + r.text(u"ID") + QLatin1Char(')'),
                        r.date(u"BeginDate"), r.date(u"EndDate")});
    return periods;
}

QString rangeOf(const QVector<Period>& periods, const QDate& date) {
    if (periods.isEmpty()) return QStringLiteral("whole table");
    for (const Period& p : periods)
        if (date >= p.begin && date <= p.end) return QStringLiteral("period ") + p.name;
    return QStringLiteral("outside every period");
}

QString invoiceList(const QVector<FinalCode>& codes) {
    QStringList ids;
    for (const FinalCode& c : codes)
        ids << QString::number(c.invoice);
    return ids.join(QStringLiteral(", "));
}

QString missingRange(qint64 from, qint64 to) {
    return from == to ? QStringLiteral("code %1 missing").arg(from)
                      : QStringLiteral("codes %1..%2 missing").arg(from).arg(to);
}

// Codes sorted; duplicates and the numbers missing from 1..max.
void checkSeries(const QString& range, const QVector<FinalCode>& codes, Invariant& unique,
                 Invariant& gapFree, Invariant& ordered) {
    unique.checked += codes.size();
    gapFree.checked += codes.size();
    ordered.checked += codes.size();
    qint64 expected = 1;
    for (qsizetype i = 0; i < codes.size();) {
        qsizetype j = i;
        while (j < codes.size() && codes[j].code == codes[i].code)
            ++j;
        const qint64 code = codes[i].code;
        if (j - i > 1)
            unique.violations << QStringLiteral("%1: code %2 held by invoices %3")
                                     .arg(range)
                                     .arg(code)
                                     .arg(invoiceList(codes.mid(i, j - i)));
        if (code > expected)
            gapFree.violations << range + QStringLiteral(": ") + missingRange(expected, code - 1);
        if (i > 0 && codes[i].date < codes[i - 1].date)
            ordered.violations << QStringLiteral(
                                      "%1: code %2 (invoice %3, %4) after code %5 "
                                      "(invoice %6, %7)")
                                      .arg(range)
                                      .arg(code)
                                      .arg(codes[i].invoice)
                                      .arg(getFarsiDate(codes[i].date))
                                      .arg(codes[i - 1].code)
                                      .arg(codes[i - 1].invoice)
                                      .arg(getFarsiDate(codes[i - 1].date));
        expected = code + 1;
        i = j;
    }
}

}  // namespace

void CheckCodes(Session& s, CheckResult& result) {
    const QVector<Period> periods = numberingRanges(s);
    QMap<QString, QVector<FinalCode>> series;
    qint64 unnumbered = 0;
    for (const Row& r : s.query(QStringLiteral(
             "SELECT ID, Code, CreateDate FROM tblSaleInvoice WHERE Code IS NOT NULL"))) {
        const FinalCode c{r.toInt64(u"ID"), r.toInt64(u"Code"), r.date(u"CreateDate")};
        if (c.code < 1) {
            ++unnumbered;
            continue;
        }
        series[rangeOf(periods, c.date)].append(c);
    }
    Invariant unique{QStringLiteral("final codes unique per numbering range")};
    Invariant gapFree{QStringLiteral("final codes gap-free (1..n) per range")};
    Invariant ordered{QStringLiteral("final codes follow creation dates")};
    for (auto it = series.begin(); it != series.end(); ++it) {
        std::sort(it->begin(), it->end(), [](const FinalCode& a, const FinalCode& b) {
            return a.code != b.code ? a.code < b.code : a.invoice < b.invoice;
        });
        checkSeries(it.key(), *it, unique, gapFree, ordered);
    }
    result.invariants << unique << gapFree << ordered;
    result.figures.append({QStringLiteral("numbering ranges"), series.size()});
    result.figures.append(
        {QStringLiteral("final invoices without a number (code below 1)"), unnumbered});
}

}  // namespace si::soak
