// The change handlers of the header's fields.

#include "common/Codes.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "common/Period.h"
#include "invoice/BilledParty.h"
#include "invoice/CustomerInfo.h"
#include "invoice/HeaderLogic.h"
#include "invoice/LinesLogic.h"
#include "invoice/PricingLogic.h"
#include "invoice/TotalsLogic.h"

namespace si {

namespace {

// Each selector that lists organizations is held to the user's work activities.
SqlCondition workActivityCondition(int user) {
    return {QStringLiteral(
                "( ID in (Select o.ID from tblOrganization o Where o.WorkActivityID in (Select "
                "w.WorkActivityID "
                "from tblUserOrganizationWorkActivity w Where w.UserID=?)) or not exists(Select "
                "w.WorkActivityID from tblUserOrganizationWorkActivity w Where w.UserID=?))"),
            {user, user}};
}

SqlCondition branchEmployees(int branch) {
    return {QStringLiteral(" ID in (Select EmployeeID From vwEmployeeBranch Where BranchID = ?)"),
            {branch}};
}

SqlCondition branchOrganizations(int branch) {
    return {QStringLiteral(
                " ID in (Select OrganizationID From vwOrganizationBranch Where BranchID = ?)"),
            {branch}};
}

}  // namespace

void HeaderLogic::sltCustomer_Change() {
    const int customer = doc_.sltCustomer.IsEmpty() ? -1 : doc_.sltCustomer.ID();
    // In the message line, not a box: the card shows at every choice of a customer.
    if (ctx_.params.flag(P::ShowCrmCard) && customer > 0)
        doc_.lblErrMessage = CustomerCrmCardText(ctx_.db(), customer);
    services_.LoadCustomerCard(customer);
    if (inEntryMode() && customer > 0) {
        if (ctx_.params.number(P::CreditCashBox) > 0) services_.LoadCustomerCreditUsage(customer);
        doc_.sltIntroductionType.setID(GetCustomerIntroductionType(customer));
        if (!ctx_.params.flag(P::ShopMode)) fillPeopleFromPaths(customer);
        doc_.sltPricingMethod.Clear();
        takePricingMethodFrom(
            QStringLiteral("Select coalesce(PricingMethodID,-1) as PricingMethodID from "
                           "tblDistributionOrganization Where OrganizationID = ?"),
            customer);
    } else if (inEntryMode()) {
        doc_.txtUsedCredit.clear();
        doc_.txtRemCredit.clear();
        doc_.txtRemCreditTag.clear();
        doc_.txtCreditPeriod.clear();
    }
    LoadLastInvoiceOfCustomer();
    Q_EMIT doc_.headerChanged();
}

void HeaderLogic::takePricingMethodFrom(const QString& sql, int id) {
    auto row = ctx_.db().first(sql, {id});
    if (!row) return;
    doc_.sltPricingMethod.setID(row->toInt(u"PricingMethodID", -1), true);
}

void HeaderLogic::fillPeopleFromPaths(int customer) {
    Session& s = ctx_.db();
    if (auto row = s.first(
            QStringLiteral(
                "Select EmployeeID from tblDistributionPathPromoters Where PathID in (select "
                "PathID from tblDistributionOrganization Where OrganizationID=?) Order By "
                "coalesce(PriorityNo,0) limit 1"),
            {customer}))
        doc_.sltPromoter.setID(row->toInt(u"EmployeeID"));
    if (auto row = s.first(
            QStringLiteral(
                "Select EmployeeID, PathID from tblDistributionPathPromoters Where PathID in "
                "(select DistributerPathID from tblDistributionOrganization Where "
                "OrganizationID=?) limit 1"),
            {customer})) {
        doc_.distributerPathTag = row->text(u"PathID");
        doc_.sltDistributer.setID(row->toInt(u"EmployeeID"), true);
    }
    if (auto row = s.first(
            QStringLiteral(
                "Select EmployeeID, pathid from tblDistributionPathPromoters Where PathID in "
                "(select AchieverPathID from tblDistributionOrganization Where "
                "OrganizationID=?) limit 1"),
            {customer})) {
        doc_.achieverPathTag = row->text(u"PathID");
        doc_.sltAchiever.setID(row->toInt(u"EmployeeID"), true);
    }
}

void HeaderLogic::sltInventory_Change() {
    const bool chosen = !doc_.sltInventory.IsEmpty();
    doc_.gbSaleTitle = chosen ? QStringLiteral("فروش از انبار ") + doc_.sltInventory.text()
                              : QStringLiteral("فروش");
    if (!chosen) {
        Q_EMIT doc_.headerChanged();
        return;
    }
    Session& s = ctx_.db();
    const int inventory = doc_.sltInventory.ID();
    if (!s.first(QStringLiteral("Select * From tblInventoryUser Where UserID=? and InventoryID=?"),
                 {ctx_.globals.CurrentUserID, inventory})) {
        ShowMessage(ctx_, kErrorCaption,
                    QStringLiteral("كاربر انتخاب شده در اين انبار مجاز به كار نميباشد."));
        doc_.sltInventory.Clear();
        return;
    }
    if (auto row = s.first(QStringLiteral("Select ID,Name,coalesce(StatusTypeID,1) as "
                                          "StatusTypeID,coalesce(ResponsibleID,-1) "
                                          "as ResponsibleID,coalesce(CheckExistance,0) as InvCE "
                                          "from tblInventory where ID =?"),
                           {inventory}))
        doc_.inventory = {row->toInt(u"StatusTypeID", 1), row->toInt(u"ResponsibleID", -1),
                          row->toInt(u"InvCE", 0)};
    if (!doc_.loading) {
        doc_.dtpTempDate = s.today();
        if (ctx_.params.flag(P::ShowStock)) services_.lines->RecomputeStockColumn();
        services_.totals->ComputeGrandTotal();
    }
    Q_EMIT inventoryChosen(inventory);
    Q_EMIT doc_.headerChanged();
}

void HeaderLogic::sltType_Change() {
    const bool chosen = !doc_.sltType.IsEmpty();
    const int type = doc_.sltType.ID();
    if (inEntryMode() && chosen && !CheckUserInvoiceTypeRight(ctx_.globals.CurrentUserID, type)) {
        ShowMessage(ctx_, QStringLiteral("اشکال"),
                    QStringLiteral("شما به اين نوع فاكتور, مجاز نيستيد."));
        doc_.sltType.Clear();
        return;
    }
    doc_.IsGoldSilverPlatinum =
        chosen &&
        ctx_.db()
                .scalar(QStringLiteral(
                            "select IsGoldSilverPlatinum from tblSaleInvoiceType where id=?"),
                        {type})
                .toInt() == 1;
    const int widths[] = {900, 1000, 1200, 900, 1200, 1000};
    for (int c = Col::WagePercent; c <= Col::Commission; ++c)
        doc_.flexDetail.setColumnWidth(
            c, doc_.IsGoldSilverPlatinum ? widths[c - Col::WagePercent] : 0);
    if (doc_.IsGoldSilverPlatinum && inEntryMode()) {
        doc_.flexDetail.padEditableMask(Col::Count);
        const bool flags[6][2] = {{false, true}, {true, true},  {true, false},
                                  {false, true}, {true, false}, {true, true}};
        for (int c = Col::WagePercent; c <= Col::Commission; ++c)
            doc_.flexDetail.DoEditableCol(c, flags[c - Col::WagePercent][0],
                                          flags[c - Col::WagePercent][1]);
    }
    doc_.sltObject1.Clear();
    doc_.sltObject2.Clear();
    doc_.sltObject1.setObjectInUse(false);
    doc_.sltObject2.setObjectInUse(false);
    doc_.accounts = InvoiceTypeAccounts();
    doc_.Object1ClassID = -1;
    doc_.Object2ClassID = -1;
    doc_.discountObject1 = false;
    doc_.discountObject2 = false;
    if (chosen && ctx_.params.flag(P::AccountObjects)) {
        doc_.sltCustomer.Clear();
        loadTypeAccounts(type);
        sltBranch_Change();
        if (TypeGeneratesSaleAssignment(type)) doc_.sltPaidByCash.setID(2);
    }
    Q_EMIT doc_.headerChanged();
}

std::optional<InvoiceTypeAccounts> ReadInvoiceTypeAccounts(Session& s, int typeId) {
    auto row = s.first(QStringLiteral("Select * from tblSaleInvoiceType Where ID = ?"), {typeId});
    if (!row) return std::nullopt;
    auto account = [&row](const char16_t* name) { return row->toInt(name, -1); };
    InvoiceTypeAccounts a;
    a.RoundAccountID = account(u"RoundAccountID");
    a.CreditAccountID = account(u"CreditAccountID");
    a.DebitAccountID = account(u"DebitAccountID");
    a.DiscountAccountID = account(u"DiscountAccountID");
    a.TaxAccountID = account(u"TaxAccountID");
    a.AddedAccountID = account(u"AddedAccountID");
    a.DescAccountID = account(u"DescAccountID");
    a.SuchargeAccountID = account(u"SuchargeAccountID");
    a.TotalDiscountAccountID = account(u"TotalDiscountAccountID");
    a.StackholderDiscountAccountID = account(u"StackholderDiscountAccountID");
    a.AdversDiscountAccountID = account(u"AdversDiscountAccountID");
    a.EduDiscountAccountID = account(u"EduDiscountAccountID");
    a.StackholderShareAccountID = account(u"StackholderShareAccountID");
    a.AdversShareAccountID = account(u"AdversShareAccountID");
    a.EduShareAccountID = account(u"EduShareAccountID");
    if (a.DescAccountID < 0) a.DescAccountID = a.CreditAccountID;
    if (a.TotalDiscountAccountID < 0) a.TotalDiscountAccountID = a.DiscountAccountID;
    return a;
}

void HeaderLogic::loadTypeAccounts(int type) {
    const auto read = ReadInvoiceTypeAccounts(ctx_.db(), type);
    if (!read) return;
    InvoiceTypeAccounts& a = doc_.accounts;
    a = *read;
    if (a.CreditAccountID > 0 && a.DebitAccountID > 0 && a.DiscountAccountID > 0)
        configureObjectSelectors();
    Session& s = ctx_.db();
    const QString discountObject =
        QStringLiteral("Select * from tblAccountRelatedClasses Where Sequence = ? and AccountID=?");
    doc_.discountObject1 = s.first(discountObject, {1, a.DiscountAccountID}).has_value();
    doc_.discountObject2 = s.first(discountObject, {2, a.DiscountAccountID}).has_value();
}

void HeaderLogic::configureObjectSelectors() {
    const RowSet rows = ctx_.db().query(
        QStringLiteral(
            "Select ViewMajor,ViewMinor,Sequence,Name,ID from tblAccountRelatedClasses Inner Join "
            "tblAccountClass On ClassID=ID and AccountID=?"),
        {doc_.accounts.DebitAccountID});
    for (const Row& r : rows) {
        const int sequence = r.toInt(u"Sequence");
        if (sequence != 1 && sequence != 2) continue;
        SelectorModel& object = sequence == 1 ? doc_.sltObject1 : doc_.sltObject2;
        object.setObjectInUse(true);
        object.setViews(r.text(u"ViewMajor"), r.text(u"ViewMinor"));
        object.setCaption(r.text(u"Name"));
        object.Clear();
        (sequence == 1 ? doc_.Object1ClassID : doc_.Object2ClassID) = r.toInt(u"ID");
    }
}

void HeaderLogic::sltBranch_Change() {
    for (SelectorModel* s :
         {&doc_.sltObject1, &doc_.sltObject2, &doc_.sltPromoter, &doc_.sltCustomer})
        s->clearListFilters();
    const bool chosen = !doc_.sltBranch.IsEmpty();
    const int branch = doc_.sltBranch.ID();
    const SqlCondition work = workActivityCondition(ctx_.globals.CurrentUserID);
    const SqlCondition organizations = chosen ? branchOrganizations(branch) && work : work;
    if (chosen) doc_.sltPromoter.setListFilter(branchEmployees(branch));
    doc_.sltCustomer.setListFilter(organizations && positionCustomersCondition());
    const std::pair<SelectorModel*, int> objects[] = {{&doc_.sltObject1, doc_.Object1ClassID},
                                                      {&doc_.sltObject2, doc_.Object2ClassID}};
    for (const auto& [object, cls] : objects) {
        if (!object->objectInUse()) continue;
        if (cls == ObjectClass::Organization) object->setListFilter(organizations);
        if (cls == 9 && chosen) object->setListFilter(branchEmployees(branch));
    }
    const int promoter = ctx_.params.number(P::DefaultPromoter);
    if (doc_.sltPromoter.IsEmpty() && promoter > 0) doc_.sltPromoter.setID(promoter);
}

void HeaderLogic::sltObject1_Change() {
    SelectorModel& o1 = doc_.sltObject1;
    if (o1.objectInUse() && doc_.Object1ClassID == ObjectClass::Organization && !o1.IsEmpty())
        doc_.sltCustomer.setID(o1.ID(), true);
    if (o1.objectInUse() && doc_.Object1ClassID == 4 && doc_.sltObject2.objectInUse() &&
        doc_.Object2ClassID == ObjectClass::Organization)
        doc_.sltObject2.setListFilter(
            {QStringLiteral(" ID in (Select OrganizationID from tblDistributionOrganization Where "
                            "ContractProjectID =?) "
                            "or ID in (Select ID from tblOrganizationParent Where ChildID in "
                            "(Select OrganizationID from "
                            "tblDistributionOrganization Where ContractProjectID =?))"),
             {o1.ID(), o1.ID()}});
    if (o1.objectInUse() && doc_.Object1ClassID == 9) {
        doc_.sltPricingMethod.Clear();
        takePricingMethodFrom(QStringLiteral("Select coalesce(PricingMethodID,-1) as "
                                             "PricingMethodID from tblEmployee Where ID = ?"),
                              o1.ID());
    }
}

void HeaderLogic::sltObject2_Change() {
    SelectorModel& o2 = doc_.sltObject2;
    if (o2.objectInUse() && doc_.Object2ClassID == ObjectClass::Organization && !o2.IsEmpty())
        doc_.sltCustomer.setID(o2.ID(), true);
}

void HeaderLogic::sltPromoter_Change() {
    if (!inEntryMode() || doc_.sltPromoter.IsEmpty() || doc_.flexDetail.filledCount() == 0 ||
        doc_.loading)
        return;
    if (!AskedYes(ctx_, QStringLiteral("هشدار"),
                  QStringLiteral("آيا مطمئنيد که اين بازارياب به همه کالاها اعمال شود؟")))
        return;
    const int promoter = doc_.sltPromoter.ID();
    for (int row : doc_.flexDetail.filledRows()) {
        InvoiceLine& line = doc_.flexDetail.line(row);
        if (line.PromoterID == promoter) continue;
        line.PromoterID = promoter;
        line.PromoterName = doc_.sltPromoter.text();
        doc_.flexDetail.lineChanged(row);
    }
}

void HeaderLogic::sltPreCond_Change() {
    if (!inEntryMode()) return;
    const int days =
        doc_.sltPreCond.IsEmpty() ? -1 : GetPreConditionClearDays(doc_.sltPreCond.ID());
    if (days >= 0) {
        doc_.txtLoanExpire = QString::number(days);
        doc_.txtLoanExpireTag = QString::number(days);
        txtLoanExpire_Change();
    } else {
        doc_.txtLoanExpireTag.clear();
    }
    Q_EMIT doc_.headerChanged();
}

// A date in another tax period changes every line's tax and duty, so the lines and totals are
// recomputed; a loading invoice keeps what was stored.
void HeaderLogic::datCreateDate_Change() {
    services_.totals->ReadTaxPercents();  // its cache is kept per date
    if (inEntryMode() && !doc_.loading) services_.totals->RecomputeAllLines();
    txtLoanExpire_Change();
    const int customer = doc_.sltCustomer.IsEmpty() ? -1 : doc_.sltCustomer.ID();
    if (inEntryMode() && customer > 0 && ctx_.params.number(P::CreditCashBox) > 0)
        services_.LoadCustomerCreditUsage(customer);
}

bool HeaderLogic::SetCreateDate(const QDate& date) {
    if (const auto outside = DateOutsideActivePeriod(ctx_, date)) {
        ShowMessage(ctx_, kErrorCaption, *outside);
        return false;
    }
    doc_.datCreateDate = date;
    datCreateDate_Change();
    return true;
}

// The due date follows the settlement days.
void HeaderLogic::txtLoanExpire_Change() {
    bool ok = false;
    const int days = doc_.txtLoanExpire.trimmed().toInt(&ok);
    if (ok && doc_.datCreateDate.isValid()) doc_.dtpClearDate = doc_.datCreateDate.addDays(days);
}

void HeaderLogic::chkCheckEchantillon_Click() {
    if (inEntryMode() && doc_.chkCheckEchantillon && !doc_.loading) services_.RefreshEchantillon();
}

void HeaderLogic::chkIsFormal_Click() {
    services_.totals->ReadTaxPercents();
    services_.totals->RecomputeAllLines();
}

}  // namespace si
