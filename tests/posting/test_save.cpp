// SaveInvoice: what a temporary and a final save store, the credit level of the position, and
// the chain of checks stopping at its first failure without writing anything.

#include <QScopeGuard>
#include <QTemporaryDir>
#include <functional>

#include "PostingTestSupport.h"
#include "common/EventChainCheck.h"
#include "common/Jalali.h"
#include "common/Numbers.h"
#include "invoice/HeaderLogic.h"

namespace si::test {
namespace {

class SaveTest : public PostingTest {
protected:
    int invoices() { return count(QStringLiteral("tblSaleInvoice")); }
};

TEST_P(SaveTest, TemporarySaveStoresHeaderAndLinesWithoutCode) {
    newInvoice({line(QStringLiteral("1001"), 2, 1500), line(QStringLiteral("1002"), 3, 700)});
    form->doc().txtNotes = QString(2100, QChar(u'ن'));
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    const int id = savedID();
    ASSERT_GT(id, 0);
    EXPECT_TRUE(storedCode(id).isNull());
    EXPECT_TRUE(form->doc().txtCode.isEmpty());
    EXPECT_EQ(form->FormMode(), kModeView);
    EXPECT_EQ(ui.focus, QStringLiteral("cmdNew"));
    const auto head = db().first(
        QStringLiteral("select CustomerID, InventoryID, TypeID, TotalValue, Value, Notes, "
                       "IsPaidByCash from tblSaleInvoice where ID = ?"),
        {id});
    ASSERT_TRUE(head);
    EXPECT_EQ(head->toInt(u"CustomerID"), customer);
    EXPECT_EQ(head->toInt(u"InventoryID"), inventory);
    EXPECT_EQ(head->toInt(u"TypeID"), type);
    EXPECT_EQ(head->money(u"TotalValue"), Money::fromRials(2 * 1500 + 3 * 700));
    EXPECT_EQ(head->text(u"Notes").size(), 2000);
    EXPECT_TRUE(head->toBool(u"IsPaidByCash"));
    const RowSet lines = db().query(QStringLiteral("select Barcode, Qty, RetailPrice, RowNumber "
                                                   "from tblSaleInvoiceDetail where InvoiceID = ? "
                                                   "order by RowNumber"),
                                    {id});
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].text(u"Barcode"), QStringLiteral("1001"));
    EXPECT_EQ(lines[1].money(u"RetailPrice"), Money::fromRials(700));
    EXPECT_EQ(lines[1].toDouble(u"Qty"), 3);
    EXPECT_EQ(count(QStringLiteral("tblInventoryDispatch")), 0);
    EXPECT_EQ(count(QStringLiteral("tblAccountDocument")), 0);
}

// Each save of the stored invoice rewrites its lines, logs the edit and takes the version the
// previous save left, up to the final one.
TEST_P(SaveTest, SavingAStoredInvoiceAgainRewritesItsLinesAndLogsTheEdit) {
    enablePosting();
    newInvoice({line(QStringLiteral("1001"), 2, 1500), line(QStringLiteral("1002"), 3, 700)});
    ASSERT_TRUE(save->SaveInvoice(false));
    const int id = savedID();
    form->cmdEdit_Click();
    ASSERT_EQ(form->FormMode(), kModeEdit);
    form->doc().flexDetail.DeleteLine(0);
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(savedID(), id);
    EXPECT_EQ(invoices(), 1);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from tblSaleInvoiceDetail where "
                                         "InvoiceID = ?"),
                          {id})
                  .toInt(),
              1);
    EXPECT_EQ(db().scalar(QStringLiteral("select Description from tblZelorFormEvent where "
                                         "EventTypeID = 90101 and FormCode = ?"),
                          {id})
                  .toString(),
              QStringLiteral("فاكتور فروش كالا به شماره رايانهاي ") + QString::number(id) +
                  QStringLiteral(" اصلاح شد."));
    for (int i = 0; i < 3; ++i) {
        form->cmdEdit_Click();
        form->doc().flexDetail.line(0).Qty = 3 + i;
        ASSERT_TRUE(save->SaveInvoice(i == 2)) << messages.texts().join(u'\n').toStdString();
    }
    EXPECT_EQ(storedCode(id).toInt(), 1);
    EXPECT_EQ(count(QStringLiteral("tblAccountDocument")), 1);
}

// A final save is one event of its own in the signed log, written in the save's transaction: a
// temporary save writes none, and without the key file the final save is refused whole.
TEST_P(SaveTest, AFinalSaveIsLoggedOnceAndNotWithoutTheKey) {
    enablePosting();
    const QString finalSaves =
        QStringLiteral("tblZelorFormEvent where EventTypeID = 90103 and ChainSeq is not null");
    newInvoice({line(QStringLiteral("1001"), 2, 1500)});
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("none.key"));
        const QByteArray key = qgetenv("SALEINVOICE_AUDIT_KEY");
        const auto restore = qScopeGuard([&key] { qputenv("SALEINVOICE_AUDIT_KEY", key); });
        qputenv("SALEINVOICE_AUDIT_KEY", QFile::encodeName(missing));
        EXPECT_FALSE(save->SaveInvoice(true));
        EXPECT_TRUE(messages.anyContains(missing)) << messages.texts().join(u'\n').toStdString();
        EXPECT_EQ(invoices(), 0);
        EXPECT_EQ(count(QStringLiteral("tblAccountDocument")), 0);
    }
    newInvoice({line(QStringLiteral("1001"), 2, 1500)});
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(count(finalSaves), 0);
    newInvoice({line(QStringLiteral("1002"), 1, 700)});
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    const int id = savedID();
    const RowSet events =
        db().query(QStringLiteral("select FormCode, Description, UserID from ") + finalSaves);
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(events[0].toInt(u"FormCode"), id);
    EXPECT_EQ(events[0].toInt(u"UserID"), ctx.globals.CurrentUserID);
    EXPECT_EQ(events[0].text(u"Description"),
              QStringLiteral("فاكتور فروش كالا به شماره رايانهاي ") + QString::number(id) +
                  QStringLiteral(" ثبت قطعي شد."));
    EXPECT_TRUE(VerifyEventChain(db()).intact());
}

// A formal invoice moved into another tax period is stored with the tax and duty of its new
// date, on its lines and in its totals.
TEST_P(SaveTest, ADateInAnotherTaxPeriodChangesTheStoredTaxAndDuty) {
    db().exec(QStringLiteral("update tblGood set HasTax=1, HasAdded=1"));
    const QString period = QStringLiteral(
        "insert into tblSaleTaxCostsConfiguration (BeginDate, EndDate, TaxPercent, "
        "AddedPercent) values (?, ?, ?, ?)");
    db().exec(period, {QDate(2026, 1, 1), QDate(2026, 6, 30), 9, 3});
    db().exec(period, {QDate(2026, 7, 1), QDate(2026, 12, 31), 6, 2});
    newInvoice({line(QStringLiteral("1001"), 10, 1000)}, QDate(2026, 5, 10));
    InvoiceDocument& d = form->doc();
    d.chkIsFormal = true;
    HeaderLogic& header = *form->services().header;
    header.chkIsFormal_Click();
    ASSERT_EQ(d.flexDetail.line(0).Tax, Money::fromRials(900));
    ASSERT_EQ(d.flexDetail.line(0).Duty, Money::fromRials(300));

    ASSERT_TRUE(header.SetCreateDate(QDate(2026, 7, 2)));
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    const int id = savedID();
    const auto stored = db().first(
        QStringLiteral("select TaxValue, AddedValue from tblSaleInvoiceDetail where InvoiceID = ?"),
        {id});
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->money(u"TaxValue"), Money::fromRials(600));
    EXPECT_EQ(stored->money(u"AddedValue"), Money::fromRials(200));
    const auto head = db().first(
        QStringLiteral("select TotalValue, Value from tblSaleInvoice where ID = ?"), {id});
    ASSERT_TRUE(head);
    EXPECT_EQ(head->money(u"TotalValue"), Money::fromRials(10000 + 600 + 200));
    EXPECT_EQ(head->money(u"Value"), Money::fromRials(10000));
}

// Another workstation's form on the same database, with the save installed.
struct OtherWorkstation {
    explicit OtherWorkstation(Context& ctx)
        : form(ctx), module(InstallModule(form)), save(module->save()) {
        form.ClearShow();
    }
    bool open(int id) {
        form.ViewInvoice(id);
        form.cmdEdit_Click();
        return form.FormMode() == kModeEdit;
    }
    FormMainLogic form;
    std::unique_ptr<InvoiceModule> module;
    SaveLogic& save;
};

// This form read the invoice, then another workstation saved it: this save must not overwrite
// the other's work nor post the invoice twice. It is refused with what happened, writes nothing,
// and the clerk's form stays as it was.
TEST_P(SaveTest, ASaveOfAnInvoiceChangedElsewhereIsRefused) {
    struct Case {
        const char* name;
        bool otherFinalises;
        bool otherDeletes;
        const char* reason;
    } cases[] = {
        {"finalised elsewhere", true, false, "در ايستگاه ديگري نهايي شده است."},
        {"saved elsewhere", false, false, "در ايستگاه ديگري تغيير كرده است."},
        {"deleted elsewhere", false, true, "در ايستگاه ديگري حذف شده است."},
    };
    enablePosting();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        newInvoice({line(QStringLiteral("1001"), 2, 1500)});
        ASSERT_TRUE(save->SaveInvoice(false));
        const int id = savedID();
        form->cmdEdit_Click();
        OtherWorkstation other(ctx);
        ASSERT_TRUE(other.open(id));
        if (c.otherDeletes) {
            db().exec(QStringLiteral("delete from tblSaleInvoiceDetail where InvoiceID = ?"), {id});
            db().exec(QStringLiteral("delete from tblSaleInvoice where ID = ?"), {id});
        } else {
            ASSERT_TRUE(other.save.SaveInvoice(c.otherFinalises));
        }
        const int documents = count(QStringLiteral("tblAccountDocument"));
        const QVariant code = storedCode(id);
        messages.clear();
        form->doc().flexDetail.line(0).Qty = 5;
        EXPECT_FALSE(save->SaveInvoice(true));
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_TRUE(messages.last().text.contains(QString::fromUtf8(c.reason)))
            << messages.last().text.toStdString();
        EXPECT_EQ(count(QStringLiteral("tblAccountDocument")), documents);
        EXPECT_EQ(storedCode(id), code);
        EXPECT_EQ(form->FormMode(), kModeEdit);
        EXPECT_EQ(form->doc().flexDetail.line(0).Qty, 5);
        if (!c.otherDeletes) {
            EXPECT_EQ(db().scalar(QStringLiteral("select Qty from tblSaleInvoiceDetail where "
                                                 "InvoiceID = ?"),
                                  {id})
                          .toDouble(),
                      2);
        }
        form->cmdCancel_Click();
    }
}

// The form showed the invoice temporary; by the time Edit reloads it another workstation has
// finalised it, and a final invoice is not edited.
TEST_P(SaveTest, EditOfAnInvoiceFinalisedSinceItWasShownIsRefused) {
    enablePosting();
    newInvoice({line(QStringLiteral("1001"), 2, 1500)});
    ASSERT_TRUE(save->SaveInvoice(false));
    const int id = savedID();
    OtherWorkstation other(ctx);
    ASSERT_TRUE(other.open(id));
    ASSERT_TRUE(other.save.SaveInvoice(true));
    messages.clear();
    form->cmdEdit_Click();
    EXPECT_EQ(form->FormMode(), kModeView);
    EXPECT_EQ(form->doc().txtCode, QStringLiteral("1"));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("در ايستگاه ديگري نهايي شده است")));
    EXPECT_EQ(count(QStringLiteral("tblAccountDocument")), 1);
}

// A database of an older schema has no row version: the form adds it when it meets the
// database, as it adds the update stamp, and saves go on.
TEST_P(SaveTest, AFormGivesAnOlderDatabaseItsRowVersion) {
    db().execScript(QStringLiteral("ALTER TABLE tblSaleInvoice DROP COLUMN RowVersion"));
    ASSERT_FALSE(db().columnExists(QStringLiteral("tblSaleInvoice"), QStringLiteral("RowVersion")));
    installSave();
    EXPECT_TRUE(db().columnExists(QStringLiteral("tblSaleInvoice"), QStringLiteral("RowVersion")));
    newInvoice({line(QStringLiteral("1001"), 2, 1500)});
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    form->cmdEdit_Click();
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
}

// Free goods of the same goods as a sold line stay two lines: the sold one is not marked free.
TEST_P(SaveTest, FreeGoodsOfASoldGoodStayApartFromIt) {
    newInvoice({line(QStringLiteral("1001"), 10, 1000)});
    InvoiceLine free = line(QStringLiteral("1001"), 1, 1000);
    free.IsEchantillon = true;
    form->doc().flexEch.appendLine(free);
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    const RowSet rows = db().query(QStringLiteral("select IsEchantillon, Qty from "
                                                  "tblSaleInvoiceDetail where InvoiceID = ? "
                                                  "order by IsEchantillon"),
                                   {savedID()});
    ASSERT_EQ(rows.size(), 2);
    EXPECT_FALSE(rows[0].toBool(u"IsEchantillon"));
    EXPECT_EQ(rows[0].toDouble(u"Qty"), 10);
    EXPECT_TRUE(rows[1].toBool(u"IsEchantillon"));
    EXPECT_EQ(rows[1].toDouble(u"Qty"), 1);
}

// The position's ceiling: a total equal to it passes, one Rial more is refused.
TEST_P(SaveTest, CreditLevelOfThePositionIsInclusive) {
    const int level = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblSaleCreditLevel (Name, UpToValue) values ('سطح', ?) "
                       "RETURNING ID"),
        {QVariant::fromValue(Money::fromRials(5000))}));
    const int position = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblPosition (Name, SaleCreditLevelID) values ('فروش', ?) "
                       "RETURNING ID"),
        {level}));
    ctx.globals.CurrentPositionID = position;
    newInvoice(5001);
    EXPECT_FALSE(save->SaveInvoice(false));
    EXPECT_EQ(messages.last().caption, QStringLiteral("اشكال"));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("سقف قابل مجاز براي تاييد سفارش يا فاكتور براي شما محدود به ”5000“ "
                             "است!"));
    EXPECT_EQ(invoices(), 0);
    form->doc().totals.GrandTotal = Money::fromRials(5000);
    EXPECT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
}

// A date outside the active period is refused before anything is written, temporary or final,
// so that no later save meets a final invoice dated in a period that has not begun.
TEST_P(SaveTest, ADateOutsideTheActivePeriodIsRefusedAndLeavesLaterSavesAlone) {
    db().exec(QStringLiteral("insert into tblAccountPeriod (Name, BeginDate, FarsiBeginDate, "
                             "EndDate, FarsiEndDate, IsActive) values ('1405', ?, '1405/01/01', "
                             "?, '1405/12/29', 1)"),
              {QDate(2026, 3, 21), QDate(2027, 3, 20)});
    installSave();
    const QString refusal =
        QStringLiteral("تاريخ فاكتور بايد از «1405/01/01» تا «1405/12/29» باشد.");
    for (const QDate& date : {FromJalali(1406, 6, 1), FromJalali(1500, 1, 1),
                              FromJalali(1404, 12, 29), FromJalali(9999, 1, 1)}) {
        for (bool final : {false, true}) {
            SCOPED_TRACE(getFarsiDate(date).toStdString() + (final ? " final" : " temporary"));
            newInvoice(5000, date);
            messages.clear();
            messages.answerYes();
            ui.focus.clear();
            EXPECT_FALSE(save->SaveInvoice(final));
            ASSERT_EQ(messages.shown().size(), 1u) << messages.texts().join(u'\n').toStdString();
            EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
            EXPECT_EQ(messages.last().text, refusal);
            EXPECT_EQ(ui.focus, QStringLiteral("datCreateDate"));
            EXPECT_EQ(invoices(), 0);
            form->cmdCancel_Click();
        }
    }
    // No final invoice of a later period stands before today's with the renumbering question.
    newInvoice(5000, QDate(2026, 12, 6));
    messages.clear();
    messages.answerNo();
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    EXPECT_FALSE(messages.anyContains(QStringLiteral("آيا ادامه ميدهيد؟")));
    EXPECT_EQ(storedCode(savedID()).toInt(), 1);
}

// One failing check per case; each stops the chain before anything is written, with its own
// caption, text and focus.
struct ChainCase {
    const char* name;
    std::function<void()> arrange;
    const char* caption;
    const char* text;
    const char* focus;
};

class SaveChainTest : public SaveTest {};

TEST_P(SaveChainTest, EachCheckStopsTheChainAndWritesNothing) {
    const std::vector<ChainCase> cases{
        {"no customer", [this] { form->doc().sltCustomer.Clear(); }, "خطا",
         "مشتري انتخاب نشده است.", "sltCustomer"},
        {"settlement term",
         [this] {
             form->doc().txtLoanExpireTag = QStringLiteral("30");
             form->doc().txtLoanExpire = QStringLiteral("31");
         },
         "خطا", "حداكثر مهلت تسويه بايد ”30“ باشد.", "txtLoanExpire"},
        {"promoter required", [this] { ctx.params.setFlag(P::RequirePromoter, true); }, "خطا",
         "بازارياب انتخاب نشده است.", ""},
        {"branch required", [this] { ctx.params.setFlag(P::RequireBranch, true); }, "خطا",
         "شعبه انتخاب نشده است.", ""},
        {"zero price without right 90130",
         [this] {
             form->doc().flexDetail.line(0).UnitPrice = Money();
             ctx.globals.CurrentUserID = addUser(QStringLiteral("فروشنده"), false, {90105});
         },
         "اخطار", "به علت وجود قيمت كالاي صفر, ثبت ممكن نيست. نقش 90130", ""},
        {"duplicate rows",
         [this] { form->doc().flexDetail.appendLine(line(QStringLiteral("1001"), 1, 1000)); },
         "خطا", "سطرهاي تكراري وجود دارد", ""},
        {"closed inventory",
         [this] { db().exec(QStringLiteral("update tblInventory set StatusTypeID = 3")); }, "خطا",
         "انبار فعال شده بسته است. ازاينرو امكان ثبت نهايي فاكتور فروش كالا وجود ندارد.", ""},
        {"inventory with children for a retail type",
         [this] {
             db().exec(QStringLiteral("insert into tblInventory (Name, ParentID, StatusTypeID) "
                                      "values ('قفسه', ?, 1)"),
                       {inventory});
         },
         "اشکال", "براي فاکتورهاي از نوع «فروش عادي» انبار غير سطح فروش بايد انتخاب شود",
         "sltInventory"},
        {"stock",
         [this] {
             ctx.params.setNumber(P::StockRule, 1);
             form->doc().flexDetail.line(0).Qty = 1001;
             form->doc().flexDetail.line(0).BaseQty = 1001;
         },
         "خطا", "تعداد كالا با كد ميلهاي 1001 از تعداد موجودي بيشتر است.", ""},
        {"goods not for sale",
         [this] {
             form->doc().flexDetail.appendLine(line(QStringLiteral("1002"), 1, 1000));
             db().exec(QStringLiteral("insert into tblInventoryGoodInfo (InventoryID, Barcode, "
                                      "NotForSale) values (?, '1002', 1)"),
                       {inventory});
         },
         "خطا", "كالا با كد ميلهاي 1002 قابل فروش نمي باشد. ", ""},
        {"no right to save",
         [this] { ctx.globals.CurrentUserID = addUser(QStringLiteral("x"), false); }, "خطا",
         "شما مجاز به انجام اين عمليات نيستيد.", ""},
    };
    for (const ChainCase& c : cases) {
        SCOPED_TRACE(c.name);
        const int adminUser = ctx.globals.CurrentUserID;
        newInvoice();
        messages.clear();
        ui.focus.clear();
        c.arrange();
        EXPECT_FALSE(save->SaveInvoice(false));
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.shown().size(), 1u) << messages.texts().join(u'\n').toStdString();
        EXPECT_EQ(messages.last().caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(messages.last().text, QString::fromUtf8(c.text));
        EXPECT_EQ(ui.focus, QString::fromUtf8(c.focus));
        EXPECT_EQ(invoices(), 0);
        EXPECT_EQ(count(QStringLiteral("tblSaleInvoiceDetail")), 0);
        EXPECT_TRUE(form->doc().txtID.isEmpty());
        // Undo the case for the next one.
        ctx.globals.CurrentUserID = adminUser;
        ctx.params.setFlag(P::RequirePromoter, false);
        ctx.params.setFlag(P::RequireBranch, false);
        ctx.params.setNumber(P::StockRule, 0);
        db().exec(QStringLiteral("update tblInventory set StatusTypeID = 1"));
        db().exec(QStringLiteral("delete from tblInventory where ParentID is not null"));
        db().exec(QStringLiteral("delete from tblInventoryGoodInfo"));
        form->cmdCancel_Click();
    }
}

SI_INSTANTIATE_BACKENDS(SaveTest);
SI_INSTANTIATE_BACKENDS(SaveChainTest);

}  // namespace
}  // namespace si::test
