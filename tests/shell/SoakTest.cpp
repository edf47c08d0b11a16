// Long runs through the headless driver, checking that memory stays flat
// once the calculator has warmed up: random key presses as a person would
// make them (only keys on the screen now showing, an alert answered with OK,
// now and then a pause), many turns of the settings screen's picker and
// switch, and operator keys pressed with no pause at all.
//
// Memory is measured in this process: the resident size (VmRSS) in a plain
// build, and the bytes the allocator holds live under AddressSanitizer, whose
// quarantine of freed blocks makes the resident size grow by design. Leaks
// are left to LeakSanitizer, which checks this program at exit in the
// sanitizer build.

#include <gtest/gtest.h>

#include <malloc.h>

#include <cstdio>
#include <random>
#include <sstream>

#include "calc/app/vantorAppDelegate.h"
#include "calc/screens/MainViewController.h"
#include "shell/ControlFinder.h"
#include "shell/ControlTable.h"
#include "shell/HeadlessDriver.h"
#include "shell/LinkedRenderer.h"
#include "shell/support/DriverRun.h"
#include "shell/support/MervikProcess.h"
#include "ui/AlertView.h"
#include "ui/Log.h"

#if defined(__SANITIZE_ADDRESS__)
#define MERVIK_SOAK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MERVIK_SOAK_ASAN 1
#endif
#endif
#ifdef MERVIK_SOAK_ASAN
// The bytes the allocator holds for live blocks (AddressSanitizer's runtime,
// with gcc and clang alike).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

constexpr int kPresses = 100'000;
constexpr int kWarmUpPresses = 1'000;
constexpr long kAllowedGrowthKiB = 1024;

// The memory figure the test watches, in KiB.
long memoryKiB() {
#ifdef MERVIK_SOAK_ASAN
    return static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    return residentKiB();
#endif
}

// What the random presses choose from, by the control table: on the
// calculator screen the keys of the keypad showing, the operation keys and
// the small keys but settings, which is pressed now and then on its own; on
// the settings screen its bar buttons and switch, but the mail link (each
// press keeps the address it opened, a list that grows by design); on an
// open alert its button.
struct PressNames {
    std::vector<std::string> decimal, base, settings;
    std::string toSettings, answer;
};

const PressNames& pressNames() {
    static const PressNames names = [] {
        using Place = shell::ControlEntry::Place;
        PressNames n;
        for (const shell::ControlEntry& entry : shell::controlTable()) {
            const std::string name(entry.name);
            switch (entry.place) {
                case Place::DecimalKeypad: n.decimal.push_back(name); break;
                case Place::BaseKeypad: n.base.push_back(name); break;
                case Place::SmallKey:
                    if (entry.smallKey == SmallKey::Settings) {
                        n.toSettings = name;
                        break;
                    }
                    [[fallthrough]];
                case Place::Keypad:
                case Place::OperationKey:
                case Place::WordSize:
                case Place::Bit:
                    n.decimal.push_back(name);
                    n.base.push_back(name);
                    break;
                case Place::SettingsBar:
                case Place::SignedSwitch:
                    if (name != "E-mail me") n.settings.push_back(name);
                    break;
                case Place::AlertButton: n.answer = name; break;
            }
        }
        return n;
    }();
    return names;
}

// Chooses the next script line from what the calculator shows now.
class PressPicker {
public:
    PressPicker(vantorAppDelegate& delegate, unsigned seed) : delegate_(delegate), finder_(delegate), random_(seed) {}

    std::string next() {
        const PressNames& names = pressNames();
        if (ui::AlertView::visibleAlert()) return "press " + names.answer;
        if (finder_.currentScreen() == shell::ControlFinder::Screen::Settings) {
            if (chance(10)) return "pick " + std::to_string(below(23));
            return "press " + names.settings[below(names.settings.size())];
        }
        // The settings screen now and then; otherwise the keypad showing.
        if (chance(200)) return "press " + names.toSettings;
        const auto& keys = delegate_.getIsInDecMode() ? names.decimal : names.base;
        return "press " + keys[below(keys.size())];
    }
    // A pause of a person, now and then.
    std::optional<std::string> pause() {
        if (!chance(25)) return std::nullopt;
        return "wait " + std::to_string(below(1200));
    }

private:
    size_t below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }
    bool chance(size_t oneIn) { return below(oneIn) == 0; }

    vantorAppDelegate& delegate_;
    shell::ControlFinder finder_;
    std::mt19937 random_;
};

// Checks that 100,000 random presses run cleanly, ending within 1 MiB of the memory after the first 1,000.
TEST(SoakTest, RandomPressesKeepMemoryFlat) {
    ScratchFolder settings;
    auto& log = ui::DiagnosticLog::shared();
    log.setEchoToStandardError(false);
    // The state lines are not looked at: a stream that takes them and keeps nothing.
    struct Discard : std::streambuf {
        int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    } discard;
    std::ostream nowhere(&discard);
    std::ostringstream errors;
    long warmedUp = 0;
    std::vector<std::pair<int, long>> figures;
    {
        shell::HeadlessDriver driver(std::make_unique<shell::LinkedRenderer>(), settings.path(), 1, nowhere, errors);
        PressPicker picker(driver.delegate(), 12345);
        auto run = [&](const std::string& line) {
            std::istringstream in(line + "\n");
            const int status = driver.runScript(in);
            ASSERT_EQ(status, 0) << line << ": " << errors.str();
        };
        for (int press = 1; press <= kPresses; ++press) {
            ASSERT_NO_FATAL_FAILURE(run(picker.next()));
            if (auto pause = picker.pause()) {
                ASSERT_NO_FATAL_FAILURE(run(*pause));
            }
            // A script that reads the state now and then also takes the log's lines.
            if (press % 1000 == 0) {
                ASSERT_NO_FATAL_FAILURE(run("state"));
            }
            if (press == kWarmUpPresses) warmedUp = memoryKiB();
            if (press % 10'000 == 0 || press == kWarmUpPresses) figures.emplace_back(press, memoryKiB());
        }
    }
    log.setEchoToStandardError(true);
    const long atEnd = figures.back().second;

    std::string table;
    for (const auto& [press, kib] : figures) table += " " + std::to_string(press) + ":" + std::to_string(kib);
#ifdef MERVIK_SOAK_ASAN
    std::printf("soak (live heap KiB, AddressSanitizer; VmRSS now %ld KiB):%s\n", residentKiB(), table.c_str());
#else
    std::printf("soak (VmRSS KiB; live heap now %zu KiB):%s\n", mallinfo2().uordblks / 1024, table.c_str());
#endif
    RecordProperty("presses", kPresses);
    RecordProperty("memory_after_warm_up_kib", static_cast<int>(warmedUp));
    RecordProperty("memory_at_end_kib", static_cast<int>(atEnd));
    EXPECT_LE(atEnd - warmedUp, kAllowedGrowthKiB) << "memory after " << kWarmUpPresses << " presses: " << warmedUp
                                                   << " KiB, after " << kPresses << ": " << atEnd << " KiB";
}

// Memory after the first and the last of ROUNDS runs of BATCH through one
// headless driver, once PRELUDE has run.
struct RepeatedRun {
    long afterFirst = 0;
    long atEnd = 0;
};

RepeatedRun runRepeatedly(const std::string& prelude, const std::string& batch, int rounds) {
    ScratchFolder settings;
    auto& log = ui::DiagnosticLog::shared();
    log.setEchoToStandardError(false);
    // The state lines are not looked at: a stream that takes them and keeps nothing.
    struct Discard : std::streambuf {
        int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    } discard;
    std::ostream nowhere(&discard);
    std::ostringstream errors;
    RepeatedRun figures;
    {
        shell::HeadlessDriver driver(std::make_unique<shell::LinkedRenderer>(), settings.path(), 1, nowhere, errors);
        auto run = [&](const std::string& script) {
            std::istringstream in(script);
            EXPECT_EQ(driver.runScript(in), 0) << errors.str();
        };
        run(prelude);
        for (int round = 1; round <= rounds && !::testing::Test::HasFailure(); ++round) {
            run(batch);
            if (round == 1) figures.afterFirst = memoryKiB();
        }
        figures.atEnd = memoryKiB();
    }
    log.setEchoToStandardError(true);
    return figures;
}

// Checks that 100,000 turns of the base picker and flips of the signed switch end within 1 MiB of the first 1,000.
TEST(SoakTest, SettingsControlsKeepMemoryFlat) {
    std::string batch;
    for (int turn = 0; turn < 1000; ++turn)
        batch += "pick " + std::to_string(turn % 23) + "\npress signed\n" + (turn % 100 == 0 ? "wait 500\n" : "");
    auto figures = runRepeatedly("press settings\nwait 1000\n", batch, 100);
    std::printf("soak of the settings controls (KiB): after 1,000 turns %ld, after 100,000 %ld\n", figures.afterFirst,
                figures.atEnd);
    EXPECT_LE(figures.atEnd - figures.afterFirst, kAllowedGrowthKiB);
}

// Checks that 60,000 operator keys pressed with no pause between them end within 1 MiB of the first 1,000.
TEST(SoakTest, OperatorKeysWithoutPausesKeepMemoryFlat) {
    // Each key grows while the others shrink back: animations that never
    // get the time to finish.
    std::string batch;
    for (const char* key : {"+", "*", "-", "/", "mod"})
        for (int i = 0; i < 200; ++i) batch += std::string("press ") + key + "\n";
    auto figures = runRepeatedly("", batch, 61);
    std::printf("soak of the operator keys (KiB): after 1,000 presses %ld, after 61,000 %ld\n", figures.afterFirst,
                figures.atEnd);
    EXPECT_LE(figures.atEnd - figures.afterFirst, kAllowedGrowthKiB);
}

}  // namespace
