// Four-group predictions: blocks, the 81 candidates in index order, and their expansion into singles.
#include "core/four_group.h"

#include <QTest>

#include <random>

using namespace pomelak;

namespace {

constexpr std::array<FourGroupColumn, 3> kColumns{FourGroupColumn::Basic, FourGroupColumn::SmallUpset,
                                                  FourGroupColumn::MediumUpset};

// First match index of each block and the end: matches 1-3, 4-6, 7-9, 10-13.
constexpr std::array<int, kBlockCount + 1> kBlockStart{0, 3, 6, 9, 13};

// A selection from its basic, small-upset and medium-upset columns, one character per match: an outcome
// digit, or '-' for unset. Blanks only group the blocks for the reader.
FourGroupSelection selectionOf(const QByteArray& basic, const QByteArray& small, const QByteArray& medium) {
    FourGroupSelection selection;
    const std::array<QByteArray, 3> columns{basic, small, medium};
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const QByteArray cells = QByteArray(columns[c]).replace(" ", "");
        for (int match = 0; match < kMatchCount; ++match) {
            if (cells.at(match) != '-') {
                selection.setCell(match, kColumns[c], static_cast<Outcome>(cells.at(match) - '0'));
            }
        }
    }
    return selection;
}

template <typename Row> QByteArray textOf(const Row& row) {
    QByteArray text;
    for (auto value : row) {
        text += QByteArray::number(static_cast<int>(value));
    }
    return text;
}

QByteArrayList textsOf(const std::vector<SingleTicket>& singles) {
    QByteArrayList texts;
    for (const SingleTicket& single : singles) {
        texts << textOf(single);
    }
    return texts;
}

const QByteArray kNone = "--- --- --- ----";

} // namespace

class TestFourGroup : public QObject {
    Q_OBJECT

private slots:
    void blocksAndFreshSelection();
    void candidatesInIndexOrder();
    void expansionOrder_data();
    void expansionOrder();
    void expansionSize_data();
    void expansionSize();
    void randomSelectionsExpandByCompleteColumns();
};

void TestFourGroup::blocksAndFreshSelection() {
    const std::array<int, kMatchCount> kBlockByMatch{0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 3};
    for (int match = 0; match < kMatchCount; ++match) {
        QCOMPARE(blockOfMatch(match), kBlockByMatch[static_cast<std::size_t>(match)]);
    }
    const FourGroupSelection fresh;
    QVERIFY(fresh == selectionOf(kNone, kNone, kNone));
    QVERIFY(fresh.isUnset(12, FourGroupColumn::Basic));
    QCOMPARE(fresh.cell(6, FourGroupColumn::SmallUpset), 4);
    QVERIFY(ExpandFourGroupSelection(fresh).empty());
}

void TestFourGroup::candidatesInIndexOrder() {
    // Each column spells its own digit, except that the small-upset cell of match 11 is unset.
    const auto rows =
        EnumerateFourGroupCandidates(selectionOf("111 111 111 1111", "000 000 000 0-00", "222 222 222 2222"));
    QCOMPARE(textOf(rows[0]), QByteArray("111"
                                         "111"
                                         "111"
                                         "1111"));
    QCOMPARE(textOf(rows[1]), QByteArray("111"
                                         "111"
                                         "111"
                                         "0400"));
    QCOMPARE(textOf(rows[2]), QByteArray("111"
                                         "111"
                                         "111"
                                         "2222"));
    QCOMPARE(textOf(rows[3]), QByteArray("111"
                                         "111"
                                         "000"
                                         "1111"));
    // Index 27 * 1 + 9 * 2 + 3 * 0 + 2: small, medium, basic, medium.
    QCOMPARE(textOf(rows[47]), QByteArray("000"
                                          "222"
                                          "111"
                                          "2222"));
    QCOMPARE(textOf(rows[80]), QByteArray("222"
                                          "222"
                                          "222"
                                          "2222"));
}

void TestFourGroup::expansionOrder_data() {
    QTest::addColumn<QByteArray>("small");
    QTest::addColumn<QByteArray>("medium");
    QTest::addColumn<QByteArrayList>("singles");

    // The basic column is 1 for every match.
    QTest::newRow("preset basic column only") << kNone << kNone << QByteArrayList{"1111111111111"};
    QTest::newRow("block 1's small upset: candidates 0 and 27")
        << QByteArray("000 --- --- ----") << kNone << QByteArrayList{"1111111111111", "0001111111111"};
    QTest::newRow("block 1 small, block 4 medium: candidates 0, 2, 27, 29")
        << QByteArray("000 --- --- ----") << QByteArray("--- --- --- 2222")
        << QByteArrayList{"1111111111111", "1111111112222", "0001111111111", "0001111112222"};
    // Candidates 0, 3, 18 and 21: block 2's medium upset repeats the basic outcomes.
    QTest::newRow("an upset column repeating the basic one: duplicates kept")
        << QByteArray("--- --- 020 ----") << QByteArray("--- 111 --- ----")
        << QByteArrayList{"1111111111111", "1111110201111", "1111111111111", "1111110201111"};
}

void TestFourGroup::expansionOrder() {
    QFETCH(QByteArray, small);
    QFETCH(QByteArray, medium);
    QFETCH(QByteArrayList, singles);
    QCOMPARE(textsOf(ExpandFourGroupSelection(selectionOf("111 111 111 1111", small, medium))), singles);
}

void TestFourGroup::expansionSize_data() {
    QTest::addColumn<QByteArray>("small");
    QTest::addColumn<QByteArray>("medium");
    QTest::addColumn<int>("count");

    QTest::newRow("every cell set: 81")
        << QByteArray("000 000 000 0000") << QByteArray("222 222 222 2222") << 81;
    QTest::newRow("complete columns 2, 3, 1, 2: 12")
        << QByteArray("000 000 0-0 -000") << QByteArray("--2 222 --- 2222") << 12;
    QTest::newRow("partial upset columns contribute nothing: 1")
        << QByteArray("00- 0-0 -00 000-") << QByteArray("-22 22- 2-2 -222") << 1;
}

void TestFourGroup::expansionSize() {
    QFETCH(QByteArray, small);
    QFETCH(QByteArray, medium);
    QFETCH(int, count);
    QCOMPARE(
        static_cast<int>(ExpandFourGroupSelection(selectionOf("111 111 111 1111", small, medium)).size()),
        count);
}

void TestFourGroup::randomSelectionsExpandByCompleteColumns() {
    std::mt19937 random(81);
    for (int round = 0; round < 200; ++round) {
        // Cells mostly set, so that complete columns are common but not certain.
        FourGroupSelection selection;
        for (int match = 0; match < kMatchCount; ++match) {
            for (FourGroupColumn column : kColumns) {
                if (random() % 8 != 0) {
                    selection.setCell(match, column, OutcomeOfColumn(static_cast<int>(random() % 3)));
                }
            }
        }
        // Per block, its complete columns in column order.
        std::array<std::vector<FourGroupColumn>, kBlockCount> complete;
        for (int block = 0; block < kBlockCount; ++block) {
            for (FourGroupColumn column : kColumns) {
                bool full = true;
                for (int match = kBlockStart[block]; match < kBlockStart[block + 1]; ++match) {
                    full = full && !selection.isUnset(match, column);
                }
                if (full) {
                    complete[block].push_back(column);
                }
            }
        }
        // One single per choice of a complete column for each block, block 4's choice changing fastest.
        QByteArrayList expected;
        for (FourGroupColumn c1 : complete[0]) {
            for (FourGroupColumn c2 : complete[1]) {
                for (FourGroupColumn c3 : complete[2]) {
                    for (FourGroupColumn c4 : complete[3]) {
                        const std::array<FourGroupColumn, kBlockCount> pick{c1, c2, c3, c4};
                        QByteArray text;
                        for (int match = 0; match < kMatchCount; ++match) {
                            text += QByteArray::number(selection.cell(match, pick[blockOfMatch(match)]));
                        }
                        expected << text;
                    }
                }
            }
        }
        QCOMPARE(textsOf(ExpandFourGroupSelection(selection)), expected);
    }
}

QTEST_APPLESS_MAIN(TestFourGroup)
#include "tst_four_group.moc"
