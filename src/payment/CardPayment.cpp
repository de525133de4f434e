#include "payment/CardPayment.h"

#include <QJsonArray>
#include <QSet>
#include <QUuid>

#include "common/Jalali.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "invoice/InvoiceDocument.h"
#include "payment/PosTexts.h"
#include "posting/CashTurnBooking.h"

namespace si {

namespace {

const QString kProblem = QStringLiteral("اشكال");
const QString kNoTurnForCard = QStringLiteral(
    "نوبت صندوقي براي شما باز نيست، لذا امكان درج تراكنش از صندوق به بانك انجام نشد!");
const QString kTransactionError = QStringLiteral("خطا در تراكنش ");

// Terminals waiting for an answer on this workstation: one sale at a time on each.
QSet<int>& busyDevices() {
    static QSet<int> devices;
    return devices;
}

QVariant positiveOrNull(const QJsonValue& v) {
    const int n = v.toInt();
    return n > 0 ? QVariant(n) : QVariant();
}

QStringList answerFields(const QJsonObject& entry) {
    QStringList fields;
    for (const QJsonValue& v : entry.value(QStringLiteral("fields")).toArray())
        fields << v.toString();
    while (fields.size() < 8)
        fields << QString();
    return fields;
}

qint64 insertTransactionRow(Session& s, const QJsonObject& e) {
    const QStringList f = answerFields(e);
    return s.insertReturningId(
        QStringLiteral("insert into tblRecPayPosTransaction (ReasonCode, SerialTransaction, "
                       "AccountNo, Bin, Pan, TerminalNo, TraceNumber, TransactionDate, "
                       "FarsiTransactionDate, FormTypeID, FormID, UserID) values (?, ?, ?, ?, ?, "
                       "?, ?, ?, '', ?, ?, ?) RETURNING ID"),
        {f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], kCardPaymentFormType,
         positiveOrNull(e.value(QStringLiteral("invoice"))),
         e.value(QStringLiteral("user")).toInt()});
}

// The class of an object slot when the device has the object; the object when it has both.
Params objectValues(const QJsonObject& e) {
    Params values;
    const QJsonArray objects = e.value(QStringLiteral("objects")).toArray();
    const QJsonArray classes = e.value(QStringLiteral("classes")).toArray();
    for (int i = 0; i < 3; ++i) {
        const int object = objects.at(i).toInt(), klass = classes.at(i).toInt();
        values << (object > 0 ? QVariant(klass) : QVariant())
               << (object > 0 && klass > 0 ? QVariant(object) : QVariant());
    }
    return values;
}

qint64 insertTurnRow(Session& s, qint64 turnId, const QJsonObject& e) {
    const QDate date = QDate::fromString(e.value(QStringLiteral("date")).toString(), Qt::ISODate);
    Params values{
        turnId,
        e.value(QStringLiteral("code")).toInt(-1),
        QDateTime(date, QTime(0, 0)),
        getFarsiDate(date),
        QStringLiteral("پرداختي به بانك با دستگاه POS به ازاي فاكتور به شماره رايانهاي ") +
            QString::number(e.value(QStringLiteral("invoice")).toInt()),
        QVariant::fromValue(Money::fromVariant(e.value(QStringLiteral("amount")).toString())),
        positiveOrNull(e.value(QStringLiteral("account"))),
        kCardPaymentFormType,
        e.value(QStringLiteral("user")).toInt(),
        positiveOrNull(e.value(QStringLiteral("branch")))};
    values << objectValues(e);
    const qint64 id = s.insertReturningId(
        QStringLiteral("Insert Into tblRecPayCashTurnDetail (CashTurnID, Code, TransactionDate, "
                       "FarsiTransactionDate, Description, ReceivedValue, PayedValue, "
                       "RelatedAccountID, FormID, FormTypeID, UserID, BranchID, ClassID1, "
                       "ObjectID1, ClassID2, ObjectID2, ClassID3, ObjectID3) Values (?, ?, ?, ?, "
                       "?, 0, ?, ?, NULL, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING ID"),
        values);
    // The row is its own document of form type 205.
    s.exec(QStringLiteral("update tblRecPayCashTurnDetail Set FormTypeID = ?, FormID = ? where ID "
                          "= ?"),
           {kCardPaymentFormType, id, id});
    return id;
}

PaymentBooking writeOnce(Session& s, const QJsonObject& e, const std::function<void()>& hook) {
    Transaction t = s.writerTransaction();
    const QString attempt = e.value(QStringLiteral("attempt")).toString();
    if (s.first(QStringLiteral("select AttemptID from tblRecPayPosAttempt where AttemptID = ?"),
                {attempt}))
        return PaymentBooking::AlreadyWritten;
    const qint64 transaction = insertTransactionRow(s, e);
    if (hook) hook();
    const qint64 turn = OpenCashTurnID(s, e.value(QStringLiteral("cash")).toInt(),
                                       e.value(QStringLiteral("turn")).toInt());
    const qint64 detail = turn > 0 ? insertTurnRow(s, turn, e) : 0;
    s.exec(QStringLiteral("insert into tblRecPayPosAttempt (AttemptID, InvoiceID, Amount, "
                          "TransactionID, CashTurnDetailID, CreateDate) values (?, ?, ?, ?, ?, ?)"),
           {attempt, positiveOrNull(e.value(QStringLiteral("invoice"))),
            QVariant::fromValue(Money::fromVariant(e.value(QStringLiteral("amount")).toString())),
            transaction, detail > 0 ? QVariant(detail) : QVariant(), s.now()});
    t.commit();
    return turn > 0 ? PaymentBooking::Written : PaymentBooking::TurnClosed;
}

}  // namespace

PaymentBooking WriteApprovedPayment(Session& session, const QJsonObject& entry,
                                    const std::function<void()>& afterTransactionRow) {
    return writeOnce(session, entry, afterTransactionRow);
}

int RecoverJournaledPayments(Context& ctx, PaymentJournal& journal) {
    int written = 0;
    for (const QJsonObject& entry : journal.pendingApprovals()) {
        PaymentBooking booking;
        try {
            booking = WriteApprovedPayment(ctx.db(), entry);
        } catch (const std::exception& e) {
            // Still journaled: the next payment or start tries again.
            ShowMessage(ctx, kProblem,
                        QStringLiteral("پرداخت كارتي تاييد شده پيشين هنوز ثبت نشد؛ در پرداخت يا "
                                       "ورود بعدي ثبت مي شود. علت: ") +
                            QString::fromUtf8(e.what()));
            return written;
        }
        journal.append(QStringLiteral("done"), entry);
        if (booking == PaymentBooking::AlreadyWritten) continue;
        ++written;
        ShowMessage(ctx, QStringLiteral("اطلاع"),
                    QStringLiteral("پرداخت كارتي %1 ريال فاكتور %2 كه پيش از اين تاييد شده بود، "
                                   "اكنون ثبت شد.")
                        .arg(FormatAmount(
                            Money::fromVariant(entry.value(QStringLiteral("amount")).toString())))
                        .arg(entry.value(QStringLiteral("invoice")).toInt()));
    }
    return written;
}

CardPayment::CardPayment(Context& ctx, InvoiceDocument& doc, PaymentJournal& journal,
                         CardPaymentParts parts)
    : ctx_(ctx), doc_(doc), journal_(journal), parts_(std::move(parts)) {}

CardPayment::~CardPayment() {
    release();
}

void CardPayment::release() {
    if (deviceId_ != 0) busyDevices().remove(deviceId_);
    deviceId_ = 0;
    if (driver_) driver_.release()->deleteLater();
}

bool CardPayment::refuse(const QString& text) {
    ShowMessage(ctx_, kProblem, text);
    return false;
}

bool CardPayment::checkDevice(const PosDevice& d) {
    if (d.accountId <= 0)
        return refuse(QStringLiteral("حساب بدهكار براي تراكنش بانك تنظيم نشده است!"));
    if (d.comPort.trimmed().isEmpty())
        return refuse(QStringLiteral("دستگاه پوز به درستي تنظيم نشده است!"));
    if (d.baudRate <= 0)
        return refuse(QStringLiteral("نرخ انتقال براي دستگاه پوز به درستي تنظيم نشده است!"));
    if (d.typeId > 5)
        return refuse(QStringLiteral("براي اين نوع از دستگاه پوز، برنامه نويسي نشده است."));
    if (d.typeId == 4 && d.ip.trimmed().isEmpty())
        return refuse(QStringLiteral("براي دستگاه آسان پرداخت, تنظيم آي پي لازم است!"));
    if (d.typeId == 5 && d.ip.trimmed().isEmpty() && d.comPort.trimmed().isEmpty())
        return refuse(
            QStringLiteral("براي دستگاه پوز بانک کشاورزي, تنظيم درگاه سريال يا آي پي لازم است!"));
    if (busyDevices().contains(d.id))
        return refuse(QStringLiteral("دستگاه پوز هنوز در انتظار پاسخ پرداخت قبلي است."));
    return true;
}

// Before the terminal is asked: money taken must have a turn to be booked into.
bool CardPayment::checkTurn() {
    if (doc_.CashID > 0 && doc_.Turn > 0 && OpenCashTurnID(ctx_.db(), doc_.CashID, doc_.Turn) > 0)
        return true;
    ShowMessage(ctx_, kProblem, kNoTurnForCard);
    return false;
}

bool CardPayment::askIfPaidAlready() {
    const int invoice = doc_.invoiceID();
    if (invoice <= 0) return true;
    const Money paid = Money::fromVariant(ctx_.db().scalar(
        QStringLiteral(
            "select coalesce(sum(Amount), 0) from tblRecPayPosAttempt where InvoiceID = ?"),
        {invoice}));
    if (paid.isZero() || paid < doc_.totals.GrandTotal) return true;
    return AskedYes(ctx_, QStringLiteral("هشدار"),
                    QStringLiteral("اين فاكتور با مبلغ %1 ريال قبلا با كارت پرداخت شده است. آيا "
                                   "دوباره پرداخت مي شود؟")
                        .arg(FormatAmount(paid)));
}

QJsonObject CardPayment::entryFor(const PosDevice& d) const {
    QJsonArray objects, classes;
    for (int i = 0; i < 3; ++i) {
        objects << d.objectIds[static_cast<size_t>(i)];
        classes << d.classIds[static_cast<size_t>(i)];
    }
    bool ok = false;
    const int code = doc_.txtCode.trimmed().toInt(&ok);
    return {{QStringLiteral("attempt"), QUuid::createUuid().toString(QUuid::WithoutBraces)},
            {QStringLiteral("invoice"), doc_.invoiceID()},
            {QStringLiteral("code"), ok ? code : -1},
            {QStringLiteral("date"), doc_.datCreateDate.toString(Qt::ISODate)},
            {QStringLiteral("amount"), doc_.totals.GrandTotal.toString()},
            {QStringLiteral("device"), d.id},
            {QStringLiteral("type"), d.typeId},
            {QStringLiteral("account"), d.accountId},
            {QStringLiteral("objects"), objects},
            {QStringLiteral("classes"), classes},
            {QStringLiteral("branch"), doc_.sltBranch.IsEmpty() ? 0 : doc_.sltBranch.ID()},
            {QStringLiteral("cash"), doc_.CashID},
            {QStringLiteral("turn"), doc_.Turn},
            {QStringLiteral("user"), ctx_.globals.CurrentUserID}};
}

bool CardPayment::start() {
    if (inProgress()) return false;
    if (!HasRight(ctx_, kCardPaymentRight)) {
        ShowMessage(ctx_, kProblem,
                    QStringLiteral("شما نقش مورد نظر را نداريد. ش.ر. ") +
                        QString::number(kCardPaymentRight));
        return false;
    }
    if (doc_.totals.GrandTotal <= Money()) {
        ShowMessage(ctx_, kProblem, QStringLiteral("مبلغ بايد مشخص شده باشد!"));
        return false;
    }
    RecoverJournaledPayments(ctx_, journal_);
    const std::optional<PosDevice> device = parts_.device ? parts_.device() : std::nullopt;
    if (!device || !checkDevice(*device) || !checkTurn() || !askIfPaidAlready()) return false;
    driver_ = parts_.driver(*device);
    if (!driver_) {
        ShowMessage(ctx_, kProblem,
                    QStringLiteral("براي اين نوع از دستگاه پوز، برنامه نويسي نشده است."));
        return false;
    }
    entry_ = entryFor(*device);
    journal_.append(QStringLiteral("sent"), entry_);
    connect(driver_.get(), &pcpos::PosDriver::finished, this, &CardPayment::onFinished);
    const pcpos::SaleRequest request{doc_.totals.GrandTotal.raw() / Money::kScale, doc_.invoiceID(),
                                     entry_.value(QStringLiteral("attempt")).toString()};
    if (!driver_->startSale(request)) {
        driver_.reset();
        ShowMessage(ctx_, kProblem,
                    QStringLiteral("دستگاه پوز هنوز در انتظار پاسخ پرداخت قبلي است."));
        return false;
    }
    deviceId_ = device->id;
    busyDevices().insert(deviceId_);
    Q_EMIT waiting(device->typeId == 3 ? QStringLiteral("ارسال مبلغ به دستگاه پوز بانک ملي ....")
                                       : QStringLiteral("ارسال مبلغ به دستگاه پوز ...."));
    return true;
}

void CardPayment::cancel() {
    if (driver_) driver_->cancel();
}

void CardPayment::onFinished(const pcpos::SaleResult& result) {
    release();
    Q_EMIT answered();
    if (result.outcome != pcpos::SaleResult::Outcome::Approved) {
        journal_.append(QStringLiteral("ended"), entry_);
        showRefusal(result);
        Q_EMIT done(false);
        return;
    }
    record(result);
}

void CardPayment::record(const pcpos::SaleResult& r) {
    const int type = entry_.value(QStringLiteral("type")).toInt();
    QStringList fields{r.reasonCode, r.serialTransaction, r.accountNo,   r.bin,
                       r.pan,        r.terminalNo,        r.traceNumber, r.transactionDate};
    if (type == 3) {
        fields = QStringList(7, QStringLiteral("0"));
        fields << getFarsiDate(doc_.datCreateDate);
        ShowMessage(ctx_, QStringLiteral("پرداخت موفق"),
                    QStringLiteral("پرداخت با موفقيت انجام شد. بانک ملي"));
    }
    entry_.insert(QStringLiteral("fields"), QJsonArray::fromStringList(fields));
    journal_.append(QStringLiteral("approved"), entry_);
    PaymentBooking booking;
    try {
        booking = writeOnce(ctx_.db(), entry_, afterTransactionRow);
    } catch (const std::exception& e) {
        ShowMessage(ctx_, kProblem,
                    QStringLiteral("پرداخت تاييد شد اما ثبت آن انجام نشد؛ در پرداخت يا ورود بعدي "
                                   "ثبت مي شود. علت: ") +
                        QString::fromUtf8(e.what()));
        Q_EMIT done(false);
        return;
    }
    journal_.append(QStringLiteral("done"), entry_);
    if (booking == PaymentBooking::TurnClosed)
        ShowMessage(ctx_, kProblem, kNoTurnForCard);
    else
        ShowMessage(ctx_, QStringLiteral("اطلاع"),
                    QStringLiteral("پرداخت به بانك با موفقيت انجام شد."));
    Q_EMIT done(true);
}

namespace {
// Melli's answer is shown field by field, as its library reports it.
QString MelliReport(const pcpos::SaleResult& r) {
    QString text = QStringLiteral("OnSaleResultEvent");
    for (const auto& [name, value] : r.fields)
        text += QLatin1Char('\n') + name + QStringLiteral(": ") + value;
    return text.remove(QChar(0));
}
}  // namespace

void CardPayment::showRefusal(const pcpos::SaleResult& r) {
    using Outcome = pcpos::SaleResult::Outcome;
    const int type = entry_.value(QStringLiteral("type")).toInt();
    const bool noAnswer = r.outcome == Outcome::Failed || r.outcome == Outcome::TimedOut;
    if (type <= 1 && !noAnswer) {
        ShowMessage(
            ctx_, QStringLiteral("اشكال در دستگاه كارتخوان"),
            r.status == 109 ? BankResponseText(r.responseCode) : TerminalStatusText(r.status));
    } else if (type == 2 && !noAnswer) {
        ShowMessage(ctx_, QStringLiteral("اشكال در دستگاه پوز صادرات"),
                    QString::number(r.status) + QStringLiteral(" : "));
    } else if (type == 3 && !noAnswer) {
        ShowMessage(ctx_, QStringLiteral("اشکال در پوز بانک ملي"), MelliReport(r));
    } else if (type == 4) {
        if (r.outcome == Outcome::Failed && r.responseText.isEmpty())
            ShowMessage(ctx_, kProblem,
                        QStringLiteral("اتصال با دستگاه آسان پرداخت با مشكل مواجه شد."));
        else
            ShowMessage(ctx_, kTransactionError + r.responseCode,
                        noAnswer ? r.errorText : r.responseText);
    } else if (type == 5) {
        if (r.outcome == Outcome::Failed)
            ShowMessage(ctx_, kProblem,
                        QStringLiteral("اتصال با دستگاه پوز بانک کشاورزي با مشكل مواجه شد."));
        else if (noAnswer)
            ShowMessage(ctx_, kProblem, r.errorText);
        else
            ShowMessage(ctx_, kTransactionError,
                        r.responseCode + QStringLiteral(": ") + r.responseText);
    } else {
        ShowMessage(ctx_, kProblem, r.errorText);
    }
}

}  // namespace si
