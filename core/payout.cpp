#include "core/payout.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace pomelak {

double EstimateFirstPrizePayout(const MatchResults& results, const SupportRateTable& rates) {
    constexpr double kPercent = 0.01;
    constexpr double kNumerator = 23.5;
    double product = 1.0;
    for (int match = kMatchCount; match >= 1; --match) {
        // 1.0 times the first factor is that factor exactly, so this is f(13) * f(12) * ... * f(1).
        product *= RateOf(rates, match, results[static_cast<std::size_t>(match - 1)]) * kPercent;
    }
    if (product == 0.0 || !std::isfinite(product)) {
        return 0.0;
    }
    const double quotient = kNumerator / product;
    if (!std::isfinite(quotient)) {
        return 0.0;
    }
    // Adding 0.0 turns the -0 of a truncated small negative quotient into 0.
    return std::trunc(quotient) + 0.0;
}

std::string formatYen(double yen) {
    if (!std::isfinite(yen)) {
        return "0";
    }
    // Large enough for the 309 integer digits of the largest double, its sign and slack.
    std::array<char, 330> buffer{};
    const auto [end, ec] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), yen + 0.0, std::chars_format::fixed, 0);
    return ec == std::errc{} ? std::string(buffer.data(), end) : std::string("0");
}

} // namespace pomelak
