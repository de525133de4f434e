// The procedures the save calls: the cash-sale flag kept apart from the dispatch flag, and the
// debit ceiling of an account and of an account's object.

#include "PostingTestSupport.h"

namespace si::test {
namespace {

class SaveProceduresTest : public PostingTest {};

TEST_P(SaveProceduresTest, HeaderProceduresKeepCashSaleApartFromDispatch) {
    const QDate day(2026, 12, 6);
    QVariantList insert{day,
                        QStringLiteral("1405/09/15"),
                        -1,
                        1,
                        QString(),
                        QString(),
                        3,
                        0.0,
                        QVariant::fromValue(Money()),
                        -1,
                        QVariant::fromValue(Money()),
                        QVariant::fromValue(Money::fromRials(10)),
                        -1,
                        QVariant::fromValue(Money::fromRials(10)),
                        -1,
                        1,
                        true,
                        true,
                        QVariant()};
    db().call(QStringLiteral("spSaleInsertInvoice"), insert);
    const int id = insert.last().toInt();
    ASSERT_GT(id, 0);
    auto flags = [&] {
        return db().first(QStringLiteral("select IsPaidByCash, IsFromDispatch, CustomerID, "
                                         "SaleOrderID from tblSaleInvoice where ID = ?"),
                          {id});
    };
    EXPECT_TRUE(flags()->toBool(u"IsPaidByCash"));
    EXPECT_TRUE(flags()->toBool(u"IsFromDispatch"));
    EXPECT_TRUE(flags()->isNull(u"CustomerID"));
    EXPECT_TRUE(flags()->isNull(u"SaleOrderID"));
    QVariantList update{id,
                        day,
                        QStringLiteral("1405/09/15"),
                        customer,
                        1,
                        QString(),
                        QString(),
                        3,
                        0.0,
                        QVariant::fromValue(Money()),
                        QVariant::fromValue(Money()),
                        QVariant::fromValue(Money()),
                        QVariant::fromValue(Money()),
                        -1,
                        1,
                        false,
                        QVariant()};
    db().call(QStringLiteral("spSaleUpdateInvoice"), update);
    EXPECT_FALSE(flags()->toBool(u"IsPaidByCash"));
    EXPECT_TRUE(flags()->toBool(u"IsFromDispatch"));
    EXPECT_EQ(flags()->toInt(u"CustomerID"), customer);
}

// Balance 6,000 on the account (of which 1,000 carry another object), credit 10,000.
struct CeilingCase {
    const char* name;
    bool creditOn;
    qint64 value;
    bool byObject;
    bool refused;
};

TEST_P(SaveProceduresTest, DebitCeilingOfAnAccountAndOfItsObject) {
    const int account = static_cast<int>(db().insertReturningId(QStringLiteral(
        "insert into tblAccount (Code, Title) values ('1101', 'مشتريان') RETURNING ID")));
    db().exec(QStringLiteral("insert into tblAccountRelatedObjects (AccountID, RelatedClassID, "
                             "RelatedObjectID) values (?, 7, ?)"),
              {account, customer});
    const int document = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblAccountDocument (Code, IsPreDocument) values (1, 0) "
                       "RETURNING ID")));
    const qint64 debits[] = {5000, 1000};
    const int objects[] = {customer, customer + 100};
    for (int row = 0; row < 2; ++row) {
        db().exec(QStringLiteral("insert into tblAccountDocumentDetail (DocumentID, RowNumber, "
                                 "AccountID, DebitValue, CreditValue) values (?, ?, ?, ?, 0)"),
                  {document, row + 1, account, QVariant::fromValue(Money::fromRials(debits[row]))});
        db().exec(QStringLiteral("insert into tblAccountDocumentObjects (DocumentID, RowNumber, "
                                 "Sequence, ClassID, ObjectID) values (?, ?, 1, 7, ?)"),
                  {document, row + 1, objects[row]});
    }
    const std::vector<CeilingCase> cases{
        {"no credit switched on", false, 999999, false, false},
        {"reaches the ceiling", true, 4000, false, false},
        {"one more than the ceiling", true, 4001, false, true},
        {"object's own rows only", true, 5000, true, false},
        {"object past the ceiling", true, 5001, true, true},
    };
    for (const CeilingCase& c : cases) {
        SCOPED_TRACE(c.name);
        db().exec(QStringLiteral("delete from tblDistributionOrganization"));
        db().exec(QStringLiteral("insert into tblDistributionOrganization (OrganizationID, "
                                 "EnableCredit, Credit) values (?, ?, ?)"),
                  {customer, c.creditOn ? 1 : 0, QVariant::fromValue(Money::fromRials(10000))});
        const QVariant value = QVariant::fromValue(Money::fromRials(c.value));
        QVariantList args = c.byObject ? QVariantList{account, 7, customer, value, QString()}
                                       : QVariantList{account, value, QString()};
        db().call(c.byObject ? QStringLiteral("spAccountMaxDebit_NewAccount")
                             : QStringLiteral("spAccountGetAccountMaxDebit"),
                  args);
        EXPECT_EQ(!args.last().toString().isEmpty(), c.refused)
            << args.last().toString().toStdString();
    }
}

SI_INSTANTIATE_BACKENDS(SaveProceduresTest);

}  // namespace
}  // namespace si::test
