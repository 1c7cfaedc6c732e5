// Fuzz target for the two text forms of a support rate: whatever a user types into a rate edit is read
// as atof reads it, and what the dialog shows is printf's "%g" text, which reads back to the same text.
//
// The reference reader here finds the decimal prefix itself and hands exactly that prefix to strtod, so
// a fault in how far parseRate reads shows up as a different value. The target never calls setlocale, so
// strtod and snprintf run in the "C" locale: that is the reading and the writing the rate dialog must
// give in every locale.
#include "core/support_rate.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool holds, const char* what, double value, double other = 0.0) {
    if (!holds) {
        std::fprintf(stderr, "fuzz_rate_text: %s (%a, %a)\n", what, value, other);
        __builtin_trap();
    }
}

// atof's reading from the decimal prefix alone: white space, a sign, digits with an optional point, and
// an exponent only where digits follow its sign; hex, "inf" and "nan" are no decimal numbers.
double referenceRead(std::string_view text) {
    const auto skip = [&](std::size_t from, std::string_view chars) {
        return std::min(text.find_first_not_of(chars, from), text.size());
    };
    const auto digits = [&](std::size_t from) { return skip(from, "0123456789"); };
    const auto at = [&](std::size_t i, std::string_view chars) {
        return i < text.size() && chars.find(text[i]) != std::string_view::npos;
    };
    const std::size_t start = skip(0, " \t\n\v\f\r");
    const std::size_t integer = at(start, "+-") ? start + 1 : start;
    const std::size_t point = digits(integer);
    std::size_t end = at(point, ".") ? digits(point + 1) : point;
    if (end - integer == (at(point, ".") ? 1U : 0U)) {
        return 0.0; // no digit on either side of the point
    }
    const std::size_t exponent = at(end, "eE") ? (at(end + 1, "+-") ? end + 2 : end + 1) : end;
    if (exponent > end && digits(exponent) > exponent) {
        end = digits(exponent);
    }
    const std::string prefix(text.substr(start, end - start));
    char* stop = nullptr;
    const double value = std::strtod(prefix.c_str(), &stop);
    // Checks the reference itself: strtod must take the whole prefix and nothing less.
    require(stop == prefix.c_str() + prefix.size(), "strtod did not take the whole decimal prefix", value);
    return value;
}

// What must hold for any value the dialog shows: printf's text, and a text that reads back to itself.
void checkShown(double value) {
    const std::string shown = pomelak::formatRate(value);
    std::array<char, 64> printed{};
    std::snprintf(printed.data(), printed.size(), "%g", value);
    require(shown == printed.data(), "formatRate differs from printf \"%g\"", value);
    if (std::isfinite(value)) {
        const double reread = pomelak::parseRate(shown);
        require(pomelak::formatRate(reread) == shown, "format -> parse -> format is not stable", value,
                reread);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double read = pomelak::parseRate(text);
    const double expected = referenceRead(text);
    require(std::bit_cast<std::uint64_t>(read) == std::bit_cast<std::uint64_t>(expected),
            "parseRate differs from strtod of the decimal prefix", read, expected);
    checkShown(read);

    // The leading bytes, padded with zeros, as a double reach values no typed text gives (NaN payloads, every
    // exponent), and a rate table holds whatever the caller stored.
    std::array<std::uint8_t, sizeof(double)> raw{};
    std::copy_n(data, std::min(size, raw.size()), raw.begin());
    checkShown(std::bit_cast<double>(raw));
    return 0;
}
