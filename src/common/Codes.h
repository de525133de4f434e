#pragma once
// The ERP's numbers that the module names: the form types of its postings and links, and the
// rights of the sale invoice (tblZelorFormPermission), each once. Statements that compare a
// column with a fixed form type keep it in their text; everything in C++ uses these names.

namespace si {

namespace FormType {
inline constexpr int Customer = 102;
inline constexpr int InventoryDispatch = 802;
inline constexpr int SaleInvoice = 901;
inline constexpr int SaleReturn = 903;
}  // namespace FormType

// The form-event log's event types (tblZelorFormEvent.EventTypeID). Every change of an invoice's
// state is one event of its own type, so the log tells them apart and its chain covers them all.
namespace EventType {
inline constexpr int InvoiceEdited = 90101;
inline constexpr int InvoiceDeleted = 90102;
inline constexpr int InvoiceFinalSaved = 90103;
inline constexpr int DocumentReposted = 90104;
inline constexpr int InvoiceBackToTemp = 90105;
inline constexpr int InvoiceBatchDeleted = 90106;
inline constexpr int InvoiceBatchRegistered = 90107;
}  // namespace EventType

namespace Right {
inline constexpr int NewInvoice = 90101;
inline constexpr int EditInvoice = 90102;
inline constexpr int DeleteInvoice = 90103;
inline constexpr int Search = 90104;
inline constexpr int TempSave = 90105;
inline constexpr int FinalSave = 90106;
inline constexpr int BackToTemp = 90107;
inline constexpr int UnitPrice = 90108;
inline constexpr int LineDiscount = 90109;
inline constexpr int MasterDiscount = 90110;
inline constexpr int PastDebitCeiling = 90111;
// Printing an invoice, and its lottery sheets.
inline constexpr int PrintInvoice = 90112;
// The same right lets the customer's credit constraints be passed.
inline constexpr int SkipCreditConstraints = PastDebitCeiling;
inline constexpr int BatchDelete = 90113;
inline constexpr int Renumber = 90114;
inline constexpr int AccountTurnover = 90115;
inline constexpr int GeneralReceipt = 90116;
inline constexpr int InvoiceDate = 90118;
inline constexpr int EditInDistribution = 90119;
// The same right lets the sale go on when the promoter's outstanding sales pass his threshold.
inline constexpr int PromoterOverThreshold = EditInDistribution;
inline constexpr int RepostDocument = 90121;
// Also: deleting past the time limit, and the search result's list report.
inline constexpr int EditPastAgeLimit = 90122;
inline constexpr int ExportToSpreadsheet = 90123;
inline constexpr int WholesaleInShop = 90126;
inline constexpr int PreviewInvoice = 90127;
inline constexpr int ZeroPrices = 90130;
// Back to temp although sale assignments or dispatches depend on the invoice (asked, not refused).
inline constexpr int BackToTempWithDependants = 90131;
inline constexpr int LotteryReprint = 90132;
inline constexpr int FormalInvoice = 90133;
inline constexpr int SampleGoodsCheck = 90134;
inline constexpr int Deductions = 90135;
inline constexpr int Surcharges = 90136;
inline constexpr int PricingMethod = 90138;
inline constexpr int LinePricingMethod = 90139;
inline constexpr int SendSms = 90141;
inline constexpr int ScaleBarcodeLayout = 90142;
// The contents of a cash turn, shown and printed.
inline constexpr int CashTurnContents = 20804;
// The accounting module's own right to see its documents.
inline constexpr int AccountDocuments = 303;
}  // namespace Right

}  // namespace si
