// invoice create, import and final through the program: what is stored, what is refused with
// which message, and that a refusal writes nothing.

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include "cli/CliTestSupport.h"
#include "common/Jalali.h"

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

// The command line has no gateway: a final sale's messages wait in the company's outbox, where a
// host sends them.
TEST_P(CliCreate, ASaleMarkedForSmsLeavesItsMessageInTheOutbox) {
    const std::optional<Row> buyer = db().first(QStringLiteral(
        "SELECT min(s.CustomerID) AS ID FROM tblSaleInvoice s JOIN tblOrganization o ON o.ID = "
        "s.CustomerID WHERE s.Code IS NOT NULL AND s.InventoryID = 1 AND coalesce(o.CellPhone, "
        "'') <> ''"));
    ASSERT_TRUE(buyer && buyer->toInt(u"ID") > 0);
    const QString phone =
        db().scalar(QStringLiteral("SELECT CellPhone FROM tblOrganization WHERE ID = ?"),
                    {buyer->toInt(u"ID")})
            .toString();
    QJsonObject invoice = plainLines();
    invoice.insert(QStringLiteral("customer"), buyer->toInt(u"ID"));
    invoice.insert(QStringLiteral("sendSms"), true);
    const qint64 before =
        db().scalar(QStringLiteral("SELECT coalesce(max(ID), 0) FROM tblSmsOutbox")).toLongLong();
    const CliResult made = run({QStringLiteral("invoice"), QStringLiteral("create"),
                                QStringLiteral("-"), QStringLiteral("--final")},
                               QJsonDocument(invoice).toJson());
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const RowSet queued = db().query(
        QStringLiteral("SELECT Phone, Message, State FROM tblSmsOutbox WHERE ID > ? ORDER BY ID"),
        {before});
    // The customer's message first; the invoice's promoter, when it has one, gets his share's.
    ASSERT_FALSE(queued.empty()) << made.err.toStdString();
    EXPECT_EQ(queued[0].text(u"Phone"), phone);
    EXPECT_TRUE(queued[0]
                    .text(u"Message")
                    .contains(QString::number(made.json().value(QStringLiteral("id")).toInt())));
    for (const Row& r : queued)
        EXPECT_EQ(r.toInt(u"State"), 0);
    EXPECT_EQ(queued.size(), made.json().value(QStringLiteral("promoter")).isNull() ? 1 : 2);
}

// One import of several files stores each as create would and stops only the one refused or
// unreadable; the output names what became of every file.
TEST_P(CliCreate, ImportStoresEachFileAsCreateWould) {
    QTemporaryDir dir;
    const auto file = [&](const QString& name, const QByteArray& content) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return f.fileName();
    };
    QJsonObject unknownGoods = plainLines();
    unknownGoods.insert(
        kLines,
        QJsonArray{QJsonObject{{QStringLiteral("barcode"), QStringLiteral("9999999999999")}}});
    const QStringList files{file(QStringLiteral("a.json"), QJsonDocument(threeLines()).toJson()),
                            file(QStringLiteral("b.json"), QJsonDocument(unknownGoods).toJson()),
                            file(QStringLiteral("c.json"), "{\"lines\": ["),
                            file(QStringLiteral("d.json"), QJsonDocument(plainLines()).toJson())};
    const int invoicesBefore =
        db().scalar(QStringLiteral("SELECT count(*) FROM tblSaleInvoice")).toInt();
    const CliResult imported = run(QStringList{QStringLiteral("invoice"), QStringLiteral("import"),
                                               QStringLiteral("--final")} +
                                   files);
    EXPECT_EQ(imported.exitCode, 1) << imported.err.toStdString();
    const QStringList lines = QString::fromUtf8(imported.out).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << imported.out.toStdString();
    const QStringList first = lines[0].split(u'\t');
    const QStringList last = lines[3].split(u'\t');
    ASSERT_EQ(first.size(), 3);
    ASSERT_EQ(last.size(), 3);
    EXPECT_EQ(first[0], files[0]);
    EXPECT_GT(first[2].toInt(), 0);
    EXPECT_EQ(last[2].toInt(), first[2].toInt() + 1);
    EXPECT_EQ(lines[1], files[1] + QStringLiteral("\tرد شد"));
    EXPECT_EQ(lines[2], files[2] + QStringLiteral("\tخطا"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM tblSaleInvoice")).toInt(),
              invoicesBefore + 2);

    const CliResult created = run(
        {QStringLiteral("invoice"), QStringLiteral("create"), files[0], QStringLiteral("--final")});
    ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();
    const QJsonObject shown =
        run({QStringLiteral("invoice"), QStringLiteral("show"), first[1], QStringLiteral("--json")})
            .json();
    EXPECT_EQ(shown.value(kLines), created.json().value(kLines));
    EXPECT_EQ(shown.value(kTotals), created.json().value(kTotals));
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

// One refused invoice: what is put into its header and into its one line, and the message.
struct RefusedEntry {
    const char* name;
    QJsonObject header;
    QJsonObject line;
    QString message;
};

class CliRefusals : public CliCreate {
protected:
    // One line of 5 000 000 Rials; the case's fields are put over it.
    QJsonObject invoiceWith(const RefusedEntry& c) const {
        QJsonObject line{{QStringLiteral("barcode"), goods[0]},
                         {QStringLiteral("qty"), 1},
                         {QStringLiteral("price"), 5000000}};
        for (auto it = c.line.begin(); it != c.line.end(); ++it)
            line.insert(it.key(), it.value());
        QJsonObject invoice{{QStringLiteral("customer"), customer},
                            {QStringLiteral("inventory"), 1},
                            {kLines, QJsonArray{line}}};
        for (auto it = c.header.begin(); it != c.header.end(); ++it)
            invoice.insert(it.key(), it.value());
        return invoice;
    }
    int firstId(const char* table) {
        return db()
            .scalar(QStringLiteral("SELECT min(ID) FROM ") + QString::fromLatin1(table))
            .toInt();
    }
    // A day of the active accounting period's first or last day, moved by some days, in Jalali.
    QString periodDay(const char* column, int days = 0) {
        const QVariant day =
            db().scalar(QStringLiteral("SELECT ") + QString::fromLatin1(column) +
                        QStringLiteral(" FROM tblAccountPeriod WHERE IsActive = 1"));
        return getFarsiDate(day.toDate().addDays(days));
    }
    // Sets parameter 2831 and returns what it was.
    QVariant setMasterDiscountCeiling(const QVariant& value) {
        const QVariant was = db().scalar(
            QStringLiteral("SELECT Value FROM tblZelorSystemParameters WHERE ID = 2831"));
        db().exec(QStringLiteral("UPDATE tblZelorSystemParameters SET Value = ? WHERE ID = 2831"),
                  {value});
        return was;
    }
};

// Amounts below zero or beyond their bounds, quantities that are 0 where they are stored, prices
// with a fraction of a Rial and dates outside the accounting period: each is refused with its
// message before anything is written, even finally and with every question answered yes.
TEST_P(CliRefusals, OutOfRangeValuesAreRefusedAndWriteNothing) {
    const QJsonValue surcharge = firstId("tblZelorSuchargeType");
    const QJsonValue deduction = firstId("tblZelorShortageType");
    auto charge = [](const QJsonValue& type, const char* key, double amount) {
        return QJsonArray{
            QJsonObject{{QStringLiteral("type"), type}, {QString::fromLatin1(key), amount}}};
    };
    auto master = [](const char* key, double amount) {
        return QJsonObject{{QString::fromLatin1(key), amount}};
    };
    const QString period = QStringLiteral("خطا: تاريخ فاكتور بايد از «") + periodDay("BeginDate") +
                           QStringLiteral("» تا «") + periodDay("EndDate") +
                           QStringLiteral("» باشد.");
    const QString tooSmall = QStringLiteral("خطا: تعداد كالا كمتر از اندازة مجاز است.");
    const QString wholeRials =
        QStringLiteral("اشکال: قيمت واحد سطر 1 بايد مبلغي به ريال و بدون اعشار باشد.");
    const QString discountTooLarge = QStringLiteral("خطا: تخفيف كالا بيش از اندازة مجاز است.");
    const QString masterNegative = QStringLiteral("اشکال: تخفيف كلي نبايد منفي باشد.");
    const QString masterCeiling =
        QStringLiteral("اشکال: درصد تخفيف كلي بيش از سقف مجاز تعريف شده براي شما «20» است");
    const QString d = QStringLiteral("date");
    const QString md = QStringLiteral("masterDiscount");
    const RefusedEntry cases[] = {
        {"negative surcharge",
         {{QStringLiteral("surcharges"), charge(surcharge, "value", -20000000)}},
         {},
         QStringLiteral("خطا: مبلغ اضافات نبايد منفي باشد.")},
        {"negative deduction",
         {{QStringLiteral("deductions"), charge(deduction, "value", -1000)}},
         {},
         QStringLiteral("خطا: مقدار كسورات نبايد منفي باشد.")},
        {"negative deduction percent",
         {{QStringLiteral("deductions"), charge(deduction, "percent", -5)}},
         {},
         QStringLiteral("خطا: درصد كسورات نبايد منفي باشد.")},
        {"deduction percent above 100",
         {{QStringLiteral("deductions"), charge(deduction, "percent", 101)}},
         {},
         QStringLiteral("خطا: مقدار وارد شده از صد بيشتر است.")},
        {"negative line discount percent",
         {},
         {{QStringLiteral("discountPercent"), -5}},
         discountTooLarge},
        {"line discount percent above the ceiling",
         {},
         {{QStringLiteral("discountPercent"), 101}},
         QStringLiteral("خطا: تخفيف كالا بيش از سقف مجاز تعريف شده براي شما «30» است")},
        {"negative line discount value",
         {},
         {{QStringLiteral("discountValue"), -1}},
         discountTooLarge},
        {"line discount value above the line",
         {},
         {{QStringLiteral("discountValue"), 5000001}},
         discountTooLarge},
        {"negative price",
         {},
         {{QStringLiteral("price"), -5000}},
         QStringLiteral("خطا: قيمت كالا كمتر از اندازة مجاز است.")},
        {"negative quantity", {}, {{QStringLiteral("qty"), -1}}, tooSmall},
        {"zero quantity", {}, {{QStringLiteral("qty"), 0}}, tooSmall},
        {"quantity 0 at four decimals", {}, {{QStringLiteral("qty"), 0.00004}}, tooSmall},
        {"vanishing quantity", {}, {{QStringLiteral("qty"), 1e-320}}, tooSmall},
        {"half a Rial", {}, {{QStringLiteral("price"), 0.5}}, wholeRials},
        {"price with a fraction", {}, {{QStringLiteral("price"), 1000.25}}, wholeRials},
        {"master percent 31", {{md, master("percent", 31)}}, {}, masterCeiling},
        {"master percent 100", {{md, master("percent", 100)}}, {}, masterCeiling},
        {"master percent 1000",
         {{md, master("percent", 1000)}},
         {},
         QStringLiteral("اشکال: درصد تخفيف كلي نبايد بيش از «100» باشد.")},
        {"negative master percent", {{md, master("percent", -10)}}, {}, masterNegative},
        {"negative master value", {{md, master("value", -1000000)}}, {}, masterNegative},
        {"master value above the total",
         {{md, master("value", 5000001)}},
         {},
         QStringLiteral("اشکال: مبلغ تخفيف كلي نبايد بيش از جمع فاكتور «")},
        {"master value above parameter 2831",
         {{md, master("value", 1000001)}},
         {},
         QStringLiteral("اشکال: مبلغ تخفيف كلي بيش از سقف مجاز تعريف شده براي شما «1/000/000» "
                        "است")},
        {"the day after the period", {{d, periodDay("EndDate", 1)}}, {}, period},
        {"half a year after the period", {{d, periodDay("EndDate", 165)}}, {}, period},
        {"the day before the period", {{d, periodDay("BeginDate", -1)}}, {}, period},
        {"year 1500", {{d, QStringLiteral("1500/01/01")}}, {}, period},
        {"year 9999", {{d, QStringLiteral("9999/01/01")}}, {}, period},
    };
    const QVariant ceiling = setMasterDiscountCeiling(QStringLiteral("1000000"));
    for (const RefusedEntry& c : cases) {
        SCOPED_TRACE(c.name);
        const QString before = footprint();
        const CliResult r = create(invoiceWith(c), {QStringLiteral("--yes")});
        EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(footprint(), before);
    }
    setMasterDiscountCeiling(ceiling);
}

// The bounds are inclusive: a temporary invoice with the line and master discounts at the user's
// ceilings and a deduction that takes all that is payable is taken as entered.
TEST_P(CliRefusals, ValuesAtTheirBoundsAreTaken) {
    const QJsonObject invoice = invoiceWith(
        {"at the bounds",
         {{QStringLiteral("formal"), false},
          {QStringLiteral("masterDiscount"), QJsonObject{{QStringLiteral("percent"), 20}}},
          {QStringLiteral("deductions"),
           QJsonArray{QJsonObject{{QStringLiteral("type"), firstId("tblZelorShortageType")},
                                  {QStringLiteral("percent"), 80}}}}},
         {{QStringLiteral("discountPercent"), 30}},
         {}});
    const CliResult r = create(invoice);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject stored = r.json();
    const QJsonObject line = stored.value(kLines).toArray().first().toObject();
    EXPECT_EQ(line.value(QStringLiteral("discountPercent")).toDouble(), 30);
    const QJsonObject totals = stored.value(kTotals).toObject();
    EXPECT_EQ(totals.value(QStringLiteral("totalPrice")).toDouble(), 3500000);
    EXPECT_EQ(totals.value(QStringLiteral("masterDiscountPercent")).toDouble(), 20);
    EXPECT_EQ(totals.value(QStringLiteral("deductions")).toDouble(), 2800000);
    EXPECT_EQ(totals.value(QStringLiteral("grandTotal")).toDouble(), 0);
}

// A temporary invoice whose date lies outside the period (stored before the period changed) is
// not finalised when editing keeps the date (parameter 1079 off): the save names the bounds and
// writes nothing.
TEST_P(CliRefusals, AStoredInvoiceDatedOutsideThePeriodIsNotFinalised) {
    const QString keepDate = QStringLiteral(
        "UPDATE tblZelorSystemParameters SET Value = ? WHERE "
        "ID = 1079");
    const QVariant editResetsDate =
        db().scalar(QStringLiteral("SELECT Value FROM tblZelorSystemParameters WHERE ID = 1079"));
    const CliResult made = create(plainLines());
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    db().exec(keepDate, {QStringLiteral("0")});
    const int id = made.json().value(QStringLiteral("id")).toInt();
    const QString after = periodDay("EndDate", 1);
    db().exec(QStringLiteral("UPDATE tblSaleInvoice SET CreateDate = ?, FarsiCreateDate = ? WHERE "
                             "ID = ?"),
              {getEnglishDate(after), after, id});
    const QString before = footprint();
    const CliResult r = run({QStringLiteral("--yes"), QStringLiteral("invoice"),
                             QStringLiteral("final"), QString::number(id)});
    db().exec(keepDate, {editResetsDate});
    EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("خطا: تاريخ فاكتور بايد از «") +
                               periodDay("BeginDate") + QStringLiteral("» تا «") +
                               periodDay("EndDate") + QStringLiteral("» باشد.")))
        << r.err.toStdString();
    EXPECT_EQ(footprint(), before);
    EXPECT_TRUE(
        db().scalar(QStringLiteral("SELECT Code FROM tblSaleInvoice WHERE ID = ?"), {id}).isNull());
}

SI_INSTANTIATE_BACKENDS(CliCreate);
SI_INSTANTIATE_BACKENDS(CliRefusals);

}  // namespace
}  // namespace si::test
