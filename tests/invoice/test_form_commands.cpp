// Edit's checks, the cancel and exit questions, and the keyboard shortcuts of the invoice form.

#include <gtest/gtest.h>

#include "invoice/FormTestSupport.h"
#include "invoice/LinesLogic.h"
#include "support/CreditFixtures.h"

namespace si {
namespace {

class FormCommandsTest : public test::FormTest {
protected:
    int invoiceDated(const QDate& date, int distribution = -1) {
        test::InvoiceRow row;
        row.date = date;
        row.customer = test::AddCustomer(db(), QStringLiteral("مشتري"));
        row.distributionInvoice = distribution;
        return test::AddInvoice(db(), row);
    }
    void asClerk(std::initializer_list<int> rights) {
        ctx.globals.CurrentUserID = addUser(QStringLiteral("فروشنده"), false, rights);
        newForm();
    }
    // Counts the seam calls and records the presets.
    void countSeams() {
        form->seams.SaveInvoice = [this](bool final) { (final ? finals : temps)++; };
        form->seams.Print = [this](bool preview) { (preview ? previews : prints)++; };
        form->seams.Payment = [this](int preset) { presets << preset; };
        form->seams.Delete = [this] { ++deletes; };
        form->seams.BackToTemp = [this] { ++backs; };
        form->seams.CashTurn = [this] { ++cashTurns; };
        form->seams.CashFlow = [this] { ++cashFlows; };
        form->seams.CustomerName = [this] { ++customerNames; };
    }
    void makeSavable() {
        InvoiceLine line;
        line.BarCode = QStringLiteral("626001");
        line.GoodName = QStringLiteral("چاي");
        form->doc().flexDetail.appendLine(line);
        form->doc().sltCustomer.setIDQuietly(test::AddCustomer(db(), QStringLiteral("مشتري")),
                                             QStringLiteral("م"));
        form->RefreshTimer_Timer();
    }

    int temps = 0, finals = 0, prints = 0, previews = 0, deletes = 0, backs = 0, cashTurns = 0,
        cashFlows = 0, customerNames = 0;
    QList<int> presets;
};

const QString kTooOld = QStringLiteral(
    "مدت زمان مجاز براي تغيير فاکتور سپري شده است. بنابراين امکان تغيير در اين فاکتور وجود ندارد.");

TEST_P(FormCommandsTest, EditAgeLimitUnlessRight90122) {
    const int id = invoiceDated(now.date().addDays(-4));
    setParameter(P::AgeLimitDays, QStringLiteral("3"));
    asClerk({90102});
    form->ViewInvoice(id);
    form->cmdEdit_Click();
    EXPECT_EQ(form->FormMode(), kModeView);
    EXPECT_EQ(messages.last().text, kTooOld);

    const int recent = invoiceDated(now.date().addDays(-3));  // exactly the limit passes
    form->ViewInvoice(recent);
    form->cmdEdit_Click();
    EXPECT_EQ(form->FormMode(), kModeEdit);

    asClerk({90102, 90122});
    form->ViewInvoice(id);
    form->cmdEdit_Click();
    EXPECT_EQ(form->FormMode(), kModeEdit);

    setParameter(P::AgeLimitDays, QStringLiteral("-1"));
    asClerk({90102});
    form->ViewInvoice(id);
    form->cmdEdit_Click();
    EXPECT_EQ(form->FormMode(), kModeEdit);
}

TEST_P(FormCommandsTest, EditOfADistributionInvoice) {
    const int id = invoiceDated(now.date(), /*distribution=*/31);
    asClerk({90102});
    form->ViewInvoice(id);
    form->cmdEdit_Click();
    EXPECT_EQ(form->FormMode(), kModeView);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("شما مجاز به اصلاح فاکتور فروش موجود در حواله پخش نيستيد."));

    asClerk({90102, 90119});
    form->ViewInvoice(id);
    form->cmdEdit_Click();
    EXPECT_EQ(form->FormMode(), kModeEdit);

    db().exec(QStringLiteral(
        "insert into tblDistributionReturn (DistributionInvoiceID, Code) values (31, 1)"));
    form->ViewInvoice(id);
    form->cmdEdit_Click();
    EXPECT_EQ(form->FormMode(), kModeView);
    EXPECT_TRUE(
        messages.last().text.startsWith(QStringLiteral("از روي حواله توزيع مربوط به اين فاکتور")));
    EXPECT_EQ(messages.last().caption, kErrorCaption);
}

TEST_P(FormCommandsTest, EditWarnsAboutAScaleMadeInvoice) {
    const int id = invoiceDated(now.date());
    db().exec(QStringLiteral("insert into tblSaleInvoiceScaleBarcode (InvoiceID, ScaleBarcode) "
                             "values (?, '/12345678901/')"),
              {id});
    form->ViewInvoice(id);
    form->cmdEdit_Click();
    EXPECT_EQ(form->FormMode(), kModeEdit);
    EXPECT_EQ(messages.last().caption, QStringLiteral("هشدار"));
    EXPECT_EQ(
        messages.last().text,
        QStringLiteral(
            "اين فاکتور از روي بارکدهاي ترازو توليد شده است، اصلاح کالاهاي داخل جدول ممکن نيست."));
}

// The goods of a scale-made invoice are the station's: in edit mode the grid refuses a changed
// cell, while the same invoice without station barcodes stays editable.
TEST_P(FormCommandsTest, TheLinesOfAScaleMadeInvoiceStayLockedInEditMode) {
    const int unit = test::AddUnit(db(), QStringLiteral("عدد"), 1, true);
    test::AddGood(db(), QStringLiteral("626001"), QStringLiteral("1001"), QStringLiteral("چاي"),
                  5000, unit);
    for (const bool fromScale : {false, true}) {
        SCOPED_TRACE(fromScale ? "from the scale" : "entered by hand");
        const int id = invoiceDated(now.date());
        test::AddInvoiceLine(db(), id, QStringLiteral("626001"), 2, 5000, unit, 1);
        if (fromScale)
            db().exec(QStringLiteral("insert into tblSaleInvoiceScaleBarcode (InvoiceID, "
                                     "ScaleBarcode) values (?, '/12345678901/')"),
                      {id});
        form->ViewInvoice(id);
        form->cmdEdit_Click();
        ASSERT_EQ(form->FormMode(), kModeEdit);
        EXPECT_EQ(form->availability().gridEditable, !fromScale);
        LinesLogic& lines = *form->services().lines;
        EXPECT_EQ(lines.commitCell(0, Col::Qty, QStringLiteral("7")), !fromScale);
        EXPECT_DOUBLE_EQ(form->doc().flexDetail.line(0).Qty, fromScale ? 2 : 7);
        messages.clear();
        messages.answerYes();
        form->cmdCancel_Click();
    }
}

// Ctrl+E in edit or new mode reloads or clears the invoice: what the clerk changed since is
// dropped only after a question answered yes; an unchanged invoice needs no question.
TEST_P(FormCommandsTest, EditAsksBeforeDroppingUnsavedChanges) {
    const QString question =
        QStringLiteral("تغييرات ثبت نشده فاکتور از بين خواهد رفت. آيا ادامه مي دهيد؟");
    const QString notes = QStringLiteral("تحويل فوري");
    auto pressCtrlE = [this] { EXPECT_TRUE(form->RouteKeys(Qt::Key_E, Qt::ControlModifier)); };
    const int id = invoiceDated(now.date());
    form->ViewInvoice(id);
    form->cmdEdit_Click();
    ASSERT_EQ(form->FormMode(), kModeEdit);
    pressCtrlE();
    EXPECT_TRUE(messages.empty()) << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(form->FormMode(), kModeEdit);

    form->doc().txtNotes = notes;
    messages.answerNo();
    pressCtrlE();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, QStringLiteral("آيا مطمئن هستيد؟"));
    EXPECT_EQ(messages.last().text, question);
    EXPECT_EQ(form->doc().txtNotes, notes);
    EXPECT_EQ(form->FormMode(), kModeEdit);
    messages.answerYes();
    pressCtrlE();
    EXPECT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(form->doc().txtNotes.isEmpty());  // the stored invoice again
    EXPECT_EQ(form->FormMode(), kModeEdit);

    messages.answerYes();
    form->cmdCancel_Click();
    form->cmdNew_Click();
    ASSERT_EQ(form->FormMode(), kModeNew);
    messages.clear();
    makeSavable();
    messages.answerNo();
    pressCtrlE();
    EXPECT_EQ(messages.texts(), QStringList{question});
    EXPECT_EQ(form->FormMode(), kModeNew);
    EXPECT_EQ(form->doc().flexDetail.filledCount(), 1);
    messages.answerYes();
    pressCtrlE();
    EXPECT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(form->FormMode(), kModeCleared);
    EXPECT_EQ(form->doc().flexDetail.filledCount(), 0);

    form->cmdNew_Click();
    messages.clear();
    pressCtrlE();
    EXPECT_TRUE(messages.empty()) << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(form->FormMode(), kModeCleared);
}

TEST_P(FormCommandsTest, ExitAsksPerMode) {
    const int id = invoiceDated(now.date());
    form->ViewInvoice(id);
    form->cmdExit_Click();  // Cancel not available: unload at once
    EXPECT_EQ(ui.unloads, 1);
    EXPECT_TRUE(messages.empty());

    form->cmdEdit_Click();
    messages.answerNo();
    form->cmdExit_Click();  // in mode 1 Exit is Cancel
    EXPECT_EQ(messages.last().text, QStringLiteral("انصراف از ثبت فاکتور فروش"));
    EXPECT_EQ(form->FormMode(), kModeEdit);
    EXPECT_EQ(ui.unloads, 1);
    messages.answerYes();
    form->cmdExit_Click();
    EXPECT_EQ(form->FormMode(), kModeView);
    EXPECT_EQ(ui.unloads, 1);
}

TEST_P(FormCommandsTest, SaveCommandsFollowTheRefreshRule) {
    countSeams();
    form->ClearShow();
    form->cmdNew_Click();
    EXPECT_FALSE(form->RouteKeys(Qt::Key_S, Qt::ControlModifier) && finals > 0);
    EXPECT_EQ(finals, 0);
    makeSavable();
    form->RouteKeys(Qt::Key_F8, Qt::NoModifier);
    form->RouteKeys(Qt::Key_S, Qt::ControlModifier);
    form->RouteKeys(Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(temps, 2);
    EXPECT_EQ(finals, 1);
}

TEST_P(FormCommandsTest, ControlKeysCountOnlyWithControlAlone) {
    countSeams();
    form->ClearShow();
    form->cmdNew_Click();
    makeSavable();
    EXPECT_FALSE(form->RouteKeys(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier));
    EXPECT_FALSE(form->RouteKeys(Qt::Key_S, Qt::ControlModifier | Qt::AltModifier));
    EXPECT_FALSE(form->RouteKeys(Qt::Key_F9, Qt::ShiftModifier));
    EXPECT_EQ(finals, 0);
}

TEST_P(FormCommandsTest, F10SavesFinallyThenPrintsOnceEvenWhenRepeated) {
    countSeams();
    form->ClearShow();
    form->cmdNew_Click();
    makeSavable();
    // The save succeeds (the form goes to mode 0) and a second F10 arrives meanwhile.
    form->seams.SaveInvoice = [this](bool final) {
        ++finals;
        EXPECT_TRUE(final);
        EXPECT_FALSE(form->finalSaveAndPrintGuard());
        form->RouteKeys(Qt::Key_F10, Qt::NoModifier);
        form->doc().FormMode = kModeView;
        form->ApplyMode();
    };
    form->RouteKeys(Qt::Key_F10, Qt::NoModifier);
    EXPECT_EQ(finals, 1);
    EXPECT_EQ(prints, 1);
    EXPECT_TRUE(form->finalSaveAndPrintGuard());
}

TEST_P(FormCommandsTest, EveryControlKeyReachesItsCommand) {
    countSeams();
    const int temp = invoiceDated(now.date());
    test::InvoiceRow finalRow;
    finalRow.code = 3;
    const int final = test::AddInvoice(db(), finalRow);

    form->ViewInvoice(final);  // mode 0 with a code
    for (int key : {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4})
        form->RouteKeys(key, Qt::ControlModifier);
    EXPECT_EQ(presets, (QList<int>{1, 2, 3, 4}));
    EXPECT_EQ(form->paymentPreset(), -1);
    form->RouteKeys(Qt::Key_R, Qt::ControlModifier);
    form->RouteKeys(Qt::Key_P, Qt::ControlModifier);
    form->RouteKeys(Qt::Key_F12, Qt::NoModifier);
    EXPECT_EQ(backs, 1);
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(customerNames, 1);

    form->ViewInvoice(temp);  // mode 0 without a code
    form->RouteKeys(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(deletes, 1);
    form->RouteKeys(Qt::Key_K, Qt::ControlModifier);
    form->RouteKeys(Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(cashTurns, 1);
    EXPECT_EQ(cashFlows, 1);
    ui.searchAnswer = final;
    form->RouteKeys(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(ui.searches, 1);
    EXPECT_EQ(form->doc().txtID, QString::number(final));
    form->RouteKeys(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(form->FormMode(), kModeNew);
    messages.answerYes();
    form->RouteKeys(Qt::Key_X, Qt::ControlModifier);  // Exit in mode 2 is Cancel
    EXPECT_EQ(form->FormMode(), kModeCleared);
    form->RouteKeys(Qt::Key_F11, Qt::NoModifier);
    EXPECT_EQ(form->FormMode(), kModeNew);
    form->RouteKeys(Qt::Key_F1, Qt::NoModifier);
    EXPECT_EQ(ui.keyMaps, 1);
    form->ViewInvoice(temp);
    form->RouteKeys(Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(form->FormMode(), kModeEdit);
}

TEST_P(FormCommandsTest, UnavailableCommandsDoNothing) {
    countSeams();
    form->ClearShow();  // mode 3: no payment, no delete, no print
    form->RouteKeys(Qt::Key_1, Qt::ControlModifier);
    form->RouteKeys(Qt::Key_D, Qt::ControlModifier);
    form->RouteKeys(Qt::Key_P, Qt::ControlModifier);
    form->RouteKeys(Qt::Key_F9, Qt::NoModifier);
    EXPECT_TRUE(presets.isEmpty());
    EXPECT_EQ(deletes + previews + finals, 0);
}

// A command whose module is not in this version says so; none does nothing silently.
TEST_P(FormCommandsTest, CommandsWithoutTheirModuleSayTheyAreNotAvailable) {
    const int final = [&] {
        test::InvoiceRow row;
        row.code = 3;
        return test::AddInvoice(db(), row);
    }();
    form->ViewInvoice(final);
    for (const char* command : {"cmdPrint", "cmdView", "cmdBackToTemp", "cmdGrandTotal",
                                "cmdLottery", "cmdCustomerPrint", "cmdNewCustomer"}) {
        SCOPED_TRACE(command);
        messages.clear();
        EXPECT_TRUE(form->runCommand(QString::fromLatin1(command)));
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.last().text,
                  QStringLiteral("اين فرمان در اين نسخه هنوز فراهم نشده است."));
    }
}

// Debit information: the balance of the customer's own accounts and what is still temporary.
TEST_P(FormCommandsTest, DebitInformationTellsTheBalanceAndTheTemporaryInvoices) {
    const int customer = test::AddCustomer(db(), QStringLiteral("مشتري بدهکار"));
    const int account = test::AddCustomerAccount(db(), customer);
    test::PostToAccount(db(), account, 250000, 0, now.date(), false);
    test::PostToAccount(db(), account, 0, 40000, now.date(), false);
    test::InvoiceRow row;
    row.customer = customer;
    const int temp = test::AddInvoice(db(), row);
    db().exec(QStringLiteral("update tblSaleInvoice set TotalValue = 75000 where ID = ?"), {temp});
    form->ViewInvoice(temp);
    messages.clear();
    form->runCommand(QStringLiteral("cmdDebitInfo"));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("مانده حساب مشتري: 210/000 ريال بدهکار\nفاكتورهاي موقت (هنوز ثبت "
                             "حسابداري نشده): 1 فاكتور به مبلغ 75/000 ريال"));
}

// The staff card read at the RFID command picks the promoter whose tag it is.
TEST_P(FormCommandsTest, TheRfidCardPicksThePromoterByItsTag) {
    useParameter(P::PromoterByRfid, QStringLiteral("1"));
    const auto promoter = static_cast<int>(db().insertReturningId(
        QStringLiteral(
            "insert into tblEmployee (FirstName, SureName, Tag) values (?, ?, ?) RETURNING ID"),
        {QStringLiteral("سارا"), QStringLiteral("احمدي"), QStringLiteral("0012345678")}));
    newForm();
    form->ClearShow();
    form->cmdNew_Click();
    form->seams.ReadCardTag = [] { return QStringLiteral("0012345678"); };
    form->runCommand(QStringLiteral("cmdRFID"));
    EXPECT_EQ(form->doc().sltPromoter.ID(), promoter);
    form->seams.ReadCardTag = [] { return QStringLiteral("999"); };
    messages.clear();
    form->runCommand(QStringLiteral("cmdRFID"));
    EXPECT_TRUE(form->doc().sltPromoter.IsEmpty());
    EXPECT_TRUE(messages.anyContains(QStringLiteral("بازارياب از طريق کارت يافت نشد.")));
}

// cmdShouldSMSSend edits the customer message's template in the description dialog: a new row of
// the sale system when there is none, the row's value afterwards; a quote is only a character,
// an empty text is refused as the dialog refuses it, and cancel changes nothing.
TEST_P(FormCommandsTest, TheSmsTemplateIsAddedThenWrittenBackWithItsQuotes) {
    const auto row = [this] {
        return db().first(
            QStringLiteral("select SystemID, Value, UserID, Description from "
                           "tblZelorSystemParameters where ID = 5003"));
    };
    QStringList titles, shown, answers;
    form->seams.EditText = [&](const QString& title, const QString& text,
                               const std::function<bool(const QString&)>& accept) {
        titles << title;
        shown << text;
        for (const QString& answer : answers)
            if (accept(answer)) return;
    };
    form->ClearShow();
    EXPECT_FALSE(form->runCommand(QStringLiteral("cmdShouldSMSSend")));
    form->cmdNew_Click();

    const QString quoted = QStringLiteral("مشتري 'عزيز' @CustomerName'); delete from tblUser; --");
    answers = {QStringLiteral("  "), quoted};
    ASSERT_TRUE(form->runCommand(QStringLiteral("cmdShouldSMSSend")));
    EXPECT_EQ(titles, QStringList{QStringLiteral("متن پيامك")});
    EXPECT_EQ(shown, QStringList{QString()});
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("متن وارد نشده است!")});
    EXPECT_EQ(messages.last().caption, QStringLiteral("اشكال"));
    std::optional<Row> stored = row();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->toInt(u"SystemID"), 9);
    EXPECT_EQ(stored->text(u"Value"), quoted);
    EXPECT_EQ(stored->toInt(u"UserID"), -1);
    EXPECT_EQ(stored->text(u"Description"), QStringLiteral("متن پيامك در فاكتور فروش"));
    EXPECT_GT(db().scalar(QStringLiteral("select count(*) from tblUser")).toInt(), 0);

    const QString changed = QStringLiteral(" سلام '@CustomerFirstName' ");
    answers = {changed};
    ASSERT_TRUE(form->runCommand(QStringLiteral("cmdShouldSMSSend")));
    EXPECT_EQ(shown.last(), quoted);
    stored = row();
    EXPECT_EQ(stored->text(u"Value"), changed.trimmed());
    EXPECT_EQ(stored->text(u"Description"), QStringLiteral("متن پيامك در فاكتور فروش"));
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from tblZelorSystemParameters where "
                                         "ID = 5003"))
                  .toInt(),
              1);

    answers = {QString(4001, u'پ')};
    messages.clear();
    ASSERT_TRUE(form->runCommand(QStringLiteral("cmdShouldSMSSend")));
    EXPECT_EQ(messages.texts(),
              QStringList{
                  QStringLiteral("طول «متن پيامك» 4001 نويسه است و حداكثر 4000 نويسه مجاز است.")});
    answers.clear();  // cancel
    ASSERT_TRUE(form->runCommand(QStringLiteral("cmdShouldSMSSend")));
    EXPECT_EQ(row()->text(u"Value"), changed.trimmed());
}

// The template's command stands beside the SMS tick: both shown in SMS mode 1 only, both open
// to right 90141 while an invoice is entered.
TEST_P(FormCommandsTest, TheSmsCommandFollowsTheTickAndItsRight) {
    const auto shown = [this](const char* control) {
        return form->availability().isShown(QString::fromLatin1(control));
    };
    form->ClearShow();
    EXPECT_FALSE(shown("cmdShouldSMSSend"));
    EXPECT_FALSE(shown("chkShouldSMSSend"));
    useParameter(P::SmsMode, QStringLiteral("1"));
    asClerk({90101});
    form->ClearShow();
    EXPECT_TRUE(shown("cmdShouldSMSSend"));
    EXPECT_TRUE(shown("chkShouldSMSSend"));
    form->cmdNew_Click();
    EXPECT_FALSE(enabled("cmdShouldSMSSend"));
    grant(ctx.globals.CurrentUserID, 90141);
    form->ApplyMode();
    EXPECT_TRUE(enabled("cmdShouldSMSSend"));
    EXPECT_TRUE(enabled("chkShouldSMSSend"));
}

// Choosing a customer with parameter 3406 on shows the card in force: the latest issued.
TEST_P(FormCommandsTest, ChoosingACustomerShowsTheLatestCrmCard) {
    useParameter(P::ShowCrmCard, QStringLiteral("1"));
    const int customer = test::AddCustomer(db(), QStringLiteral("مشتري وفادار"));
    const int none = test::AddCustomer(db(), QStringLiteral("مشتري تازه"));
    for (const char* type : {"نقره اي", "طلايي"})
        db().exec(QStringLiteral("insert into tblCRMCardType (Name) values (?)"),
                  {QString::fromUtf8(type)});
    db().exec(QStringLiteral("insert into tblCRMOrganizationCard (OrganizationID, CardTypeID, "
                             "TotalGrade, TotalValue, FarsiIssueDate) select ?, ID, 120, 5400000, "
                             "'1405/01/10' from tblCRMCardType order by ID"),
              {customer});
    newForm();
    form->ClearShow();
    form->cmdNew_Click();
    messages.clear();
    form->doc().sltCustomer.setID(customer);
    EXPECT_EQ(form->doc().lblErrMessage,
              QStringLiteral("كارت مشتري: طلايي، امتياز 120، جمع خريد 5/400/000 ريال، صادر شده در "
                             "1405/01/10"));
    form->doc().sltCustomer.setID(none);
    EXPECT_EQ(form->doc().lblErrMessage,
              QStringLiteral("كارت مشتري: براي اين مشتري كارتي صادر نشده است."));
    EXPECT_TRUE(messages.empty()) << "a card is no box to close";
}

TEST_P(FormCommandsTest, SearchNeedsItsRight) {
    asClerk({});
    form->ClearShow();
    ui.searchAnswer = invoiceDated(now.date());
    form->cmdSearch_Click();
    EXPECT_EQ(ui.searches, 0);
    EXPECT_EQ(messages.last().text, kNoRightMessage);
    EXPECT_EQ(form->FormMode(), kModeCleared);
}

SI_INSTANTIATE_BACKENDS(FormCommandsTest);

}  // namespace
}  // namespace si
