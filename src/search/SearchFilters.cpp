#include "search/SearchFilters.h"

#include <algorithm>

#include "common/FoldedText.h"
#include "common/Jalali.h"
#include "search/InvoiceAccess.h"

namespace si {

namespace {

using K = FilterKind;
using F = ContainsField;

// In the order the search appends them.
const std::vector<SearchFilter> kFilters{
    // The view carries the invoice's introduction type and card number: asked there, the date
    // order's index serves them.
    {"sltIntroductionType", "introduction-type", K::Id, "IntroductionTypeID = ?", nullptr, nullptr,
     F::InvoiceNotes, "نحوه آشنايي"},
    // The related order's code, asked of the order table's index.
    {"txtPrevAdditionalFormSpec", "order-code", K::Number,
     "{SaleOrderID in (Select o.ID from tblSaleOrder o Where o.Code = ?)}", nullptr, nullptr,
     F::InvoiceNotes, "شماره سفارش معطوف"},
    {"txtDescription", "line-description", K::Contains, "", nullptr, nullptr, F::LineDescription,
     "شرح سطر"},
    {"txtMinID", "min-id", K::Number, "ID>= ?", nullptr, nullptr, F::InvoiceNotes,
     "از شماره سيستمي"},
    {"txtMaxID", "max-id", K::Number, "ID<= ?", nullptr, nullptr, F::InvoiceNotes,
     "تا شماره سيستمي"},
    {"txtMinCode", "min-code", K::Number, "Code>= ?", nullptr, nullptr, F::InvoiceNotes,
     "از شماره تاييد شده"},
    {"txtMaxCode", "max-code", K::Number, "Code<= ?", nullptr, nullptr, F::InvoiceNotes,
     "تا شماره تاييد شده"},
    {"txtMinDistID", "min-dist", K::Number, "{DistributionInvoiceID>= ?}", nullptr, nullptr,
     F::InvoiceNotes, "از شماره حواله توزيع"},
    {"txtMaxDistID", "max-dist", K::Number, "{DistributionInvoiceID<= ?}", nullptr, nullptr,
     F::InvoiceNotes, "تا شماره حواله توزيع"},
    {"txtMinMCode", "manual-code", K::Contains, "", nullptr, nullptr, F::InvoiceManualCode,
     "شماره دستي (شامل)"},
    {"txtMaxMCode", "max-manual-code", K::Text, "ManualCode<= ?", nullptr, nullptr, F::InvoiceNotes,
     "تا شماره دستي"},
    {"chkNaghd", "no-cash", K::Unticked, "IsPaidByCash=0", nullptr, nullptr, F::InvoiceNotes,
     "بدون فاكتورهاي نقدي"},
    {"chkNotNaghd", "no-credit", K::Unticked, "IsPaidByCash=1", nullptr, nullptr, F::InvoiceNotes,
     "بدون فاكتورهاي غير نقدي"},
    {"chkFormal", "no-formal", K::Unticked, "IsFormal=0", nullptr, nullptr, F::InvoiceNotes,
     "بدون فاكتورهاي رسمي"},
    {"chkInFormal", "no-informal", K::Unticked, "IsFormal=1", nullptr, nullptr, F::InvoiceNotes,
     "بدون فاكتورهاي غير رسمي"},
    {"txtBarcode", "barcode", K::Code,
     "ID in (Select InvoiceID from tblSaleInvoiceDetail where Barcode = ?)", nullptr, nullptr,
     F::InvoiceNotes, "باركد كالا"},
    {"txtISBN", "goods-code", K::Code,
     "ID in (Select InvoiceID from tblSaleInvoiceDetail where BarCode in (Select BarCode from "
     "tblGood where Code = ?))",
     nullptr, nullptr, F::InvoiceNotes, "كد كالا"},
    {"txtTitle", "goods-name", K::Contains, "", nullptr, nullptr, F::GoodsName, "نام كالا"},
    {"sltCreator", "creator", K::Id, "CreatorID = ?", nullptr, nullptr, F::InvoiceNotes,
     "تهيه كننده"},
    {"cmbSLSInvoiceType", "type", K::Id, "TypeID = ?", nullptr, nullptr, F::InvoiceNotes,
     "نوع فاكتور"},
    {"mptContract", "contract", K::Id, "{ContractID = ?}", "chkAllContract",
     "{ContractID in (Select ? union Select ChildID from tblAccountContractProjectParent Where "
     "ContractID = ?)}",
     F::InvoiceNotes, "پروژه/قرارداد"},
    {"gmpProductGroup", "goods-group", K::Id,
     "select barcode from tblGood where GoodGroupID in (select ID from tblGoodGroup where ID=?)",
     "chkAllLBranches",
     "select barcode from tblGood where GoodGroupID in (select ID from tblGoodGroup where ID=?) or "
     "GoodGroupID in (Select ChildID from tblGoodGroupParent where ID = ?)",
     F::InvoiceNotes, "گروه كالا", true},
    {"sltPromoter", "promoter", K::Id,
     "PromoterID = ? OR ID in (Select x.InvoiceID from tblSaleInvoiceDetail x Where "
     "{x.PromoterID=?})",
     nullptr, nullptr, F::InvoiceNotes, "بازارياب"},
    {"sltPromoter2", "promoter2", K::Id, "PromoterID2 = ?", nullptr, nullptr, F::InvoiceNotes,
     "بازارياب 2"},
    {"sltPricingMethod", "pricing-method", K::Id, "PricingMethodID = ?", nullptr, nullptr,
     F::InvoiceNotes, "نوع قيمتگذاري"},
    {"cmbPreCond", "precondition", K::Id, "PreConditionID = ?", nullptr, nullptr, F::InvoiceNotes,
     "شرايط فروش"},
    {"gmpBuyerEmployee", "buyer-employee", K::Id, "TypeID in (3,4) and {ObjectID1 = ?}", nullptr,
     nullptr, F::InvoiceNotes, "كارمند خريدار"},
    {"gmpBranch", "branch", K::Id, "BranchID = ?", nullptr, nullptr, F::InvoiceNotes, "شعبه"},
    {"dtpBeginCreateDate", "from", K::DayStart, "CreateDate >= ?", nullptr, nullptr,
     F::InvoiceNotes, "از تاريخ (yyyy/mm/dd)"},
    {"dtpEndCreateDate", "to", K::DayAfter, "CreateDate < ?", nullptr, nullptr, F::InvoiceNotes,
     "تا تاريخ"},
    {"dtpBeginClearDate", "clear-from", K::JalaliText, "FarsiClearDate >= ?", nullptr, nullptr,
     F::InvoiceNotes, "از تاريخ تسويه"},
    {"dtpEndClearDate", "clear-to", K::JalaliText, "FarsiClearDate <= ?", nullptr, nullptr,
     F::InvoiceNotes, "تا تاريخ تسويه"},
    {"txtBeginTotalDiscountPrcnt", "min-discount-percent", K::Number, "DiscountPercent >= ?",
     nullptr, nullptr, F::InvoiceNotes, "از درصد تخفيف"},
    {"txtBeginDiscountValue", "min-discount", K::Number, "DiscountValue >= ?", nullptr, nullptr,
     F::InvoiceNotes, "از مبلغ تخفيف"},
    {"txtEndTotalDiscountPrcnt", "max-discount-percent", K::Number, "DiscountPercent <= ?", nullptr,
     nullptr, F::InvoiceNotes, "تا درصد تخفيف"},
    {"txtEndDiscountValue", "max-discount", K::Number, "DiscountValue <= ?", nullptr, nullptr,
     F::InvoiceNotes, "تا مبلغ تخفيف"},
    {"txtBeginSuCharge", "min-surcharge", K::Number, "SuCharge >= ?", nullptr, nullptr,
     F::InvoiceNotes, "از هزينه اضافي"},
    {"txtEndSuCharge", "max-surcharge", K::Number, "SuCharge <= ?", nullptr, nullptr,
     F::InvoiceNotes, "تا هزينه اضافي"},
    {"sltCustomer", "customer", K::Id, "TypeID <> 4 and CustomerID = ?", "chkAllCustomer",
     "TypeID <> 4 and ( CustomerID = ? or CustomerID in ( select ChildID from "
     "tblOrganizationParent where ID=?) )",
     F::InvoiceNotes, "مشتري"},
    {"txtBeginGrandTotal", "min-amount", K::Number, "Value >= ?", nullptr, nullptr, F::InvoiceNotes,
     "از مبلغ"},
    {"txtEndGrandTotal", "max-amount", K::Number, "Value <= ?", nullptr, nullptr, F::InvoiceNotes,
     "تا مبلغ"},
    {"txtMinValue", "min-payable", K::Number, "PureTotalValue >= ?", nullptr, nullptr,
     F::InvoiceNotes, "از مبلغ قابل پرداخت"},
    {"txtMaxValue", "max-payable", K::Number, "PureTotalValue <= ?", nullptr, nullptr,
     F::InvoiceNotes, "تا مبلغ قابل پرداخت"},
    {"txtNotes", "notes", K::Contains, "", nullptr, nullptr, F::InvoiceNotes, "ملاحظات"},
    // Both state boxes unticked leave nothing, as both distribution boxes do.
    {"chkTemp", "no-temp", K::Unticked, "Code <> -1", nullptr, nullptr, F::InvoiceNotes,
     "بدون فاكتورهاي موقت"},
    {"chkFinal", "no-final", K::Unticked, "Code = -1", nullptr, nullptr, F::InvoiceNotes,
     "بدون فاكتورهاي نهايي"},
    {"chkDist", "no-distributed", K::Unticked, "DistributionInvoiceID is null", nullptr, nullptr,
     F::InvoiceNotes, "بدون فاكتورهاي توزيع شده"},
    {"chkNonDist", "no-undistributed", K::Unticked, "DistributionInvoiceID is not null", nullptr,
     nullptr, F::InvoiceNotes, "بدون فاكتورهاي توزيع نشده"},
    {"txtCardNoFrom", "min-card", K::Number, "{CardNo >= ?}", nullptr, nullptr, F::InvoiceNotes,
     "از شماره كارت"},
    {"txtCardNoTo", "max-card", K::Number, "{CardNo <= ?}", nullptr, nullptr, F::InvoiceNotes,
     "تا شماره كارت"},
    {"txtBeginTotalQty", "min-qty", K::Number, "SumQty >= ?", nullptr, nullptr, F::InvoiceNotes,
     "از تعداد كل"},
    {"txtEndTotalQty", "max-qty", K::Number, "SumQty <= ?", nullptr, nullptr, F::InvoiceNotes,
     "تا تعداد كل"},
    {"sltPromoterPath", "promoter-path", K::Id,
     "PromoterID in (Select x.EmployeeID from tblDistributionPathPromoters x Where x.PathID in "
     "(?))",
     "chkAllPromoterPath",
     "PromoterID in (Select x.EmployeeID from tblDistributionPathPromoters x Where x.PathID in "
     "(Select ? Union select c.ChildID from vwDistributionPathMinor c Where c.ID=?))",
     F::InvoiceNotes, "منطقه، مسير بازارياب"},
    {"sltCustomerPath", "customer-path", K::Id,
     "CustomerID in (Select x.OrganizationID from tblDistributionOrganization x Where x.PathID in "
     "(?))",
     "chkAllCustomerPath",
     "CustomerID in (Select x.OrganizationID from tblDistributionOrganization x Where x.PathID in "
     "(Select ? Union select c.ChildID from vwDistributionPathMinor c Where c.ID=?))",
     F::InvoiceNotes, "منطقه، مسير مشتري"},
};

QVariant boundValue(const SearchFilter& filter, const QVariant& value) {
    switch (filter.kind) {
        case K::Id:
            return value.toInt();
        case K::Number:
            return QVariant::fromValue(*SearchNumber(value));
        case K::Code:
            return FoldedText(value.toString().trimmed());
        case K::DayStart:
            return QDateTime(value.toDate(), QTime(0, 0));
        case K::DayAfter:
            return QDateTime(value.toDate().addDays(1), QTime(0, 0));
        case K::JalaliText:
            return getFarsiDate(value.toDate());
        default:
            return value.toString();
    }
}

// Invoices with a line of the goods. Few goods are looked up by their lines, all of them; for
// many goods (a common word of their names, a wide group) that is most of the invoices, found
// soonest by reading the newest invoices and looking into their lines, up to a screenful.
SqlCondition invoicesWithGoods(Session& session, const SqlCondition& goods) {
    constexpr int kFewGoods = 100;
    const int count = session
                          .scalar(QStringLiteral("select count(*) from (") + goods.sql +
                                      QStringLiteral(" limit ") + QString::number(kFewGoods + 1) +
                                      QStringLiteral(") q"),
                                  goods.params)
                          .toInt();
    // PostgreSQL reads the goods once as an array; given a subquery, it reads them per invoice.
    const QString goodsSet =
        session.isSqlite() ? QStringLiteral(" in (") + goods.sql + QLatin1Char(')')
                           : QStringLiteral(" = ANY (ARRAY(") + goods.sql + QStringLiteral("))");
    if (count > kFewGoods)
        return {QStringLiteral("exists (select 1 from tblSaleInvoiceDetail d where d.InvoiceID = "
                               "vwSaleInvoiceSearch.ID and d.Barcode") +
                    goodsSet + QLatin1Char(')'),
                goods.params};
    const QString lines =
        QStringLiteral("select d.InvoiceID from tblSaleInvoiceDetail d where d.Barcode in (") +
        goods.sql + QLatin1Char(')');
    if (session.isSqlite())
        return {QStringLiteral("ID in (") + lines + QLatin1Char(')'), goods.params};
    return {QStringLiteral("ID = ANY (ARRAY(") + lines + QStringLiteral("))"), goods.params};
}

// A term in braces is one whose value usually picks few invoices. SQLite's statistics hold no
// more than the average rows of a value, and would read every invoice in date order looking for
// those few: it is told they are few.
QString withRareTerms(QString sql, bool sqlite) {
    sql.replace(QLatin1Char('{'), sqlite ? QStringLiteral("likelihood(") : QString());
    sql.replace(QLatin1Char('}'), sqlite ? QStringLiteral(", 0.001)") : QString());
    return sql;
}

SqlCondition filterCondition(const Context& ctx, const SearchFilter& filter,
                             const SearchValues& values) {
    const QVariant value = values.value(QString::fromLatin1(filter.control));
    if (filter.kind == K::Contains && filter.field == F::GoodsName) {
        const SqlCondition named = RowsContaining(*ctx.session, F::GoodsName, value.toString());
        return invoicesWithGoods(
            *ctx.session, {QStringLiteral("select g.Barcode from tblGood g where g.ID in (") +
                               named.sql + QLatin1Char(')'),
                           named.params});
    }
    if (filter.kind == K::Contains)
        return InvoicesContaining(*ctx.session, filter.field, value.toString());
    const bool wide =
        filter.companion && values.value(QString::fromLatin1(filter.companion)).toBool();
    const QString sql = QString::fromLatin1(wide ? filter.sqlTicked : filter.sql);
    SqlCondition condition{sql, Params(sql.count(QLatin1Char('?')), boundValue(filter, value))};
    if (filter.goods) return invoicesWithGoods(*ctx.session, condition);
    condition.sql = withRareTerms(condition.sql, ctx.session->isSqlite());
    return condition;
}

}  // namespace

const std::vector<SearchFilter>& SearchFilters() {
    return kFilters;
}

const SearchFilter* FindSearchFilter(const QString& control) {
    const auto it = std::find_if(kFilters.begin(), kFilters.end(), [&](const SearchFilter& f) {
        return control == QLatin1String(f.control);
    });
    return it == kFilters.end() ? nullptr : &*it;
}

std::optional<qint64> SearchNumber(const QVariant& value) {
    if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int)
        return value.toLongLong();
    const QString text = FoldedText(value.toString().trimmed());
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (!ok || text.isEmpty() || !std::all_of(text.begin(), text.end(), [](QChar c) {
            return c >= QLatin1Char('0') && c <= QLatin1Char('9');
        }))
        return std::nullopt;
    return n;
}

QString NormalisedPercentText(const QString& typed) {
    const auto n = SearchNumber(typed);
    if (!n || *n <= 100) return typed;
    return QString::number(*n % 100);
}

bool IsFilterSet(const SearchFilter& filter, const QVariant& value) {
    switch (filter.kind) {
        case K::Unticked:
            return value.isValid() && !value.toBool();
        case K::Id:
            return value.isValid() && !value.isNull() && value.toInt() > 0;
        case K::Number:
            return SearchNumber(value).has_value();
        case K::DayStart:
        case K::DayAfter:
        case K::JalaliText:
            return value.toDate().isValid();
        default:
            return !value.toString().trimmed().isEmpty();
    }
}

SqlCondition SearchCondition(const Context& ctx, const SearchValues& values) {
    SqlCondition all;
    for (const SearchFilter& filter : kFilters)
        if (IsFilterSet(filter, values.value(QString::fromLatin1(filter.control))))
            all = all && filterCondition(ctx, filter, values);
    return all && InvoiceAccessRestriction(ctx);
}

}  // namespace si
