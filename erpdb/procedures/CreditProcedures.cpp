// spOrganizationGetAccountInfo_New: a customer's statistics for credit control, as output
// arguments after @OrgID (argument 0), in the order the credit check reads them.
//
// What each output means here:
//  1 @1_Credit, 2 @2_DocumentCredit: the customer's distribution credit
//  (tblDistributionOrganization)
//    when its switch is on, else 0; the extra credit, while today is inside its dates (a null
//    bound is open), raises the credit, or the document credit when only that one is on (the
//    invoice form's credit check follows the same rule).
//  3 @3_RemainedValue: balance of the customer's own accounts (tblAccountRelatedObjects of class
//    7): debit minus credit of every posted row, pre-documents left out.
//  4,5 @4_NonPaidDocument: final invoices of the customer that the receipts assigned to them
//    (tblZelorRelatedForms.AssignedValue, form type 901 on either side) do not settle fully:
//    the amount still open (TotalValue - assigned) and how many they are.
//  6,7 @5_ReturnedDocument, 34 @21_ReturnChequeAge, 35,36 @22_ReturnedCheque: this database keeps
//    no register of cheques or promissory notes, so nothing can come back returned: always 0.
//  8 @6_RemainedCreditValue: @1 - @3.
//  9 @7_RemainedCreditWithTempInvoiceValue: @6 minus the customer's temporary invoices
//    (vwSaleInvoiceSummary.CalcTotalValue).
//  10,11 @8_SumOfSaleInvoice: every final invoice of the customer (TotalValue, count).
//  12,13 @9_LastSaleInvoice: the latest final invoice by date and ID (TotalValue, Jalali date;
//    0 and '' without one).
//  14-17 @10/@11: final invoices dated from the same day two / twelve months ago up to today.
//  18-21 @12/@13: the customer's sale returns (tblSaleReturn by CustomerID) in those windows.
//  22-25 @14/@15: of those returns, the ones whose invoice belonged to a distribution sheet.
//  26,27 @16_SumOfSaleOrder: the customer's sale orders (ordered quantity x price, count).
//  28,29 @17_SumOfInvoicedOrder: of those, the orders that a final invoice names (SaleOrderID).
//  30 @18_NotInvoicedVisitNo: orders (the record of a promoter's visit) that no final invoice
//    names yet.
//  31 @19_DebitAge: days from the oldest final invoice that is still open (as in @4) to today.
//  32,33 @20_SumOfNonPaidSaleInvoice: final invoices with nothing assigned to them at all
//    (TotalValue, count).
//  37,38 @23_DailyInvoice: final invoices dated today.
//  39,40 @24_SaleReturn: every sale return of the customer.
//
// Indexes the statements rely on (all in the schema): tblSaleInvoice (CustomerID, CreateDate),
// tblZelorRelatedForms by reference and by related form, tblAccountRelatedObjects by object,
// tblAccountDocumentDetail (AccountID), tblSaleReturn (CustomerID), tblSaleOrder (CustomerID),
// tblSaleOrderDetail (OrderID), tblSaleInvoice (SaleOrderID), tblDistributionOrganization
// (OrganizationID).

#include <algorithm>

#include "common/Session.h"
#include "erpdb/procedures/ProcedureSupport.h"

namespace si::erpdb {

namespace {

enum Out : int {
    kCredit = 1,
    kDocumentCredit,
    kRemainedValue,
    kNonPaidDocumentValue,
    kNonPaidDocumentQty,
    kReturnedDocumentValue,
    kReturnedDocumentQty,
    kRemainedCreditValue,
    kRemainedCreditWithTempInvoiceValue,
    kSumOfSaleInvoiceValue,
    kSumOfSaleInvoiceQty,
    kLastSaleInvoiceValue,
    kLastSaleInvoiceFarsiDate,
    kSumOf2MonthSaleValue,
    kSumOf2MonthSaleQty,
    kSumOf12MonthSaleValue,
    kSumOf12MonthSaleQty,
    kSumOf2MonthSaleReturnValue,
    kSumOf2MonthSaleReturnQty,
    kSumOf12MonthSaleReturnValue,
    kSumOf12MonthSaleReturnQty,
    kSumOf2MonthDistributionReturnValue,
    kSumOf2MonthDistributionReturnQty,
    kSumOf12MonthDistributionReturnValue,
    kSumOf12MonthDistributionReturnQty,
    kSumOfSaleOrderValue,
    kSumOfSaleOrderQty,
    kSumOfInvoicedOrderValue,
    kSumOfInvoicedOrderQty,
    kNotInvoicedVisitNo,
    kDebitAge,
    kSumOfNonPaidSaleInvoiceValue,
    kSumOfNonPaidSaleInvoiceQty,
    kReturnChequeAge,
    kReturnedChequeValue,
    kReturnedChequeQty,
    kDailyInvoiceValue,
    kDailyInvoiceQty,
    kSaleReturnValue,
    kSaleReturnQty,
};

QVariant M(Money m) {
    return QVariant::fromValue(m);
}

// The day windows the statistics are counted in; each runs up to the end of today.
struct Windows {
    explicit Windows(const QDate& today)
        : today(today),
          tomorrow(today.addDays(1)),
          twoMonths(today.addMonths(-2)),
          twelveMonths(today.addMonths(-12)) {}
    QDate today, tomorrow, twoMonths, twelveMonths;
};

bool InsideDates(const Row& r, const QDate& today) {
    const QDate begin = r.date(u"ExtraCreditBeginDate");
    const QDate end = r.date(u"ExtraCreditEndDate");
    return (!begin.isValid() || begin <= today) && (!end.isValid() || today <= end);
}

void WriteCredits(Session& s, int org, const QDate& today, QVariantList& args) {
    Money credit, documentCredit;
    const auto r = s.first(QStringLiteral("select * from tblDistributionOrganization where "
                                          "OrganizationID = ? order by ID limit 1"),
                           {org});
    if (r) {
        const bool enableCredit = r->toBool(u"EnableCredit");
        const bool enableDocument = r->toBool(u"EnableDocumentCredit");
        if (enableCredit) credit = r->money(u"Credit");
        if (enableDocument) documentCredit = r->money(u"DocumentCredit");
        const bool extra = r->toBool(u"EnableExtraCredit") && InsideDates(*r, today);
        if (extra && enableCredit)
            credit += r->money(u"ExtraCredit");
        else if (extra && enableDocument)
            documentCredit += r->money(u"ExtraCredit");
    }
    SetOut(args, kCredit, M(credit));
    SetOut(args, kDocumentCredit, M(documentCredit));
}

Money AccountBalance(Session& s, int org) {
    return Money::fromVariant(s.scalar(
        QStringLiteral(
            "select coalesce(sum(coalesce(d.DebitValue, 0) - coalesce(d.CreditValue, 0)), 0) "
            "from tblAccountDocumentDetail d inner join tblAccountDocument h on h.ID = "
            "d.DocumentID where d.AccountID in (select r.AccountID from tblAccountRelatedObjects "
            "r where r.RelatedClassID = 7 and r.RelatedObjectID = ?) and "
            "coalesce(h.IsPreDocument, 0) = 0"),
        {org}));
}

// One row over the customer's final invoices with what receipts settled of each.
const QString kInvoiceStatistics = QStringLiteral(
    "with inv as (select ID, CreateDate, coalesce(TotalValue, 0) as TotalValue from tblSaleInvoice "
    "where CustomerID = ? and Code is not null), "
    "paid as (select x.ID, sum(x.AssignedValue) as Assigned from ("
    "select rf.ReferenceFormID as ID, coalesce(rf.AssignedValue, 0) as AssignedValue from "
    "tblZelorRelatedForms rf where rf.ReferenceFormTypeID = 901 and rf.ReferenceFormID in "
    "(select ID from inv) "
    "union all select rf.RelatedFormID, coalesce(rf.AssignedValue, 0) from tblZelorRelatedForms rf "
    "where rf.RelatedFormTypeID = 901 and rf.RelatedFormID in (select ID from inv) and not "
    "(rf.ReferenceFormTypeID = 901 and rf.ReferenceFormID = rf.RelatedFormID)) x group by x.ID), "
    "bal as (select inv.CreateDate, inv.TotalValue, coalesce(paid.Assigned, 0) as Assigned "
    "from inv left join paid on paid.ID = inv.ID) "
    "select count(*) as AllQty, coalesce(sum(TotalValue), 0) as AllValue, "
    "coalesce(sum(case when CreateDate >= ? and CreateDate < ? then 1 else 0 end), 0) as Qty2, "
    "coalesce(sum(case when CreateDate >= ? and CreateDate < ? then TotalValue else 0 end), 0) "
    "as Value2, "
    "coalesce(sum(case when CreateDate >= ? and CreateDate < ? then 1 else 0 end), 0) as Qty12, "
    "coalesce(sum(case when CreateDate >= ? and CreateDate < ? then TotalValue else 0 end), 0) "
    "as Value12, "
    "coalesce(sum(case when CreateDate >= ? and CreateDate < ? then 1 else 0 end), 0) as QtyDay, "
    "coalesce(sum(case when CreateDate >= ? and CreateDate < ? then TotalValue else 0 end), 0) "
    "as ValueDay, "
    "coalesce(sum(case when TotalValue > Assigned then 1 else 0 end), 0) as OpenQty, "
    "coalesce(sum(case when TotalValue > Assigned then TotalValue - Assigned else 0 end), 0) "
    "as OpenValue, "
    "min(case when TotalValue > Assigned then CreateDate end) as OldestOpen, "
    "coalesce(sum(case when Assigned <= 0 and TotalValue > 0 then 1 else 0 end), 0) as "
    "UnpaidQty, "
    "coalesce(sum(case when Assigned <= 0 and TotalValue > 0 then TotalValue else 0 end), 0) as "
    "UnpaidValue from bal");

void WriteInvoiceStatistics(Session& s, int org, const Windows& w, QVariantList& args) {
    const QVariant t = w.tomorrow;
    const Row r = *s.first(kInvoiceStatistics, {org, w.twoMonths, t, w.twoMonths, t, w.twelveMonths,
                                                t, w.twelveMonths, t, w.today, t, w.today, t});
    SetOut(args, kSumOfSaleInvoiceValue, M(r.money(u"AllValue")));
    SetOut(args, kSumOfSaleInvoiceQty, r.toInt(u"AllQty"));
    SetOut(args, kSumOf2MonthSaleValue, M(r.money(u"Value2")));
    SetOut(args, kSumOf2MonthSaleQty, r.toInt(u"Qty2"));
    SetOut(args, kSumOf12MonthSaleValue, M(r.money(u"Value12")));
    SetOut(args, kSumOf12MonthSaleQty, r.toInt(u"Qty12"));
    SetOut(args, kDailyInvoiceValue, M(r.money(u"ValueDay")));
    SetOut(args, kDailyInvoiceQty, r.toInt(u"QtyDay"));
    SetOut(args, kNonPaidDocumentValue, M(r.money(u"OpenValue")));
    SetOut(args, kNonPaidDocumentQty, r.toInt(u"OpenQty"));
    SetOut(args, kSumOfNonPaidSaleInvoiceValue, M(r.money(u"UnpaidValue")));
    SetOut(args, kSumOfNonPaidSaleInvoiceQty, r.toInt(u"UnpaidQty"));
    const QDate oldest = r.date(u"OldestOpen");
    SetOut(args, kDebitAge,
           oldest.isValid() ? std::max<qint64>(0, oldest.daysTo(w.today)) : qint64(0));
    const auto last =
        s.first(QStringLiteral("select coalesce(TotalValue, 0) as TotalValue, FarsiCreateDate from "
                               "tblSaleInvoice where CustomerID = ? and Code is not null order by "
                               "CreateDate desc, ID desc limit 1"),
                {org});
    SetOut(args, kLastSaleInvoiceValue, M(last ? last->money(u"TotalValue") : Money()));
    SetOut(args, kLastSaleInvoiceFarsiDate, last ? last->text(u"FarsiCreateDate") : QString());
}

const QString kReturnStatistics = QStringLiteral(
    "with ret as (select r.CreateDate, coalesce(r.TotalValue, 0) as TotalValue, case when "
    "coalesce(s.DistributionInvoiceID, 0) > 0 then 1 else 0 end as Dist from tblSaleReturn r "
    "left join tblSaleInvoice s on s.ID = r.SaleInvoiceID where r.CustomerID = ?) "
    "select count(*) as AllQty, coalesce(sum(TotalValue), 0) as AllValue, "
    "coalesce(sum(case when CreateDate >= ? and CreateDate < ? then 1 else 0 end), 0) as Qty2, "
    "coalesce(sum(case when CreateDate >= ? and CreateDate < ? then TotalValue else 0 end), 0) "
    "as Value2, "
    "coalesce(sum(case when CreateDate >= ? and CreateDate < ? then 1 else 0 end), 0) as Qty12, "
    "coalesce(sum(case when CreateDate >= ? and CreateDate < ? then TotalValue else 0 end), 0) "
    "as Value12, "
    "coalesce(sum(case when Dist = 1 and CreateDate >= ? and CreateDate < ? then 1 else 0 end), "
    "0) as DistQty2, "
    "coalesce(sum(case when Dist = 1 and CreateDate >= ? and CreateDate < ? then TotalValue else "
    "0 end), 0) as DistValue2, "
    "coalesce(sum(case when Dist = 1 and CreateDate >= ? and CreateDate < ? then 1 else 0 end), "
    "0) as DistQty12, "
    "coalesce(sum(case when Dist = 1 and CreateDate >= ? and CreateDate < ? then TotalValue else "
    "0 end), 0) as DistValue12 from ret");

void WriteReturnStatistics(Session& s, int org, const Windows& w, QVariantList& args) {
    const QVariant t = w.tomorrow;
    const QVariant m2 = w.twoMonths;
    const QVariant m12 = w.twelveMonths;
    const Row r = *s.first(kReturnStatistics,
                           {org, m2, t, m2, t, m12, t, m12, t, m2, t, m2, t, m12, t, m12, t});
    SetOut(args, kSumOf2MonthSaleReturnValue, M(r.money(u"Value2")));
    SetOut(args, kSumOf2MonthSaleReturnQty, r.toInt(u"Qty2"));
    SetOut(args, kSumOf12MonthSaleReturnValue, M(r.money(u"Value12")));
    SetOut(args, kSumOf12MonthSaleReturnQty, r.toInt(u"Qty12"));
    SetOut(args, kSumOf2MonthDistributionReturnValue, M(r.money(u"DistValue2")));
    SetOut(args, kSumOf2MonthDistributionReturnQty, r.toInt(u"DistQty2"));
    SetOut(args, kSumOf12MonthDistributionReturnValue, M(r.money(u"DistValue12")));
    SetOut(args, kSumOf12MonthDistributionReturnQty, r.toInt(u"DistQty12"));
    SetOut(args, kSaleReturnValue, M(r.money(u"AllValue")));
    SetOut(args, kSaleReturnQty, r.toInt(u"AllQty"));
}

void WriteOrderStatistics(Session& s, int org, QVariantList& args) {
    const Row r = *s.first(
        QStringLiteral(
            "with ord as (select CAST((select coalesce(sum(coalesce(d.Qty, 0) * "
            "coalesce(d.RetailPrice, 0)), 0) from tblSaleOrderDetail d where d.OrderID = o.ID) "
            "AS NUMERIC(19,4)) as OrderValue, case when exists (select 1 from tblSaleInvoice i "
            "where i.SaleOrderID = o.ID and i.Code is not null) then 1 else 0 end as Invoiced "
            "from tblSaleOrder o where o.CustomerID = ?) "
            "select count(*) as OrderQty, coalesce(sum(OrderValue), 0) as OrderValue, "
            "coalesce(sum(Invoiced), 0) as InvoicedQty, coalesce(sum(case when Invoiced = 1 then "
            "OrderValue else 0 end), 0) as InvoicedValue from ord"),
        {org});
    SetOut(args, kSumOfSaleOrderValue, M(r.money(u"OrderValue")));
    SetOut(args, kSumOfSaleOrderQty, r.toInt(u"OrderQty"));
    SetOut(args, kSumOfInvoicedOrderValue, M(r.money(u"InvoicedValue")));
    SetOut(args, kSumOfInvoicedOrderQty, r.toInt(u"InvoicedQty"));
    SetOut(args, kNotInvoicedVisitNo, r.toInt(u"OrderQty") - r.toInt(u"InvoicedQty"));
}

Money TemporaryInvoices(Session& s, int org) {
    return Money::fromVariant(
        s.scalar(QStringLiteral("select coalesce(sum(v.CalcTotalValue), 0) from "
                                "vwSaleInvoiceSummary v inner join tblSaleInvoice s on v.ID = "
                                "s.ID where s.Code is null and s.CustomerID = ?"),
                 {org}));
}

// @OrgID, then the forty outputs listed above.
QVariant spOrganizationGetAccountInfo_New(Session& s, QVariantList& args) {
    const int org = ArgInt(args, 0, -1);
    const Windows windows(s.today());
    WriteCredits(s, org, windows.today, args);
    const Money remained = AccountBalance(s, org);
    SetOut(args, kRemainedValue, M(remained));
    const Money remainedCredit = Money::fromVariant(args[kCredit]) - remained;
    SetOut(args, kRemainedCreditValue, M(remainedCredit));
    SetOut(args, kRemainedCreditWithTempInvoiceValue,
           M(remainedCredit - TemporaryInvoices(s, org)));
    WriteInvoiceStatistics(s, org, windows, args);
    WriteReturnStatistics(s, org, windows, args);
    WriteOrderStatistics(s, org, args);
    for (int none : {kReturnedDocumentValue, kReturnedChequeValue})
        SetOut(args, none, M(Money()));
    for (int none : {kReturnedDocumentQty, kReturnChequeAge, kReturnedChequeQty})
        SetOut(args, none, 0);
    return 0;
}

}  // namespace

void RegisterCreditProcedures(ProcedureRegistry& registry) {
    registry.add(QStringLiteral("spOrganizationGetAccountInfo_New"),
                 spOrganizationGetAccountInfo_New);
}

}  // namespace si::erpdb
