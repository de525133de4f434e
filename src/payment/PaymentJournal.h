#pragma once
// The workstation's journal of card payments: an append-only file, flushed to the disk at each
// line, that holds a payment from the moment the terminal approved it until its rows are
// committed. Whatever stops the program between the two (a crash, a lost database) leaves the
// approval here, and the next start or payment writes it once.
//
// Lines are JSON objects: {"event":"sent"|"approved"|"done"|"ended", "attempt":..., ...}.

#include <QJsonObject>
#include <QString>
#include <vector>

namespace si {

class PaymentJournal {
public:
    // The journal file; the default is pos-journal.log under the user's data directory.
    explicit PaymentJournal(QString path = {});

    const QString& path() const { return path_; }
    // Appends and flushes one line; throws std::runtime_error when the disk refuses it, so that
    // an approval is never recorded without its journal line.
    void append(const QString& event, const QJsonObject& payment);
    // Approvals without a "done" line after them, oldest first.
    std::vector<QJsonObject> pendingApprovals() const;
    // Attempts sent without an answer after them ("approved", "ended" or "done").
    std::vector<QJsonObject> unansweredAttempts() const;

private:
    std::vector<QJsonObject> lines() const;

    QString path_;
};

}  // namespace si
