#include "suite/BoxTurnComponent.h"

#include "common/Numbers.h"
#include "common/Session.h"
#include "common/SqlError.h"
#include "suite/BoxTurnWindows.h"
#include "suite/CashTurnManager.h"

namespace si::suite {

namespace {
constexpr int kSmsSending = 5004;
}

BoxTurnComponent::BoxTurnComponent() = default;
BoxTurnComponent::~BoxTurnComponent() = default;

Session& BoxTurnComponent::session() {
    if (!session_) session_ = Session::openExisting(connectionString_);
    return *session_;
}

void BoxTurnComponent::run(QWidget& window) {
    if (showWindow)
        showWindow(window);
    else
        static_cast<QDialog&>(window).exec();
}

void BoxTurnComponent::Show() {
    error_.clear();
    try {
        BoxTurnWindow window(*this);
        run(window);
    } catch (const std::exception& e) {
        error_ = QString::fromUtf8(e.what());
    }
}

void BoxTurnComponent::ShowPay() {
    error_.clear();
    try {
        CashPayWindow window(*this);
        run(window);
    } catch (const std::exception& e) {
        error_ = QString::fromUtf8(e.what());
    }
}

void BoxTurnComponent::turnClosed(qint64 turnId) {
    Session& s = session();
    const QVariant sending = s.scalar(
        QStringLiteral("select Value from tblZelorSystemParameters where ID = ?"), {kSmsSending});
    if (ToNumber(sending) <= 0) return;
    const auto phone = s.first(
        QStringLiteral("select Phone from tblEmployee where ID = ? and coalesce(Phone, '') <> ''"),
        {employeeId_});
    if (!phone) return;
    const Row turn = *s.first(
        QStringLiteral("select t.Turn, c.Name, t.FarsiCloseDate from tblRecPayCashTurn t inner "
                       "join tblRecPayCash c on c.ID = t.CashID where t.ID = ?"),
        {turnId});
    const Row money =
        *s.first(QStringLiteral("select coalesce(sum(coalesce(ReceivedValue, 0)), 0) as Received, "
                                "coalesce(sum(coalesce(PayedValue, 0)), 0) as Payed from "
                                "tblRecPayCashTurnDetail where CashTurnID = ?"),
                 {turnId});
    const Money received = money.money(u"Received"), payed = money.money(u"Payed");
    Q_EMIT SendSMS(
        phone->text(u"Phone"),
        QStringLiteral("نوبت %1 صندوق %2 در %3 بسته شد. دريافتي %4 ريال، پرداختي %5 "
                       "ريال، مانده %6 ريال.")
            .arg(turn.toInt(u"Turn"))
            .arg(turn.text(u"Name"), turn.text(u"FarsiCloseDate"), FormatAmount(received),
                 FormatAmount(payed), FormatAmount(received - payed)));
}

}  // namespace si::suite
