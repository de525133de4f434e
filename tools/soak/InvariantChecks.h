#pragma once
// The groups of invariants, each adding its own to the result. Shared by Invariants.cpp only.

#include "Invariants.h"

namespace si::soak {

// The form type of a sale invoice in the posting tables.
inline constexpr int kSaleInvoiceForm = 901;

void CheckCodes(Session& s, CheckResult& result);
void CheckDocumentsBalance(Session& s, CheckResult& result);
void CheckTemporaryWithoutPostings(Session& s, CheckResult& result);
void CheckFinalPostings(Session& s, const CheckScope& scope, CheckResult& result);
void CheckDispatchesMatchLines(Session& s, const CheckScope& scope, CheckResult& result);
void CheckStock(Session& s, const CheckScope& scope, CheckResult& result);
void CheckOrphans(Session& s, const CheckScope& scope, CheckResult& result);

}  // namespace si::soak
