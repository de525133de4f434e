// The master discount on the demo company: no amount range holds it, so the clerk, who holds
// right 90110, may give one on an invoice of any value; the cashier, without the right, may not.

#include <gtest/gtest.h>

#include "erpdb/Demo.h"
#include "erpdb/Procedures.h"
#include "invoice/FormMainLogic.h"
#include "invoice/TotalsLogic.h"
#include "support/ScriptedMessages.h"
#include "support/TestDatabase.h"

namespace si {
namespace {

constexpr int kDemoClerkUserId = 3;  // a sales clerk with right 90110, no administrator
const QDate kDemoToday(2026, 3, 25);
const char* const kMasterDiscountControls[] = {"txtMasterDiscountValue", "txtMasterDiscountPercent",
                                               "optMasterDiscountValue",
                                               "optMasterDiscountPercent"};

class DemoMasterDiscountTest : public ::testing::TestWithParam<test::Backend> {
protected:
    void SetUp() override {
        database = std::make_unique<test::TestDatabase>(GetParam());
        erpdb::RegisterProcedures(procedures);
        messages.install(components);
        erpdb::DemoOptions options;
        options.goods = 60;
        options.customers = 20;
        options.invoices = 10;
        options.today = kDemoToday;
        erpdb::FillDemoData(*database->open(&procedures), options);
        ctx.clock = [] { return QDateTime(kDemoToday, QTime(10, 0)); };
        ctx.globals.CurrentConnectionString = database->connectionString();
    }

    // A new invoice of the user with one line of the value, its totals computed as after entry.
    FormMainLogic& newInvoiceWorth(int user, qint64 rials) {
        ctx.globals.CurrentUserID = user;
        OpenSession(ctx);
        LoadSystemParameters(ctx);
        form = std::make_unique<FormMainLogic>(ctx);
        form->ClearShow();
        form->cmdNew_Click();
        EXPECT_EQ(form->FormMode(), kModeNew) << messages.texts().join(u'|').toStdString();
        InvoiceLine line;
        line.BarCode =
            ctx.db().scalar(QStringLiteral("select min(Barcode) from tblGood")).toString();
        line.GoodName = QStringLiteral("كالا");
        line.Qty = 1;
        line.UnitPrice = Money::fromRials(rials);
        form->doc().flexDetail.appendLine(line);
        form->services().totals->RecomputeAllLines();
        form->RefreshTimer_Timer();
        return *form;
    }
    bool masterDiscountOpen() const {
        bool open = true;
        for (const char* control : kMasterDiscountControls)
            open = open && form->availability().isEnabled(QString::fromLatin1(control));
        return open;
    }

    std::unique_ptr<test::TestDatabase> database;
    ProcedureRegistry procedures;
    ComponentRegistry components;
    test::MessageScript messages;
    Context ctx{&components, &procedures};
    std::unique_ptr<FormMainLogic> form;
};

TEST_P(DemoMasterDiscountTest, TheClerkGivesAMasterDiscountOnAnyValue) {
    for (const qint64 value : {2'500'000LL, 12'000'000LL, 80'000'000LL}) {
        SCOPED_TRACE(value);
        FormMainLogic& clerk = newInvoiceWorth(kDemoClerkUserId, value);
        EXPECT_FALSE(clerk.doc().masterDiscountLocked);
        EXPECT_TRUE(masterDiscountOpen());
        clerk.services().totals->SetMasterDiscountKind(MasterDiscountKind::Percent);
        clerk.services().totals->MasterDiscountPercentTyped(5);
        clerk.services().totals->ComputeGrandTotal();
        EXPECT_EQ(clerk.doc().totals.MasterDiscountPercent, 5);
        EXPECT_FALSE(newInvoiceWorth(erpdb::kDemoCashierUserId, value).doc().masterDiscountLocked);
        EXPECT_FALSE(masterDiscountOpen());
    }
}

SI_INSTANTIATE_BACKENDS(DemoMasterDiscountTest);

}  // namespace
}  // namespace si
