#pragma once
// The five terminal drivers. They share one sale's course: reach the terminal (bounded by the
// connect time-out), send the request line, wait for the answer of this attempt (bounded by the
// answer time-out, the kind's own when none is given) and report once. They differ in how the
// terminal is reached and what they tell the cashier when it cannot be.

#include <QTimer>
#include <memory>

#include "suite/pcpos/PosDriver.h"
#include "suite/pcpos/PosLinks.h"
#include "suite/pcpos/PosProtocol.h"

namespace si::pcpos {

class LinePosDriver : public PosDriver {
    Q_OBJECT
public:
    LinePosDriver(const PosSettings& settings, const PosTimeouts& timeouts);
    bool startSale(const SaleRequest& request) final;
    void cancel() final;
    bool busy() const final { return state_ != State::Idle; }

protected:
    const PosSettings& settings() const { return settings_; }
    // What keeps the settings from reaching the terminal; empty when nothing does.
    virtual QString settingsProblem() const { return {}; }
    virtual PosLink* makeLink() const = 0;
    virtual QString unreachableText() const;

private:
    enum class State { Idle, Connecting, Waiting, Reporting };
    void onOpened();
    void onLine(const QByteArray& bytes);
    void onLost();
    void fail(SaleResult::Outcome outcome, const QString& text);
    void finish(SaleResult result);
    void dropLink();

    PosSettings settings_;
    PosTimeouts timeouts_;
    State state_ = State::Idle;
    QByteArray requestLine_;
    QString attemptId_;
    PosLink* link_ = nullptr;
    QTimer connectTimer_;
    QTimer answerTimer_;
};

// Kind 1: the serial card reader.
class SerialReaderDriver : public LinePosDriver {
    Q_OBJECT
public:
    using LinePosDriver::LinePosDriver;

protected:
    QString settingsProblem() const override;
    PosLink* makeLink() const override;
};

// Kind 2: the Saderat terminal, on a serial port as the reader.
class SaderatDriver final : public SerialReaderDriver {
    Q_OBJECT
public:
    using SerialReaderDriver::SerialReaderDriver;
};

// Kind 3: the Bank Melli terminal on the network.
class MelliDriver final : public LinePosDriver {
    Q_OBJECT
public:
    using LinePosDriver::LinePosDriver;

protected:
    QString settingsProblem() const override;
    PosLink* makeLink() const override;
};

// Kind 4: the Asan Pardakht terminal on the network.
class AsanPardakhtDriver final : public LinePosDriver {
    Q_OBJECT
public:
    using LinePosDriver::LinePosDriver;

protected:
    QString settingsProblem() const override;
    PosLink* makeLink() const override;
    QString unreachableText() const override;
};

// Kind 5: the Keshavarzi terminal, on the network when it has an address, else on a serial port.
class KeshavarziDriver final : public LinePosDriver {
    Q_OBJECT
public:
    using LinePosDriver::LinePosDriver;

protected:
    QString settingsProblem() const override;
    PosLink* makeLink() const override;
    QString unreachableText() const override;
};

}  // namespace si::pcpos
