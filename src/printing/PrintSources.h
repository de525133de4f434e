#pragma once
// What a printed invoice tells beside its own fields, each read by one statement: the company,
// the customer's details and store, the surcharges, the promoter, the sale order, the creator and
// the customer's balance. Reads only; a missing row gives empty texts.

#include <QDate>
#include <QString>
#include <QVector>
#include <utility>

#include "common/Session.h"
#include "invoice/BilledParty.h"

namespace si {

struct CompanyDetails {
    QString name, address, phone, fax, email;
};
// The first row of vwZelorCompany.
CompanyDetails ReadCompany(Session& s);

struct CustomerDetails {
    QString name, address, phone, fax, email, bossDescription, code;
};
// An organisation from tblOrganization ("first name" + " " + name); an employee (a person) from
// tblEmployee, without fax and boss description.
CustomerDetails ReadCustomer(Session& s, const AccountingObject& customer);

struct StoreDetails {
    QString storeName, pathName, regionName;
};
// The organisation's distribution row with its path and the path's region.
StoreDetails ReadStore(Session& s, const AccountingObject& customer);

// Up to five positive surcharges of the stored invoice: the type's name and the amount.
QVector<std::pair<QString, Money>> ReadPrintedSurcharges(Session& s, int invoiceId);

struct PromoterDetails {
    QString name, code;
};
PromoterDetails ReadPromoter(Session& s, int promoterId);

struct OrderDetails {
    QString notes, manualCode, farsiDate;
};
// The sale order the invoice was made from.
OrderDetails ReadSaleOrder(Session& s, int invoiceId);

QString ReadUserFullName(Session& s, int userId);
QString ReadPreConditionName(Session& s, int preConditionId);

// The customer's balance, credit less debit, over the documents (not pre-documents) dated up to
// the day: the customer's accounts of the groups above 10 and the children of its accounts. The
// rows posted for the invoice itself are left out, so the balance is the one before it.
Money CustomerBalance(Session& s, const AccountingObject& customer, const QDate& upTo,
                      int invoiceId);

}  // namespace si
