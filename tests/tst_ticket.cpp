// Outcome columns and texts, mark counts and unit counts of a multi, and the purchase rules.
#include "core/ticket.h"

#include <QTest>

#include <cmath>
#include <string>

using namespace pomelak;

namespace {

// A multi from one string per match listing the marked outcome digits, e.g. "10" for home and draw.
MultiSelection multiOf(const std::array<std::string_view, kMatchCount>& marks) {
    MultiSelection selection;
    for (int match = 0; match < kMatchCount; ++match) {
        for (char digit : marks[static_cast<std::size_t>(match)]) {
            selection.setMarked(match, ColumnOfOutcome(static_cast<Outcome>(digit - '0')), true);
        }
    }
    return selection;
}

} // namespace

class TestTicket : public QObject {
    Q_OBJECT

private slots:
    void outcomeColumnsAndText();
    void markedOutcomes_data();
    void markedOutcomes();
    void unitLimit_data();
    void unitLimit();
    void unmarkedMatchBeatsUnitLimit();
};

void TestTicket::outcomeColumnsAndText() {
    // Grids run home, draw, away; the outcomes' own values are 1, 0, 2, and a list cell shows that digit.
    const std::array<int, kColumnCount> valueOfColumn{1, 0, 2};
    for (int column = 0; column < kColumnCount; ++column) {
        const Outcome outcome = OutcomeOfColumn(column);
        QCOMPARE(static_cast<int>(outcome), valueOfColumn[static_cast<std::size_t>(column)]);
        QCOMPARE(ColumnOfOutcome(outcome), column);
        QCOMPARE(std::string(outcomeText(outcome)), std::to_string(static_cast<int>(outcome)));
    }
}

void TestTicket::markedOutcomes_data() {
    QTest::addColumn<QByteArray>("marks");
    QTest::addColumn<QByteArray>("expected");

    // Marks as home, draw, away flags.
    QTest::newRow("no mark") << QByteArray("000") << QByteArray();
    QTest::newRow("away only: 2") << QByteArray("001") << QByteArray("2");
    QTest::newRow("home and away: 1 then 2") << QByteArray("101") << QByteArray("12");
    QTest::newRow("draw and away: 0 then 2") << QByteArray("011") << QByteArray("02");
    QTest::newRow("triple: 1, 0, 2") << QByteArray("111") << QByteArray("102");
}

void TestTicket::markedOutcomes() {
    QFETCH(QByteArray, marks);
    QFETCH(QByteArray, expected);

    // Match 9 carries the marks under test; its neighbours are marked otherwise so that a mix-up of
    // match indexes shows.
    MultiSelection selection = multiOf({"1", "1", "1", "1", "1", "1", "1", "102", "", "2", "1", "1", "1"});
    for (int column = 0; column < kColumnCount; ++column) {
        selection.setMarked(8, column, marks[column] == '1');
    }
    QByteArray listed;
    for (Outcome outcome : selection.MarkedOutcomes(8)) {
        listed += QByteArray::number(static_cast<int>(outcome));
    }
    QCOMPARE(listed, expected);
    QCOMPARE(selection.MarkCount(8), expected.size());
    QCOMPARE(selection.UnitCount(), 3 * expected.size());
}

void TestTicket::unitLimit_data() {
    QTest::addColumn<int>("triples");
    QTest::addColumn<int>("doubles");
    for (int triples = 0; triples <= kMatchCount; ++triples) {
        for (int doubles = 0; triples + doubles <= kMatchCount; ++doubles) {
            QTest::addRow("%d triples, %d doubles", triples, doubles) << triples << doubles;
        }
    }
}

void TestTicket::unitLimit() {
    QFETCH(int, triples);
    QFETCH(int, doubles);

    // Triples from match 13 backwards, doubles from match 1 on, both in varying columns.
    const std::array<std::string_view, 3> kDoubles{"10", "02", "12"};
    const std::array<std::string_view, 3> kSingles{"2", "1", "0"};
    std::array<std::string_view, kMatchCount> marks{};
    for (std::size_t m = 0; m < marks.size(); ++m) {
        const bool triple = static_cast<int>(m) >= kMatchCount - triples;
        marks[m] = triple ? "102" : static_cast<int>(m) < doubles ? kDoubles[m % 3] : kSingles[m % 3];
    }
    const MultiSelection selection = multiOf(marks);
    QCOMPARE(selection.UnitCount(), static_cast<std::int32_t>(std::pow(2, doubles) * std::pow(3, triples)));

    // The most doubles that fit beside 0 to 4 triples (64, 96, 72, 54 and 81 units); 5 triples never fit.
    // 13 triples make 1,594,323 units, computed exactly.
    const std::array<int, 5> kMostDoubles{6, 5, 3, 1, 0};
    const bool accepted = triples < 5 && doubles <= kMostDoubles[static_cast<std::size_t>(triples)];
    QCOMPARE(ValidateMultiSelection(selection),
             accepted ? MultiSelectionError::None : MultiSelectionError::TooManyUnits);
}

void TestTicket::unmarkedMatchBeatsUnitLimit() {
    QCOMPARE(ValidateMultiSelection(MultiSelection{}), MultiSelectionError::NoMarkInMatch);
    for (std::size_t unmarked : {0, 6, 12}) {
        std::array<std::string_view, kMatchCount> marks{};
        marks.fill("102");
        marks[unmarked] = "";
        const MultiSelection selection = multiOf(marks);
        QCOMPARE(selection.UnitCount(), 0);
        QCOMPARE(ValidateMultiSelection(selection), MultiSelectionError::NoMarkInMatch);
    }
}

QTEST_APPLESS_MAIN(TestTicket)
#include "tst_ticket.moc"
