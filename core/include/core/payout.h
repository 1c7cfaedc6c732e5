// First-prize payout estimate of one predicted single from the support rates of its outcomes.
//
// Each chosen rate r(k) becomes the factor r(k) * 0.01 (the double 0.01, not a division by 100: the two
// differ in the last bit for rates such as 35); the factors are multiplied from match 13 down to match 1;
// 23.5 is divided by that product and the quotient truncated toward zero. The estimate is 0 where the
// product is 0 or not finite, or where the quotient is not finite.
//
// The estimate is a double holding a whole number, so quotients beyond 32 bits keep every digit; inside
// the signed 32-bit range it equals the 32-bit estimate. formatYen writes it as plain decimal digits with
// no exponent and no grouping, "-" in front when negative.
//
// Example: every chosen rate 50 gives 23.5 * 2^13 = 192512; every chosen rate 20 gives 28686523437,
// written "28686523437".
#pragma once

#include "core/support_rate.h"
#include "core/ticket.h"

#include <string>

namespace pomelak {

double EstimateFirstPrizePayout(const MatchResults& results, const SupportRateTable& rates);

// A whole number of yen as decimal digits; -0 and values that are not finite are written "0".
std::string formatYen(double yen);

} // namespace pomelak
