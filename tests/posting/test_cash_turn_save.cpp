// A shop's final cash sale and its cash turn: the selector, the two checks, the booking in the
// save's transaction (also against a turn closed by another workstation), the change to hand
// back, and the figures of a turn.

#include <QCoreApplication>
#include <QProcess>

#include "PostingTestSupport.h"
#include "common/Jalali.h"
#include "posting/CashTurnBooking.h"
#include "suite/CashTurnManager.h"

namespace si::test {
namespace {

const char* const kChildDb = "SALEINVOICE_CLOSE_TURN_DB";
const char* const kChildOwner = "SALEINVOICE_CLOSE_TURN_OWNER";
const char* const kChildTurn = "SALEINVOICE_CLOSE_TURN_ID";
const QString kStep5Text = QStringLiteral("پس از بازگشت به حالت موقت");

class CashTurnSaveTest : public PostingTest {
protected:
    void SetUp() override {
        PostingTest::SetUp();
        useParameter(P::ShopMode, QStringLiteral("1"));
        cash = addBox(QStringLiteral("صندوق جلو"));
        turn = openTurn(cash, ctx.globals.CurrentUserID);
        installSave();
    }
    int addBox(const QString& name) {
        const int box = static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblRecPayCash (Name) values (?) RETURNING ID"), {name}));
        permit(box, ctx.globals.CurrentUserID);
        return box;
    }
    void permit(int box, int user) {
        db().exec(QStringLiteral("insert into tblRecPayCashUser (CashID, UserID) values (?, ?)"),
                  {box, user});
    }
    qint64 openTurn(int box, int user) {
        return suite::CashTurnManager(db(), user).OpenTurn(box).id;
    }
    void closeTurn(qint64 id, int user) { suite::CashTurnManager(db(), user).CloseTurn(id); }
    CashTurnSelector& selector() { return form->editor().cashTurns(); }
    RowSet details() {
        return db().query(QStringLiteral("select * from tblRecPayCashTurnDetail order by ID"));
    }

    int cash = 0;
    qint64 turn = 0;
};

TEST_P(CashTurnSaveTest, CashSaleBooksOneRowAndACreditSalePostsADocument) {
    const int account = static_cast<int>(
        db().insertReturningId(QStringLiteral("insert into tblAccount (Code, Title, IsClosed) "
                                              "values ('1001', 'صندوق', 0) RETURNING ID")));
    db().exec(QStringLiteral("insert into tblAccountRelatedObjects (AccountID, AccountGroupID) "
                             "values (?, 1)"),
              {account});
    ASSERT_EQ(form->doc().Turn, 1);
    newInvoice(123456, QDate(2026, 12, 6));
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    const int id = savedID();
    const RowSet rows = details();
    ASSERT_EQ(rows.size(), 1);
    const Row& r = rows.first();
    EXPECT_EQ(r.toInt64(u"CashTurnID"), turn);
    EXPECT_EQ(r.toInt(u"Code"), storedCode(id).toInt());
    EXPECT_EQ(r.dateTime(u"TransactionDate").date(), QDate(2026, 12, 6));
    EXPECT_EQ(r.text(u"FarsiTransactionDate"), QStringLiteral("1405/09/15"));
    EXPECT_EQ(r.text(u"Description"),
              QStringLiteral("دريافتي به ازاي فاكتور به شماره رايانهاي ") + QString::number(id));
    EXPECT_EQ(r.money(u"ReceivedValue"), Money::fromRials(123456));
    EXPECT_EQ(r.money(u"PayedValue"), Money());
    EXPECT_EQ(r.toInt(u"RelatedAccountID"), account);
    EXPECT_EQ(r.toInt(u"FormID"), id);
    EXPECT_EQ(r.toInt(u"FormTypeID"), 901);
    EXPECT_EQ(r.toInt(u"UserID"), ctx.globals.CurrentUserID);
    EXPECT_EQ(form->doc().lblAccountIDVal, form->doc().cashTurnDescription);
    EXPECT_TRUE(form->doc().lblAccountIDVal.startsWith(QStringLiteral("صندوق جلو_1_")));
    EXPECT_EQ(count(QStringLiteral("tblAccountDocument")), 0);

    // The selection survives the save; a credit sale books nothing and posts its document.
    enablePosting();
    newInvoice(5000);
    form->doc().sltPaidByCash.setIDQuietly(2, QString());
    messages.answerYes();  // the customer has no account of his own
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(details().size(), 1);
    EXPECT_EQ(count(QStringLiteral("tblAccountDocument")), 1);
}

TEST_P(CashTurnSaveTest, WithoutAnAccountOfTheCounterTheRowHasNone) {
    newInvoice();
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    ASSERT_EQ(details().size(), 1);
    EXPECT_TRUE(details().first().isNull(u"RelatedAccountID"));
}

TEST_P(CashTurnSaveTest, NoTurnOrAClosedOneStopsTheSaveWithItsMessage) {
    closeTurn(turn, ctx.globals.CurrentUserID);
    newInvoice();
    EXPECT_FALSE(save->SaveInvoice(true));
    EXPECT_EQ(messages.last().text, kCashTurnClosed);
    EXPECT_EQ(messages.last().caption, kErrorCaption);

    form->RefillCashTurns();
    EXPECT_EQ(form->doc().CashID, -1);
    EXPECT_EQ(form->doc().Turn, -1);
    EXPECT_TRUE(form->doc().cashTurnDescription.isEmpty());
    messages.clear();
    EXPECT_FALSE(save->SaveInvoice(true));
    EXPECT_EQ(messages.last().text, QStringLiteral("صندوقي براي اين كاربر باز نيست."));
    EXPECT_EQ(count(QStringLiteral("tblSaleInvoice")), 0);
    EXPECT_TRUE(details().empty());
    // The store version asks for the turn in both states.
    messages.clear();
    EXPECT_FALSE(save->SaveInvoice(false));
    EXPECT_EQ(messages.last().text, QStringLiteral("صندوقي براي اين كاربر باز نيست."));
}

// Another workstation: closes the turn with its owner's connection.
TEST(CashTurnChildProcess, CloseTurn) {
    const QString connection = qEnvironmentVariable(kChildDb);
    if (connection.isEmpty()) GTEST_SKIP() << "started only by the test of a closing turn";
    auto session = Session::open(connection);
    suite::CashTurnManager(*session, qEnvironmentVariableIntValue(kChildOwner))
        .CloseTurn(qEnvironmentVariable(kChildTurn).toLongLong());
}

TEST_P(CashTurnSaveTest, ATurnClosedElsewhereAfterTheCheckUndoesTheWholeSave) {
    const auto check = save->seams.CheckCashTurn;
    save->seams.CheckCashTurn = [&] {
        if (!check()) return false;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kChildDb), database->connectionString());
        env.insert(QString::fromLatin1(kChildOwner), QString::number(ctx.globals.CurrentUserID));
        env.insert(QString::fromLatin1(kChildTurn), QString::number(turn));
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=CashTurnChildProcess.CloseTurn")});
        EXPECT_TRUE(child.waitForFinished(60000));
        EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
        return true;
    };
    newInvoice();
    EXPECT_FALSE(save->SaveInvoice(true));
    EXPECT_TRUE(messages.last().text.endsWith(kCashTurnClosed))
        << messages.last().text.toStdString();
    EXPECT_FALSE(messages.last().text.contains(kStep5Text));
    EXPECT_EQ(count(QStringLiteral("tblSaleInvoice")), 0);
    EXPECT_EQ(count(QStringLiteral("tblInventoryDispatch")), 0);
    EXPECT_TRUE(details().empty());
    EXPECT_TRUE(form->doc().txtID.isEmpty());
}

TEST_P(CashTurnSaveTest, TheSelectorOffersOwnAndAdmittedTurnsAndKeepsTheChoice) {
    const int owner = addUser(QStringLiteral("صندوقدار دوم"), false);
    const int second = addBox(QStringLiteral("صندوق_عقب"));
    permit(second, owner);
    const qint64 shared = openTurn(second, owner);
    suite::CashTurnManager(db(), owner).AdmitUser(shared, ctx.globals.CurrentUserID);
    form->RefillCashTurns();
    ASSERT_EQ(selector().entries().size(), 2u);
    EXPECT_EQ(selector().currentIndex(), 0);  // the turn chosen before stays chosen
    form->cmbCashTurn_Click(1);
    EXPECT_EQ(form->doc().CashID, second);
    EXPECT_EQ(form->doc().Turn, 1);
    EXPECT_EQ(CashNameOfEntry(form->doc().cashTurnDescription), QStringLiteral("صندوق"));
    form->RefillCashTurns();
    EXPECT_EQ(selector().currentIndex(), 1);
    // The contents list holds the user's own turns only.
    const auto own = OwnCashTurns(db(), ctx.globals.CurrentUserID);
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(own[0].cashId, cash);
    // The chosen turn gone, the first entry takes its place.
    closeTurn(shared, owner);
    form->RefillCashTurns();
    EXPECT_EQ(selector().currentIndex(), 0);
    EXPECT_EQ(form->doc().CashID, cash);
}

// A box on its thousandth shift still books into the right turn.
TEST_P(CashTurnSaveTest, TurnNumbersOfAThousandAndMoreAreTheirOwn) {
    db().exec(QStringLiteral("update tblRecPayCashTurn set Turn = 1000 where ID = ?"), {turn});
    const int next = addBox(QStringLiteral("صندوق دوم"));
    openTurn(next, ctx.globals.CurrentUserID);
    form->RefillCashTurns();
    ASSERT_EQ(selector().entries().size(), 2u);
    EXPECT_EQ(form->doc().CashID, cash);
    EXPECT_EQ(form->doc().Turn, 1000);
    newInvoice();
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(details().first().toInt64(u"CashTurnID"), turn);
}

TEST_P(CashTurnSaveTest, TheChangeIsCountedOnlyWhenTheCashCoversTheTotal) {
    newInvoice(1250000);
    InvoiceDocument& d = form->doc();
    d.txtTempCustomerCash = QStringLiteral("2/000/000");
    form->txtTempCustomerCash_Enter();
    EXPECT_EQ(d.txtTempCustomerCashReturn, QStringLiteral("750/000"));
    d.txtTempCustomerCash = QStringLiteral("1000000");
    form->txtTempCustomerCash_Enter();
    EXPECT_EQ(d.txtTempCustomerCashReturn, QStringLiteral("750/000"));
    d.txtTempCustomerCash = QStringLiteral("1250000");
    form->txtTempCustomerCash_Enter();
    EXPECT_EQ(d.txtTempCustomerCashReturn, QStringLiteral("0"));
    form->cmdNew_Click();
    EXPECT_TRUE(d.txtTempCustomerCash.isEmpty());
    EXPECT_TRUE(d.txtTempCustomerCashReturn.isEmpty());
}

// The contents figures against plain sums of what the turn holds: final invoices and returns
// booked to it count, a temporary invoice and another turn's rows do not.
TEST_P(CashTurnSaveTest, TheContentsOfATurnAreTheSumsOfWhatItHolds) {
    const int otherBox = addBox(QStringLiteral("صندوق ديگر"));
    const qint64 otherTurn = openTurn(otherBox, ctx.globals.CurrentUserID);
    auto book = [&](qint64 turnId, int form, int type, qint64 received, qint64 payed) {
        db().exec(QStringLiteral("insert into tblRecPayCashTurnDetail (CashTurnID, FormID, "
                                 "FormTypeID, ReceivedValue, PayedValue) values (?, ?, ?, ?, ?)"),
                  {turnId, form, type, QVariant::fromValue(Money::fromRials(received)),
                   QVariant::fromValue(Money::fromRials(payed))});
    };
    auto invoice = [&](QVariant code, qint64 discount, qint64 pure) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblSaleInvoice (Code, CreateDate, CustomerID, "
                           "InventoryID, TypeID, DiscountValue, PureTotalValue) values "
                           "(?, ?, ?, ?, ?, ?, ?) RETURNING ID"),
            {code, QDate(2026, 12, 6), customer, inventory, type,
             QVariant::fromValue(Money::fromRials(discount)),
             QVariant::fromValue(Money::fromRials(pure))}));
    };
    auto saleReturn = [&](QVariant code, qint64 pure) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblSaleReturn (Code, PureTotalValue) values (?, ?) "
                           "RETURNING ID"),
            {code, QVariant::fromValue(Money::fromRials(pure))}));
    };
    const qint64 discounts[] = {100, 0, 2500};
    const qint64 pures[] = {10000, 23000, 47500};
    qint64 received = 0, discount = 0, pure = 0;
    for (int i = 0; i < 3; ++i) {
        book(turn, invoice(i + 1, discounts[i], pures[i]), 901, pures[i], 0);
        received += pures[i];
        discount += discounts[i];
        pure += pures[i];
    }
    book(turn, invoice(QVariant(), 50, 999), 901, 999, 0);  // temporary: not an invoice of it
    book(otherTurn, invoice(9, 0, 7000), 901, 7000, 0);
    book(turn, saleReturn(1, 3000), 903, 0, 3000);
    book(turn, saleReturn(QVariant(), 800), 903, 0, 800);
    book(turn, 0, 205, 0, 20000);  // a card payment to the bank
    received += 999;
    const qint64 payed = 3000 + 800 + 20000;

    const auto c = ReadCashTurnContents(db(), ctx.globals.CurrentUserID, cash, 1);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->received, Money::fromRials(received));
    EXPECT_EQ(c->payed, Money::fromRials(payed));
    EXPECT_EQ(c->invoices, 3);
    EXPECT_EQ(c->invoicesDiscount, Money::fromRials(discount));
    EXPECT_EQ(c->invoicesValue, Money::fromRials(pure + discount));
    EXPECT_EQ(c->invoicesReceived, Money::fromRials(pure));
    EXPECT_EQ(c->returns, 1);
    EXPECT_EQ(c->returnsValue, Money::fromRials(3000));
    EXPECT_EQ(c->remainingCount(), 2);
    EXPECT_EQ(c->remainingValue(), Money::fromRials(pure - 3000));
    EXPECT_FALSE(ReadCashTurnContents(db(), ctx.globals.CurrentUserID, cash, 2));

    const auto empty = ReadCashTurnContents(db(), ctx.globals.CurrentUserID, otherBox, 1);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->returns, 0);
    EXPECT_EQ(empty->remainingValue(), Money::fromRials(7000));
}

SI_INSTANTIATE_BACKENDS(CashTurnSaveTest);

}  // namespace
}  // namespace si::test
