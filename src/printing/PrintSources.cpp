#include "printing/PrintSources.h"

#include "common/Codes.h"

namespace si {

CompanyDetails ReadCompany(Session& s) {
    const auto r = s.first(QStringLiteral(
        "Select Name, Address, Phone, Fax, Email from vwZelorCompany order by ID limit 1"));
    if (!r) return {};
    return {r->text(u"Name"), r->text(u"Address"), r->text(u"Phone"), r->text(u"Fax"),
            r->text(u"Email")};
}

CustomerDetails ReadCustomer(Session& s, const AccountingObject& customer) {
    if (customer.id < 1) return {};
    if (customer.classId == ObjectClass::Employee) {
        const auto r = s.first(
            QStringLiteral("Select coalesce(FirstName, '') || ' ' || coalesce(SureName, '') as "
                           "Name, Phone, Address, Email, Code from tblEmployee where ID = ?"),
            {customer.id});
        if (!r) return {};
        return {r->text(u"Name"),  r->text(u"Address"), r->text(u"Phone"), QString(),
                r->text(u"Email"), QString(),           r->text(u"Code")};
    }
    const auto r = s.first(
        QStringLiteral("Select coalesce(FirstName, '') || ' ' || coalesce(Name, '') as Name, "
                       "Phone1, Address, Email, Code, Fax, BossDescription from tblOrganization "
                       "where ID = ?"),
        {customer.id});
    if (!r) return {};
    return {r->text(u"Name"),  r->text(u"Address"),         r->text(u"Phone1"), r->text(u"Fax"),
            r->text(u"Email"), r->text(u"BossDescription"), r->text(u"Code")};
}

StoreDetails ReadStore(Session& s, const AccountingObject& customer) {
    if (customer.id < 1 || !customer.isOrganization()) return {};
    const auto r = s.first(
        QStringLiteral("Select d.StoreName, p.Name as PathName, r.Name as RegionName from "
                       "tblDistributionOrganization d left join tblDistributionPath p on p.ID = "
                       "d.PathID left join tblDistributionRegion r on r.ID = p.RegionID where "
                       "d.OrganizationID = ? order by d.ID limit 1"),
        {customer.id});
    if (!r) return {};
    return {r->text(u"StoreName"), r->text(u"PathName"), r->text(u"RegionName")};
}

QVector<std::pair<QString, Money>> ReadPrintedSurcharges(Session& s, int invoiceId) {
    QVector<std::pair<QString, Money>> surcharges;
    const RowSet rows = s.query(
        QStringLiteral("Select t.Name, c.Value from tblZelorSuchargeType t, tblSaleInvoiceSucharge "
                       "c Where t.ID = c.SuchargeTypeID and c.Value > 0 and c.InvoiceID = ? "
                       "order by c.ID limit 5"),
        {invoiceId});
    for (const Row& r : rows)
        surcharges.push_back({r.text(u"Name"), r.money(u"Value")});
    return surcharges;
}

PromoterDetails ReadPromoter(Session& s, int promoterId) {
    if (promoterId < 1) return {};
    const auto r = s.first(
        QStringLiteral("Select trim(coalesce(FirstName, '') || ' ' || coalesce(SureName, '')) as "
                       "Name, coalesce(Code, '') as PromoterCode from tblEmployee where ID = ?"),
        {promoterId});
    if (!r) return {};
    return {r->text(u"Name"), r->text(u"PromoterCode")};
}

OrderDetails ReadSaleOrder(Session& s, int invoiceId) {
    const auto r = s.first(
        QStringLiteral("Select coalesce(Notes, '') as Notes, FarsiCreateDate, coalesce(ManualCode, "
                       "'') as ManualCode from tblSaleOrder Where ID in (Select SaleOrderID from "
                       "tblSaleInvoice Where ID = ?)"),
        {invoiceId});
    if (!r) return {};
    return {r->text(u"Notes"), r->text(u"ManualCode"), r->text(u"FarsiCreateDate")};
}

QString ReadUserFullName(Session& s, int userId) {
    if (userId < 1) return {};
    return s.scalar(QStringLiteral("select FullName from tblUser where ID = ?"), {userId})
        .toString();
}

QString ReadPreConditionName(Session& s, int preConditionId) {
    if (preConditionId < 1) return {};
    return s
        .scalar(QStringLiteral("select Name from tblSalePreCondition where ID = ?"),
                {preConditionId})
        .toString();
}

Money CustomerBalance(Session& s, const AccountingObject& customer, const QDate& upTo,
                      int invoiceId) {
    if (customer.id < 1) return {};
    const QVariant balance = s.scalar(
        QStringLiteral(
            "select coalesce(sum(coalesce(d.CreditValue, 0) - coalesce(d.DebitValue, 0)), 0) from "
            "tblAccountDocumentDetail d inner join vwAccountNonPreDocument v on v.ID = "
            "d.DocumentID where v.DocumentDate < ? and not (coalesce(d.FormTypeID, 0) = ? and "
            "coalesce(d.FormID, 0) = ?) and d.AccountID in (select r.AccountID from "
            "tblAccountRelatedObjects r where r.RelatedClassID = ? and r.RelatedObjectID = ? and "
            "r.AccountGroupID > 10 union select a.ID from tblAccount a where a.ParentID in (select "
            "r.AccountID from tblAccountRelatedObjects r where r.RelatedClassID = ? and "
            "r.RelatedObjectID = ?))"),
        {upTo.addDays(1), FormType::SaleInvoice, invoiceId, customer.classId, customer.id,
         customer.classId, customer.id});
    return Money::fromVariant(balance);
}

}  // namespace si
