#include "invoice/TotalsLogic.h"

namespace si {

TotalsLogic::TotalsLogic(InvoiceServices& services) : services_(services) {}

void TotalsLogic::RecomputeRowSum(int, LineTableModel&) {}
Money TotalsLogic::ComputeTotalDiscount() const {
    return {};
}
void TotalsLogic::ComputeTotalTaxAdded() {}
Money TotalsLogic::ComputeGrandTotal() {
    return {};
}
Money TotalsLogic::ComputeGrandTotalQuickly() {
    return {};
}
Money TotalsLogic::RoundGrandTotal(Money amount) {
    return amount;
}
void TotalsLogic::ReadTaxPercents() {}
void TotalsLogic::invalidateTaxCache() {}
void TotalsLogic::SyncLineDiscount(int, int, LineTableModel&) {}
void TotalsLogic::MasterDiscountPercentTyped(double) {}
void TotalsLogic::MasterDiscountValueTyped(Money) {}
void TotalsLogic::SetMasterDiscountKind(MasterDiscountKind) {}
bool TotalsLogic::CanEditSurcharges() {
    return false;
}
QVector<SurchargeRow> TotalsLogic::SurchargeRowsForDialog() {
    return {};
}
void TotalsLogic::ApplySurcharges(const QVector<SurchargeRow>&) {}
void TotalsLogic::LoadSurcharges(int) {}
bool TotalsLogic::CanEditDeductions() {
    return false;
}
QVector<DeductionRow> TotalsLogic::DeductionRowsForDialog() {
    return {};
}
bool TotalsLogic::DeductionPercentTyped(DeductionRow&, double) {
    return false;
}
bool TotalsLogic::DeductionValueTyped(DeductionRow&, Money) {
    return false;
}
bool TotalsLogic::ApplyDeductions(const QVector<DeductionRow>&) {
    return false;
}
void TotalsLogic::LoadDeductions(int) {}

}  // namespace si
