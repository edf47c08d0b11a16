// Speed of the calculator's Decimal next to two other decimal types on the
// same 38-digit operands: Boost.Multiprecision's cpp_dec_float<38> (all five
// operations) and libstdc++'s decimal128 (the three arithmetic operations; it
// holds 34 digits, so its operands are the same numbers cut to 34 digits).
//
// Names read as BM_<operation>/<type>, e.g. BM_Add/Mervik, BM_Add/Boost.
// Compare medians: --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <boost/multiprecision/cpp_dec_float.hpp>
#include <decimal/decimal>
#include <string>

#include "calc/core/Decimal.h"

namespace {

using BoostDecimal = boost::multiprecision::number<boost::multiprecision::cpp_dec_float<38>>;
using std::decimal::decimal128;

// Two operands of 38 significant digits each. "Same scale": both have ten
// integer digits. "Mixed scale": the second is 10^12 times smaller, so the sum
// must be aligned and rounded.
constexpr const char* kLeft = "1234567890.1234567890123456789012345678";
constexpr const char* kRight = "9876543210.9876543210987654321098765432";
constexpr const char* kRightSmall = "0.0098765432109876543210987654321098765432";

Decimal mervik(const char* text) { return Decimal::parse(text).value; }

// A 38-digit integer given as two 19-digit halves, divided by 10^scale.
decimal128 makeDecimal128(unsigned long long high, unsigned long long low, int scale) {
    decimal128 value = decimal128(high);
    for (int i = 0; i < 19; ++i) value *= decimal128(10);
    value += decimal128(low);
    for (int i = 0; i < scale; ++i) value /= decimal128(10);
    return value;
}

const decimal128 kLeft128 = makeDecimal128(1234567890123456789ULL, 123456789012345678ULL, 28);
const decimal128 kRight128 = makeDecimal128(9876543210987654321ULL, 987654321098765432ULL, 28);
const decimal128 kRightSmall128 = makeDecimal128(9876543210987654321ULL, 987654321098765432ULL, 40);

// Parse

void parseMervik(benchmark::State& state) {
    for (auto _ : state) {
        const char* text = kLeft;
        benchmark::DoNotOptimize(text);
        DecimalResult result = Decimal::parse(text);
        benchmark::DoNotOptimize(result);
    }
}

void parseBoost(benchmark::State& state) {
    for (auto _ : state) {
        const char* text = kLeft;
        benchmark::DoNotOptimize(text);
        BoostDecimal result(text);
        benchmark::DoNotOptimize(result);
    }
}

// Text

void textMervik(benchmark::State& state) {
    Decimal value = mervik(kLeft);
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        std::string text = value.toString();
        benchmark::DoNotOptimize(text);
    }
}

void textBoost(benchmark::State& state) {
    BoostDecimal value(kLeft);
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        std::string text = value.str(0, std::ios_base::fixed);
        benchmark::DoNotOptimize(text);
    }
}

// Arithmetic: one template per type, the operation as a lambda.

template <typename Operation>
void arithmeticMervik(benchmark::State& state, const char* left, const char* right, Operation operation) {
    Decimal a = mervik(left), b = mervik(right);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        DecimalResult result = operation(a, b);
        benchmark::DoNotOptimize(result);
    }
}

template <typename Operation>
void arithmeticBoost(benchmark::State& state, const char* left, const char* right, Operation operation) {
    BoostDecimal a(left), b(right);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        BoostDecimal result = operation(a, b);
        benchmark::DoNotOptimize(result);
    }
}

template <typename Operation>
void arithmeticDecimal128(benchmark::State& state, decimal128 a, decimal128 b, Operation operation) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        decimal128 result = operation(a, b);
        benchmark::DoNotOptimize(result);
    }
}

const auto add = [](const auto& a, const auto& b) { return a + b; };
const auto multiply = [](const auto& a, const auto& b) { return a * b; };
const auto divide = [](const auto& a, const auto& b) { return a / b; };
const auto addMervik = [](const Decimal& a, const Decimal& b) { return a.add(b); };
const auto multiplyMervik = [](const Decimal& a, const Decimal& b) { return a.multiply(b); };
const auto divideMervik = [](const Decimal& a, const Decimal& b) { return a.divide(b); };

}  // namespace

BENCHMARK(parseMervik)->Name("BM_Parse/Mervik");
BENCHMARK(parseBoost)->Name("BM_Parse/Boost");

BENCHMARK(textMervik)->Name("BM_Text/Mervik");
BENCHMARK(textBoost)->Name("BM_Text/Boost");

BENCHMARK_CAPTURE(arithmeticMervik, , kLeft, kRight, addMervik)->Name("BM_Add/Mervik");
BENCHMARK_CAPTURE(arithmeticBoost, , kLeft, kRight, add)->Name("BM_Add/Boost");
BENCHMARK_CAPTURE(arithmeticDecimal128, , kLeft128, kRight128, add)->Name("BM_Add/Decimal128");

BENCHMARK_CAPTURE(arithmeticMervik, , kLeft, kRightSmall, addMervik)->Name("BM_AddMixedScale/Mervik");
BENCHMARK_CAPTURE(arithmeticBoost, , kLeft, kRightSmall, add)->Name("BM_AddMixedScale/Boost");
BENCHMARK_CAPTURE(arithmeticDecimal128, , kLeft128, kRightSmall128, add)->Name("BM_AddMixedScale/Decimal128");

BENCHMARK_CAPTURE(arithmeticMervik, , kLeft, kRight, multiplyMervik)->Name("BM_Multiply/Mervik");
BENCHMARK_CAPTURE(arithmeticBoost, , kLeft, kRight, multiply)->Name("BM_Multiply/Boost");
BENCHMARK_CAPTURE(arithmeticDecimal128, , kLeft128, kRight128, multiply)->Name("BM_Multiply/Decimal128");

BENCHMARK_CAPTURE(arithmeticMervik, , kLeft, kRight, divideMervik)->Name("BM_Divide/Mervik");
BENCHMARK_CAPTURE(arithmeticBoost, , kLeft, kRight, divide)->Name("BM_Divide/Boost");
BENCHMARK_CAPTURE(arithmeticDecimal128, , kLeft128, kRight128, divide)->Name("BM_Divide/Decimal128");

BENCHMARK_MAIN();
