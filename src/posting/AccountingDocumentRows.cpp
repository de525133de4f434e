// The rows of the accounting document after the fixed amounts: surcharges, rounding, the share
// rows and the customer's dependent accounts, and the accounting objects of every row.

#include <vector>

#include "common/Messages.h"
#include "common/Numbers.h"
#include "posting/AccountingDocument.h"
#include "posting/AccountingDocumentPosting.h"

namespace si {

namespace {

// Half a percent of the net amount, in whole Rials.
Money halfPercentOf(Money net) {
    return RoundHalfUp(net.times(0.005), 0);
}

}  // namespace

// An object is attached only when the row's account takes objects of the class, with the
// sequence declared for it, and never twice.
void AccountingDocument::InsertDocumentObject(int documentId, int rowNumber, int accountId,
                                              int classId, int objectId) {
    ctx().db().exec(
        QStringLiteral(
            "insert into tblAccountDocumentObjects (DocumentID, RowNumber, Sequence, ClassID, "
            "ObjectID) Select CAST(? AS INTEGER), CAST(? AS INTEGER), ac.Sequence, "
            "CAST(? AS INTEGER), CAST(? AS INTEGER) from tblAccountRelatedClasses ac Where "
            "ac.AccountID=? and ac.ClassID=? and not Exists(Select x.ID from "
            "tblAccountDocumentObjects x where x.ClassID=? and x.DocumentID=? and "
            "x.RowNumber=?)"),
        {documentId, rowNumber, classId, objectId, accountId, classId, classId, documentId,
         rowNumber});
}

void AccountingDocument::addBranchAndPromoter(const Posting& p, int row, int account) {
    if (header().branchId > 0)
        InsertDocumentObject(p.documentId, row, account, kClassBranch, header().branchId);
    if (header().promoterId > 0)
        InsertDocumentObject(p.documentId, row, account, kClassEmployee, header().promoterId);
}

void AccountingDocument::addObjects1And2(const Posting& p, int row, int account) {
    for (const AccountingObject& o : {invoice_.parties.object1, invoice_.parties.object2})
        if (o.filled() && o.classId > 0)
            InsertDocumentObject(p.documentId, row, account, o.classId, o.id);
}

void AccountingDocument::addObjectRowDirectly(const Posting& p, int row, int sequence, int classId,
                                              int objectId) {
    ctx().db().exec(QStringLiteral("Insert into tblAccountDocumentObjects (DocumentID,RowNumber,"
                                   "Sequence,ClassID,ObjectID) Values (?,?,?,?,?)"),
                    {p.documentId, row, sequence, classId, objectId});
}

// Each surcharge goes to the account of its type (tblZelorSuchargeType.AccountCode), numbered
// after 80 by its place among the invoice's surcharges.
void AccountingDocument::writeSurchargeRows(const Posting& p) {
    const RowSet rows = ctx().db().query(
        QStringLiteral(
            "select sc.*, (Select x.ID from tblAccount x Where x.Code in (Select s.AccountCode "
            "from tblZelorSuchargeType s Where s.ID=sc.SuchargeTypeID) order by x.ID limit 1) as "
            "SuchargeAccountID, (Select s.AccountCode from tblZelorSuchargeType s Where "
            "s.ID=sc.SuchargeTypeID) as AccountCode, (Select x.Name from "
            "vwZelorSuchargeTypeMajor x Where x.ID=sc.SuchargeTypeID) as SuchargeName from "
            "tblSaleInvoiceSucharge sc Where coalesce(sc.Value,0)>0 and sc.InvoiceID=? order "
            "by sc.ID"),
        {invoice_.id()});
    for (int i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        const Money value = r.money(u"Value");
        if (value <= Money()) continue;
        const int account = r.toInt(u"SuchargeAccountID", -1);
        const int row = DocRow::FirstSurcharge + i;
        if (account <= 0) {
            rowsWithoutAccount_ << row;
            ShowMessage(
                ctx(), QStringLiteral("اشکال"),
                QStringLiteral("حساب معين مربوط به هزينه «") + r.text(u"SuchargeName") +
                    QStringLiteral("» يافت نشد. به جدول tblZelorSuchargeType مراجعه کنيد."));
            continue;
        }
        writeRow(p, row, account, Money(), value, kDocumentTypeOther);
        addBranchAndPromoter(p, row, account);
    }
}

// A positive rounding amount is what the grand total was rounded down by: the customer owes less,
// so it is a debit; a negative one a credit.
void AccountingDocument::writeRoundingRow(const Posting& p) {
    const Money round = invoice_.amounts.RoundDown;
    if (round.isZero()) return;
    const int account = p.accounts.RoundAccountID;
    if (account <= 0) {
        rowsWithoutAccount_ << DocRow::Rounding;
        ShowMessage(ctx(), QStringLiteral("اشکال در سند"),
                    QStringLiteral("حساب معين مربوط به تخفيف در جدول نوع فاکتور تنظيم نشده است!"));
        return;
    }
    writeRow(p, DocRow::Rounding, account, round > Money() ? round : Money(),
             round < Money() ? round.abs() : Money(), kDocumentTypeOther);
    addObjects1And2(p, DocRow::Rounding, account);
    addBranchAndPromoter(p, DocRow::Rounding, account);
}

// Rows 9 and 10 debit and rows 12 and 13 credit the same half percent, so they cancel in pairs;
// row 11 carries the dependent accounts' rows.
void AccountingDocument::writeShareRows(const Posting& p) {
    const AccountingObject& object1 = invoice_.parties.object1;
    const int promoter = header().promoterId;
    const InvoiceTypeAccounts& a = p.accounts;
    const Money share = halfPercentOf(p.net);
    auto shareRow = [&](int row, int account, bool debit) {
        if (!writeRow(p, row, account, debit ? share : Money(), debit ? Money() : share)) return;
        if (object1.filled() && object1.classId > 0)
            addObjectRowDirectly(p, row, 1, object1.classId, object1.id);
        // The promoter follows object 1 in the row's object sequence.
        if (promoter > 0) addObjectRowDirectly(p, row, 2, kClassEmployee, promoter);
    };
    shareRow(DocRow::StackholderDiscount, a.StackholderDiscountAccountID, true);
    shareRow(DocRow::AdversDiscount, a.AdversDiscountAccountID, true);
    writeDependentRows(p);
    shareRow(DocRow::StackholderShare, a.StackholderShareAccountID, false);
    shareRow(DocRow::AdversShare, a.AdversShareAccountID, false);
}

// Each dependent account of the customer takes its share of the net amount (SharePercent, else
// the fixed ShareValue) as a credit row from 14 upward; row 11 debits their sum, so the rows
// balance among themselves. Rows without an amount are left out.
void AccountingDocument::writeDependentRows(const Posting& p) {
    if (p.accounts.EduDiscountAccountID <= 0) return;
    const RowSet dependents = ctx().db().query(
        QStringLiteral("Select * from tblOrganizationDependentAccounts Where OrganizationID =? "
                       "order by ID"),
        {header().customerId});
    struct Dependent {
        int account;
        int organization;
        Money amount;
    };
    std::vector<Dependent> rows;
    Money sum;
    for (const Row& r : dependents) {
        const double percent = r.toDouble(u"SharePercent");
        const Money amount =
            percent > 0 ? RoundHalfUp(p.net.times(percent / 100), 0) : r.money(u"ShareValue");
        const int account =
            r.toInt(u"AccountID", -1) > 0 ? r.toInt(u"AccountID") : p.accounts.EduShareAccountID;
        if (amount <= Money() || account <= 0) continue;
        rows.push_back({account, r.toInt(u"DependentOrganizationID", -1), amount});
        sum += amount;
    }
    if (rows.empty()) return;
    writeRow(p, DocRow::EduDiscount, p.accounts.EduDiscountAccountID, sum, Money());
    int row = DocRow::FirstDependent;
    for (const Dependent& dep : rows) {
        writeRow(p, row, dep.account, Money(), dep.amount);
        if (dep.organization > 0)
            addObjectRowDirectly(p, row, 1, kClassDependentOrganization, dep.organization);
        ++row;
    }
}

}  // namespace si
