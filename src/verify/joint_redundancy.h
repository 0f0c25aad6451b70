// Joint rule-constraint redundancies: rules concluding the same through each
// member of a constraint in turn, and otherwise alike, depend only on what
// they have in common. The test, its offer at constraint-base load,
// informing and report.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace torv { struct AppState; }

namespace torv::verify {

/// nazwa_nadmiaru_2: "RAE2" for the extension ".AEB" in any case.
std::optional<std::string> nazwa_nadmiaru_2(std::string_view rozszerzenie);

/// How many flattenings one conclusion's group may hold before it is left
/// unexamined (and the report says so).
inline constexpr std::size_t kMaxGroupFlattenings = 10'000;

/// wyznacz_nadmiar_2: the test; true when no joint redundancy was found.
bool wyznacz_nadmiar_2(AppState& app);
/// informuj_nadmiar_2: runs the test unless findings are stored, and
/// informs; redundancies never block the bases.
void informuj_nadmiar_2(AppState& app);
/// pisz_nadmiar_2: "Diagnosing joint Rule- and Constraint Base
/// redundancies" (10099); the findings are consumed.
void pisz_nadmiar_2(AppState& app);

}  // namespace torv::verify
