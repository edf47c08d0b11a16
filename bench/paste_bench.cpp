// Paste: a text read as one number and entered on the running calculator
// (display, conversion row, side panel's value), and the refusal of a text
// far too long to be a number.
//
// Budget: each stays under 1 ms (median).

#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "calc/app/AppLauncher.h"
#include "calc/app/NumberTransfer.h"
#include "ui/Application.h"
#include "ui/Clock.h"
#include "ui/UserDefaults.h"

namespace {

void paste(benchmark::State& state, const std::string& text, bool accepted) {
    ui::Application app(std::make_shared<ui::VirtualClock>(), ui::UserDefaults::inMemory());
    auto delegate = launchMervik(app);
    NumberTransfer& transfer = *delegate->numberTransfer();
    for (auto _ : state) {
        const bool taken = transfer.paste(text);
        if (taken != accepted) state.SkipWithError("unexpected paste result");
        benchmark::DoNotOptimize(taken);
    }
}

// 200 characters: 1e99 written out with 99 decimals of zeros.
void BM_Paste200CharacterNumber(benchmark::State& state) {
    paste(state, "1" + std::string(99, '0') + "." + std::string(99, '0'), true);
}
BENCHMARK(BM_Paste200CharacterNumber);

// 200 characters in base 2 behind 0b: 198 digits, refused as more than 38
// decimal digits only after it was read in full.
void BM_Paste200CharacterBinary(benchmark::State& state) { paste(state, "0b" + std::string(198, '1'), false); }
BENCHMARK(BM_Paste200CharacterBinary);

void BM_RefuseOneMegabyte(benchmark::State& state) { paste(state, std::string(1 << 20, '7'), false); }
BENCHMARK(BM_RefuseOneMegabyte);

}  // namespace

BENCHMARK_MAIN();
