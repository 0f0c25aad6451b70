// Backward chaining: from a hypothesis back to the facts that decide it,
// asking the user only what the search needs.
#pragma once

#include <string>

namespace torv { struct AppState; }

namespace torv::engine {

/// The backward-chaining command (option 12): the gate, the preparation of
/// a run, the choice of a hypothesis and its verification. port::EndProgram
/// from a dialog passes through.
void wnioskowanie_wstecz(AppState& app);

/// weryfikowanie_hipotezy_cd: searches for a proof of the goal, through
/// rules, questions, constraints and models in turn; true when the goal is
/// proved.
bool weryfikowanie_hipotezy_cd(AppState& app, const std::string& goal);

}  // namespace torv::engine
