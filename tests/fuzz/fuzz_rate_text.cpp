// Fuzz target for the two text forms of a support rate: whatever a user types into a rate edit is read
// as atof reads it, and what the dialog shows is printf's "%g" text, which reads back to the same text.
//
// The reference reader here scans the decimal prefix itself and hands exactly that prefix to strtod.
// The target never calls setlocale, so strtod and snprintf run in the "C" locale: that is the reading
// and the writing the rate dialog must give in every locale.
#include "core/support_rate.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void fail(const char* what, std::string_view text) {
    std::fprintf(stderr, "fuzz_rate_text: %s\n  input (%zu bytes):", what, text.size());
    for (const char c : text) {
        std::fprintf(stderr, " %02x", static_cast<unsigned>(static_cast<unsigned char>(c)));
    }
    std::fprintf(stderr, "\n");
    __builtin_trap();
}

std::uint64_t bitsOf(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

std::string hexText(double value) {
    std::array<char, 64> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%a", value);
    return buffer.data();
}

std::string printfG(double value) {
    std::array<char, 64> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%g", value);
    return buffer.data();
}

bool isSpace(char c) {
    return std::string_view(" \t\n\v\f\r").find(c) != std::string_view::npos;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// atof's reading of the text, from the decimal prefix alone: hex, "inf" and "nan" are no decimal numbers.
double referenceRead(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i])) {
        ++i;
    }
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && isDigit(text[i]); ++i) {
            ++digits;
        }
    }
    if (digits == 0) {
        return 0.0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) {
                ++j;
            }
            i = j;
        }
    }
    const std::string prefix(text.substr(start, i - start));
    char* end = nullptr;
    const double value = std::strtod(prefix.c_str(), &end);
    if (end != prefix.c_str() + prefix.size()) {
        fail("strtod did not take the whole decimal prefix (the reference itself is wrong)", text);
    }
    return value;
}

// What must hold for any value the dialog shows: printf's text, and a text that reads back to itself.
void checkShown(double value, std::string_view input) {
    const std::string shown = pomelak::formatRate(value);
    if (shown != printfG(value)) {
        std::fprintf(stderr, "value %s: formatRate \"%s\", printf \"%s\"\n", hexText(value).c_str(),
                     shown.c_str(), printfG(value).c_str());
        fail("formatRate differs from printf \"%g\"", input);
    }
    if (!std::isfinite(value)) {
        return;
    }
    const double reread = pomelak::parseRate(shown);
    const std::string reshown = pomelak::formatRate(reread);
    if (reshown != shown) {
        std::fprintf(stderr, "value %s shown \"%s\", read back %s, shown again \"%s\"\n",
                     hexText(value).c_str(), shown.c_str(), hexText(reread).c_str(), reshown.c_str());
        fail("format -> parse -> format is not stable", input);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const double read = pomelak::parseRate(text);
    const double expected = referenceRead(text);
    if (std::isnan(read) || std::isnan(expected)) {
        std::fprintf(stderr, "parseRate %s, strtod of the prefix %s\n", hexText(read).c_str(),
                     hexText(expected).c_str());
        fail("a decimal prefix read as NaN", text);
    }
    if (bitsOf(read) != bitsOf(expected)) {
        std::fprintf(stderr, "parseRate %s, strtod of the prefix %s\n", hexText(read).c_str(),
                     hexText(expected).c_str());
        fail("parseRate differs from atof's reading", text);
    }
    checkShown(read, text);

    // The leading bytes as a double reach values no typed text gives (NaN payloads, every exponent), and
    // a rate table holds whatever the caller stored.
    if (size >= sizeof(double)) {
        double raw = 0.0;
        std::memcpy(&raw, data, sizeof raw);
        checkShown(raw, text);
    }
    return 0;
}
