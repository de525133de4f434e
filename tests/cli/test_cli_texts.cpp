// Texts of a JSON invoice through the program, alike on both databases: beyond its length, with a
// control character or a lone surrogate a text is refused (exit 2, the field and its limit named,
// nothing written); line breaks and tabs are kept. What the save then stores is tested with it.

#include <QJsonArray>
#include <QJsonDocument>

#include "cli/CliTestSupport.h"

namespace si::test {
namespace {

// Stands in a JSON text for an escape that QJsonDocument would not write as given.
const QString kMark = QStringLiteral("@ESC@");

class CliTexts : public CliOneSaleTest {
protected:
    QJsonObject invoice(const QJsonObject& header, const QJsonObject& line = {}) const {
        QJsonObject first = line;
        first.insert(QStringLiteral("barcode"), goods[0]);
        first.insert(QStringLiteral("qty"), 1);
        QJsonObject o = header;
        o.insert(QStringLiteral("customer"), customer);
        o.insert(QStringLiteral("inventory"), 1);
        o.insert(QStringLiteral("lines"), QJsonArray{first});
        return o;
    }
    // The invoice as JSON text with kMark replaced by a raw escape such as \u0000.
    CliResult createRaw(const QJsonObject& o, const QString& escape) {
        QByteArray json = QJsonDocument(o).toJson();
        json.replace(kMark.toUtf8(), escape.toUtf8());
        return run({QStringLiteral("invoice"), QStringLiteral("create"), QStringLiteral("-")},
                   json);
    }
    CliResult createFinal(const QJsonObject& o) {
        return run({QStringLiteral("invoice"), QStringLiteral("create"), QStringLiteral("-"),
                    QStringLiteral("--final")},
                   QJsonDocument(o).toJson());
    }
    void expectRefused(const CliResult& r, const QString& text, const QString& before) {
        EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(text)) << r.err.toStdString();
        EXPECT_EQ(footprint(), before);
    }
    QString notesOf(int id) {
        return db()
            .scalar(QStringLiteral("SELECT Notes FROM tblSaleInvoice WHERE ID = ?"), {id})
            .toString();
    }
};

QString tooLong(const QString& where, const QString& name, int length, int limit) {
    return where + QStringLiteral(": طول «") + name + QStringLiteral("» ") +
           QString::number(length) + QStringLiteral(" نويسه است و حداكثر ") +
           QString::number(limit) + QStringLiteral(" نويسه مجاز است.");
}

TEST_P(CliTexts, TextsBeyondTheirLengthAreRefusedAndNothingIsWritten) {
    const QString before = footprint();
    expectRefused(
        createFinal(invoice({{QStringLiteral("manualCode"), QString(10000, u'7')}})),
        tooLong(QStringLiteral("فيلد «manualCode»"), QStringLiteral("شماره قبض"), 10000, 50),
        before);
    expectRefused(create(invoice({}, {{QStringLiteral("description"), QString(100000, u'ش')}})),
                  tooLong(QStringLiteral("سطر 1، فيلد «description»"), QStringLiteral("شرح كالا"),
                          100000, 500),
                  before);
}

TEST_P(CliTexts, ControlCharactersAreRefusedLineBreaksAndTabsKept) {
    const QString before = footprint();
    expectRefused(
        createRaw(invoice({{QStringLiteral("notes"), QStringLiteral("پيش") + kMark}}),
                  QStringLiteral("\\u0000")),
        QStringLiteral("فيلد «notes»: «ملاحظات» نويسه كنترلي غيرمجاز (كد 0) در جايگاه 4 دارد"),
        before);
    expectRefused(
        createRaw(invoice({}, {{QStringLiteral("description"), kMark + QStringLiteral("الف")}}),
                  QStringLiteral("\\u001b")),
        QStringLiteral("سطر 1، فيلد «description»: «شرح كالا» نويسه كنترلي غيرمجاز (كد 27) در "
                       "جايگاه 1 دارد"),
        before);
    const QString notes = QStringLiteral("سطر اول\r\nسطر\tدوم");
    const CliResult r = create(invoice({{QStringLiteral("notes"), notes}}));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(notesOf(r.json().value(QStringLiteral("id")).toInt()), notes);
}

TEST_P(CliTexts, LoneSurrogatesAreRefused) {
    const QString before = footprint();
    expectRefused(
        createRaw(invoice({{QStringLiteral("notes"), QStringLiteral("x") + kMark}}),
                  QStringLiteral("\\ud800")),
        QStringLiteral("فيلد «notes»: «ملاحظات» نويسه يونيكد نامعتبر (نيمه جفت جانشين تنها) دارد."),
        before);
    expectRefused(
        createRaw(invoice({}, {{QStringLiteral("description"), kMark}}), QStringLiteral("\\udc00")),
        QStringLiteral("سطر 1، فيلد «description»: «شرح كالا» نويسه يونيكد نامعتبر"), before);
}

SI_INSTANTIATE_BACKENDS(CliTexts);

}  // namespace
}  // namespace si::test
