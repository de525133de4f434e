#include "common/EventChainCheck.h"

#include <QRegularExpression>

#include "common/AuditKey.h"
#include "common/EventChain.h"

namespace si {

namespace {

constexpr int kRowsPerRead = 5000;

// An event outside the chain written after the chain began: no writer of this program leaves one.
struct Intruder {
    qint64 id = 0;
};

bool isCode(const QString& code) {
    static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{64}$"));
    return hex.match(code).hasMatch();
}

class ChainWalk {
public:
    ChainWalk(Session& s, const QByteArray& key) : s_(s), mac_(QCryptographicHash::Sha256, key) {}

    EventChainReport run(const QDate& from) {
        report_.unchained = countUnchained();
        if (!findStart(from)) return finish();
        intruder_ = findIntruder();
        for (qint64 next = fetchFrom_; !done();) {
            const RowSet rows = s_.query(QStringLiteral("select ") + kFormEventColumns +
                                             QStringLiteral(" from tblZelorFormEvent where "
                                                            "ChainSeq >= ? order by ChainSeq, ID "
                                                            "limit ?"),
                                         {next, kRowsPerRead});
            bool progressed = false;
            for (const Row& row : rows) {
                const FormEvent e = FormEventFromRow(row);
                if (*e.chainSeq == previousSeq_ && e.id <= previousId_) continue;
                progressed = true;
                check(e);
                if (done()) break;
            }
            if (!progressed || rows.size() < kRowsPerRead) break;
            next = previousSeq_;
        }
        if (!done() && intruder_) insertedOutside(intruder_->id);
        return finish();
    }

private:
    qint64 countUnchained() {
        return s_
            .scalar(QStringLiteral("select count(*) from tblZelorFormEvent where ChainSeq "
                                   "is null and (ID < (select min(ID) from tblZelorFormEvent "
                                   "where ChainSeq is not null) or not exists (select 1 from "
                                   "tblZelorFormEvent where ChainSeq is not null))"))
            .toLongLong();
    }

    // The first place to check and the code it follows; false when there is nothing to check
    // or the link before the first place is already missing.
    bool findStart(const QDate& from) {
        if (!from.isValid()) {
            const Row first = *s_.first(
                QStringLiteral("select min(ChainSeq) as FirstSeq, min(ID) as FirstID from "
                               "tblZelorFormEvent where ChainSeq is not null"));
            if (first.isNull(u"FirstSeq")) return false;
            report_.firstSeq = 1;
            fetchFrom_ = first.toInt64(u"FirstSeq");
            afterId_ = first.toInt64(u"FirstID");
            return true;
        }
        const std::optional<Row> start = s_.first(
            QStringLiteral("select ID, ChainSeq from tblZelorFormEvent where ChainSeq = (select "
                           "min(ChainSeq) from tblZelorFormEvent where ChainSeq is not null and "
                           "EventDate >= ?) order by ID limit 1"),
            {Session::dateText(from)});
        if (!start) return false;
        report_.firstSeq = start->toInt64(u"ChainSeq");
        fetchFrom_ = report_.firstSeq;
        afterId_ = start->toInt64(u"ID");
        if (report_.firstSeq == 1) return true;
        const std::optional<Row> before = s_.first(
            QStringLiteral("select ID, ChainCode from tblZelorFormEvent where ChainSeq = ? "
                           "order by ID limit 1"),
            {report_.firstSeq - 1});
        if (!before) {
            removed(report_.firstSeq - 1, afterId_, report_.firstSeq);
            return false;
        }
        previousCode_ = before->text(u"ChainCode");
        previousSeq_ = report_.firstSeq - 1;
        previousId_ = before->toInt64(u"ID");
        return true;
    }

    std::optional<Intruder> findIntruder() {
        const QVariant id = s_.scalar(
            QStringLiteral(
                "select min(ID) from tblZelorFormEvent where ChainSeq is null and ID > ?"),
            {afterId_});
        if (id.isNull() || afterId_ == 0) return std::nullopt;
        return Intruder{id.toLongLong()};
    }

    void check(const FormEvent& e) {
        const qint64 seq = *e.chainSeq;
        const qint64 expected = previousSeq_ + 1;
        if (intruder_ && intruder_->id < e.id) return insertedOutside(intruder_->id);
        if (seq > expected) return removed(expected, e.id, seq);
        if (seq < expected)
            return inserted(e, seq == previousSeq_ && previousId_ > 0
                                   ? QStringLiteral("رويداد شماره %1 حلقه %2 زنجيره را كه رويداد "
                                                    "شماره %3 دارد دوباره دارد و بعدا افزوده شده "
                                                    "است.")
                                         .arg(e.id)
                                         .arg(seq)
                                         .arg(previousId_)
                                   : QStringLiteral("رويداد شماره %1 حلقه %2 دارد كه در زنجيره "
                                                    "جايي ندارد و ساختگي است.")
                                         .arg(e.id)
                                         .arg(seq));
        if (e.id < previousId_)
            return inserted(e, QStringLiteral("رويداد شماره %1 (حلقه %2 زنجيره) پيش از رويداد "
                                              "شماره %3 نوشته شده و جاي آن در زنجيره ساختگي است.")
                                   .arg(e.id)
                                   .arg(seq)
                                   .arg(previousId_));
        if (EventChainCode(mac_, e, seq, previousCode_) != e.chainCode) {
            if (!isCode(e.chainCode))
                return inserted(e, QStringLiteral("رويداد شماره %1 (حلقه %2 زنجيره) كد زنجيره "
                                                  "معتبري ندارد و ساختگي است.")
                                       .arg(e.id)
                                       .arg(seq));
            return edited(e);
        }
        ++report_.checked;
        previousSeq_ = seq;
        previousId_ = e.id;
        previousCode_ = e.chainCode;
    }

    void edited(const FormEvent& e) {
        report_.broken = ChainBreak::Edited;
        report_.rowId = e.id;
        report_.chainSeq = *e.chainSeq;
        report_.message = QStringLiteral(
                              "رويداد شماره %1 (حلقه %2 زنجيره) پس از ثبت تغيير كرده "
                              "است: كد زنجيره آن با محتوايش نمي خواند.")
                              .arg(e.id)
                              .arg(*e.chainSeq);
    }

    void removed(qint64 missing, qint64 nextId, qint64 nextSeq) {
        report_.broken = ChainBreak::Removed;
        report_.missingSeq = missing;
        report_.rowId = nextId;
        report_.chainSeq = nextSeq;
        report_.message = QStringLiteral(
                              "حلقه %1 زنجيره رويدادها حذف شده است؛ رويداد پس از آن "
                              "شماره %2 (حلقه %3) است.")
                              .arg(missing)
                              .arg(nextId)
                              .arg(nextSeq);
    }

    void inserted(const FormEvent& e, const QString& message) {
        report_.broken = ChainBreak::Inserted;
        report_.rowId = e.id;
        report_.chainSeq = *e.chainSeq;
        report_.message = message;
    }

    void insertedOutside(qint64 id) {
        report_.broken = ChainBreak::Inserted;
        report_.rowId = id;
        report_.chainSeq = 0;
        report_.message = QStringLiteral(
                              "رويداد شماره %1 پس از آغاز زنجيره، بيرون از آن به جدول "
                              "افزوده شده است.")
                              .arg(id);
    }

    bool done() const { return report_.broken != ChainBreak::None; }

    EventChainReport finish() {
        if (report_.intact())
            report_.message = QStringLiteral(
                                  "زنجيره رويدادها سالم است: %1 رويداد بررسي شد؛ %2 رويداد پيش از "
                                  "آغاز زنجيره نوشته شده و امضا ندارد.")
                                  .arg(report_.checked)
                                  .arg(report_.unchained);
        return report_;
    }

    Session& s_;
    QMessageAuthenticationCode mac_;
    EventChainReport report_;
    std::optional<Intruder> intruder_;
    qint64 fetchFrom_ = 1;  // the least place read, below 1 when a row claims one
    qint64 afterId_ = 0;    // rows outside the chain with a greater ID were slipped in
    qint64 previousSeq_ = 0;
    qint64 previousId_ = 0;
    QString previousCode_;
};

}  // namespace

EventChainReport VerifyEventChain(Session& s, const QDate& from) {
    return VerifyEventChain(s, RequireAuditKey(), from);
}

EventChainReport VerifyEventChain(Session& s, const QByteArray& key, const QDate& from) {
    return ChainWalk(s, key).run(from);
}

QString ChainBreakName(ChainBreak kind) {
    switch (kind) {
        case ChainBreak::Edited:
            return QStringLiteral("edited");
        case ChainBreak::Removed:
            return QStringLiteral("removed");
        case ChainBreak::Inserted:
            return QStringLiteral("inserted");
        case ChainBreak::None:
            break;
    }
    return QStringLiteral("none");
}

}  // namespace si
