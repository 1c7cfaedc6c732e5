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

// Where the decimal number after a text's leading white space lies: its sign, its mantissa and its end,
// which takes in an exponent only when the exponent has digits. No digits in the mantissa: no number.
struct DecimalScan {
    bool negative = false;
    std::size_t mantissaStart = 0;
    std::size_t mantissaEnd = 0;
    std::size_t exponentStart = 0;
    std::size_t end = 0;
    std::size_t digits = 0;
};

DecimalScan scanDecimal(std::string_view text) {
    DecimalScan scan;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && isCSpace(text[i])) {
        ++i;
    }
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        scan.negative = text[i] == '-';
        ++i;
    }
    scan.mantissaStart = i;
    for (; i < n && isDigit(text[i]); ++i) {
        ++scan.digits;
    }
    if (i < n && text[i] == '.') {
        for (++i; i < n && isDigit(text[i]); ++i) {
            ++scan.digits;
        }
    }
    scan.mantissaEnd = scan.end = scan.exponentStart = i;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        scan.exponentStart = j;
        if (j < n && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < n && isDigit(text[j])) {
            while (j < n && isDigit(text[j])) {
                ++j;
            }
            scan.end = j;
        }
    }
    return scan;
}

} // namespace

std::string formatRate(double rate) {
    std::array<char, 64> buffer{};
    const auto [end, ec] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), rate, std::chars_format::general, 6);
    return ec == std::errc{} ? std::string(buffer.data(), end) : std::string();
}

std::size_t rateTextLength(std::string_view text) {
    const DecimalScan scan = scanDecimal(text);
    return scan.digits == 0 ? 0 : scan.end;
}

double parseRate(std::string_view text) {
    const DecimalScan scan = scanDecimal(text);
    if (scan.digits == 0) {
        return 0.0;
    }
    // The sign is taken off first because from_chars rejects a leading '+'.
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(text.data() + scan.mantissaStart, text.data() + scan.end, value,
                                           std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        const std::string_view exponent = scan.end > scan.mantissaEnd
                                              ? text.substr(scan.exponentStart, scan.end - scan.exponentStart)
                                              : std::string_view();
        value = decimalMagnitude(text.substr(scan.mantissaStart, scan.mantissaEnd - scan.mantissaStart),
                                 exponent) >= 0
                    ? std::numeric_limits<double>::infinity()
                    : 0.0;
    } else if (ec != std::errc{}) {
        value = 0.0;
    }
    return scan.negative ? -value : value;
}

} // namespace pomelak
