// Timings of the core operations at the sizes the window asks for: the largest purchase a multi check
// accepts, a four-group selection with every candidate complete, one payout estimate, and the rate text
// round trip the rate dialog does for each of its 39 fields.
#include "core/four_group.h"
#include "core/grading.h"
#include "core/payout.h"
#include "core/support_rate.h"

#include <benchmark/benchmark.h>

using namespace pomelak;

namespace {

void checkGradedMulti(benchmark::State& state) {
    // Five doubles (home and draw) on matches 1-5 and a triple on match 6: 96 units, the most accepted.
    MultiSelection selection;
    for (int match = 0; match < kMatchCount; ++match) {
        selection.setMarked(match, 0, true);
        selection.setMarked(match, 1, match < 6);
        selection.setMarked(match, 2, match == 5);
    }
    MatchResults results{};
    results.fill(Outcome::Home);
    for (auto _ : state) {
        MultiCheckResult result = CheckMulti(selection, results, false);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(checkGradedMulti);

void expandAllCandidates(benchmark::State& state) {
    FourGroupSelection selection;
    for (int match = 0; match < kMatchCount; ++match) {
        selection.setCell(match, FourGroupColumn::Basic, Outcome::Home);
        selection.setCell(match, FourGroupColumn::SmallUpset, Outcome::Draw);
        selection.setCell(match, FourGroupColumn::MediumUpset, Outcome::Away);
    }
    for (auto _ : state) {
        std::vector<SingleTicket> singles = ExpandFourGroupSelection(selection);
        benchmark::DoNotOptimize(singles);
    }
}
BENCHMARK(expandAllCandidates);

void estimatePayout(benchmark::State& state) {
    SupportRateTable table;
    for (std::size_t i = 0; i < table.entries.size(); ++i) {
        table.entries[i] = 20.0 + static_cast<double>(i % 7) * 5.5;
    }
    MatchResults results{};
    for (int match = 0; match < kMatchCount; ++match) {
        results[static_cast<std::size_t>(match)] = OutcomeOfColumn(match % kColumnCount);
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(table);
        double estimate = EstimateFirstPrizePayout(results, table);
        benchmark::DoNotOptimize(estimate);
    }
}
BENCHMARK(estimatePayout);

void rateTextRoundTrip(benchmark::State& state) {
    double rate = 100.0 / 3;
    for (auto _ : state) {
        benchmark::DoNotOptimize(rate);
        std::string text = formatRate(rate);
        double read = parseRate(text);
        benchmark::DoNotOptimize(read);
    }
}
BENCHMARK(rateTextRoundTrip);

} // namespace

BENCHMARK_MAIN();
