#include "InvoiceJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include "common/Codes.h"
#include "common/Jalali.h"
#include "common/Numbers.h"
#include "invoice/FormMainLogic.h"

namespace si::cli {

namespace {

QString quoted(const QString& name) {
    return QStringLiteral("«") + name + QStringLiteral("»");
}

void refuseUnknown(const QJsonObject& object, const QSet<QString>& known, const QString& where) {
    for (auto it = object.begin(); it != object.end(); ++it)
        if (!known.contains(it.key()))
            throw JsonError(QStringLiteral("فيلد ناشناخته ") + quoted(it.key()) + where +
                            QStringLiteral(" پذيرفته نيست."));
}

double number(const QJsonValue& v, const QString& name) {
    if (!v.isDouble())
        throw JsonError(QStringLiteral("فيلد ") + quoted(name) + QStringLiteral(" بايد عدد باشد."));
    return v.toDouble();
}

int integer(const QJsonValue& v, const QString& name) {
    const double d = number(v, name);
    if (d != static_cast<double>(static_cast<int>(d)))
        throw JsonError(QStringLiteral("فيلد ") + quoted(name) +
                        QStringLiteral(" بايد عدد صحيح باشد."));
    return static_cast<int>(d);
}

QString text(const QJsonValue& v, const QString& name) {
    if (!v.isString())
        throw JsonError(QStringLiteral("فيلد ") + quoted(name) + QStringLiteral(" بايد متن باشد."));
    return v.toString();
}

bool flag(const QJsonValue& v, const QString& name) {
    if (v.isBool()) return v.toBool();
    if (v.isDouble() && (v.toDouble() == 0 || v.toDouble() == 1)) return v.toDouble() == 1;
    throw JsonError(QStringLiteral("فيلد ") + quoted(name) +
                    QStringLiteral(" بايد true يا false باشد."));
}

Money amount(const QJsonValue& v, const QString& name) {
    const double d = number(v, name);
    try {
        return Money::fromDouble(d);
    } catch (const std::exception&) {
        throw JsonError(QStringLiteral("مبلغ ") + quoted(name) +
                        QStringLiteral(" خارج از محدوده است."));
    }
}

template <typename T, typename F>
Given<T> given(const QJsonObject& o, const char* name, F convert) {
    Given<T> g;
    const QString key = QString::fromLatin1(name);
    if (!o.contains(key)) return g;
    g.present = true;
    if (!o.value(key).isNull()) g.value = convert(o.value(key), key);
    return g;
}

JsonLine parseLine(const QJsonValue& value, int index) {
    const QString where = QStringLiteral(" در سطر ") + QString::number(index + 1);
    if (!value.isObject())
        throw JsonError(QStringLiteral("سطر ") + QString::number(index + 1) +
                        QStringLiteral(" بايد شيء باشد."));
    const QJsonObject o = value.toObject();
    refuseUnknown(o,
                  {QStringLiteral("barcode"), QStringLiteral("code"),
                   QStringLiteral("scaleBarcode"), QStringLiteral("qty"), QStringLiteral("unit"),
                   QStringLiteral("description"), QStringLiteral("price"),
                   QStringLiteral("discountPercent"), QStringLiteral("discountValue"),
                   QStringLiteral("pricingMethod"), QStringLiteral("promoter")},
                  where);
    JsonLine l;
    const int keys = int(o.contains(QStringLiteral("barcode"))) +
                     int(o.contains(QStringLiteral("code"))) +
                     int(o.contains(QStringLiteral("scaleBarcode")));
    if (keys != 1)
        throw JsonError(
            QStringLiteral("سطر ") + QString::number(index + 1) +
            QStringLiteral(" بايد دقيقا يكي از barcode ،code يا scaleBarcode را داشته باشد."));
    if (o.contains(QStringLiteral("barcode")))
        l.barcode = text(o.value(QStringLiteral("barcode")), QStringLiteral("barcode")).trimmed();
    if (o.contains(QStringLiteral("code")))
        l.code = text(o.value(QStringLiteral("code")), QStringLiteral("code")).trimmed();
    if (o.contains(QStringLiteral("scaleBarcode")))
        l.scaleBarcode =
            text(o.value(QStringLiteral("scaleBarcode")), QStringLiteral("scaleBarcode")).trimmed();
    auto opt = [&o](const char* name) {
        return o.contains(QString::fromLatin1(name)) &&
               !o.value(QString::fromLatin1(name)).isNull();
    };
    if (opt("qty")) l.qty = number(o.value(QStringLiteral("qty")), QStringLiteral("qty"));
    if (opt("unit")) l.unit = integer(o.value(QStringLiteral("unit")), QStringLiteral("unit"));
    if (opt("description"))
        l.description = text(o.value(QStringLiteral("description")), QStringLiteral("description"));
    if (opt("price")) l.price = amount(o.value(QStringLiteral("price")), QStringLiteral("price"));
    if (opt("discountPercent"))
        l.discountPercent =
            number(o.value(QStringLiteral("discountPercent")), QStringLiteral("discountPercent"));
    if (opt("discountValue"))
        l.discountValue =
            amount(o.value(QStringLiteral("discountValue")), QStringLiteral("discountValue"));
    if (opt("pricingMethod"))
        l.pricingMethod =
            integer(o.value(QStringLiteral("pricingMethod")), QStringLiteral("pricingMethod"));
    if (opt("promoter"))
        l.promoter = integer(o.value(QStringLiteral("promoter")), QStringLiteral("promoter"));
    return l;
}

QVector<JsonCharge> parseCharges(const QJsonValue& value, const QString& name,
                                 bool percentAllowed) {
    QVector<JsonCharge> list;
    if (value.isNull() || value.isUndefined()) return list;
    if (!value.isArray())
        throw JsonError(QStringLiteral("فيلد ") + quoted(name) +
                        QStringLiteral(" بايد فهرست باشد."));
    for (const QJsonValue& item : value.toArray()) {
        if (!item.isObject())
            throw JsonError(QStringLiteral("اقلام ") + quoted(name) +
                            QStringLiteral(" بايد شيء باشند."));
        const QJsonObject o = item.toObject();
        QSet<QString> known{QStringLiteral("type"), QStringLiteral("value")};
        if (percentAllowed) known.insert(QStringLiteral("percent"));
        refuseUnknown(o, known, QStringLiteral(" در ") + quoted(name));
        JsonCharge c;
        c.type = integer(o.value(QStringLiteral("type")), QStringLiteral("type"));
        if (o.contains(QStringLiteral("value")))
            c.value = amount(o.value(QStringLiteral("value")), QStringLiteral("value"));
        if (o.contains(QStringLiteral("percent")))
            c.percent = number(o.value(QStringLiteral("percent")), QStringLiteral("percent"));
        if (c.value.has_value() == c.percent.has_value())
            throw JsonError(QStringLiteral("هر قلم ") + quoted(name) +
                            QStringLiteral(" بايد يكي از value يا percent را داشته باشد."));
        list << c;
    }
    return list;
}

void parseMasterDiscount(const QJsonValue& value, JsonInvoice& inv) {
    if (value.isNull() || value.isUndefined()) return;
    if (!value.isObject()) throw JsonError(QStringLiteral("فيلد «masterDiscount» بايد شيء باشد."));
    const QJsonObject o = value.toObject();
    refuseUnknown(o, {QStringLiteral("percent"), QStringLiteral("value")},
                  QStringLiteral(" در «masterDiscount»"));
    if (o.contains(QStringLiteral("percent")) == o.contains(QStringLiteral("value")))
        throw JsonError(
            QStringLiteral("«masterDiscount» بايد يكي از percent يا value را داشته باشد."));
    if (o.contains(QStringLiteral("percent")))
        inv.masterDiscountPercent =
            number(o.value(QStringLiteral("percent")), QStringLiteral("percent"));
    else
        inv.masterDiscountValue = amount(o.value(QStringLiteral("value")), QStringLiteral("value"));
}

void parseCashTurn(const QJsonValue& value, JsonInvoice& inv) {
    if (value.isNull() || value.isUndefined()) return;
    if (!value.isObject()) throw JsonError(QStringLiteral("فيلد «cashTurn» بايد شيء باشد."));
    const QJsonObject o = value.toObject();
    refuseUnknown(o, {QStringLiteral("cash"), QStringLiteral("turn")},
                  QStringLiteral(" در «cashTurn»"));
    if (!o.contains(QStringLiteral("cash")) || !o.contains(QStringLiteral("turn")))
        throw JsonError(QStringLiteral("«cashTurn» بايد cash و turn را داشته باشد."));
    inv.cashTurn = std::pair{integer(o.value(QStringLiteral("cash")), QStringLiteral("cash")),
                             integer(o.value(QStringLiteral("turn")), QStringLiteral("turn"))};
}

}  // namespace

JsonInvoice ParseInvoice(const QByteArray& bytes) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        throw JsonError(QStringLiteral("متن JSON نامعتبر است (نويسه ") +
                        QString::number(error.offset) + QStringLiteral("): ") +
                        error.errorString());
    if (!doc.isObject()) throw JsonError(QStringLiteral("فاكتور بايد يك شيء JSON باشد."));
    const QJsonObject o = doc.object();
    refuseUnknown(o,
                  {QStringLiteral("date"),
                   QStringLiteral("customer"),
                   QStringLiteral("inventory"),
                   QStringLiteral("type"),
                   QStringLiteral("pricingMethod"),
                   QStringLiteral("paidByCash"),
                   QStringLiteral("promoter"),
                   QStringLiteral("promoter2"),
                   QStringLiteral("branch"),
                   QStringLiteral("contract"),
                   QStringLiteral("preCondition"),
                   QStringLiteral("formal"),
                   QStringLiteral("checkEchantillon"),
                   QStringLiteral("sendSms"),
                   QStringLiteral("notes"),
                   QStringLiteral("message"),
                   QStringLiteral("manualCode"),
                   QStringLiteral("walkInName"),
                   QStringLiteral("walkInPhone"),
                   QStringLiteral("masterDiscount"),
                   QStringLiteral("surcharges"),
                   QStringLiteral("deductions"),
                   QStringLiteral("cashTurn"),
                   QStringLiteral("lines")},
                  QString());
    JsonInvoice inv;
    inv.date = given<QString>(o, "date", text);
    if (inv.date.value && !IsValidFarsiDate(*inv.date.value))
        throw JsonError(QStringLiteral("تاريخ ") + quoted(*inv.date.value) +
                        QStringLiteral(" تاريخ شمسي معتبري نيست."));
    const std::pair<const char*, Given<int>*> ids[] = {{"customer", &inv.customer},
                                                       {"inventory", &inv.inventory},
                                                       {"type", &inv.type},
                                                       {"pricingMethod", &inv.pricingMethod},
                                                       {"paidByCash", &inv.paidByCash},
                                                       {"promoter", &inv.promoter},
                                                       {"promoter2", &inv.promoter2},
                                                       {"branch", &inv.branch},
                                                       {"contract", &inv.contract},
                                                       {"preCondition", &inv.preCondition}};
    for (const auto& [name, field] : ids)
        *field = given<int>(o, name, integer);
    inv.formal = given<bool>(o, "formal", flag);
    inv.checkEchantillon = given<bool>(o, "checkEchantillon", flag);
    inv.sendSms = given<bool>(o, "sendSms", flag);
    inv.notes = given<QString>(o, "notes", text);
    inv.message = given<QString>(o, "message", text);
    inv.manualCode = given<QString>(o, "manualCode", text);
    inv.walkInName = given<QString>(o, "walkInName", text);
    inv.walkInPhone = given<QString>(o, "walkInPhone", text);
    parseMasterDiscount(o.value(QStringLiteral("masterDiscount")), inv);
    parseCashTurn(o.value(QStringLiteral("cashTurn")), inv);
    inv.surcharges =
        parseCharges(o.value(QStringLiteral("surcharges")), QStringLiteral("surcharges"), false);
    inv.deductions =
        parseCharges(o.value(QStringLiteral("deductions")), QStringLiteral("deductions"), true);
    const QJsonValue lines = o.value(QStringLiteral("lines"));
    if (!lines.isArray() || lines.toArray().isEmpty())
        throw JsonError(QStringLiteral("فاكتور بايد فهرست «lines» با دست كم يك سطر داشته باشد."));
    int i = 0;
    for (const QJsonValue& line : lines.toArray())
        inv.lines << parseLine(line, i++);
    return inv;
}

}  // namespace si::cli

namespace si::cli {

namespace {

QJsonValue idOrNull(const SelectorModel& s) {
    return s.IsEmpty() ? QJsonValue() : QJsonValue(s.ID());
}
QJsonValue rials(Money m) {
    return QJsonValue(m.toDouble());
}

QJsonValue textOrNull(const QString& text) {
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

QJsonValue intOrNull(const Row& r, QStringView column) {
    return r.isNull(column) ? QJsonValue() : QJsonValue(r.toInt(column));
}

// The stored state and what was posted from it, in one read; all null for an invoice that
// is not stored.
Row storedFacts(Session& s, int invoiceId, int customerId) {
    const QVariant form = FormType::SaleInvoice;
    return *s.first(
        QStringLiteral(
            "select (select Code from tblSaleInvoice where ID = ?) as Code, (select o.Name from "
            "tblOrganization o where o.ID = ?) as CustomerName, (select min(DocumentID) from "
            "tblAccountDocumentDetail where FormTypeID = ? and FormID = ?) as DocumentID, "
            "(select min(ID) from tblInventoryDispatch where FormTypeID = ? and FormID = ?) as "
            "DispatchID, (select min(ID) from tblRecPayCashTurnDetail where FormTypeID = ? and "
            "FormID = ?) as CashTurnDetailID"),
        {invoiceId, customerId, form, invoiceId, form, invoiceId, form, invoiceId});
}

QJsonObject lineJson(const InvoiceLine& l, int row, bool free) {
    return QJsonObject{{QStringLiteral("row"), row},
                       {QStringLiteral("barcode"), l.BarCode},
                       {QStringLiteral("code"), l.GoodCode},
                       {QStringLiteral("name"), l.GoodName},
                       {QStringLiteral("qty"), l.Qty},
                       {QStringLiteral("unit"), l.ScaleID},
                       {QStringLiteral("unitName"), l.UnitName},
                       {QStringLiteral("price"), rials(l.UnitPrice)},
                       {QStringLiteral("discountPercent"), l.DiscountPercent},
                       {QStringLiteral("discountValue"), rials(l.DiscountValue)},
                       {QStringLiteral("net"), rials(l.NetAmount)},
                       {QStringLiteral("tax"), rials(l.Tax)},
                       {QStringLiteral("duty"), rials(l.Duty)},
                       {QStringLiteral("total"), rials(l.LineTotal)},
                       {QStringLiteral("free"), free}};
}

QJsonObject totalsJson(const InvoiceTotals& t) {
    return QJsonObject{{QStringLiteral("totalPrice"), rials(t.TotalPrice)},
                       {QStringLiteral("rowDiscount"), rials(t.TotalRowDiscount)},
                       {QStringLiteral("purePrice"), rials(t.TotalPurePrice)},
                       {QStringLiteral("masterDiscountPercent"), t.MasterDiscountPercent},
                       {QStringLiteral("masterDiscountValue"), rials(t.MasterDiscountValue)},
                       {QStringLiteral("surcharges"), rials(t.SuCharge)},
                       {QStringLiteral("deductions"), rials(t.Decs)},
                       {QStringLiteral("tax"), rials(t.Tax)},
                       {QStringLiteral("duty"), rials(t.Added)},
                       {QStringLiteral("roundDown"), rials(t.RoundDown)},
                       {QStringLiteral("grandTotal"), rials(t.GrandTotal)}};
}

}  // namespace

QJsonObject InvoiceToJson(FormMainLogic& form) {
    InvoiceDocument& d = form.doc();
    Session& s = form.ctx().db();
    const int id = d.invoiceID();
    QJsonArray lines;
    int row = 0;
    for (int r : d.flexDetail.filledRows())
        lines.append(lineJson(d.flexDetail.line(r), ++row, false));
    for (int r : d.flexEch.filledRows())
        lines.append(lineJson(d.flexEch.line(r), ++row, true));
    const Row facts = storedFacts(s, id, d.sltCustomer.ID());
    const bool final = !facts.isNull(u"Code");
    QJsonObject o{
        {QStringLiteral("id"), id},
        {QStringLiteral("code"), intOrNull(facts, u"Code")},
        {QStringLiteral("state"), final ? QStringLiteral("final") : QStringLiteral("temporary")},
        {QStringLiteral("date"), getFarsiDate(d.datCreateDate)},
        {QStringLiteral("customer"), idOrNull(d.sltCustomer)},
        {QStringLiteral("customerName"),
         facts.isNull(u"CustomerName") ? QJsonValue() : QJsonValue(facts.text(u"CustomerName"))},
        {QStringLiteral("walkInName"), textOrNull(d.walkIn.name)},
        {QStringLiteral("walkInPhone"), textOrNull(d.walkIn.phone)},
        {QStringLiteral("inventory"), idOrNull(d.sltInventory)},
        {QStringLiteral("type"), idOrNull(d.sltType)},
        {QStringLiteral("pricingMethod"), idOrNull(d.sltPricingMethod)},
        {QStringLiteral("promoter"), idOrNull(d.sltPromoter)},
        {QStringLiteral("paidByCash"), idOrNull(d.sltPaidByCash)},
        {QStringLiteral("formal"), d.chkIsFormal},
        {QStringLiteral("lines"), lines},
        {QStringLiteral("totals"), totalsJson(d.totals)},
        {QStringLiteral("accountingDocument"), intOrNull(facts, u"DocumentID")},
        {QStringLiteral("dispatch"), intOrNull(facts, u"DispatchID")},
        {QStringLiteral("cashTurnDetail"), intOrNull(facts, u"CashTurnDetailID")}};
    return o;
}

}  // namespace si::cli
