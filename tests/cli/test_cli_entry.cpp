// A JSON invoice of many lines entered in this process: the lines are those the form's logic
// gives when they are typed one by one, and the statements of the entry do not grow with them.

#include <QJsonArray>
#include <QJsonDocument>

#include "apps/cli/InvoiceEntry.h"
#include "apps/cli/InvoiceJson.h"
#include "cli/CliTestSupport.h"
#include "invoice/LinesLogic.h"

namespace si::test {
namespace {

class CliEntry : public CliTest {
protected:
    // Goods received into inventory 1 in the largest quantities, for sale there and without
    // attached goods, with their codes.
    QVector<QPair<QString, QString>> saleableGoods(int count) {
        const RowSet rows = db().query(
            QStringLiteral(
                "SELECT d.Barcode, g.Code FROM tblInventoryReceiptDetail d JOIN "
                "tblInventoryReceipt r ON r.ID = d.ReceiptID JOIN tblGood g ON g.Barcode = "
                "d.Barcode WHERE r.InventoryID = 1 AND NOT EXISTS (SELECT 1 FROM "
                "tblInventoryGoodInfo i WHERE i.Barcode = d.Barcode AND i.InventoryID = 1 AND "
                "coalesce(i.NotForSale, 0) = 1) AND NOT EXISTS (SELECT 1 FROM "
                "tblGoodAttachedGoods a JOIN tblGood x ON x.ID IN (a.GoodID, a.AttachedGoodID) "
                "WHERE x.Barcode = d.Barcode) AND (SELECT count(*) FROM tblGood c WHERE c.Code "
                "= g.Code) = 1 GROUP BY d.Barcode, g.Code ORDER BY sum(d.Qty) DESC, d.Barcode "
                "LIMIT ?"),
            {count});
        QVector<QPair<QString, QString>> goods;
        for (const Row& r : rows)
            goods.append({r.text(u"Barcode"), r.text(u"Code")});
        return goods;
    }

    // Every third line by its goods code, every other one with two of the goods.
    QJsonObject invoiceOf(const QVector<QPair<QString, QString>>& goods) {
        QJsonArray lines;
        for (int i = 0; i < goods.size(); ++i) {
            QJsonObject line{{QStringLiteral("qty"), i % 2 == 0 ? 1 : 2}};
            if (i % 3 == 2)
                line.insert(QStringLiteral("code"), goods[i].second);
            else
                line.insert(QStringLiteral("barcode"), goods[i].first);
            lines.append(line);
        }
        return QJsonObject{{QStringLiteral("customer"), plainCustomer()},
                           {QStringLiteral("inventory"), 1},
                           {QStringLiteral("lines"), lines}};
    }

    // Statements the entry of the invoice ran, after a first entry has read what every entry
    // reads once (the parameters, the form's lists).
    qint64 statementsToEnter(const QJsonObject& invoice) {
        Workstation w(connection());
        cli::InvoiceEntry entry(w.ctx);
        const cli::JsonInvoice parsed = cli::ParseInvoice(QJsonDocument(invoice).toJson());
        EXPECT_TRUE(entry.enter(parsed)) << w.messages.texts().join(u'\n').toStdString();
        const qint64 before = w.ctx.db().statementCount();
        EXPECT_TRUE(entry.enter(parsed)) << w.messages.texts().join(u'\n').toStdString();
        return w.ctx.db().statementCount() - before;
    }
};

TEST_P(CliEntry, ManyLinesAreEnteredAsTheFormTypesThem) {
    const auto goods = saleableGoods(30);
    ASSERT_EQ(goods.size(), 30);
    const QJsonObject invoice = invoiceOf(goods);

    Workstation typing(connection());
    FormMainLogic form(typing.ctx);
    form.ClearShow();
    form.cmdNew_Click();
    form.doc().sltCustomer.setID(plainCustomer());
    form.doc().sltInventory.setID(1);
    LinesLogic& lines = *form.services().lines;
    const QJsonArray given = invoice.value(QStringLiteral("lines")).toArray();
    for (int row = 0; row < given.size(); ++row) {
        const QJsonObject l = given[row].toObject();
        const bool byCode = l.contains(QStringLiteral("code"));
        ASSERT_TRUE(lines.commitCell(
            row, byCode ? Col::GoodCode : Col::BarCode,
            l.value(byCode ? QStringLiteral("code") : QStringLiteral("barcode")).toString()))
            << typing.messages.texts().join(u'\n').toStdString();
        if (l.value(QStringLiteral("qty")).toInt() != 1) {
            ASSERT_TRUE(lines.commitCell(row, Col::Qty, QStringLiteral("2")));
        }
    }
    form.RefreshTimer_Timer();

    Workstation importing(connection());
    cli::InvoiceEntry entry(importing.ctx);
    ASSERT_TRUE(entry.enter(cli::ParseInvoice(QJsonDocument(invoice).toJson())))
        << importing.messages.texts().join(u'\n').toStdString();
    entry.form().RefreshTimer_Timer();
    const QJsonObject typed = cli::InvoiceToJson(form);
    const QJsonObject entered = cli::InvoiceToJson(entry.form());
    EXPECT_EQ(entered.value(QStringLiteral("lines")), typed.value(QStringLiteral("lines")));
    EXPECT_EQ(entered.value(QStringLiteral("totals")), typed.value(QStringLiteral("totals")));
    EXPECT_EQ(importing.messages.texts(), typing.messages.texts());
}

TEST_P(CliEntry, StatementsOfTheEntryDoNotGrowWithTheLines) {
    const auto goods = saleableGoods(200);
    ASSERT_EQ(goods.size(), 200);
    const qint64 few = statementsToEnter(invoiceOf(goods.mid(0, 20)));
    const qint64 many = statementsToEnter(invoiceOf(goods));
    EXPECT_LE(many, few + 4) << few << " statements for 20 lines, " << many << " for 200";
}

SI_INSTANTIATE_BACKENDS(CliEntry);

}  // namespace
}  // namespace si::test
