#include "search/ResultColumns.h"

namespace si {

namespace {

using CF = ColumnFormat;

ResultColumn column(const char* header, const char* field, CF format, const char* sortKey) {
    return {QString::fromUtf8(header), field, format, sortKey};
}

// Columns 0 to 12 and 14 to 20 are common to both grids.
std::vector<ResultColumn> commonColumns() {
    return {
        column("رديف", nullptr, CF::RowNumber, kNewestKey),
        column("وضعيت", "Code", CF::State, "Code"),
        column("شماره سيستمي", "ID", CF::Whole, "ID"),
        column("شماره تاييد شده", "Code", CF::Whole, "Code"),
        column("تاريخ", "FarsiCreateDate", CF::Text, kNewestKey),
        column("تهيه كننده", "CreatorName", CF::Text, "coalesce(CreatorName, '')"),
        column("کد مشتري", "CustomerCode", CF::Text, "coalesce(CustomerCode, '')"),
        column("مشتري", "CustomerName", CF::Text, "coalesce(CustomerName, '')"),
        column("بازارياب", "PromoterName", CF::Text, "coalesce(PromoterName, '')"),
        column("گروه قيمتگذاري", "PricingGroup", CF::Text, "coalesce(PricingGroup, '')"),
        column("ملاحظات", "Notes", CF::Text, "coalesce(Notes, '')"),
        column("شماره سفارش معطوف", "SLSOrderCode", CF::Whole, "coalesce(SLSOrderCode, 0)"),
        column("شماره حواله توزيع", "DistributionInvoiceID", CF::Whole,
               "coalesce(DistributionInvoiceID, 0)"),
        column("", "FarsiDeliverDateTime", CF::Text, "coalesce(FarsiDeliverDateTime, '')"),
        column("تعداد عناوين", "TitlesNum", CF::Whole, "coalesce(TitlesNum, 0)"),
        column("تعداد كل", "SumQty", CF::Amount, "coalesce(SumQty, 0)"),
        column("تخفيف كلي سطرها(مبلغ)", "RowDiscountValue", CF::Amount,
               "coalesce(RowDiscountValue, 0)"),
        column("تخفيف كلي(درصد)", "DiscountPercent", CF::Percent, "DiscountPercent"),
        column("تخفيف كلي(مبلغ)", "DiscountValue", CF::Amount, "DiscountValue"),
        column("هزينه اضافي", "SuchargeValue", CF::Amount, "SuchargeValue"),
        column("مبلغ", "TotalValue", CF::Amount, "TotalValue"),
    };
}

}  // namespace

std::vector<ResultColumn> ListColumns(bool tempList) {
    std::vector<ResultColumn> columns = commonColumns();
    columns[9].header =
        tempList ? QStringLiteral("گروهقيمتگذاري ") : QStringLiteral("گروهقيمتگذاري");
    columns[13].header = QStringLiteral("تاريخ تحويل");
    columns.push_back(column("مبلغ دريافتي", "PureTotalValue", CF::Amount, "PureTotalValue"));
    columns.push_back(column("", "ContractName", CF::Text, "coalesce(ContractName, '')"));
    columns.push_back(
        column("بازارياب2", "PromoterName2", CF::Text, "coalesce(PromoterName2, '')"));
    return columns;
}

std::vector<ResultColumn> SearchColumns() {
    std::vector<ResultColumn> columns = commonColumns();
    columns.push_back(
        column("مبلغ قابل پرداخت", "CalcTotalValue", CF::Amount, "coalesce(CalcTotalValue, 0)"));
    columns.push_back(
        column("پروژه/قرارداد", "ContractName", CF::Text, "coalesce(ContractName, '')"));
    columns.push_back(
        column("بازارياب2", "PromoterName2", CF::Text, "coalesce(PromoterName2, '')"));
    columns.push_back(
        column("شرايط فروش", "SalePreCondition", CF::Text, "coalesce(SalePreCondition, '')"));
    return columns;
}

}  // namespace si
