#include "posting/ui/FrmCashFlow.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/Messages.h"
#include "common/Numbers.h"
#include "invoice/InvoiceDocument.h"
#include "posting/CashTurnBooking.h"

namespace si {

FrmCashFlow::FrmCashFlow(Context& ctx, qint64 turnId, const QString& turnText, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmCashFlow"));
    setWindowTitle(QStringLiteral("گردش صندوق ") + turnText);
    setLayoutDirection(Qt::RightToLeft);
    const RowSet rows = CashTurnMovements(ctx.db(), turnId);
    auto* table = new QTableWidget(rows.size(), 6, this);
    table->setObjectName(QStringLiteral("flexCashFlow"));
    table->setHorizontalHeaderLabels({QStringLiteral("رديف"), QStringLiteral("تاريخ"),
                                      QStringLiteral("شرح"), QStringLiteral("دريافتي"),
                                      QStringLiteral("پرداختي"), QStringLiteral("كاربر")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    Money received, payed;
    int r = 0;
    for (const Row& row : rows) {
        received += row.money(u"ReceivedValue");
        payed += row.money(u"PayedValue");
        const QStringList cells = {QString::number(r + 1),
                                   row.text(u"FarsiTransactionDate"),
                                   row.text(u"Description"),
                                   FormatAmount(row.money(u"ReceivedValue")),
                                   FormatAmount(row.money(u"PayedValue")),
                                   row.text(u"UserName")};
        for (int c = 0; c < cells.size(); ++c)
            table->setItem(r, c, new QTableWidgetItem(cells[c]));
        ++r;
    }
    auto* sums = new QLabel(
        QStringLiteral("جمع دريافتي: %1   جمع پرداختي: %2   مانده نقد: %3")
            .arg(FormatAmount(received), FormatAmount(payed), FormatAmount(received - payed)),
        this);
    sums->setObjectName(QStringLiteral("lblSums"));
    auto* close = new QPushButton(QStringLiteral("خروج"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* box = new QVBoxLayout(this);
    box->addWidget(table, 1);
    box->addWidget(sums);
    box->addWidget(close, 0, Qt::AlignLeft);
    resize(900, 480);
}

void cmdCashFlow_Click(Context& ctx, const InvoiceDocument& doc, QWidget* parent) {
    const qint64 turn = OpenCashTurnID(ctx.db(), doc.CashID, doc.Turn);
    if (turn == 0) {
        ShowMessage(ctx, kErrorCaption, kNoOpenCashTurn);
        return;
    }
    FrmCashFlow form(ctx, turn, doc.cashTurnDescription, parent);
    form.exec();
}

}  // namespace si
