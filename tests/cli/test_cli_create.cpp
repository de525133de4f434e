// invoice create and final through the program, against the form's own logic on the same data.

#include <QJsonArray>
#include <QJsonDocument>

#include "apps/cli/InvoiceJson.h"
#include "cli/CliTestSupport.h"
#include "common/Context.h"
#include "erpdb/Procedures.h"
#include "invoice/FormMainLogic.h"
#include "invoice/LinesLogic.h"
#include "support/ScriptedMessages.h"

namespace si::test {
namespace {

const QString kLines = QStringLiteral("lines");
const QString kTotals = QStringLiteral("totals");

class CliCreate : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        goods = stockedBarcodes(3);
        ASSERT_EQ(goods.size(), 3);
        customer = plainCustomer();
    }

    // Three lines: a quantity, a typed discount percent, and a typed price.
    QJsonObject threeLines() const {
        QJsonArray lines{
            QJsonObject{{QStringLiteral("barcode"), goods[0]}, {QStringLiteral("qty"), 3}},
            QJsonObject{{QStringLiteral("barcode"), goods[1]},
                        {QStringLiteral("qty"), 2},
                        {QStringLiteral("discountPercent"), 5}},
            QJsonObject{{QStringLiteral("barcode"), goods[2]}, {QStringLiteral("price"), 123000}}};
        return QJsonObject{{QStringLiteral("customer"), customer},
                           {QStringLiteral("inventory"), 1},
                           {QStringLiteral("notes"), QStringLiteral("سفارش تلفني")},
                           {kLines, lines}};
    }

    // Lines as the cashier may enter them: goods and quantities only.
    QJsonObject plainLines() const {
        QJsonObject invoice = threeLines();
        invoice.insert(kLines, QJsonArray{QJsonObject{{QStringLiteral("barcode"), goods[0]},
                                                      {QStringLiteral("qty"), 2}}});
        return invoice;
    }

    QStringList goods;
    int customer = -1;
};

TEST_P(CliCreate, CreateShowAndFinalKeepWhatWasAsked) {
    const QString before = footprint();
    const CliResult made = create(threeLines());
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const QJsonObject o = made.json();
    const int id = o.value(QStringLiteral("id")).toInt();
    EXPECT_GT(id, 0);
    EXPECT_EQ(o.value(QStringLiteral("state")).toString(), QStringLiteral("temporary"));
    EXPECT_TRUE(o.value(QStringLiteral("code")).isNull());
    EXPECT_EQ(o.value(QStringLiteral("customer")).toInt(), customer);
    const QJsonArray lines = o.value(kLines).toArray();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].toObject().value(QStringLiteral("barcode")).toString(), goods[0]);
    EXPECT_EQ(lines[0].toObject().value(QStringLiteral("qty")).toDouble(), 3);
    EXPECT_EQ(lines[1].toObject().value(QStringLiteral("discountPercent")).toDouble(), 5);
    EXPECT_EQ(lines[2].toObject().value(QStringLiteral("price")).toDouble(), 123000);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Notes FROM tblSaleInvoice WHERE ID = ?"), {id})
                  .toString(),
              QStringLiteral("سفارش تلفني"));
    EXPECT_NE(footprint(), before);

    const CliResult shown = run({QStringLiteral("invoice"), QStringLiteral("show"),
                                 QString::number(id), QStringLiteral("--json")});
    EXPECT_EQ(shown.json(), o);

    const CliResult final =
        run({QStringLiteral("invoice"), QStringLiteral("final"), QString::number(id)});
    ASSERT_EQ(final.exitCode, 0) << final.err.toStdString();
    const QJsonObject f = final.json();
    EXPECT_EQ(f.value(QStringLiteral("state")).toString(), QStringLiteral("final"));
    EXPECT_GT(f.value(QStringLiteral("code")).toInt(), 0);
    EXPECT_FALSE(f.value(QStringLiteral("dispatch")).isNull());
    EXPECT_EQ(f.value(kTotals), o.value(kTotals));

    const CliResult again =
        run({QStringLiteral("invoice"), QStringLiteral("final"), QString::number(id)});
    EXPECT_EQ(again.exitCode, 2);
}

// The same invoice typed into the form's logic in this process and fed to the program: every
// line amount and every total agree.
TEST_P(CliCreate, PricedAsTheFormPricesIt) {
    ComponentRegistry components;
    ProcedureRegistry procedures;
    MessageScript messages;
    messages.install(components);
    erpdb::RegisterProcedures(procedures);
    Context ctx(&components, &procedures);
    ctx.globals.CurrentUserID = 1;
    ctx.globals.CurrentConnectionString = connection();
    OpenSession(ctx);
    LoadSystemParameters(ctx);
    FormMainLogic form(ctx);
    form.ClearShow();
    form.cmdNew_Click();
    form.doc().sltCustomer.setID(customer);
    form.doc().sltInventory.setID(1);
    LinesLogic& lines = *form.services().lines;
    auto type = [&](int row, int col, const QString& text) {
        ASSERT_TRUE(lines.commitCell(row, col, text)) << messages.texts().join('\n').toStdString();
    };
    type(0, Col::BarCode, goods[0]);
    type(0, Col::Qty, QStringLiteral("3"));
    type(1, Col::BarCode, goods[1]);
    type(1, Col::Qty, QStringLiteral("2"));
    type(1, Col::DiscountPercent, QStringLiteral("5"));
    type(2, Col::BarCode, goods[2]);
    type(2, Col::UnitPrice, QStringLiteral("123000"));
    form.RefreshTimer_Timer();
    const QJsonObject typed = cli::InvoiceToJson(form);

    const CliResult made = create(threeLines());
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const QJsonObject stored = made.json();
    EXPECT_EQ(stored.value(kTotals), typed.value(kTotals));
    EXPECT_EQ(stored.value(kLines), typed.value(kLines));
    EXPECT_GT(stored.value(kTotals).toObject().value(QStringLiteral("grandTotal")).toDouble(), 0);
}

TEST_P(CliCreate, YesAnswersTheZeroPriceQuestion) {
    QJsonObject invoice = threeLines();
    invoice.insert(kLines, QJsonArray{QJsonObject{{QStringLiteral("barcode"), goods[0]},
                                                  {QStringLiteral("price"), 0}}});
    const QString question =
        QStringLiteral("هشدار: برخي كالاها داراي قيمت صفر هستند, آيا براي عمل ثبت مطمئن هستيد؟");
    const QString before = footprint();
    const CliResult no = create(invoice);
    EXPECT_EQ(no.exitCode, 2);
    EXPECT_TRUE(no.err.contains(question)) << no.err.toStdString();
    EXPECT_EQ(footprint(), before);

    const CliResult yes = create(invoice, {QStringLiteral("--yes")});
    ASSERT_EQ(yes.exitCode, 0) << yes.err.toStdString();
    EXPECT_TRUE(yes.err.contains(question));
    const QJsonArray lines = yes.json().value(kLines).toArray();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0].toObject().value(QStringLiteral("price")).toDouble(), 0);
}

TEST_P(CliCreate, AMissingRightRefusesWithTheFormsMessageAndWritesNothing) {
    db().exec(
        QStringLiteral("DELETE FROM tblZelorUserPermission WHERE UserID = 3 AND "
                       "PermissionID = 90106"));
    const QString before = footprint();
    const QByteArray invoice = QJsonDocument(threeLines()).toJson();
    const CliResult r =
        run({QStringLiteral("--user"), QStringLiteral("3"), QStringLiteral("invoice"),
             QStringLiteral("create"), QStringLiteral("-"), QStringLiteral("--final")},
            invoice);
    db().exec(QStringLiteral("INSERT INTO tblZelorUserPermission (UserID, PermissionID) VALUES "
                             "(?, ?)"),
              {3, 90106});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QStringLiteral("خطا: شما مجاز به انجام اين عمليات نيستيد.\n"));
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(footprint(), before);
}

// Credit control on (parameter 93) for the cashier, who may not skip it, a customer whose credit is
// checked and whose credit is one Rial: the credit message, every amount grouped, and nothing
// written.
TEST_P(CliCreate, ACustomerOverItsCreditIsRefused) {
    db().exec(
        QStringLiteral("UPDATE tblOrganization SET WorkActivityID = (SELECT min(ID) FROM "
                       "tblZelorWorkActivity WHERE IsCheckOrganizationCredit = 1) WHERE ID = ?"),
        {customer});
    db().exec(QStringLiteral("UPDATE tblDistributionOrganization SET EnableCredit = 1, Credit = ? "
                             "WHERE OrganizationID = ?"),
              {QVariant::fromValue(Money::fromRials(1)), customer});
    db().exec(QStringLiteral("UPDATE tblZelorSystemParameters SET Value = '1' WHERE ID = 93"));
    const QString before = footprint();
    const CliResult r =
        run({QStringLiteral("--user"), QStringLiteral("2"), QStringLiteral("invoice"),
             QStringLiteral("create"), QStringLiteral("-")},
            QJsonDocument(plainLines()).toJson());
    db().exec(QStringLiteral("UPDATE tblDistributionOrganization SET EnableCredit = 0 WHERE "
                             "OrganizationID = ?"),
              {customer});
    db().exec(QStringLiteral("UPDATE tblZelorSystemParameters SET Value = '0' WHERE ID = 93"));
    EXPECT_EQ(r.exitCode, 2);
    const QStringList lines = r.err.trimmed().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4) << r.err.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("اشکال: مشتري مورد نظر به اندازه «")));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("» اعتبار ندارد.")));
    EXPECT_EQ(lines[1], QStringLiteral("اعتبار اوليه و مازاد: 1"));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("مانده حساب باز: ")));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("فاكتورهاي باز (بانضمام اين فاکتور): ")));
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(footprint(), before);
}

SI_INSTANTIATE_BACKENDS(CliCreate);

}  // namespace
}  // namespace si::test
