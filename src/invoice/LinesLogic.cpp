#include "invoice/LinesLogic.h"

namespace si {

LinesLogic::LinesLogic(InvoiceServices& services) : services_(services) {}

bool LinesLogic::FillInvoiceDetailData(int) {
    return false;
}
bool LinesLogic::FillFlexOneRow(const QString&, int, int, bool, double&) {
    return false;
}
bool LinesLogic::IsForSale(const QString&, int) {
    return true;
}
double LinesLogic::SelectedQty(const QString&, int) const {
    return 0;
}
double LinesLogic::StockOnHand(const QString&) {
    return 0;
}
bool LinesLogic::stockChecked() const {
    return false;
}
double LinesLogic::TempInvoiceQty(const QString&) {
    return 0;
}
bool LinesLogic::commitCell(int, int, const QString&) {
    return false;
}
bool LinesLogic::checkIntegerUnit(int, bool) {
    return true;
}
bool LinesLogic::DeleteRow(int) {
    return false;
}
GridAction LinesLogic::handleKey(int, Qt::KeyboardModifiers, int, int) {
    return GridAction::None;
}
bool LinesLogic::setServicedGoods(int, const QString&) {
    return false;
}
void LinesLogic::configureColumns() {}
void LinesLogic::RecomputeStockColumn() {}
QVector<UnitChoice> LinesLogic::unitsOf(const QString&) {
    return {};
}
bool LinesLogic::changeUnit(int, int) {
    return false;
}
bool LinesLogic::changeDescription(int, const QString&) {
    return false;
}
QVector<StockTraceRow> LinesLogic::stockTrace(const QString&) {
    return {};
}

}  // namespace si
