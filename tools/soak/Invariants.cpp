#include "Invariants.h"

#include "InvariantChecks.h"

namespace si::soak {

qint64 CheckResult::violationCount() const {
    qint64 n = 0;
    for (const Invariant& i : invariants)
        n += i.violations.size();
    return n;
}

CheckResult CheckInvariants(Session& s, const CheckScope& scope) {
    CheckResult result;
    CheckCodes(s, result);
    CheckDocumentsBalance(s, result);
    CheckTemporaryWithoutPostings(s, result);
    CheckFinalPostings(s, scope, result);
    CheckDispatchesMatchLines(s, scope, result);
    CheckStock(s, scope, result);
    CheckOrphans(s, scope, result);
    return result;
}

}  // namespace si::soak
