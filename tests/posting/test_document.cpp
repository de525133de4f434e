// The accounting document of a final invoice: which rows are written with which amounts, that
// every document balances, the accounts and objects the rows take, and the blocking conditions.

#include <gtest/gtest.h>

#include <functional>

#include "common/Numbers.h"
#include "posting/DocumentTestSupport.h"

namespace si::test {
namespace {

class DocumentTest : public PostingFixture {
protected:
    Money sum(const QVector<DocumentLine>& lines, bool debit) {
        Money total;
        for (const DocumentLine& l : lines)
            total += debit ? l.debit : l.credit;
        return total;
    }
};

// A type without the share accounts (the usual one).
TEST_P(DocumentTest, PlainInvoiceMakesExactlyTheSalesAndCustomerRows) {
    for (const char* column :
         {"StackholderDiscountAccountID", "AdversDiscountAccountID", "EduDiscountAccountID",
          "StackholderShareAccountID", "AdversShareAccountID"})
        setTypeAccount(type, QString::fromLatin1(column), QVariant());
    const int id = storeInvoice(
        {.lines = {{QStringLiteral("1001"), 3, 1500}, {QStringLiteral("1002"), 2, 250}},
         .code = 17,
         .notes = QStringLiteral("تحويل فوري")});
    load(id);
    const int document = post();
    ASSERT_GT(document, 0);
    const QVector<DocumentLine> lines = documentLines(document);
    ASSERT_EQ(rowNumbers(lines), (QVector<int>{1, 2}));
    EXPECT_EQ(lines[0].account, typeAccount[QStringLiteral("CreditAccountID")]);
    EXPECT_EQ(lines[0].credit, rials(5000));
    EXPECT_EQ(lines[0].debit, Money());
    EXPECT_EQ(lines[1].account, customerAccount);
    EXPECT_EQ(lines[1].debit, rials(5000));
    EXPECT_EQ(lines[1].credit, Money());

    const Row detail =
        *db().first(QStringLiteral("select * from tblAccountDocumentDetail where DocumentID=? and "
                                   "RowNumber=1"),
                    {document});
    EXPECT_EQ(detail.toInt(u"FormID"), id);
    EXPECT_EQ(detail.toInt(u"FormTypeID"), 901);
    EXPECT_EQ(detail.toInt(u"AdditionalFormID"), 17);
    EXPECT_EQ(detail.toInt(u"DocumentTypeID"), 13);
    EXPECT_EQ(detail.date(u"TransactionDate"), QDate(2026, 12, 6));
    EXPECT_EQ(detail.text(u"FarsiTransactionDate"), getFarsiDate(QDate(2026, 12, 6)));
    const QString description = QStringLiteral(" ثبت نهايي فاكتور فروش ـ ش. ر. ") +
                                QString::number(id) + QStringLiteral(" و ملاحظات: تحويل فوري");
    EXPECT_EQ(detail.text(u"Description"), description);

    const Row header =
        *db().first(QStringLiteral("select * from tblAccountDocument where ID=?"), {document});
    EXPECT_EQ(header.toInt(u"Code", -1), 0);
    EXPECT_EQ(header.toInt(u"DayNo"), 1);
    EXPECT_EQ(header.money(u"Value"), rials(5000));
    EXPECT_EQ(header.text(u"Description"), description);
    EXPECT_EQ(header.toInt(u"CreatorID"), ctx.globals.CurrentUserID);
    EXPECT_TRUE(messages.empty());
}

struct BalanceCase {
    const char* name;
    qint64 lineDiscount;
    qint64 masterDiscount;
    bool formal;
    qint64 surcharge;
    qint64 deductions;
    const char* rounding;  // parameter 4409
    QVector<int> rows;
};

// grand total = lines - line discounts - master discount - deductions + tax + duty + surcharges
// -/+ rounding; each amount lands on its own row and the document balances.
TEST_P(DocumentTest, EveryDocumentBalances) {
    const int freight = addSurchargeType(QStringLiteral("حمل"), QStringLiteral("6201"), true);
    const BalanceCase cases[] = {
        {"plain", 0, 0, false, 0, 0, "0", {1, 2, 9, 10, 12, 13}},
        {"line discount", 700, 0, false, 0, 0, "0", {1, 2, 3, 9, 10, 12, 13}},
        {"master discount", 0, 1200, false, 0, 0, "0", {1, 2, 6, 9, 10, 12, 13}},
        {"tax and duty", 0, 0, true, 0, 0, "0", {1, 2, 4, 5, 9, 10, 12, 13}},
        {"surcharge", 0, 0, false, 2300, 0, "0", {1, 2, 9, 10, 12, 13, 81}},
        {"deductions", 0, 0, false, 0, 900, "0", {1, 2, 7, 9, 10, 12, 13}},
        {"rounded down", 0, 0, false, 0, 0, "3-", {1, 2, 8, 9, 10, 12, 13}},
        {"rounded up", 0, 0, false, 0, 0, "3+", {1, 2, 8, 9, 10, 12, 13}},
        {"everything",
         700,
         1200,
         true,
         2300,
         900,
         "3",
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 81}},
    };
    for (const BalanceCase& c : cases) {
        SCOPED_TRACE(c.name);
        useParameter(P::GrandTotalRounding, QString::fromLatin1(c.rounding));
        newForm();
        StoredInvoice in;
        in.lines = {{QStringLiteral("1001"), 7, 3333, c.lineDiscount},
                    {QStringLiteral("1002"), 1, 14567}};
        in.masterDiscount = c.masterDiscount;
        in.formal = c.formal;
        in.deductions = c.deductions;
        if (c.surcharge > 0) in.surcharges = {{freight, c.surcharge}};
        load(storeInvoice(in));
        const InvoiceTotals& t = doc().totals;
        if (c.formal) {
            ASSERT_GT(t.Tax, Money());
        }
        if (QByteArray(c.rounding) != "0") {
            ASSERT_NE(t.RoundDown, Money());
        }
        const int document = post();
        ASSERT_GT(document, 0);
        const QVector<DocumentLine> lines = documentLines(document);
        EXPECT_EQ(rowNumbers(lines), c.rows);
        EXPECT_EQ(sum(lines, true), sum(lines, false));
        EXPECT_EQ(rowOf(lines, 2)->debit, t.GrandTotal);
        EXPECT_EQ(rowOf(lines, 1)->credit, rials(7 * 3333 + 14567));
        // The share rows are half a percent of the net amount and cancel in pairs.
        const Money share = RoundHalfUp((t.GrandTotal - t.Tax - t.Added).times(0.005), 0);
        EXPECT_EQ(rowOf(lines, 9)->debit, share);
        EXPECT_EQ(rowOf(lines, 13)->credit, share);
        // Rounded down, the customer owes less: a debit; rounded up, a credit.
        if (const DocumentLine* round = rowOf(lines, 8)) {
            EXPECT_EQ(round->debit - round->credit, t.RoundDown);
            EXPECT_TRUE(round->debit.isZero() || round->credit.isZero());
            EXPECT_EQ(round->documentType, 10);
        }
        EXPECT_TRUE(messages.empty());
    }
}

TEST_P(DocumentTest, DependentAccountsAreCarriedByRowEleven) {
    const int school = AddCustomer(db(), QStringLiteral("مدرسه"));
    const int fund = AddCustomer(db(), QStringLiteral("صندوق"));
    const int schoolAccount = addAccount(QStringLiteral("5101"));
    const int fundAccount = addAccount(QStringLiteral("5102"));
    db().exec(
        QStringLiteral("insert into tblOrganizationDependentAccounts (OrganizationID, "
                       "DependentOrganizationID, AccountID, SharePercent, ShareValue) "
                       "values (?, ?, ?, 2.5, NULL), (?, ?, ?, NULL, 300), "
                       "(?, NULL, ?, 0, 0)"),
        {customer, school, schoolAccount, customer, fund, fundAccount, customer, fundAccount});
    load(storeInvoice({.lines = {{QStringLiteral("1001"), 1, 10000}}}));
    const int document = post();
    const QVector<DocumentLine> lines = documentLines(document);
    EXPECT_EQ(rowNumbers(lines), (QVector<int>{1, 2, 9, 10, 11, 12, 13, 14, 15}));
    EXPECT_EQ(rowOf(lines, 14)->account, schoolAccount);
    EXPECT_EQ(rowOf(lines, 14)->credit, rials(250));
    EXPECT_EQ(rowOf(lines, 15)->account, fundAccount);
    EXPECT_EQ(rowOf(lines, 15)->credit, rials(300));
    EXPECT_EQ(rowOf(lines, 11)->debit, rials(550));
    EXPECT_EQ(count(QStringLiteral("tblAccountDocumentObjects where DocumentID=? and "
                                   "RowNumber=14 and ClassID=33 and ObjectID=?"),
                    {document, school}),
              1);
}

// Objects go only where the row's account declares their class, with its sequence, once.
TEST_P(DocumentTest, ObjectsFollowTheAccountsClasses) {
    const int promoter = addEmployee(QStringLiteral("بازارياب"));
    const int sales = typeAccount[QStringLiteral("CreditAccountID")];
    db().exec(QStringLiteral("insert into tblAccountRelatedClasses (AccountID, ClassID, "
                             "Sequence) values (?, 19, 1), (?, 9, 2)"),
              {sales, sales});
    load(storeInvoice(
        {.lines = {{QStringLiteral("1001"), 1, 10000, 500}}, .branch = 3, .promoter = promoter}));
    const int document = post();
    const RowSet objects = db().query(
        QStringLiteral("select RowNumber, Sequence, ClassID, ObjectID from "
                       "tblAccountDocumentObjects where DocumentID=? order by RowNumber, "
                       "Sequence, ClassID"),
        {document});
    QStringList seen;
    for (const Row& r : objects)
        seen << QStringLiteral("%1:%2:%3:%4")
                    .arg(r.toInt(u"RowNumber"))
                    .arg(r.toInt(u"Sequence"))
                    .arg(r.toInt(u"ClassID"))
                    .arg(r.toInt(u"ObjectID"));
    // Row 1 takes branch and promoter by its classes; row 3's account takes none; the share rows
    // carry the promoter directly.
    EXPECT_EQ(
        seen,
        (QStringList{
            QStringLiteral("1:1:19:3"), QStringLiteral("1:2:9:%1").arg(promoter),
            QStringLiteral("9:2:9:%1").arg(promoter), QStringLiteral("10:2:9:%1").arg(promoter),
            QStringLiteral("12:2:9:%1").arg(promoter), QStringLiteral("13:2:9:%1").arg(promoter)}));
    AccountingDocument(form->ctx(), InvoiceToPost::of(form->doc()))
        .InsertDocumentObject(document, 1, sales, 19, 3);
    EXPECT_EQ(count(QStringLiteral("tblAccountDocumentObjects where DocumentID=? and "
                                   "RowNumber=1 and ClassID=19"),
                    {document}),
              1);
}

TEST_P(DocumentTest, DayNumbersCountWithinTheDocumentDate) {
    const QDate days[] = {QDate(2026, 12, 6), QDate(2026, 12, 6), QDate(2026, 12, 5),
                          QDate(2026, 12, 6)};
    const int expected[] = {1, 2, 1, 3};
    for (int i = 0; i < 4; ++i) {
        newForm();
        load(storeInvoice({.date = days[i], .lines = {{QStringLiteral("1002"), 1, 100}}}));
        const int document = post();
        EXPECT_EQ(db().scalar(QStringLiteral("select DayNo from tblAccountDocument where ID=?"),
                              {document})
                      .toInt(),
                  expected[i]);
    }
}

struct BlockCase {
    const char* name;
    std::function<void(PostingFixture&)> arrange;
    std::function<void(PostingFixture&)> undo;
    QString caption;
    QString text;
};

TEST_P(DocumentTest, MissingAccountsAndMergedDocumentsBlockPosting) {
    const QString sales = QStringLiteral("CreditAccountID");
    const BlockCase cases[] = {
        {"no sales account",
         [&](PostingFixture& f) { f.setTypeAccount(f.type, sales, QVariant()); },
         [&](PostingFixture& f) { f.setTypeAccount(f.type, sales, f.typeAccount[sales]); },
         kDocumentErrorCaption,
         QStringLiteral("حساب بستانکار در جدول مربوط به انواع فاکتور فروش تعريف نشده است")},
        {"customer without account",
         [](PostingFixture& f) {
             f.db().exec(QStringLiteral("update tblAccountRelatedObjects set RelatedClassID=9"));
         },
         [](PostingFixture& f) {
             f.db().exec(QStringLiteral("update tblAccountRelatedObjects set RelatedClassID=7"));
         },
         kDocumentErrorCaption, QStringLiteral("حساب بدهکار مشتري تعريف نشده است")},
        {"customer account not a leaf",
         [](PostingFixture& f) { f.addAccount(QStringLiteral("110101"), f.customerAccount); },
         [](PostingFixture& f) {
             f.db().exec(QStringLiteral("delete from tblAccount where ParentID=?"),
                         {f.customerAccount});
         },
         kDocumentErrorCaption, QStringLiteral("حساب بدهکار مشتري تعريف نشده است")},
        {"merged document after the invoice",
         [](PostingFixture& f) {
             f.db().exec(QStringLiteral("insert into tblAccountDocument (Code, DocumentDate, "
                                        "IsMerged) values (99, ?, 1)"),
                         {QDate(2026, 12, 7)});
         },
         [](PostingFixture& f) {
             f.db().exec(QStringLiteral("delete from tblAccountDocument where IsMerged=1"));
         },
         QStringLiteral("خطا"),
         QStringLiteral("پس از تاريخ اين سند، يك سند ادغام شده وجود دارد. بنابراين امكان ثبت "
                        "سند فعلي در تاريخ مشخص شده وجود ندارد.")},
    };
    load(storeInvoice({.lines = {{QStringLiteral("1001"), 1, 1000}}}));
    for (const BlockCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.arrange(*this);
        messages.clear();
        EXPECT_EQ(post(), 0);
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.last().caption, c.caption);
        EXPECT_EQ(messages.last().text, c.text);
        EXPECT_EQ(count(QStringLiteral("tblAccountDocumentDetail")), 0);
        c.undo(*this);
    }
    // A merged document on the invoice's own day does not block it.
    db().exec(QStringLiteral("insert into tblAccountDocument (Code, DocumentDate, IsMerged) "
                             "values (98, ?, 1)"),
              {QDate(2026, 12, 6)});
    EXPECT_GT(post(), 0);
}

// A row that has an amount but no account would leave the document unbalanced: each missing
// account is named, and no document is written, so the invoice waits for a re-post.
TEST_P(DocumentTest, RowsWithoutTheirAccountKeepTheWholeDocumentOut) {
    const int loose = addSurchargeType(QStringLiteral("بيمه"), QStringLiteral("6299"), false);
    const int freight = addSurchargeType(QStringLiteral("حمل"), QStringLiteral("6201"), true);
    setTypeAccount(type, QStringLiteral("RoundAccountID"), QVariant());
    useParameter(P::GrandTotalRounding, QStringLiteral("3-"));
    newForm();
    load(storeInvoice({.lines = {{QStringLiteral("1001"), 1, 12345}},
                       .surcharges = {{loose, 100}, {freight, 200}}}));
    EXPECT_EQ(post(), 0);
    EXPECT_EQ(count(QStringLiteral("tblAccountDocument")), 0);
    EXPECT_EQ(count(QStringLiteral("tblAccountDocumentDetail")), 0);
    EXPECT_EQ(count(QStringLiteral("tblAccountDocumentObjects")), 0);
    ASSERT_EQ(messages.shown().size(), 3u);
    EXPECT_EQ(messages.shown()[0].caption, QStringLiteral("اشکال"));
    EXPECT_EQ(messages.shown()[0].text,
              QStringLiteral("حساب معين مربوط به هزينه «بيمه» يافت نشد. به جدول "
                             "tblZelorSuchargeType مراجعه کنيد."));
    EXPECT_EQ(messages.shown()[1].caption, QStringLiteral("اشکال در سند"));
    EXPECT_EQ(messages.shown()[1].text,
              QStringLiteral("حساب معين مربوط به تخفيف در جدول نوع فاکتور تنظيم نشده است!"));
    EXPECT_EQ(messages.shown()[2].caption, kDocumentErrorCaption);
    EXPECT_TRUE(messages.shown()[2].text.startsWith(
        QStringLiteral("حساب رديف 81 (هزينه)، 8 (گرد كردن) سند")))
        << messages.shown()[2].text.toStdString();
}

// Amounts whose rows cannot carry them (a line discount without its account, an amount below
// zero) never make a document whose sides differ.
TEST_P(DocumentTest, NoDocumentIsWrittenUnbalanced) {
    const int freight = addSurchargeType(QStringLiteral("حمل"), QStringLiteral("6201"), true);
    struct Case {
        const char* name;
        const char* clearedAccount;
        qint64 surcharge;
        const char* messageStart;
    } cases[] = {
        {"line discount without its account", "DiscountAccountID", 0,
         "حساب رديف 3 (تخفيف سطرها) سند"},
        {"tax without its account", "TaxAccountID", 0, "حساب رديف 4 (ماليات) سند"},
        {"surcharge below zero", nullptr, -20000, "جمع بدهكار"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        configureTypeAccounts(type);
        if (c.clearedAccount)
            setTypeAccount(type, QString::fromLatin1(c.clearedAccount), QVariant());
        messages.clear();
        newForm();
        StoredInvoice in{.lines = {{QStringLiteral("1001"), 2, 30000, 5000}}, .formal = true};
        if (c.surcharge != 0) in.surcharges = {{freight, c.surcharge}};
        load(storeInvoice(in));
        EXPECT_EQ(post(), 0);
        EXPECT_EQ(count(QStringLiteral("tblAccountDocument")), 0);
        ASSERT_FALSE(messages.shown().empty());
        EXPECT_TRUE(messages.shown().back().text.startsWith(QString::fromUtf8(c.messageStart)))
            << messages.shown().back().text.toStdString();
    }
}

// With parameter 311 the customer's side is the type's debit account, which must be a leaf.
TEST_P(DocumentTest, AccountObjectsTakeTheCustomerAccountFromTheType) {
    useParameter(P::AccountObjects, QStringLiteral("1"));
    newForm();
    load(storeInvoice({.lines = {{QStringLiteral("1001"), 2, 1000}}}));
    AccountingDocument posting(form->ctx(), InvoiceToPost::of(form->doc()));
    EXPECT_EQ(posting.CustomerAccount(customer), typeAccount[QStringLiteral("DebitAccountID")]);
    addAccount(QStringLiteral("4102-1"), typeAccount[QStringLiteral("DebitAccountID")]);
    EXPECT_EQ(posting.CustomerAccount(customer), -1);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("حساب بدهکار مشتري، آخرين سطح انتخاب نشده است."));
}

// The ledger's procedures: the header's identity and serial code come back through the output
// arguments; a long description is cut to the column.
TEST_P(DocumentTest, LedgerProceduresReturnTheNewDocument) {
    QVector<int> codes;
    for (int i = 0; i < 2; ++i) {
        QVariantList args{QVariant(),
                          QVariant(),
                          1,
                          QDate(2026, 12, 6),
                          getFarsiDate(QDate(2026, 12, 6)),
                          QDate(2026, 12, 6),
                          getFarsiDate(QDate(2026, 12, 6)),
                          QVariant::fromValue(rials(10)),
                          QString(2100, QLatin1Char('x'))};
        const int id = db().call(QStringLiteral("dbo.spAccountInsertDocument"), args).toInt();
        EXPECT_EQ(args[0].toInt(), id);
        codes << args[1].toInt();
        QVariantList row{id,
                         1,
                         customerAccount,
                         QDate(2026, 12, 6),
                         QString(),
                         QString(),
                         13,
                         QVariant(),
                         0,
                         0,
                         QVariant::fromValue(rials(10)),
                         QVariant::fromValue(Money()),
                         5,
                         901};
        db().call(QStringLiteral("spAccountInsertDocumentDetail"), row);
        EXPECT_EQ(documentLines(id).size(), 1);
        EXPECT_EQ(db().scalar(QStringLiteral("select Description from tblAccountDocument where "
                                             "ID=?"),
                              {id})
                      .toString()
                      .size(),
                  2000);
    }
    EXPECT_EQ(codes, (QVector<int>{1, 2}));
}

SI_INSTANTIATE_BACKENDS(DocumentTest);

}  // namespace
}  // namespace si::test
