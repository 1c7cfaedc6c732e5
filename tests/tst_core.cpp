// The core library: the purchase rules of a multi, its expansion into singles in odometer order and their
// grading, four-group expansion, the two text forms of a support rate (printf "%g" out, atof in) and the
// first-prize payout estimate.
#include "core/four_group.h"
#include "core/grading.h"
#include "core/payout.h"

#include <QTest>

#include <locale>
#include <optional>

using namespace pomelak;

namespace {

// A multi from the marked outcome digits of each match, blank-separated, "-" for no mark.
MultiSelection multiOf(const QString& marks) {
    MultiSelection selection;
    const QStringList matches = marks.split(' ');
    for (int match = 0; match < kMatchCount; ++match) {
        for (QChar digit : matches.at(match)) {
            if (digit != '-') {
                selection.setMarked(match, static_cast<int>(QString("102").indexOf(digit)), true);
            }
        }
    }
    return selection;
}

// A four-group selection whose basic column is 1 for every match, from its small-upset and medium-upset
// columns given as "small | medium", one character per match: an outcome digit or '-' for unset. Blanks
// only group the blocks for the reader.
FourGroupSelection selectionOf(QString upsets) {
    FourGroupSelection selection;
    const QString cells = QString(kMatchCount, '1') + upsets.remove(' ').remove('|');
    for (int i = 0; i < kFourGroupCellCount; ++i) {
        if (cells.at(i) != '-') {
            selection.setCell(i % kMatchCount, static_cast<FourGroupColumn>(i / kMatchCount),
                              static_cast<Outcome>(cells.at(i).digitValue()));
        }
    }
    return selection;
}

// A single or candidate row as its digits, a grade as its text; a list of them as a list of texts.
template <typename Row> QString textOf(const Row& row) {
    QString text;
    for (auto value : row) {
        text += QString::number(static_cast<int>(value));
    }
    return text;
}
QString textOf(PrizeGrade grade) {
    return QString::fromUtf8(GradeText(grade));
}
template <typename Rows> QStringList textsOf(const Rows& rows) {
    QStringList texts;
    std::ranges::transform(rows, std::back_inserter(texts), [](const auto& row) { return textOf(row); });
    return texts;
}

// Full-width digits one, two and three, not ASCII, before the character for "prize".
const QString kFirst = "１等";
const QString kSecond = "２等";
const QString kThird = "３等";

constexpr Outcome kHome = Outcome::Home;
constexpr MatchResults kAllHome{kHome, kHome, kHome, kHome, kHome, kHome, kHome,
                                kHome, kHome, kHome, kHome, kHome, kHome};
const MultiSelection kTwelve = multiOf("10 1 1 1 102 1 1 1 1 1 1 1 02");

// 17 significant digits tell every two doubles apart, the sign of zero included.
QString exact(double value) {
    return QString::number(value, 'g', 17);
}

// A decimal comma, as a German user's C++ locale has.
struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

using Rates = std::array<double, kMatchCount>;

// Every match at one rate, optionally one match (1 to 13) at another.
Rates allAt(double rate, std::size_t match = 1, std::optional<double> other = {}) {
    Rates rates{};
    rates.fill(rate);
    rates.at(match - 1) = other.value_or(rate);
    return rates;
}

// The estimate for results given as 13 outcome digits, from a table in which only each match's result
// carries its rate. The entry index is worked out here: home rates first, then draw, then away. The other
// entries hold decoys so that reading a wrong one shows.
double payoutFor(const QString& digits, const Rates& rates) {
    MatchResults results{};
    SupportRateTable table;
    table.entries.fill(-7.0);
    for (std::size_t m = 0; m < rates.size(); ++m) {
        const QChar digit = digits.at(static_cast<qsizetype>(m));
        results[m] = static_cast<Outcome>(digit.digitValue());
        table.entries[m + kMatchCount * static_cast<std::size_t>(QString("102").indexOf(digit))] = rates[m];
    }
    return EstimateFirstPrizePayout(results, table);
}

// In real numbers 23.5 / (0.1 * 0.47) is 500 and 23.5 over the product of these rates / 100 is 4096.
constexpr Rates kRatesFor499{10, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 47};
constexpr Rates kRatesFor4095{250, 25, 125, 25, 10, 250, 25, 125, 80, 188, 25, 100, 100};

} // namespace

class TestCore : public QObject {
    Q_OBJECT

private slots:
    void validation_data() {
        QTest::addColumn<QString>("marks");
        QTest::addColumn<int>("units");
        QTest::addColumn<MultiSelectionError>("error");
        const auto ok = MultiSelectionError::None;
        const auto rejected = MultiSelectionError::TooManyUnits;
        // Whatever the other matches hold, an unmarked match is the error reported.
        QTest::newRow("match 13 unmarked, 3^12 units elsewhere: NoMarkInMatch")
            << "102 102 102 102 102 102 102 102 102 102 102 102 -" << 0 << MultiSelectionError::NoMarkInMatch;
        QTest::newRow("5 doubles, 1 triple: 96 ok") << "10 02 12 10 02 102 1 0 2 1 0 2 1" << 96 << ok;
        QTest::newRow("2 doubles, 3 triples: 108 rejected")
            << "10 02 102 102 102 1 0 2 1 0 2 1 0" << 108 << rejected;
        QTest::newRow("7 doubles: 128 rejected") << "10 02 12 10 02 12 10 2 1 0 2 1 0" << 128 << rejected;
        QTest::newRow("4 triples: 81 ok") << "1 0 2 1 0 2 1 0 2 102 102 102 102" << 81 << ok;
        QTest::newRow("5 triples: 243 rejected") << "1 0 2 1 0 2 1 0 102 102 102 102 102" << 243 << rejected;
        QTest::newRow("13 triples: 1594323 rejected")
            << "102 102 102 102 102 102 102 102 102 102 102 102 102" << 1594323 << rejected;
    }
    void validation() {
        QFETCH(QString, marks);
        QFETCH(int, units);
        QFETCH(MultiSelectionError, error);
        QCOMPARE(multiOf(marks).UnitCount(), units);
        QCOMPARE(ValidateMultiSelection(multiOf(marks)), error);
    }

    void twelveSingleExample() {
        // Match 13 turns fastest, then match 5, then match 1; against all 1s each 0 or 2 is a miss.
        const QStringList singles{"1111111111110", "1111111111112", "1111011111110", "1111011111112",
                                  "1111211111110", "1111211111112", "0111111111110", "0111111111112",
                                  "0111011111110", "0111011111112", "0111211111110", "0111211111112"};
        const MultiCheckReport report = CheckMulti(kTwelve, kAllHome, false).report;
        QCOMPARE(textsOf(report.singles), singles);
        QCOMPARE(textsOf(report.grades),
                 QStringList(2, kSecond) + QStringList(6, kThird) + QStringList(4, ""));
        QCOMPARE((QList<int>{report.firstCount, report.secondCount, report.thirdCount}),
                 (QList<int>{0, 2, 6}));
    }

    void ninetySixUnits() {
        const auto report = CheckMulti(multiOf("10 10 10 10 10 102 1 1 1 1 1 1 1"), kAllHome, false).report;
        // A miss is a 0 in matches 1-5 or a 0 or 2 in match 6: one single misses nothing, 5 + 2 miss once,
        // C(5,2) + 5 * 2 miss twice.
        QCOMPARE((QList<int>{report.firstCount, report.secondCount, report.thirdCount, report.units}),
                 (QList<int>{1, 7, 20, 96}));
        QCOMPARE(textOf(report.singles[0]) + textOf(report.singles[95]), "1111111111111"
                                                                         "0000021111111");
    }

    void grades_data() {
        QTest::addColumn<int>("hits");
        QTest::addColumn<QString>("text");
        QTest::newRow("13 hits: first") << 13 << kFirst;
        QTest::newRow("12 hits: second") << 12 << kSecond;
        QTest::newRow("11 hits: third") << 11 << kThird;
        QTest::newRow("10 hits: nothing") << 10 << QString();
    }
    void grades() {
        QFETCH(int, hits);
        QFETCH(QString, text);
        QCOMPARE(textOf(GradeForHits(hits)), text);
    }

    void singlesOnlyIsUngraded() {
        const MultiCheckReport report = CheckMulti(kTwelve, kAllHome, true).report;
        QVERIFY(report.singles == CheckMulti(kTwelve, kAllHome, false).report.singles && report.units == 12);
        QVERIFY(!report.graded && report.grades.empty() &&
                report.firstCount + report.secondCount + report.thirdCount == 0);
    }

    void fourGroupExpansion_data() {
        QTest::addColumn<QString>("upsets");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("singles");
        // A row without singles checks the count alone.
        QTest::newRow("preset basic column only: 1")
            << "--- --- --- ---- | --- --- --- ----" << 1 << QStringList{"1111111111111"};
        QTest::newRow("every cell set: 81") << "000 000 000 0000 | 222 222 222 2222" << 81 << QStringList{};
        QTest::newRow("block 1 small, block 4 medium: candidates 0, 2, 27, 29")
            << "000 --- --- ---- | --- --- --- 2222" << 4
            << QStringList{"1111111111111", "1111111112222", "0001111111111", "0001111112222"};
        QTest::newRow("complete columns 2, 3, 1, 2: 12")
            << "000 000 0-0 -000 | --2 222 --- 2222" << 12 << QStringList{};
        QTest::newRow("partial upset columns contribute nothing")
            << "00- 0-0 -00 000- | -22 22- 2-2 -222" << 1 << QStringList{"1111111111111"};
        // Candidates 0, 3, 18 and 21: block 2's medium upset repeats the basic outcomes.
        QTest::newRow("an upset column repeating the basic one: duplicates kept")
            << "--- --- 020 ---- | --- 111 --- ----" << 4
            << QStringList{"1111111111111", "1111110201111", "1111111111111", "1111110201111"};
    }
    void fourGroupExpansion() {
        QFETCH(QString, upsets);
        QFETCH(int, count);
        QFETCH(QStringList, singles);
        const QStringList texts = textsOf(ExpandFourGroupSelection(selectionOf(upsets)));
        QCOMPARE(texts.size(), count);
        QCOMPARE(singles.isEmpty() ? singles : texts, singles);
    }

    void format_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("whole number: 50") << 50.0 << "50";
        QTest::newRow("trailing zeros dropped: 33.3") << 33.3 << "33.3";
        QTest::newRow("a third of 100: six digits") << 100.0 / 3 << "33.3333";
        QTest::newRow("rounded to six digits") << 12.3456789 << "12.3457";
        QTest::newRow("below 1e-4: exponent") << 1e-5 << "1e-05";
        QTest::newRow("from 1e6: exponent") << 1e6 << "1e+06";
        QTest::newRow("negative zero keeps its sign") << -0.0 << "-0";
    }
    void format() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(formatRate(value)), text);
    }

    void parse_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("percent sign after the number") << QByteArray("50%") << 50.0;
        QTest::newRow("leading blank skipped") << QByteArray(" 12.5") << 12.5;
        QTest::newRow("every C white space skipped") << QByteArray("\t\n\v\f\r 7") << 7.0;
        QTest::newRow("exponent") << QByteArray("1e1") << 10.0;
        QTest::newRow("exponent without digits left out") << QByteArray("1e") << 1.0;
        QTest::newRow("minus sign") << QByteArray("-5") << -5.0;
        QTest::newRow("no digit before the point") << QByteArray("-.5") << -0.5;
        QTest::newRow("two signs") << QByteArray("+-5") << 0.0;
        QTest::newRow("full-width digits") << QByteArray("\xEF\xBC\x95\xEF\xBC\x90") << 0.0;
        QTest::newRow("empty text") << QByteArray() << 0.0;
        QTest::newRow("infinity is not decimal") << QByteArray("inf") << 0.0;
        QTest::newRow("hexadecimal stops after 0") << QByteArray("0x10") << 0.0;
        QTest::newRow("overflow") << QByteArray("1e999") << qInf();
        QTest::newRow("underflow") << QByteArray("1e-999") << 0.0;
        // Found by the fuzzer: a mantissa longer than the exponent's clamp must not turn the side.
        QTest::newRow("10^1000001 times e-9999999 underflows")
            << "1" + QByteArray(1'000'001, '0') + "e-9999999" << 0.0;
        QTest::newRow("10^-1000002 times e9999999 overflows")
            << "0." + QByteArray(1'000'001, '0') + "1e9999999" << qInf();
        QTest::newRow("10^400 before an exponent without digits overflows")
            << "1" + QByteArray(400, '0') + "e-x99999999999999999999" << qInf();
    }
    void parse() {
        QFETCH(QByteArray, text);
        QFETCH(double, value);
        QCOMPARE(exact(parseRate(text.toStdString())), exact(value));
    }

    void localeIgnored() {
        const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
        // The text read back is shown again; a locale-bound reader would stop at the point and show "12".
        const std::string shown =
            formatRate(1234.5) + ' ' + formatRate(1234567.0) + ' ' + formatRate(parseRate("12.5"));
        std::locale::global(previous);
        QCOMPARE(QString::fromStdString(shown), QString("1234.5 1.23457e+06 12.5"));
    }

    void estimate_data() {
        QTest::addColumn<Rates>("rates");
        QTest::addColumn<QString>("results");
        QTest::addColumn<double>("expected");
        // 23.5 over the product of rate / 100, truncated: 23.5 * 2^13 is exact.
        QTest::newRow("all 50: 192512") << allAt(50) << "1021021021021" << 192512.0;
        QTest::newRow("all 100: 23.5 truncated") << allAt(100) << "2222222222222" << 23.0;
        QTest::newRow("all 80: 427") << allAt(80) << "0000000000000" << 427.0;
        QTest::newRow("all 60: 17992") << allAt(60) << "2012012012012" << 17992.0;
        // Home 50, draw 30, away 20: 23.5 / (0.5^10 * 0.3^2 * 0.2) = 1336888.8...
        QTest::newRow("home 50, draw 30, away 20: 1336888")
            << Rates{50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 30, 30, 20} << "1111111111002" << 1336888.0;
        QTest::newRow("twelve at 100, one at 200: 11") << allAt(100, 4, 200) << "1111111111111" << 11.0;
        QTest::newRow("one at -100: -23.5 truncated toward 0")
            << allAt(100, 13, -100) << "1111111111112" << -23.0;
        QTest::newRow("a zero rate: 0") << allAt(50, 7, 0) << "1111111111111" << 0.0;
        QTest::newRow("an infinite rate: 0") << allAt(50, 7, qInf()) << "1111111111111" << 0.0;
        // A product of about 1e-309 is not 0, but 23.5 over it is beyond the largest double.
        QTest::newRow("a quotient beyond every double: 0") << allAt(1, 7, 1e-283) << "1111111111111" << 0.0;
        // 23.5 * 5^13 = 28686523437.5: beyond 32 bits, every digit kept.
        QTest::newRow("all 20: beyond 32 bits") << allAt(20) << "1111111111111" << 28686523437.0;
        // Exactly 500 and 4096 in real numbers; the rounding of the rule's own steps takes them lower.
        QTest::newRow("47 times 0.01, not 47 / 100: 499") << kRatesFor499 << "1111111111111" << 499.0;
        QTest::newRow("product from match 13 down: 4095") << kRatesFor4095 << "1111111111111" << 4095.0;
    }
    void estimate() {
        QFETCH(Rates, rates);
        QFETCH(QString, results);
        QFETCH(double, expected);
        QCOMPARE(payoutFor(results, rates), expected);
    }

    void yenText_data() {
        QTest::addColumn<double>("yen");
        QTest::addColumn<QString>("text");
        QTest::newRow("beyond 32 bits") << 28686523437.0 << "28686523437";
        QTest::newRow("minus sign") << -192512.0 << "-192512";
        QTest::newRow("negative zero without sign") << -0.0 << "0";
        QTest::newRow("no exponent for 1e20") << 1e20 << "100000000000000000000";
        QTest::newRow("infinity: 0") << qInf() << "0";
        QTest::newRow("not a number: 0") << qQNaN() << "0";
    }
    void yenText() {
        QFETCH(double, yen);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(formatYen(yen)), text);
    }
};

QTEST_APPLESS_MAIN(TestCore)
#include "tst_core.moc"
