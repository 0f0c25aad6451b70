// External inconsistencies of a rule base: rules whose derivation loops back
// to their own conclusion or its negation. The test, the informing after
// loading and the diagnostic report.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "state/findings.h"

namespace torv { struct AppState; }
namespace torv::kb { class Store; }
namespace torv::port { class Progress; }

namespace torv::verify {

/// How much work one search may do before it gives up. A cyclic base can
/// have more paths than any machine can walk; the defaults are far above
/// what any acyclic base needs.
struct ExternalSearchLimits {
    std::uint64_t stepsPerRule = 2'000'000;
    std::uint64_t steps = 200'000'000;
    std::size_t findings = 100'000;
    /// Rule numbers over all stored chains: a long cycle gives as many
    /// findings as it has rules, each with a chain as long as the cycle.
    std::size_t chainNumbers = 10'000'000;
};

struct ExternalSearchResult {
    ExternalFindings findings;
    std::uint64_t paths = 0;   // expansions of a concluded condition
    std::uint64_t steps = 0;   // conditions examined
};

/// badaj_sprzecznosc_1z without the state: every finding in discovery order;
/// reports to `progress`, if given (port::Cancelled when stopped).
ExternalSearchResult badaj(const kb::Store& store, const ExternalSearchLimits& limits = {},
                           port::Progress* progress = nullptr);

/// nazwa_sprzecznosci_1: "IAE1" for the extension ".AEB" in any case.
std::optional<std::string> nazwa_sprzecznosci_1(std::string_view rozszerzenie);
/// The type label the texts use; other extensions get the same label.
std::string typ_sprzecznosci(const AppState& app);

/// badaj_sprzecznosc_1z: fills the findings and the verdict.
ExternalSearchResult badaj_sprzecznosc_1z(AppState& app);
/// wyznacz_sprzecznosc_1z: true when the verdict is "NO".
bool wyznacz_sprzecznosc_1z(AppState& app);
/// informuj_sprzecznosc_1z: runs the test and informs; false when inconsistent.
/// Stopped by the user, it says so and records nothing, as if declined.
bool informuj_sprzecznosc_1z(AppState& app);
/// pisz_sprzecznosc_1z: "Diagnosing external inconsistencies" (10071).
void pisz_sprzecznosc_1z(AppState& app);

}  // namespace torv::verify
