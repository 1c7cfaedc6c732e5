// Fuzz target for the two text forms of a support rate: whatever a user types into a rate edit reads as
// strtod reads exactly its decimal prefix (white space, sign, digits with a point, an exponent with digits;
// no hex, "inf" or "nan"), and what the dialog shows is printf's "%g". A normal number's text reads back to
// the same text; a subnormal's six digits may name a neighbour, as printf and strtod's own do. The target
// never calls setlocale, so strtod and snprintf run in the "C" locale the dialog must give everywhere.
#include "core/support_rate.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void require(bool holds, const char* what, double value) {
    if (!holds) {
        std::fprintf(stderr, "fuzz_rate_text: %s (%a)\n", what, value);
        __builtin_trap();
    }
}

// The decimal prefix after leading white space, as atof takes it; "0" when there is none.
std::string decimalPrefix(const std::string& text) {
    const auto after = [&text](const char* chars, std::size_t from) {
        return std::min(text.find_first_not_of(chars, from), text.size());
    };
    const auto at = [&text](std::size_t i, const char* chars) {
        return i < text.size() && std::strchr(chars, text[i]);
    };
    const std::size_t start = after(" \t\n\v\f\r", 0), integer = start + (at(start, "+-") ? 1 : 0);
    const std::size_t point = after("0123456789", integer),
                      end = at(point, ".") ? after("0123456789", point + 1) : point;
    const std::size_t exponent = at(end, "eE") ? end + (at(end + 1, "+-") ? 2 : 1) : end;
    const std::size_t exponentEnd = after("0123456789", exponent);
    if (end - integer == (at(point, ".") ? 1U : 0U)) {
        return "0"; // no digit on either side of the point
    }
    return text.substr(start, (exponentEnd > exponent ? exponentEnd : end) - start);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double read = pomelak::parseRate(text);
    const double expected = std::strtod(decimalPrefix(text).c_str(), nullptr);
    require(std::bit_cast<std::uint64_t>(read) == std::bit_cast<std::uint64_t>(expected),
            "parseRate differs from strtod of the decimal prefix", read);

    // The leading bytes as a double reach values no typed text gives: NaN payloads, every exponent.
    double raw = 0.0;
    std::memcpy(&raw, data, std::min(size, sizeof raw));
    for (const double value : {read, raw}) {
        const std::string shown = pomelak::formatRate(value);
        char printed[64];
        std::snprintf(printed, sizeof printed, "%g", value);
        require(shown == printed, "formatRate differs from printf \"%g\"", value);
        require(!std::isnormal(value) || pomelak::formatRate(pomelak::parseRate(shown)) == shown,
                "the text of a normal number does not read back to itself", value);
    }
    return 0;
}
