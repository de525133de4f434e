// The texts a save stores, alike on both databases: a manual code, card number or line
// description beyond its length, a control character other than a line break or tab, and a lone
// surrogate stop the save with the field's name and write nothing; texts at their length are
// stored whole; notes and the message are cut, never inside a surrogate pair, and so is the
// accounting document's description built from the notes.

#include "PostingTestSupport.h"
#include "common/TextLimits.h"
#include "posting/DocumentTestSupport.h"

namespace si::test {
namespace {

const QString kPair = QStringLiteral("\U0001F600");  // one character, two UTF-16 units
const QString kError = QStringLiteral("خطا");

QString tooLong(const QString& name, int length, int limit) {
    return QStringLiteral("طول «") + name + QStringLiteral("» ") + QString::number(length) +
           QStringLiteral(" نويسه است و حداكثر ") + QString::number(limit) +
           QStringLiteral(" نويسه مجاز است.");
}

QString control(const QString& name, int code, int position) {
    return QStringLiteral("«") + name + QStringLiteral("» نويسه كنترلي غيرمجاز (كد ") +
           QString::number(code) + QStringLiteral(") در جايگاه ") + QString::number(position) +
           QStringLiteral(" دارد؛ جز سطر جديد و Tab نويسه كنترلي پذيرفته نيست.");
}

QString invalidUnicode(const QString& name) {
    return QStringLiteral("«") + name +
           QStringLiteral("» نويسه يونيكد نامعتبر (نيمه جفت جانشين تنها) دارد.");
}

class SaveTextsTest : public PostingTest {
protected:
    int written() {
        int rows = 0;
        for (const char* table :
             {"tblSaleInvoice", "tblSaleInvoiceDetail", "tblSaleInvoiceDetailDiscount",
              "tblInventoryDispatch", "tblInventoryDispatchDetail", "tblZelorFormEvent"})
            rows += count(QLatin1String(table));
        return rows;
    }
    // Both a temporary and a final save stop with the message and write nothing.
    void expectRefused(const QString& text, const QString& focus) {
        for (bool final : {false, true}) {
            const int before = written();
            messages.clear();
            EXPECT_FALSE(save->SaveInvoice(final));
            ASSERT_EQ(messages.texts().size(), 1) << messages.texts().join(u'\n').toStdString();
            EXPECT_EQ(messages.last().caption, kError);
            EXPECT_EQ(messages.last().text, text);
            EXPECT_EQ(ui.focus, focus);
            EXPECT_EQ(written(), before);
            EXPECT_EQ(form->FormMode(), kModeNew);
        }
    }
    InvoiceDocument& doc() { return form->doc(); }
    QString& description() { return doc().flexDetail.line(0).Description; }
    QVariant stored(const QString& column) {
        return db().scalar(QStringLiteral("select %1 from tblSaleInvoice where ID = ?").arg(column),
                           {savedID()});
    }
    QString storedDescription(const QString& table, const QString& key) {
        return db()
            .scalar(QStringLiteral("select Description from %1 where %2 = ?").arg(table, key),
                    {key == QStringLiteral("InvoiceID") ? savedID() : dispatchID()})
            .toString();
    }
    int dispatchID() {
        return db()
            .scalar(QStringLiteral("select ID from tblInventoryDispatch where FormID = ? and "
                                   "FormTypeID = 901"),
                    {savedID()})
            .toInt();
    }
};

TEST_P(SaveTextsTest, TextsBeyondTheirLengthAreRefusedWithTheLimit) {
    newInvoice();
    doc().txtGhabz = QString(10000, u'7');
    expectRefused(tooLong(QStringLiteral("شماره قبض"), 10000, 50), QStringLiteral("txtGhabz"));
    doc().txtGhabz = QString(51, u'ق');
    expectRefused(tooLong(QStringLiteral("شماره قبض"), 51, 50), QStringLiteral("txtGhabz"));
    doc().txtGhabz.clear();
    doc().txtCardNo = QStringLiteral("1234567890123456789");
    expectRefused(tooLong(QStringLiteral("شماره كارت"), 19, 18), QStringLiteral("txtCardNo"));
    doc().txtCardNo.clear();
    description() = QString(100000, u'ش');
    expectRefused(QStringLiteral("سطر 1: ") + tooLong(QStringLiteral("شرح كالا"), 100000, 500),
                  QStringLiteral("flexDetail"));
    InvoiceLine free = line(QStringLiteral("1002"), 1, 1000);
    free.Description = QString(501, u'ش');
    description().clear();
    doc().flexEch.appendLine(free);
    expectRefused(
        QStringLiteral("سطر اشانتيون 1: ") + tooLong(QStringLiteral("شرح كالا"), 501, 500),
        QStringLiteral("flexDetail"));
}

TEST_P(SaveTextsTest, TextsAtTheirLengthAreStoredWhole) {
    newInvoice();
    const QString code = QString(48, u'ق') + kPair;
    const QString text = QStringLiteral("سطر اول\r\nسطر\tدوم ") + kPair;
    const QString longest = QString(500 - text.size(), u'ش') + text;
    doc().txtGhabz = code;
    doc().txtCardNo = QStringLiteral("123456789012345678");
    description() = longest;
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(stored(QStringLiteral("ManualCode")).toString(), code);
    EXPECT_EQ(stored(QStringLiteral("CardNo")).toLongLong(), 123456789012345678LL);
    EXPECT_EQ(
        storedDescription(QStringLiteral("tblSaleInvoiceDetail"), QStringLiteral("InvoiceID")),
        longest);
    EXPECT_EQ(storedDescription(QStringLiteral("tblInventoryDispatchDetail"),
                                QStringLiteral("DispatchID")),
              longest);
}

TEST_P(SaveTextsTest, ControlCharactersAreRefusedLineBreaksAndTabsKept) {
    newInvoice();
    doc().txtNotes = QStringLiteral("پيش") + QChar(0) + QStringLiteral("پس");
    expectRefused(control(QStringLiteral("ملاحظات"), 0, 4), QStringLiteral("txtNotes"));
    doc().txtNotes.clear();
    doc().txtGhabz = QStringLiteral("12") + QChar(0x1B);
    expectRefused(control(QStringLiteral("شماره قبض"), 27, 3), QStringLiteral("txtGhabz"));
    doc().txtGhabz.clear();
    doc().cmbMessage = QStringLiteral("با") + QChar(0x7F);
    expectRefused(control(QStringLiteral("پيام"), 127, 3), QStringLiteral("cmbMessage"));
    doc().cmbMessage.clear();
    description() = QStringLiteral("الف") + QChar(0x01);
    expectRefused(QStringLiteral("سطر 1: ") + control(QStringLiteral("شرح كالا"), 1, 4),
                  QStringLiteral("flexDetail"));
    description() = QStringLiteral("الف\r\nب\tپ");
    doc().txtNotes = QStringLiteral("سطر اول\nسطر\tدوم");
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(stored(QStringLiteral("Notes")).toString(), QStringLiteral("سطر اول\nسطر\tدوم"));
    EXPECT_EQ(
        storedDescription(QStringLiteral("tblSaleInvoiceDetail"), QStringLiteral("InvoiceID")),
        QStringLiteral("الف\r\nب\tپ"));
}

TEST_P(SaveTextsTest, LoneSurrogatesNeverReachTheDatabase) {
    newInvoice();
    doc().txtNotes = QStringLiteral("پيش") + kPair[0] + QStringLiteral("پس");
    expectRefused(invalidUnicode(QStringLiteral("ملاحظات")), QStringLiteral("txtNotes"));
    doc().txtNotes.clear();
    description() = QString(kPair[1]);
    expectRefused(QStringLiteral("سطر 1: ") + invalidUnicode(QStringLiteral("شرح كالا")),
                  QStringLiteral("flexDetail"));
}

TEST_P(SaveTextsTest, NotesAndMessageAreCutAlikeAndPairsKeptWhole) {
    newInvoice();
    doc().txtNotes = QString(2500, u'ن');
    doc().cmbMessage = QString(300, u'پ');
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(stored(QStringLiteral("Notes")).toString(), QString(2500, u'ن').left(2000));
    EXPECT_EQ(stored(QStringLiteral("CustomerMessage")).toString(), QString(200, u'پ'));

    newInvoice();
    doc().txtNotes = QString(1999, u'ن') + kPair + QStringLiteral("بعد");
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(stored(QStringLiteral("Notes")).toString(), QString(1999, u'ن'));
}

SI_INSTANTIATE_BACKENDS(SaveTextsTest);

// The document's description joins the invoice number and the notes; cut to its length, it
// keeps a pair at the cut whole rather than storing half of it.
class DocumentTextTest : public PostingFixture {};

TEST_P(DocumentTextTest, TheDescriptionIsCutBeforeAPairItCannotHold) {
    const int id = storeInvoice({.lines = {{QStringLiteral("1001"), 1, 1000}}, .code = 3});
    const QString head = QStringLiteral(" ثبت نهايي فاكتور فروش ـ ش. ر. ") + QString::number(id) +
                         QStringLiteral(" و ملاحظات: ");
    const QString notes = QString(1999 - head.size(), u'ن') + kPair + QStringLiteral("ی");
    db().exec(QStringLiteral("update tblSaleInvoice set Notes = ? where ID = ?"), {notes, id});
    load(id);
    const int document = post();
    ASSERT_GT(document, 0) << messages.texts().join(u'\n').toStdString();
    const QString expected = head + notes.left(1999 - head.size());
    EXPECT_EQ(db().scalar(QStringLiteral("select Description from tblAccountDocument where ID = ?"),
                          {document})
                  .toString(),
              expected);
    EXPECT_EQ(db().scalar(QStringLiteral("select max(Description) from tblAccountDocumentDetail "
                                         "where DocumentID = ?"),
                          {document})
                  .toString(),
              expected);
}

SI_INSTANTIATE_BACKENDS(DocumentTextTest);

}  // namespace
}  // namespace si::test
