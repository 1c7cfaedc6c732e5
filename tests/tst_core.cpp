// The core library's rules where the window's sessions do not already decide them: the purchase limits,
// the odometer order and grading of a multi, four-group expansion, reading a typed rate as atof does (the
// fuzz target compares both text forms with the C library's on any text), the first-prize payout estimate,
// and the rates and results players paste.
#include "core/four_group.h"
#include "core/grading.h"
#include "core/pasted_text.h"
#include "core/payout.h"

#include <QTest>

using namespace pomelak;

namespace {

// Adds a data row whose cells follow the columns; plain texts become QStrings, as with <<.
template <class... Cells> void row(const char* name, const Cells&... cells) {
    (QTest::newRow(name) << ... << cells);
}

// A multi from the marked outcome digits of each match, blank-separated.
MultiSelection multiOf(const QString& marks) {
    MultiSelection selection;
    for (int cell = 0; cell < kGridCellCount; ++cell) {
        selection.setMarked(cell / 3, cell % 3, marks.split(' ').at(cell / 3).contains("102"[cell % 3]));
    }
    return selection;
}

// Singles or candidate rows as their digits.
template <typename Rows> QStringList textsOf(const Rows& rows) {
    QStringList texts;
    for (const auto& row : rows) {
        texts.append(QString());
        for (auto value : row) {
            texts.last() += QString::number(static_cast<int>(value));
        }
    }
    return texts;
}

using Rates = std::array<double, kMatchCount>;

// Every match at one rate, optionally one match (1 to 13) at another.
Rates allAt(double rate, std::size_t match = 1, std::optional<double> other = {}) {
    Rates rates{};
    rates.fill(rate);
    rates.at(match - 1) = other.value_or(rate);
    return rates;
}

} // namespace

class TestCore : public QObject {
    Q_OBJECT

private slots:
    void validation_data() {
        QTest::addColumn<QString>("marks");
        QTest::addColumn<int>("units");
        QTest::addColumn<MultiSelectionError>("error");
        const auto tooMany = MultiSelectionError::TooManyUnits;
        row("7 doubles: 128 rejected", "10 02 12 10 02 12 10 2 1 0 2 1 0", 128, tooMany);
        row("4 triples: 81 ok", "1 0 2 1 0 2 1 0 2 102 102 102 102", 81, MultiSelectionError::None);
        row("5 triples: 243 rejected", "1 0 2 1 0 2 1 0 102 102 102 102 102", 243, tooMany);
        row("13 triples: rejected", "102 102 102 102 102 102 102 102 102 102 102 102 102", 1594323, tooMany);
    }
    void validation() {
        QFETCH(QString, marks);
        QTEST(multiOf(marks).UnitCount(), "units");
        QTEST(ValidateMultiSelection(multiOf(marks)), "error");
    }

    // Match 13 turns fastest, then match 5, then match 1; against all 1s each 0 or 2 is a miss.
    void odometerOrderAndGrades() {
        MatchResults ones{};
        ones.fill(Outcome::Home);
        const MultiCheckReport report =
            CheckMulti(multiOf("10 1 1 1 102 1 1 1 1 1 1 1 02"), ones, false).report;
        QCOMPARE(textsOf(report.singles),
                 (QStringList{"1111111111110", "1111111111112", "1111011111110", "1111011111112",
                              "1111211111110", "1111211111112", "0111111111110", "0111111111112",
                              "0111011111110", "0111011111112", "0111211111110", "0111211111112"}));
        QStringList grades;
        std::ranges::transform(report.grades, std::back_inserter(grades),
                               [](PrizeGrade grade) { return QString::fromUtf8(GradeText(grade)); });
        QCOMPARE(grades, QStringList(2, "２等") + QStringList(6, "３等") + QStringList(4, ""));
        QCOMPARE((QList<int>{report.firstCount, report.secondCount, report.thirdCount}),
                 (QList<int>{0, 2, 6}));
    }

    // The small-upset and medium-upset columns as "small | medium", a character per match: an outcome digit,
    // or "-" for unset; the basic column is 1 everywhere. Blanks only group the blocks for the reader.
    void fourGroupExpansion_data() {
        QTest::addColumn<QString>("upsets");
        QTest::addColumn<QStringList>("singles");
        row("block 1 small, block 4 medium: candidates 0, 2, 27, 29", "000 --- --- ---- | --- --- --- 2222",
            QStringList{"1111111111111", "1111111112222", "0001111111111", "0001111112222"});
        row("complete columns 2, 3, 1, 2: 12 singles", "000 000 0-0 -000 | --2 222 --- 2222",
            QStringList(12, ""));
        row("partial upset columns contribute nothing", "00- 0-0 -00 000- | -22 22- 2-2 -222",
            QStringList{"1111111111111"});
        // Candidates 0, 3, 18 and 21: block 2's medium upset repeats the basic outcomes.
        row("an upset column repeating the basic one: duplicates kept", "--- --- 020 ---- | --- 111 --- ----",
            QStringList{"1111111111111", "1111110201111", "1111111111111", "1111110201111"});
    }
    void fourGroupExpansion() {
        QFETCH(QString, upsets);
        QFETCH(QStringList, singles);
        FourGroupSelection selection;
        const QString cells = QString(kMatchCount, '1') + upsets.remove(' ').remove('|');
        for (int i = 0; i < kFourGroupCellCount; ++i) {
            if (cells.at(i) != '-') {
                selection.setCell(i % kMatchCount, static_cast<FourGroupColumn>(i / kMatchCount),
                                  static_cast<Outcome>(cells.at(i).digitValue()));
            }
        }
        const QStringList texts = textsOf(ExpandFourGroupSelection(selection));
        // A row of empty singles checks the count alone.
        QCOMPARE(singles.first().isEmpty() ? QStringList(texts.size(), "") : texts, singles);
    }

    void parse_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("value");
        row("every C white space skipped", QByteArray("\t\n\v\f\r 7"), 7.0);
        row("exponent without digits left out", QByteArray("1e"), 1.0);
        row("minus sign", QByteArray("-5"), -5.0);
        row("no digit before the point", QByteArray("-.5"), -0.5);
        row("two signs", QByteArray("+-5"), 0.0);
        row("empty text", QByteArray(), 0.0);
        row("infinity is not decimal", QByteArray("inf"), 0.0);
        row("hexadecimal stops after 0", QByteArray("0x10"), 0.0);
        row("overflow", QByteArray("1e999"), qInf());
        row("underflow", QByteArray("1e-999"), 0.0);
        // Found by the fuzzer: a mantissa longer than the exponent's clamp must not turn the side.
        row("10^1000001 times e-9999999 underflows", "1" + QByteArray(1'000'001, '0') + "e-9999999", 0.0);
        row("10^-1000002 times e9999999 overflows", "0." + QByteArray(1'000'001, '0') + "1e9999999", qInf());
        row("10^400 before an exponent without digits overflows",
            "1" + QByteArray(400, '0') + "e-x99999999999999999999", qInf());
    }
    void parse() {
        QFETCH(QByteArray, text);
        QFETCH(double, value);
        // 17 significant digits tell every two doubles apart, the sign of zero included.
        QCOMPARE(QString::number(parseRate(text.toStdString()), 'g', 17), QString::number(value, 'g', 17));
    }

    // Each match's result carries its rate; every other entry holds a decoy, so that reading a wrong one
    // shows. 23.5 over the product of rate / 100, truncated.
    void estimate_data() {
        QTest::addColumn<Rates>("rates");
        QTest::addColumn<QString>("results");
        QTest::addColumn<double>("expected");
        row("all 100: 23.5 truncated", allAt(100), "2222222222222", 23.0);
        row("all 80: 427", allAt(80), "0000000000000", 427.0);
        row("all 60: 17992", allAt(60), "2012012012012", 17992.0);
        // 23.5 / (0.5^10 * 0.3^2 * 0.2) = 1336888.8...
        row("home 50, draw 30, away 20: 1336888", Rates{50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 30, 30, 20},
            "1111111111002", 1336888.0);
        row("twelve at 100, one at 200: 11", allAt(100, 4, 200), "1111111111111", 11.0);
        row("one at -100: -23.5 truncated toward 0", allAt(100, 13, -100), "1111111111112", -23.0);
        row("an infinite rate: 0", allAt(50, 7, qInf()), "1111111111111", 0.0);
        // A product of about 1e-309 is not 0, but 23.5 over it is beyond the largest double.
        row("a quotient beyond every double: 0", allAt(1, 7, 1e-283), "1111111111111", 0.0);
        // Exactly 500 and 4096 in real numbers; the rounding of the rule's own steps takes them lower.
        row("47 times 0.01, not 47 / 100: 499",
            Rates{10, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 47}, "1111111111111", 499.0);
        row("product from match 13 down: 4095",
            Rates{250, 25, 125, 25, 10, 250, 25, 125, 80, 188, 25, 100, 100}, "1111111111111", 4095.0);
    }
    void estimate() {
        QFETCH(Rates, rates);
        QFETCH(QString, results);
        MatchResults predicted{};
        SupportRateTable table;
        table.entries.fill(-7.0);
        for (std::size_t m = 0; m < rates.size(); ++m) {
            predicted[m] = static_cast<Outcome>(results.at(qsizetype(m)).digitValue());
            table.entries[m + kMatchCount * std::size_t(QString("102").indexOf(results.at(qsizetype(m))))] =
                rates[m];
        }
        QTEST(EstimateFirstPrizePayout(predicted, table), "expected");
    }

    void yenText_data() {
        QTest::addColumn<double>("yen");
        QTest::addColumn<QString>("text");
        row("minus sign", -192512.0, "-192512");
        row("negative zero without sign", -0.0, "0");
        row("no exponent for 1e20", 1e20, "100000000000000000000");
        row("infinity: 0", qInf(), "0");
        row("not a number: 0", qQNaN(), "0");
    }
    void yenText() {
        QFETCH(double, yen);
        QTEST(QString::fromStdString(formatYen(yen)), "text");
    }

    // A block pasted at a match (1 to 13) and outcome: the rates it gives as match/outcome=text, or where and
    // why it is refused. The window's sessions show each other refusal with its message.
    void pastedRates_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("match");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("gives");
        row("tab-separated lines, from match 1's home rate", "50\t30\t20\n45.5\t30\t24.5", 1, "1",
            "1/1=50 1/0=30 1/2=20 2/1=45.5 2/0=30 2/2=24.5");
        row("CR LF, and empty and blank lines at either end ignored", "\r\n \t\r\n\t50 30 20\t\r\n9 1\r\n",
            12, "1", "12/1=50 12/0=30 12/2=20 13/1=9 13/0=1");
        row("full-width digits, point, percent, comma and space", "４９．５％，３０　２０．５", 1, "1",
            "1/1=49.5 1/0=30 1/2=20.5");
        row("commas and semicolons with blanks, from match 12's draw rate", "30 , 20%\r29;21", 12, "0",
            "12/0=30 12/2=20 13/0=29 13/2=21");
        row("as written: signs, an exponent, a point without digits", "-5 +1e1 7.", 1, "1",
            "1/1=-5 1/0=+1e1 1/2=7.");
        row("one number is no block", "\n45.5%\n", 1, "1", "no block");
        row("a letter after a number", "50\t30\t20x", 1, "1", "not a number at 1:3 20x");
        row("a sign alone", "1 - 2", 1, "1", "not a number at 1:2 -");
        row("a percent sign apart from its number", "50 % 30", 1, "1", "not a number at 1:2 %");
        row("below match 13", "1 2\n3 4", 13, "1", "below match 13 at 2:1 3");
        row("a header line", "ホーム 引き分け\n50 30", 1, "1", "not a number at 1:1 ホーム");
    }
    void pastedRates() {
        QFETCH(QString, text);
        QFETCH(int, match);
        QFETCH(QString, outcome);
        const RatePaste paste =
            readPastedRates(text.toStdString(), match - 1, int(QString("102").indexOf(outcome)));
        QStringList gives;
        for (const PastedRate& rate : paste.rates) {
            gives.append(
                QString("%1/%2=%3").arg(rate.match + 1).arg("102"[rate.column]).arg(rate.text.c_str()));
        }
        if (paste.refusal != PasteRefusal::None) {
            gives.append(QStringList{"", "empty line", "empty field", "not a number", "below match 13",
                                     "right of away"}[int(paste.refusal)] +
                         QString(" at %1:%2 %3")
                             .arg(paste.line)
                             .arg(paste.field)
                             .arg(QString::fromStdString(paste.fieldText)));
        }
        QTEST(paste.block ? gives.join(' ') : "no block", "gives");
    }

    void pastedResults_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("results");
        row("13 digits run together", "1021021021021", "1021021021021");
        row("blanks, tabs, commas and line breaks between", "2 0\t1,2\r\n0\r1\n2, 0 1 2 0 1 2\n",
            "2012012012012");
        row("full-width digits, comma and space", "１，０　２１０２１０２１０２１", "1021021021021");
        row("12 outcomes", "102102102102", "refused");
        row("14 outcomes", "10210210210210", "refused");
        row("an outcome 3", "1021021021023", "refused");
        row("a semicolon", "1;021021021021", "refused");
    }
    void pastedResults() {
        QFETCH(QString, text);
        const auto results = readPastedResults(text.toStdString());
        QTEST(results ? textsOf(QList{*results}).first() : "refused", "results");
    }
};

QTEST_APPLESS_MAIN(TestCore)
#include "tst_core.moc"
