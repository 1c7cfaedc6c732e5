#include "core/support_rate.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace pomelak {

namespace {

// White space as the C locale's isspace knows it; the user's locale must not widen it.
bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Order of magnitude of a decimal mantissa and exponent that from_chars found out of range: at least 0
// means the text overflows, below 0 that it underflows.
long long decimalMagnitude(std::string_view mantissa, std::string_view exponent) {
    // Larger than the length of any text, so a long run of mantissa digits cannot outweigh a clamped
    // exponent and turn the side; small enough that exp * 10 + 9 still fits.
    constexpr long long kClamp = 100'000'000'000'000'000;
    long long exp = 0;
    bool negativeExp = false;
    std::size_t i = 0;
    if (i < exponent.size() && (exponent[i] == '+' || exponent[i] == '-')) {
        negativeExp = exponent[i] == '-';
        ++i;
    }
    for (; i < exponent.size(); ++i) {
        exp = std::min(kClamp, exp * 10 + (exponent[i] - '0'));
    }
    if (negativeExp) {
        exp = -exp;
    }
    long long leadingIntegerDigits = 0;
    long long zerosAfterPoint = 0;
    bool seenPoint = false;
    bool seenNonZero = false;
    for (char c : mantissa) {
        if (c == '.') {
            seenPoint = true;
        } else if (!seenNonZero && c == '0') {
            zerosAfterPoint += seenPoint ? 1 : 0;
        } else {
            seenNonZero = true;
            if (seenPoint) {
                break;
            }
            ++leadingIntegerDigits;
        }
    }
    return leadingIntegerDigits > 0 ? exp + leadingIntegerDigits - 1 : exp - zerosAfterPoint - 1;
}

} // namespace

std::string formatRate(double rate) {
    std::array<char, 64> buffer{};
    const auto [end, ec] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), rate, std::chars_format::general, 6);
    return ec == std::errc{} ? std::string(buffer.data(), end) : std::string();
}

double parseRate(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && isCSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t mantissaStart = i;
    std::size_t digits = 0;
    for (; i < n && isDigit(text[i]); ++i) {
        ++digits;
    }
    if (i < n && text[i] == '.') {
        for (++i; i < n && isDigit(text[i]); ++i) {
            ++digits;
        }
    }
    if (digits == 0) {
        return 0.0;
    }
    const std::size_t mantissaEnd = i;
    std::size_t end = i;
    std::size_t exponentStart = i;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        exponentStart = j;
        if (j < n && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < n && isDigit(text[j])) {
            while (j < n && isDigit(text[j])) {
                ++j;
            }
            end = j;
        }
    }
    // The sign is taken off first because from_chars rejects a leading '+'.
    double value = 0.0;
    const auto [ptr, ec] =
        std::from_chars(text.data() + mantissaStart, text.data() + end, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        const std::string_view exponent =
            end > mantissaEnd ? text.substr(exponentStart, end - exponentStart) : std::string_view();
        value = decimalMagnitude(text.substr(mantissaStart, mantissaEnd - mantissaStart), exponent) >= 0
                    ? std::numeric_limits<double>::infinity()
                    : 0.0;
    } else if (ec != std::errc{}) {
        value = 0.0;
    }
    return negative ? -value : value;
}

} // namespace pomelak
