// First-prize payout estimate: 23.5 over the product of the chosen rates times 0.01, truncated.
#include "core/payout.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace pomelak;

namespace {

using Rates = std::array<double, kMatchCount>;

constexpr double kInf = std::numeric_limits<double>::infinity();

Rates allAt(double rate) {
    Rates rates{};
    rates.fill(rate);
    return rates;
}

Rates with(Rates rates, std::size_t match, double rate) {
    rates.at(match - 1) = rate;
    return rates;
}

// A table in which only the chosen outcome of each match carries the rate under test; the other two
// outcomes hold decoys so that reading the wrong entry shows.
SupportRateTable tableFor(const MatchResults& results, const Rates& rates) {
    SupportRateTable table;
    table.entries.fill(-7.0);
    for (int match = 1; match <= kMatchCount; ++match) {
        const auto m = static_cast<std::size_t>(match - 1);
        table.entries[static_cast<std::size_t>(rateIndex(match, results[m]))] = rates[m];
    }
    return table;
}

MatchResults resultsOf(std::string_view digits) {
    MatchResults results{};
    for (std::size_t match = 0; match < results.size(); ++match) {
        results[match] = static_cast<Outcome>(digits.at(match) - '0');
    }
    return results;
}

QByteArray yenOf(double yen) {
    return QByteArray::fromStdString(formatYen(yen));
}

} // namespace

class TestPayout : public QObject {
    Q_OBJECT

private slots:
    void estimate_data();
    void estimate();
    void roundingFollowsTheRule_data();
    void roundingFollowsTheRule();
    void mixedRatesOfOneTable();
    void yenText_data();
    void yenText();
};

void TestPayout::estimate_data() {
    QTest::addColumn<Rates>("rates");
    QTest::addColumn<QByteArray>("results");
    QTest::addColumn<double>("expected");

    // 23.5 / 2^-13, exact.
    QTest::newRow("all 50: 192512") << allAt(50) << QByteArray("1021021021021") << 192512.0;
    QTest::newRow("all 100: 23.5 truncated") << allAt(100) << QByteArray("2222222222222") << 23.0;
    QTest::newRow("all 80: 427") << allAt(80) << QByteArray("0000000000000") << 427.0;
    QTest::newRow("all 60: 17992") << allAt(60) << QByteArray("2012012012012") << 17992.0;
    QTest::newRow("one at 200: 11") << with(allAt(100), 4, 200) << QByteArray("1111111111111") << 11.0;
    QTest::newRow("one at -50: negative")
        << with(allAt(50), 13, -50) << QByteArray("1111111111112") << -192512.0;
    // 23.5 * 5^13 = 28686523437.5: beyond 32 bits, every digit kept.
    QTest::newRow("all 20: beyond 32 bits") << allAt(20) << QByteArray("1111111111111") << 28686523437.0;
    // -0.47 truncates to zero, not to a negative zero.
    QTest::newRow("small negative quotient: 0")
        << with(allAt(100), 1, -5000) << QByteArray("1111111111111") << 0.0;
    QTest::newRow("a zero rate: 0") << with(allAt(50), 7, 0) << QByteArray("1111111111111") << 0.0;
    QTest::newRow("an infinite rate: 0") << with(allAt(50), 7, kInf) << QByteArray("1111111111111") << 0.0;
    QTest::newRow("a NaN rate: 0") << with(allAt(50), 7, std::nan("")) << QByteArray("1111111111111") << 0.0;
    QTest::newRow("product underflows to 0: 0") << allAt(1e-25) << QByteArray("1111111111111") << 0.0;
    QTest::newRow("quotient overflows: 0")
        << with(allAt(100), 1, 1e-306) << QByteArray("1111111111111") << 0.0;
}

void TestPayout::estimate() {
    QFETCH(Rates, rates);
    QFETCH(QByteArray, results);
    QFETCH(double, expected);

    const MatchResults chosen = resultsOf(results.toStdString());
    const double estimate = EstimateFirstPrizePayout(chosen, tableFor(chosen, rates));
    QCOMPARE(estimate, expected);
    // Zero must not come out as a negative zero, whatever the sign of the quotient.
    QVERIFY(!std::signbit(estimate) || estimate < 0);
}

void TestPayout::roundingFollowsTheRule_data() {
    QTest::addColumn<Rates>("rates");
    QTest::addColumn<double>("expected");
    QTest::addColumn<bool>("orderMatters");

    // 47 * 0.01 rounds above 47 / 100 and leaves the quotient just under 500.
    QTest::newRow("47 times 0.01, not 47 / 100: 499")
        << with(with(allAt(100), 1, 10), 13, 47) << 499.0 << false;
    // The product taken from match 13 down rounds to just below 4096, from match 1 up it does not.
    QTest::newRow("product from match 13 down: 4095")
        << Rates{250, 25, 125, 25, 10, 250, 25, 125, 80, 188, 25, 100, 100} << 4095.0 << true;
}

void TestPayout::roundingFollowsTheRule() {
    QFETCH(Rates, rates);
    QFETCH(double, expected);
    QFETCH(bool, orderMatters);

    const MatchResults results = resultsOf("1111111111111");
    QCOMPARE(EstimateFirstPrizePayout(results, tableFor(results, rates)), expected);

    // The rows must really tell the rules apart: in real numbers the quotient is the next integer up,
    // and so it is with rate / 100 (and, where the order matters, with the product from match 1 up).
    long double exact = 23.5L;
    double byHundred = 1.0;
    double fromMatchOne = 1.0;
    for (std::size_t i = 0; i < rates.size(); ++i) {
        exact *= 100.0L / static_cast<long double>(rates[i]);
        byHundred *= rates[rates.size() - 1 - i] / 100;
        fromMatchOne *= rates[i] * 0.01;
    }
    QCOMPARE(static_cast<double>(std::round(exact)), expected + 1);
    QCOMPARE(std::trunc(23.5 / byHundred), expected + 1);
    QCOMPARE(std::trunc(23.5 / fromMatchOne), orderMatters ? expected + 1 : expected);
}

void TestPayout::mixedRatesOfOneTable() {
    // Every match rated home 50, draw 30, away 20: 23.5 / (0.5^10 * 0.3^2 * 0.2) = 1336888.8...
    SupportRateTable table;
    for (int match = 1; match <= kMatchCount; ++match) {
        table.entries[static_cast<std::size_t>(rateIndex(match, Outcome::Home))] = 50;
        table.entries[static_cast<std::size_t>(rateIndex(match, Outcome::Draw))] = 30;
        table.entries[static_cast<std::size_t>(rateIndex(match, Outcome::Away))] = 20;
    }
    QCOMPARE(yenOf(EstimateFirstPrizePayout(resultsOf("1111111111002"), table)), QByteArray("1336888"));
    QCOMPARE(EstimateFirstPrizePayout(resultsOf("1111111111111"), SupportRateTable{}), 0.0);
}

void TestPayout::yenText_data() {
    QTest::addColumn<double>("yen");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("zero") << 0.0 << QByteArray("0");
    QTest::newRow("negative zero without sign") << -0.0 << QByteArray("0");
    QTest::newRow("no grouping") << 192512.0 << QByteArray("192512");
    QTest::newRow("minus sign") << -192512.0 << QByteArray("-192512");
    QTest::newRow("beyond 32 bits") << 28686523437.0 << QByteArray("28686523437");
    QTest::newRow("no exponent for 1e20") << 1e20 << QByteArray("100000000000000000000");
    QTest::newRow("infinity shows 0") << kInf << QByteArray("0");
}

void TestPayout::yenText() {
    QFETCH(double, yen);
    QFETCH(QByteArray, text);
    QCOMPARE(yenOf(yen), text);
}

QTEST_APPLESS_MAIN(TestPayout)
#include "tst_payout.moc"
