#include "linked/RecordingSibling.h"

#include <stdexcept>

namespace si::test {

void RecordingSibling::record(const QString& call) {
    journal_->entries << call;
    if (journal_->failure.isEmpty()) return;
    if (journal_->reportFailure)
        error_ = journal_->failure;
    else
        throw std::runtime_error(journal_->failure.toStdString());
}

void RegisterRecording(ComponentRegistry& registry, const QString& progId,
                       const std::shared_ptr<SiblingJournal>& journal) {
    registry.add(progId, [progId, journal] {
        journal->entries << QStringLiteral("create ") + progId;
        return std::make_unique<RecordingSibling>(journal);
    });
}

}  // namespace si::test
