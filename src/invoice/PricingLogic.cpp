#include "invoice/PricingLogic.h"
#include "common/Codes.h"

#include <QObject>
#include <QSet>

#include "common/Lookups.h"
#include "common/Messages.h"
#include "invoice/TotalsLogic.h"
#include "invoice/TotalsMath.h"

namespace si {

namespace {

const QString kProblemCaption = QStringLiteral("اشکال");
const QString kNotAllowed = QStringLiteral("شما مجاز به انجام اين عمل نمي باشيد.");

const QString kVisibleMethods = QStringLiteral(
    "ID in (Select x.ID from tblSalePricingMethod x where coalesce(x.MakeVisibleInSelection,1) = "
    "1)");

bool entryMode(int mode) {
    return mode == kModeEdit || mode == kModeNew;
}

}  // namespace

PricingLogic::PricingLogic(InvoiceServices& services) : services_(services) {
    methodChanged_ = QObject::connect(&services_.doc.sltPricingMethod, &SelectorModel::changed,
                                      [this] { sltPricingMethod_Change(); });
}

PricingLogic::~PricingLogic() {
    QObject::disconnect(methodChanged_);
}

SqlCondition PricingLogic::userMethodFilter(int userId) {
    return {QStringLiteral(
                "ID in (Select x.PricingMethodID from tblSalePricingMethodUser x Where x.UserID=?)"
                " and ") +
                kVisibleMethods,
            {userId}};
}

int PricingLogic::getUserPricingMethodID(int userId) {
    const QVariant id = services_.ctx.db().scalar(
        QStringLiteral("Select PricingMethodID from tblSalePricingMethodUser Where UserID=? "
                       "Order by coalesce(IsDefault,0) desc, coalesce(Sequence,999)"),
        {userId});
    return id.isNull() ? 0 : id.toInt();
}

PriceLookup PricingLogic::lookupPrice(const QString& barcode, int method) {
    return GoodPrice(services_.ctx.db(), barcode, method);
}

QString PricingLogic::methodName(int method) {
    return services_.ctx.db()
        .scalar(QStringLiteral("select Name from tblSalePricingMethod where ID=?"), {method})
        .toString();
}

// ---- the header's method -----------------------------------------------------------------

void PricingLogic::sltPricingMethod_Change() {
    InvoiceDocument& doc = services_.doc;
    if (doc.loading || !entryMode(doc.FormMode) || doc.sltPricingMethod.IsEmpty()) return;
    const int method = doc.sltPricingMethod.ID();
    bool anyDiffers = false;
    for (int row : doc.flexDetail.filledRows())
        anyDiffers = anyDiffers || doc.flexDetail.line(row).PricingMethodID != method;
    // Lines already on the method need nothing, so there is nothing to ask.
    if (!anyDiffers) return;
    if (!AskedYes(services_.ctx, QStringLiteral("هشدار"),
                  QStringLiteral("آيا مطمئنيد که اين نوع قيمتگذاري به همه کالاها اعمال شود؟")))
        return;
    ApplyMethodToLines(method);
}

int PricingLogic::ApplyMethodToLines(int method) {
    InvoiceDocument& doc = services_.doc;
    const QString name = methodName(method);
    int changed = 0;
    for (int row : doc.flexDetail.filledRows())
        if (repriceLine(row, method, name)) ++changed;
    services_.totals->ComputeGrandTotal();
    return changed;
}

// Without a price row for the goods under the method the line keeps its price and discount.
bool PricingLogic::repriceLine(int row, int method, const QString& name) {
    InvoiceLine& l = services_.doc.flexDetail.line(row);
    if (l.PricingMethodID == method) return false;
    l.PricingMethodID = method;
    l.PricingMethodName = name;
    const PriceLookup price = lookupPrice(l.BarCode.trimmed(), method);
    if (price.found) {
        l.UnitPrice = price.RetailPrice;
        if (services_.ctx.params.flag(P::BaseUnitPrice)) {
            l.BaseUnitPrice = price.RetailPrice;
            const Money factor = ScaleToBaseParent(services_.ctx.db(), l.ScaleID);
            l.UnitPrice = totals::RoundHalfEvenRials(price.RetailPrice.times(factor.toDouble()));
        }
        if (price.IsDiscountInPercent) {
            l.DiscountPercent = price.DiscountPercent;
            services_.totals->SyncLineDiscount(row, kDiscountAsPercent);
        } else {
            l.DiscountValue = price.DiscountValue;
            services_.totals->SyncLineDiscount(row, kDiscountAsValue);
        }
    }
    services_.totals->RecomputeRowSum(row);
    return true;
}

// ---- FormPricingMethod -------------------------------------------------------------------

SqlCondition PricingLogic::lineMethodFilter(const QString& barcode) const {
    return {QStringLiteral("ID in (Select gsi.PricingMethodID from tblGoodSaleInfo gsi Where "
                           "gsi.Barcode = ?) and ID in (Select x.PricingMethodID from "
                           "tblSalePricingMethodUser x Where x.UserID=?) and ") +
                kVisibleMethods,
            {barcode.trimmed(), services_.ctx.globals.CurrentUserID}};
}

Money PricingLogic::methodPrice(const QString& barcode, int method) {
    return Money::fromVariant(services_.ctx.db().scalar(
        QStringLiteral("select coalesce(a.RetailPrice, (select g.RetailPrice from tblGood g Where "
                       "g.Barcode=a.Barcode)) from tblGoodSaleInfo a Where a.Barcode = ? and "
                       "a.PricingMethodID=?"),
        {barcode.trimmed(), method}));
}

bool PricingLogic::applyLineMethod(int row, int method, const QString& name, Money shownPrice) {
    InvoiceDocument& doc = services_.doc;
    if (!entryMode(doc.FormMode) || row < 0 || row >= doc.flexDetail.rows()) return false;
    if (!HasRight(services_.ctx, Right::LinePricingMethod)) {
        ShowMessage(services_.ctx, kProblemCaption, kNotAllowed);
        return false;
    }
    if (method < 1) {
        ShowMessage(services_.ctx, kProblemCaption,
                    QStringLiteral("نوع قيمت گذاري تعيين نشده است."));
        return false;
    }
    InvoiceLine& l = doc.flexDetail.line(row);
    if (l.PricingMethodID == method) return true;
    l.PricingMethodID = method;
    l.PricingMethodName = name;
    l.UnitPrice = shownPrice;
    services_.totals->RecomputeRowSum(row);
    services_.totals->ComputeGrandTotal();
    return true;
}

// ---- FormPromoter ------------------------------------------------------------------------

int PricingLogic::defaultLinePromoter(int row) const {
    const LineTableModel& grid = services_.doc.flexDetail;
    if (row >= 0 && row < grid.rows() && grid.line(row).PromoterID > 0)
        return grid.line(row).PromoterID;
    return services_.ctx.params.number(P::DefaultLinePromoter);
}

QString PricingLogic::promoterName(int promoter) {
    return services_.ctx.db()
        .scalar(QStringLiteral("select Name from vwSalePromoterMajor where ID=?"), {promoter})
        .toString();
}

bool PricingLogic::applyLinePromoter(int row, int promoter, const QString& promoterName) {
    LineTableModel& grid = services_.doc.flexDetail;
    if (row < 0 || row >= grid.rows()) return false;
    if (!HasRight(services_.ctx, Right::LinePricingMethod)) {
        ShowMessage(services_.ctx, kProblemCaption, kNotAllowed);
        return false;
    }
    if (promoter < 1) {
        ShowMessage(services_.ctx, kProblemCaption, QStringLiteral("بازارياب مشخص نشده است."));
        return false;
    }
    if (!IsLeafEmployee(services_.ctx.db(), promoter)) {
        ShowMessage(services_.ctx, kErrorCaption,
                    QStringLiteral("بازارياب انتخاب شده بايد برگ باشد."));
        return false;
    }
    grid.line(row).PromoterID = promoter;
    grid.line(row).PromoterName = promoterName;
    grid.lineChanged(row);
    return true;
}

// ---- the check on saving -----------------------------------------------------------------

// A method hidden from selection fails even for a user linked to it: an invoice must not be
// saved with a method no clerk could choose now (the stricter of the two readings).
bool PricingLogic::CheckPricingMethods() {
    const InvoiceDocument& doc = services_.doc;
    QSet<int> seen;
    Params params;
    auto add = [&](int method) {
        if (method < 1 || seen.contains(method)) return;
        seen.insert(method);
        params << method;
    };
    add(doc.sltPricingMethod.ID());
    for (int row : doc.flexDetail.filledRows())
        add(doc.flexDetail.line(row).PricingMethodID);
    if (params.isEmpty()) return true;
    QStringList marks(params.size(), QStringLiteral("?"));
    params << services_.ctx.globals.CurrentUserID;
    const auto refused = services_.ctx.db().first(
        QStringLiteral("Select * from tblSalePricingMethod Where ID in (") +
            marks.join(QLatin1Char(',')) +
            QStringLiteral(") and (ID not in (select pu.PricingMethodID from "
                           "tblSalePricingMethodUser pu Where pu.UserID=?) or not (") +
            kVisibleMethods + QStringLiteral(")) order by ID"),
        params);
    if (!refused) return true;
    ShowMessage(services_.ctx, QStringLiteral("اشكال در شيوه قيمت گذاري"),
                QStringLiteral("شما مجاز به استفاده از نوع قيمتگذاري ”") + refused->text(u"Name") +
                    QStringLiteral("“ نمي باشيد."));
    return false;
}

}  // namespace si
