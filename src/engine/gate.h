// The chaining gate and the preparation of a run, shared by the forward and
// backward chaining commands.
#pragma once

namespace torv { struct AppState; }

namespace torv::engine {

enum class Kierunek { WPrzod, Wstecz };

/// The chaining gate: false (after "Load Rule Base first!", or silently
/// after a fault that was reported when it was found) when chaining may not
/// start.
bool bramka_wnioskowania(AppState& app);

/// The preparation of a run after the gate: the abstract, the level of
/// detail, the labels, the clearing of the chaining state and the report,
/// and the header note and report lines.
void przygotowanie_przebiegu(AppState& app, Kierunek kierunek);

}  // namespace torv::engine
