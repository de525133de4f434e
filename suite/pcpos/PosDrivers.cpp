#include "suite/pcpos/PosDrivers.h"

#include <QUuid>

namespace si::pcpos {

namespace {

const QString kNoAnswerInTime = QStringLiteral("دستگاه كارتخوان در مهلت مقرر پاسخ نداد.");
const QString kNotReachedInTime =
    QStringLiteral("ارتباط با دستگاه كارتخوان در مهلت مقرر برقرار نشد.");
const QString kUnreachable = QStringLiteral("مشكل ارتباط با دستگاه كارتخوان");
const QString kDropped = QStringLiteral("ارتباط با دستگاه كارتخوان پيش از رسيدن پاسخ قطع شد.");
const QString kMalformed = QStringLiteral("پاسخ دستگاه كارتخوان نامعتبر است.");
const QString kCancelled = QStringLiteral("تراكنش توسط كاربر لغو شد.");
const QString kNoPort = QStringLiteral("دستگاه پوز به درستي تنظيم نشده است!");

QString NetworkProblem(const PosSettings& settings) {
    if (settings.ip.isEmpty() || settings.ipPort <= 0) return kNoPort;
    return {};
}

}  // namespace

LinePosDriver::LinePosDriver(const PosSettings& settings, const PosTimeouts& timeouts)
    : settings_(settings), timeouts_(timeouts) {
    connectTimer_.setSingleShot(true);
    answerTimer_.setSingleShot(true);
    connect(&connectTimer_, &QTimer::timeout, this,
            [this] { fail(SaleResult::Outcome::TimedOut, kNotReachedInTime); });
    connect(&answerTimer_, &QTimer::timeout, this,
            [this] { fail(SaleResult::Outcome::TimedOut, kNoAnswerInTime); });
}

bool LinePosDriver::startSale(const SaleRequest& request) {
    if (busy()) return false;
    SaleRequest sale = request;
    if (sale.attemptId.isEmpty())
        sale.attemptId = QUuid::createUuid().toString(QUuid::WithoutBraces);
    attemptId_ = sale.attemptId;
    requestLine_ = SerializeLine(SaleRequestLine(settings_, sale));
    state_ = State::Connecting;
    if (const QString problem = settingsProblem(); !problem.isEmpty()) {
        fail(SaleResult::Outcome::Failed, problem);
        return true;
    }
    link_ = makeLink();
    link_->setParent(this);
    connect(link_, &PosLink::opened, this, &LinePosDriver::onOpened);
    connect(link_, &PosLink::lineArrived, this, &LinePosDriver::onLine);
    connect(link_, &PosLink::lost, this, &LinePosDriver::onLost);
    connectTimer_.start(timeouts_.connectMs);
    link_->open();
    return true;
}

void LinePosDriver::cancel() {
    if (state_ == State::Connecting || state_ == State::Waiting)
        fail(SaleResult::Outcome::Failed, kCancelled);
}

QString LinePosDriver::unreachableText() const {
    return kUnreachable;
}

void LinePosDriver::onOpened() {
    connectTimer_.stop();
    state_ = State::Waiting;
    link_->write(requestLine_);
    const int answerMs =
        timeouts_.answerMs > 0 ? timeouts_.answerMs : DefaultAnswerMs(settings_.typeId);
    answerTimer_.start(answerMs);
}

void LinePosDriver::onLine(const QByteArray& bytes) {
    if (state_ != State::Waiting) return;
    const std::optional<ProtocolLine> line = ParseLine(bytes);
    if (!line) return fail(SaleResult::Outcome::Failed, kMalformed);
    // A late answer of an earlier attempt on the same line is not this sale's.
    if (line->verb != kResultVerb || line->value(QStringLiteral("attempt")) != attemptId_) return;
    finish(ResultFromAnswer(settings_.typeId, *line));
}

void LinePosDriver::onLost() {
    fail(SaleResult::Outcome::Failed, state_ == State::Connecting ? unreachableText() : kDropped);
}

void LinePosDriver::fail(SaleResult::Outcome outcome, const QString& text) {
    SaleResult result;
    result.outcome = outcome;
    result.errorText = text;
    finish(result);
}

void LinePosDriver::finish(SaleResult result) {
    if (state_ == State::Reporting || state_ == State::Idle) return;
    state_ = State::Reporting;
    connectTimer_.stop();
    answerTimer_.stop();
    dropLink();
    result.attemptId = attemptId_;
    // Queued, so the caller never hears the answer from inside its own call.
    QTimer::singleShot(0, this, [this, result] {
        state_ = State::Idle;
        Q_EMIT finished(result);
    });
}

void LinePosDriver::dropLink() {
    if (!link_) return;
    link_->disconnect(this);
    link_->deleteLater();
    link_ = nullptr;
}

QString SerialReaderDriver::settingsProblem() const {
    return settings().serialPort.isEmpty() ? kNoPort : QString();
}

PosLink* SerialReaderDriver::makeLink() const {
    return new SerialLink(settings().serialPort, settings().baudRate);
}

QString MelliDriver::settingsProblem() const {
    return NetworkProblem(settings());
}

PosLink* MelliDriver::makeLink() const {
    return new TcpLink(settings().ip, quint16(settings().ipPort));
}

QString AsanPardakhtDriver::settingsProblem() const {
    if (settings().ip.isEmpty())
        return QStringLiteral("براي دستگاه آسان پرداخت, تنظيم آي پي لازم است!");
    return {};
}

PosLink* AsanPardakhtDriver::makeLink() const {
    return new TcpLink(settings().ip, quint16(AsanPardakhtPort(settings())));
}

QString AsanPardakhtDriver::unreachableText() const {
    return QStringLiteral("اتصال با دستگاه آسان پرداخت با مشكل مواجه شد.");
}

QString KeshavarziDriver::settingsProblem() const {
    if (!settings().ip.isEmpty()) return NetworkProblem(settings());
    if (settings().serialPort.isEmpty())
        return QStringLiteral("براي دستگاه پوز بانک کشاورزي, تنظيم درگاه سريال يا آي پي لازم است!");
    return {};
}

PosLink* KeshavarziDriver::makeLink() const {
    if (!settings().ip.isEmpty()) return new TcpLink(settings().ip, quint16(settings().ipPort));
    return new SerialLink(settings().serialPort, settings().baudRate);
}

QString KeshavarziDriver::unreachableText() const {
    return QStringLiteral("اتصال با دستگاه پوز بانک کشاورزي با مشكل مواجه شد.");
}

std::unique_ptr<PosDriver> CreatePosDriver(const PosSettings& settings,
                                           const PosTimeouts& timeouts) {
    switch (settings.typeId) {
        case 1:
            return std::make_unique<SerialReaderDriver>(settings, timeouts);
        case 2:
            return std::make_unique<SaderatDriver>(settings, timeouts);
        case 3:
            return std::make_unique<MelliDriver>(settings, timeouts);
        case 4:
            return std::make_unique<AsanPardakhtDriver>(settings, timeouts);
        case 5:
            return std::make_unique<KeshavarziDriver>(settings, timeouts);
        default:
            return nullptr;
    }
}

}  // namespace si::pcpos
