// The model alternatives of forward chaining's main loop: after the rules,
// the arithmetic models (basic, extended, linear, polynomial) and then the
// relational models (basic, extended), each kind in record order.
#pragma once

namespace torv { struct AppState; }

namespace torv::engine {

/// Each applies the first model of its kind that can be applied now and
/// returns true; false when none can. The go-ahead condition is checked
/// (and may be asked) first, even when the model is then passed over.
bool alternatywa_modele_b_arytmetyczne(AppState& app);   // B
bool alternatywa_modele_e_arytmetyczne(AppState& app);   // C
bool alternatywa_modele_liniowe(AppState& app);          // D
bool alternatywa_modele_wielomianowe(AppState& app);     // E
/// Relational models decide their conclusion or its complement and offer
/// advice, graphics and sound for it.
bool alternatywa_modele_b_relacyjne(AppState& app);      // F
bool alternatywa_modele_e_relacyjne(AppState& app);      // G

}  // namespace torv::engine
