// The diagnoses offered while bases load. Each makes its offer, runs its
// test, informs and records its verdict; false means the load stops.
#pragma once

namespace torv { struct AppState; }

namespace torv::verify {

/// External inconsistencies of the rule base; false blocks the base.
bool testuj_sprzecznosc_1z(AppState& app);
/// Internal inconsistencies; never blocks.
bool testuj_sprzecznosc_1w(AppState& app);
/// Redundancies; false only when the base is externally inconsistent.
bool testuj_nadmiar_1(AppState& app);
/// Joint rule-constraint inconsistencies; false when some were found.
bool testuj_sprzecznosc_2(AppState& app);
/// Joint rule-constraint redundancies; never blocks.
bool testuj_nadmiar_2(AppState& app);

}  // namespace torv::verify
