// The conversion display's redraw, and base conversion beside the standard
// library's integer formatting.
//
// Budget: a redraw of a 59-digit row (base 2) stays within 20 us (median).

#include <charconv>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "calc/app/vantorAppDelegate.h"
#include "calc/conversion/BaseConversion.h"
#include "calc/displays/binaryScrn.h"
#include "calc/core/Decimal.h"
#include "calc/core/calcDecimal.h"
#include "ui/Application.h"
#include "ui/Clock.h"

namespace {

// The largest values that still get a row of digits in base 2: 59 digits of
// 5 x 7 points (a little more and the error picture shows instead).
const Decimal k59BinaryDigits(static_cast<long long>((1ull << 58) + 448));
// Ten digits in base 16.
const Decimal k10HexDigits(0x123456789A);

// An application whose delegate is the calculator's, and a conversion display
// where the calculator screen puts it.
void redraw(benchmark::State& state, const Decimal& value, int base) {
    ui::Application app(std::make_shared<ui::VirtualClock>());
    auto delegate = std::make_shared<vantorAppDelegate>();
    app.setDelegate(delegate);
    delegate->setBase(base);
    auto screen = binaryScrn::initWithFrame({15, 80, 290, 30});
    calcDecimal shown;
    shown.setValue(value);
    for (auto _ : state) {
        screen->toBinary(shown);
        // One redraw per pass of the loop, as in the running program.
        app.runLoopPass();
        benchmark::DoNotOptimize(screen->subviews().data());
    }
    state.counters["pictures"] = static_cast<double>(screen->subviews().size());
}

void BM_RedrawBase2_59Digits(benchmark::State& state) { redraw(state, k59BinaryDigits, 2); }
void BM_RedrawBase16_10Digits(benchmark::State& state) { redraw(state, k10HexDigits, 16); }

void BM_ToBase16(benchmark::State& state) {
    Decimal x = k59BinaryDigits;
    for (auto _ : state) {
        benchmark::DoNotOptimize(x);
        std::string text = conversion::toBase(x, 16);
        benchmark::DoNotOptimize(text.data());
    }
}

// The same integer through std::to_chars, into a string as toBase returns.
void BM_ToChars16(benchmark::State& state) {
    std::uint64_t x = (1ull << 58) + 448;
    for (auto _ : state) {
        benchmark::DoNotOptimize(x);
        char buffer[32];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, x, 16);
        std::string text(buffer, result.ptr);
        benchmark::DoNotOptimize(text.data());
    }
}

}  // namespace

BENCHMARK(BM_RedrawBase2_59Digits);
BENCHMARK(BM_RedrawBase16_10Digits);
BENCHMARK(BM_ToBase16);
BENCHMARK(BM_ToChars16);

BENCHMARK_MAIN();
