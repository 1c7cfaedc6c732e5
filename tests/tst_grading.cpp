// Expansion of a multi into singles in odometer order, and grading of the singles against the results.
#include "core/grading.h"

#include <QTest>

#include <random>

using namespace pomelak;

namespace {

MultiSelection multiOf(const std::array<std::string_view, kMatchCount>& marks) {
    MultiSelection selection;
    for (int match = 0; match < kMatchCount; ++match) {
        for (char digit : marks[static_cast<std::size_t>(match)]) {
            selection.setMarked(match, ColumnOfOutcome(static_cast<Outcome>(digit - '0')), true);
        }
    }
    return selection;
}

// Thirteen outcome digits; blanks only group them for the reader.
QByteArray digits(const char* text) {
    return QByteArray(text).replace(" ", "");
}

QByteArray textOf(const SingleTicket& single) {
    QByteArray text;
    for (Outcome outcome : single) {
        text += QByteArray::number(static_cast<int>(outcome));
    }
    return text;
}

MatchResults resultsOf(const char* text) {
    const QByteArray outcomes = digits(text);
    MatchResults results{};
    for (std::size_t match = 0; match < results.size(); ++match) {
        results[match] = static_cast<Outcome>(outcomes.at(static_cast<qsizetype>(match)) - '0');
    }
    return results;
}

const MatchResults kAllHome = resultsOf("1111 1111 1111 1");

} // namespace

class TestGrading : public QObject {
    Q_OBJECT

private slots:
    void twelveSingleExample();
    void ninetySixUnits();
    void gradeByHits_data();
    void gradeByHits();
    void singlesOnlyIgnoresResults();
    void purchaseErrorsGiveNoSingles();
    void randomMultisMatchBruteForce();
};

void TestGrading::twelveSingleExample() {
    struct Row {
        const char* single;
        int hits;
        PrizeGrade grade;
    };
    const std::array<Row, 12> expected{{
        {"1111 1111 1111 0", 12, PrizeGrade::Second},
        {"1111 1111 1111 2", 12, PrizeGrade::Second},
        {"1111 0111 1111 0", 11, PrizeGrade::Third},
        {"1111 0111 1111 2", 11, PrizeGrade::Third},
        {"1111 2111 1111 0", 11, PrizeGrade::Third},
        {"1111 2111 1111 2", 11, PrizeGrade::Third},
        {"0111 1111 1111 0", 11, PrizeGrade::Third},
        {"0111 1111 1111 2", 11, PrizeGrade::Third},
        {"0111 0111 1111 0", 10, PrizeGrade::None},
        {"0111 0111 1111 2", 10, PrizeGrade::None},
        {"0111 2111 1111 0", 10, PrizeGrade::None},
        {"0111 2111 1111 2", 10, PrizeGrade::None},
    }};
    const MultiCheckResult result = CheckMulti(
        multiOf({"10", "1", "1", "1", "102", "1", "1", "1", "1", "1", "1", "1", "02"}), kAllHome, false);
    QCOMPARE(result.error, MultiSelectionError::None);
    const MultiCheckReport& report = result.report;
    QVERIFY(report.graded);
    QCOMPARE(report.singles.size(), expected.size());
    QCOMPARE(report.grades.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QCOMPARE(textOf(report.singles[i]), digits(expected[i].single));
        QCOMPARE(CountHits(report.singles[i], kAllHome), expected[i].hits);
        QCOMPARE(report.grades[i], expected[i].grade);
    }
    QCOMPARE(report.firstCount, 0);
    QCOMPARE(report.secondCount, 2);
    QCOMPARE(report.thirdCount, 6);
    QCOMPARE(report.units, 12);
}

void TestGrading::ninetySixUnits() {
    const MultiCheckResult result = CheckMulti(
        multiOf({"10", "10", "10", "10", "10", "102", "1", "1", "1", "1", "1", "1", "1"}), kAllHome, false);
    QCOMPARE(result.error, MultiSelectionError::None);
    const MultiCheckReport& report = result.report;
    QCOMPARE(report.units, 96);
    QCOMPARE(report.singles.size(), std::size_t{96});
    // A miss is a draw in matches 1-5 or a draw or away win in match 6: one single misses nothing,
    // 5 + 2 miss once, C(5,2) + 5 * 2 miss twice.
    QCOMPARE(report.firstCount, 1);
    QCOMPARE(report.secondCount, 5 + 2);
    QCOMPARE(report.thirdCount, 10 + 5 * 2);
    QCOMPARE(textOf(report.singles[0]), digits("11111 1 1111111"));
    // Match 6 is the fastest wheel that moves: 1, 0, 2, then match 5 turns.
    QCOMPARE(textOf(report.singles[1]), digits("11111 0 1111111"));
    QCOMPARE(textOf(report.singles[3]), digits("11110 1 1111111"));
    QCOMPARE(textOf(report.singles[95]), digits("00000 2 1111111"));
}

void TestGrading::gradeByHits_data() {
    QTest::addColumn<int>("hits");
    QTest::addColumn<PrizeGrade>("grade");
    QTest::addColumn<QString>("text");

    // Full-width digit one, two, three (not ASCII) followed by the character for "prize".
    QTest::newRow("13 hits: first") << 13 << PrizeGrade::First << QStringView(u"\uFF11\u7B49").toString();
    QTest::newRow("12 hits: second") << 12 << PrizeGrade::Second << QStringView(u"\uFF12\u7B49").toString();
    QTest::newRow("11 hits: third") << 11 << PrizeGrade::Third << QStringView(u"\uFF13\u7B49").toString();
    QTest::newRow("10 hits: nothing") << 10 << PrizeGrade::None << QString();
    QTest::newRow("0 hits: nothing") << 0 << PrizeGrade::None << QString();
}

void TestGrading::gradeByHits() {
    QFETCH(int, hits);
    QFETCH(PrizeGrade, grade);
    QFETCH(QString, text);
    QCOMPARE(GradeForHits(hits), grade);
    const std::string_view gradeText = GradeText(grade);
    QCOMPARE(QString::fromUtf8(gradeText.data(), static_cast<qsizetype>(gradeText.size())), text);
}

void TestGrading::singlesOnlyIgnoresResults() {
    const MultiSelection selection =
        multiOf({"10", "1", "1", "1", "102", "1", "1", "1", "1", "1", "1", "1", "02"});
    const MultiCheckResult graded = CheckMulti(selection, kAllHome, false);
    for (const MatchResults& results : {kAllHome, resultsOf("0222 0222 0222 2")}) {
        const MultiCheckResult plain = CheckMulti(selection, results, true);
        QCOMPARE(plain.error, MultiSelectionError::None);
        QVERIFY(plain.report.singles == graded.report.singles);
        QCOMPARE(plain.report.units, 12);
        QVERIFY(!plain.report.graded);
        QVERIFY(plain.report.grades.empty());
        QCOMPARE(plain.report.firstCount + plain.report.secondCount + plain.report.thirdCount, 0);
    }
}

void TestGrading::purchaseErrorsGiveNoSingles() {
    // Match 7 unmarked; then two doubles and three triples, 108 units. Neither depends on grading.
    const MultiSelection unmarked = multiOf({"1", "1", "1", "1", "1", "1", "", "1", "1", "1", "1", "1", "1"});
    const MultiSelection tooMany =
        multiOf({"10", "02", "102", "102", "102", "1", "1", "1", "1", "1", "1", "1", "1"});
    for (bool singlesOnly : {false, true}) {
        const MultiCheckResult first = CheckMulti(unmarked, kAllHome, singlesOnly);
        const MultiCheckResult second = CheckMulti(tooMany, kAllHome, singlesOnly);
        QCOMPARE(first.error, MultiSelectionError::NoMarkInMatch);
        QCOMPARE(second.error, MultiSelectionError::TooManyUnits);
        QVERIFY(first.report.singles.empty() && second.report.singles.empty() &&
                second.report.grades.empty());
        QCOMPARE(first.report.units + second.report.units, 0);
    }
}

void TestGrading::randomMultisMatchBruteForce() {
    std::mt19937 random(20240613);
    for (int round = 0; round < 24; ++round) {
        MultiSelection selection;
        MatchResults results{};
        for (int match = 0; match < kMatchCount; ++match) {
            // Mostly single picks, so that most purchases pass; the other rows take any of the eight mark
            // patterns, the empty one included. Results mostly follow a marked outcome, so that prizes occur.
            const unsigned pattern = random() % 3 == 0 ? random() % 8 : 1u << (random() % 3);
            for (int column = 0; column < kColumnCount; ++column) {
                selection.setMarked(match, column, (pattern >> column & 1u) != 0);
            }
            const OutcomeList marked = selection.MarkedOutcomes(match);
            results[static_cast<std::size_t>(match)] =
                !marked.empty() && random() % 8 != 0 ? marked[static_cast<int>(random() % marked.size())]
                                                     : OutcomeOfColumn(static_cast<int>(random() % 3));
        }

        // All 3^13 singles counted in column order, match 1 the most significant digit, keeping those whose
        // every outcome is marked: that is the odometer order over the marked outcomes.
        std::vector<SingleTicket> expected;
        for (int code = 0; code < 1'594'323; ++code) {
            SingleTicket single{};
            bool allMarked = true;
            for (int match = kMatchCount - 1, rest = code; match >= 0 && allMarked; --match, rest /= 3) {
                allMarked = selection.isMarked(match, rest % 3);
                single[static_cast<std::size_t>(match)] = OutcomeOfColumn(rest % 3);
            }
            if (allMarked) {
                expected.push_back(single);
            }
        }
        QVERIFY(ExpandMulti(selection) == expected);

        const MultiCheckResult result = CheckMulti(selection, results, false);
        if (expected.empty() || expected.size() > 96) {
            QVERIFY(result.error != MultiSelectionError::None && result.report.singles.empty());
            continue;
        }
        QVERIFY(result.report.singles == expected);
        // Graded by misses: none first, one second, two third; more win nothing and are counted nowhere.
        const std::array<PrizeGrade, 4> kGradeByMisses{PrizeGrade::First, PrizeGrade::Second,
                                                       PrizeGrade::Third, PrizeGrade::None};
        std::array<int, 4> byMisses{};
        for (std::size_t i = 0; i < expected.size(); ++i) {
            std::size_t misses = 0;
            for (std::size_t match = 0; match < results.size(); ++match) {
                misses += expected[i][match] != results[match] ? 1 : 0;
            }
            QCOMPARE(result.report.grades[i], kGradeByMisses[std::min<std::size_t>(misses, 3)]);
            ++byMisses[std::min<std::size_t>(misses, 3)];
        }
        QCOMPARE(result.report.firstCount, byMisses[0]);
        QCOMPARE(result.report.secondCount, byMisses[1]);
        QCOMPARE(result.report.thirdCount, byMisses[2]);
    }
}

QTEST_APPLESS_MAIN(TestGrading)
#include "tst_grading.moc"
