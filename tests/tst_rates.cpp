// The support-rate table's entry layout and the two text forms of a rate: printf "%g" out, atof in.
#include "core/support_rate.h"

#include <QTest>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale>
#include <random>

using namespace pomelak;

namespace {

// The C library's printf text of a value. "%a" gives equal texts exactly for equal bits, sign of zero
// included; "%g" is the form the rate dialog shows.
QByteArray printed(const char* format, double value) {
    std::array<char, 64> buffer{};
    std::snprintf(buffer.data(), buffer.size(), format, value);
    return QByteArray(buffer.data());
}

QByteArray hexOf(double value) {
    return printed("%a", value);
}

QByteArray formatted(double value) {
    return QByteArray::fromStdString(formatRate(value));
}

double parsed(const QByteArray& text) {
    return parseRate(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
}

// Decimal comma and dot grouping, as a German user's C++ locale would have.
struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

constexpr double kInf = std::numeric_limits<double>::infinity();

} // namespace

class TestRates : public QObject {
    Q_OBJECT

private slots:
    void entryLayout();
    void format_data();
    void format();
    void formatMatchesPrintf();
    void parse_data();
    void parse();
    void parseMatchesStrtodOnDecimalText();
    void sixDigitValuesRoundTrip();
    void localeIgnored_data();
    void localeIgnored();
};

void TestRates::entryLayout() {
    SupportRateTable table;
    QVERIFY(std::all_of(table.entries.begin(), table.entries.end(), [](double rate) { return rate == 0.0; }));
    for (int i = 0; i < kRateCount; ++i) {
        table.entries[static_cast<std::size_t>(i)] = i;
    }
    // Home rates of matches 1-13 first, then the draw rates, then the away rates.
    for (int match = 1; match <= kMatchCount; ++match) {
        QCOMPARE(RateOf(table, match, Outcome::Home), match - 1.0);
        QCOMPARE(RateOf(table, match, Outcome::Draw), match + 12.0);
        QCOMPARE(RateOf(table, match, Outcome::Away), match + 25.0);
    }
    const SupportRateTable copy = table;
    table.entries[38] = -1;
    QCOMPARE(RateOf(copy, 13, Outcome::Away), 38.0);
}

void TestRates::format_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("zero") << 0.0 << QByteArray("0");
    QTest::newRow("whole number: 50") << 50.0 << QByteArray("50");
    QTest::newRow("trailing zeros dropped: 33.3") << 33.3 << QByteArray("33.3");
    QTest::newRow("a third of 100: six digits") << 100.0 / 3 << QByteArray("33.3333");
    QTest::newRow("rounded to six digits") << 12.3456789 << QByteArray("12.3457");
    QTest::newRow("largest plain number") << 999999.0 << QByteArray("999999");
    QTest::newRow("rounding up to a million switches to exponent") << 999999.5 << QByteArray("1e+06");
    QTest::newRow("a million and a half") << 1.5e6 << QByteArray("1.5e+06");
    QTest::newRow("smallest plain number") << 0.0001 << QByteArray("0.0001");
    QTest::newRow("below 1e-4: exponent") << 0.00001 << QByteArray("1e-05");
    QTest::newRow("negative") << -12.5 << QByteArray("-12.5");
    QTest::newRow("negative zero keeps its sign") << -0.0 << QByteArray("-0");
    QTest::newRow("three-digit exponent") << 1e100 << QByteArray("1e+100");
}

void TestRates::format() {
    QFETCH(double, value);
    QFETCH(QByteArray, text);
    QCOMPARE(formatted(value), text);
}

void TestRates::formatMatchesPrintf() {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    for (int i = 0; i < 20000; ++i) {
        const double value = std::ldexp(mantissa(random), static_cast<int>(random() % 120) - 60);
        QCOMPARE(formatted(value), printed("%g", value));
    }
}

void TestRates::parse_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("percent sign after the number") << QByteArray("50%") << 50.0;
    QTest::newRow("leading blank skipped") << QByteArray(" 12.5") << 12.5;
    QTest::newRow("tab, newline, vertical tab, form feed skipped") << QByteArray("\t\n\v\f\r 42") << 42.0;
    QTest::newRow("exponent") << QByteArray("1e1") << 10.0;
    QTest::newRow("minus sign") << QByteArray("-5") << -5.0;
    QTest::newRow("no digit before the point") << QByteArray("-.5") << -0.5;
    QTest::newRow("exponent without digits left out") << QByteArray("1e") << 1.0;
    QTest::newRow("signed exponent without digits left out") << QByteArray("1e+") << 1.0;
    QTest::newRow("empty text") << QByteArray() << 0.0;
    QTest::newRow("letters only") << QByteArray("abc") << 0.0;
    QTest::newRow("full-width digits") << QByteArray("\xEF\xBC\x95\xEF\xBC\x90") << 0.0;
    QTest::newRow("lone point") << QByteArray(".") << 0.0;
    QTest::newRow("two signs") << QByteArray("+-5") << 0.0;
    QTest::newRow("infinity is not decimal") << QByteArray("inf") << 0.0;
    QTest::newRow("nan is not decimal") << QByteArray("nan") << 0.0;
    QTest::newRow("hexadecimal stops after 0") << QByteArray("0x10") << 0.0;
    QTest::newRow("near the top, fraction and exponent") << QByteArray("0.01e310") << 1e308;
    QTest::newRow("overflow") << QByteArray("1e999") << kInf;
    QTest::newRow("overflow through integer digits") << QByteArray("10e308") << kInf;
    QTest::newRow("negative overflow") << QByteArray("-1e999") << -kInf;
    QTest::newRow("just past the largest double") << QByteArray("1.7976931348623159e308") << kInf;
    QTest::newRow("overflow by 400 integer digits despite e-50")
        << "1" + QByteArray(400, '0') + "e-50" << kInf;
    QTest::newRow("smallest subnormal kept")
        << QByteArray("4.9e-324") << std::numeric_limits<double>::denorm_min();
    QTest::newRow("underflow") << QByteArray("1e-999") << 0.0;
    QTest::newRow("underflow by 400 zeros despite e50") << "0." + QByteArray(400, '0') + "1e50" << 0.0;
    QTest::newRow("negative underflow keeps the sign") << QByteArray("-1e-999") << -0.0;
}

void TestRates::parse() {
    QFETCH(QByteArray, text);
    QFETCH(double, value);
    QCOMPARE(hexOf(parsed(text)), hexOf(value));
}

void TestRates::parseMatchesStrtodOnDecimalText() {
    // Without letters other than e, strtod reads only decimal numbers, just as the rate dialog does.
    const QByteArray alphabet = "0123456789012345678901234567890123456789..eE+- %";
    std::mt19937 random(11);
    for (int i = 0; i < 20000; ++i) {
        QByteArray text;
        for (int length = static_cast<int>(random() % 14); length > 0; --length) {
            text += alphabet[static_cast<qsizetype>(random() % alphabet.size())];
        }
        QVERIFY2(hexOf(parsed(text)) == hexOf(std::strtod(text.constData(), nullptr)), text.constData());
    }
}

void TestRates::sixDigitValuesRoundTrip() {
    std::mt19937 random(3);
    for (int i = 0; i < 20000; ++i) {
        const int digits = static_cast<int>(random() % 999'999) + 1;
        const int exponent = static_cast<int>(random() % 40) - 20;
        const QByteArray text =
            (random() % 2 ? "-" : "") + QByteArray::number(digits) + 'e' + QByteArray::number(exponent);
        const double value = std::strtod(text.constData(), nullptr);
        QVERIFY2(hexOf(parsed(formatted(value))) == hexOf(value), text.constData());
    }
    // More than six digits do not survive: the shown text is what is read back.
    QCOMPARE(hexOf(parsed(formatted(12.3456789))), hexOf(12.3457));
}

void TestRates::localeIgnored_data() {
    QTest::addColumn<QByteArray>("cLocale");
    QTest::newRow("C++ global locale with decimal comma") << QByteArray();
    QTest::newRow("C locale de_DE.UTF-8") << QByteArray("de_DE.UTF-8");
    QTest::newRow("C locale fr_FR.UTF-8") << QByteArray("fr_FR.UTF-8");
}

void TestRates::localeIgnored() {
    QFETCH(QByteArray, cLocale);
    const std::locale previous =
        cLocale.isEmpty() ? std::locale::global(std::locale(std::locale::classic(), new CommaPunct))
                          : std::locale();
    if (!cLocale.isEmpty() && std::setlocale(LC_ALL, cLocale.constData()) == nullptr) {
        QSKIP("locale not installed");
    }
    const QByteArray shown = formatted(12.5);
    const QByteArray large = formatted(1234567.0);
    const double read = parsed("12.5");
    std::locale::global(previous);
    std::setlocale(LC_ALL, "C");

    QCOMPARE(shown, QByteArray("12.5"));
    QCOMPARE(large, QByteArray("1.23457e+06"));
    QCOMPARE(read, 12.5);
}

QTEST_APPLESS_MAIN(TestRates)
#include "tst_rates.moc"
