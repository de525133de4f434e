#pragma once
// Goods with little stock come back in small lots while the load runs, as a shop's deliveries
// do: a goods item with no piece left free for sale (on hand, less what temporary invoices hold)
// gets 2..10 free pieces by a receipt dated the load's day, so that its last pieces are fought
// over again and again. It looks inside a writer transaction, between two saves, and keeps the
// lowest level it saw for the invariant checker: a delivery would otherwise hide a level that
// went below zero. A round that fails (the server restarting, the file busy) is tried again.

#include <QObject>
#include <QRandomGenerator>
#include <QTimer>

#include "SoakDatabase.h"

namespace si::soak {

struct Deliveries {
    qint64 receipts = 0;
    qint64 pieces = 0;
    qint64 failed = 0;
};

class Restocker : public QObject {
    Q_OBJECT
public:
    Restocker(SoakDatabase& db, quint32 seed);
    void start(int everyMs) { timer_.start(everyMs); }
    void stop() { timer_.stop(); }
    const Deliveries& deliveries() const { return deliveries_; }

private:
    void deliver();

    SoakDatabase& db_;
    QRandomGenerator random_;
    QTimer timer_;
    Deliveries deliveries_;
};

}  // namespace si::soak
