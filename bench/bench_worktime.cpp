// The day calculation over a spread of clock times, next to the same arithmetic on integers
// that are already parsed.

#include "WorkTime.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

struct Pair {
    ClockTimes text;
    int in[2];
    int out[2];
};

const std::vector<Pair>& pairs()
{
    static const std::vector<Pair> list = [] {
        std::vector<Pair> result;
        for (int a = 0; a < 24 * 60; a += 53) {
            for (int b = 0; b < 24 * 60; b += 61) {
                const auto text = [](int m) {
                    return QStringLiteral("%1%2")
                        .arg(m / 60, 2, 10, QLatin1Char('0'))
                        .arg(m % 60, 2, 10, QLatin1Char('0'));
                };
                result.push_back({{text(a), text(b)}, {a / 60, a % 60}, {b / 60, b % 60}});
            }
        }
        return result;
    }();
    return list;
}

void CalcWorkTime_Day(benchmark::State& state)
{
    const auto& list = pairs();
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CalcWorkTime(list[i].text));
        i = (i + 1) % list.size();
    }
}
BENCHMARK(CalcWorkTime_Day);

int overlap(int a, int b, int c, int d)
{
    const int from = std::max(a, c);
    const int to = std::min(b, d);
    return to > from ? to - from : 0;
}

void Baseline_Day(benchmark::State& state)
{
    const auto& list = pairs();
    size_t i = 0;
    for (auto _ : state) {
        const int start = list[i].in[0] * 60 + list[i].in[1];
        int end = list[i].out[0] * 60 + list[i].out[1];
        if (start > end)
            end += 24 * 60;
        const double night = (overlap(0, 300, start, end) + overlap(1320, 1740, start, end) +
                              overlap(2760, 2880, start, end)) /
                             60.0;
        const double span = (end - start) / 60.0;
        const double worked = span - 1;
        WorkTime w;
        if (span <= 1)
            w = {span, 0, 0, 0};
        else if (worked < night)
            w = {0, 0, 0, night};
        else if (worked <= 8)
            w = {worked, 1, 0, night};
        else
            w = {8, 1, worked - 8, night};
        benchmark::DoNotOptimize(w);
        i = (i + 1) % list.size();
    }
}
BENCHMARK(Baseline_Day);

} // namespace

BENCHMARK_MAIN();
