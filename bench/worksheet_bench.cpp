// One 200-exercise sheet per mode, as "Generuj" writes it (without the
// prompts): the answer key and the question sheet joined into one text.
#include <benchmark/benchmark.h>

#include "generator/Worksheet.h"
#include "platform/Random.h"

namespace {

using namespace velnorka;

void sheetOf200(benchmark::State& benchState, std::int16_t mode) {
    MersenneRandom random(12345u);
    WorksheetState sheet;
    sheet.start();
    sheet.mode = mode;
    for (auto _ : benchState) {
        sheet.answers.clear();
        const std::string questions = writeExercises(sheet, 200, 10, random, ",");
        std::string text = questions + sheet.newline + sheet.answers;
        benchmark::DoNotOptimize(text);
    }
}

void BM_Sheet200_WholeNumbers(benchmark::State& state) { sheetOf200(state, 1); }
void BM_Sheet200_DecimalNumbers(benchmark::State& state) { sheetOf200(state, 2); }
void BM_Sheet200_Mix(benchmark::State& state) { sheetOf200(state, 3); }

}  // namespace

BENCHMARK(BM_Sheet200_WholeNumbers)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sheet200_DecimalNumbers)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sheet200_Mix)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
