// Fuzz target for the two text forms of a support rate: whatever a user types into a rate edit reads as
// strtod reads exactly its decimal prefix (white space, sign, digits with a point, an exponent with digits;
// no hex, "inf" or "nan"), and what the dialog shows is printf's "%g". A normal number's text reads back to
// the same text; a subnormal's six digits may name a neighbour, as printf and strtod's own do. The target
// never calls setlocale, so strtod and snprintf run in the "C" locale the dialog must give everywhere.
// Pasted as a block of rates, any text lands inside the grid with texts that read whole as rates.
#include "core/pasted_text.h"
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // strtod also reads hexadecimal, "inf" and "nan", which the rate reading does not; without them the two
    // read the same decimal prefix. A text with a null character ends there for strtod.
    const double read = pomelak::parseRate(text);
    require(text.find_first_of(std::string("xXiInN\0", 7)) != std::string::npos ||
                std::bit_cast<std::uint64_t>(read) ==
                    std::bit_cast<std::uint64_t>(std::strtod(text.c_str(), nullptr)),
            "parseRate differs from strtod", read);

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
    const pomelak::RatePaste paste = pomelak::readPastedRates(text, int(size % 13), int(size % 3));
    for (const pomelak::PastedRate& rate : paste.rates) {
        require(rate.match < 13 && rate.column < 3 && pomelak::rateTextLength(rate.text) == rate.text.size(),
                "a pasted rate outside the grid or not read whole", rate.match);
    }
    static_cast<void>(pomelak::readPastedResults(text));
    return 0;
}
