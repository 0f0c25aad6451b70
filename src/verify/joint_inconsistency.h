// Joint rule-constraint inconsistencies: a flattening of a rule that needs
// two members of one constraint can never succeed. The test, its offer at
// constraint-base load, informing and report.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace torv { struct AppState; }

namespace torv::verify {

/// nazwa_sprzecznosci_2: "IAE2" for the extension ".AEB" in any case.
std::optional<std::string> nazwa_sprzecznosci_2(std::string_view rozszerzenie);

/// How many flattenings showing a joint inconsistency the test keeps.
inline constexpr std::size_t kMaxJointFlattenings = 10'000;

/// wyznacz_sprzecznosc_2: the test; true when no rule needs two members of
/// one constraint in any flattening.
bool wyznacz_sprzecznosc_2(AppState& app);
/// informuj_sprzecznosc_2: runs the test and informs; false when a joint
/// inconsistency was found, which stops the constraint-base load.
bool informuj_sprzecznosc_2(AppState& app);
/// pisz_sprzecznosc_2: "Diagnosing joint Rule- and Constraint Base
/// inconsistencies" (10098).
void pisz_sprzecznosc_2(AppState& app);

}  // namespace torv::verify
