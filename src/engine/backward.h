// Backward chaining: from a hypothesis back to the facts that decide it,
// asking the user only what the search needs.
#pragma once

#include <cstdint>
#include <string>

#include "state/lists.h"

namespace torv { struct AppState; }

namespace torv::engine {

/// Thrown by blokowanie: the run stops at once, without a verdict. The
/// command catches it; anyone else calling the search must let it pass.
struct RunStopped {};

/// The backward-chaining command (option 12): the gate, the preparation of
/// a run, the choice of a hypothesis and its verification. port::EndProgram
/// from a dialog passes through.
void wnioskowanie_wstecz(AppState& app);

/// opcja_z_menu_testowania: 1 narrow-sense, 2 wide-sense hypothesis; lists
/// the hypotheses, lets the user pick one and verifies it. False when the
/// hypothesis is not verified (or none was picked).
bool opcja_z_menu_testowania(AppState& app, int opcja);

/// The hypotheses offered for option 1 or 2, sorted, "end" left out.
Names wyznacz_liste_hipotez(const AppState& app, int opcja);

/// weryfikowanie_hipotezy: presents the bases' facts and known values and,
/// unless two facts exclude each other, records them and verifies H
/// (weryfikowanie_hipotezy_cd_0), then gives the verdict; true when H is
/// verified.
bool weryfikowanie_hipotezy(AppState& app, const std::string& hipoteza);

/// weryfikowanie_hipotezy_cd: searches for a proof of the goal literal,
/// through what is established, questions, rules, models and "end", in that
/// order; true when the goal is established true. The search keeps its own
/// stack, so long rule chains do not deepen the call stack, and it does not
/// take a rule or model up again beneath itself. May throw
/// RunStopped and port::EndProgram.
bool weryfikowanie_hipotezy_cd(AppState& app, const std::string& goal);

/// pamietaj_wstecz: records an established literal in rbd_wstecz with its
/// constraint consequences. A positive literal replaces its recorded
/// negation; false when a negative literal meets its recorded positive.
bool pamietaj_wstecz(AppState& app, const std::string& literal);

/// uzupelnij_ograniczenia: the constraint consequences of a literal just
/// established (each consequence is established with its own).
void uzupelnij_ograniczenia(AppState& app, const std::string& literal);

/// pytaj: asks an askable condition with "&YES", "&NO" and "&WHY?", records
/// the answer; true for yes.
bool pytaj(AppState& app, const std::string& warunek);

/// komunikat: announces a resolved goal, main or auxiliary hypothesis.
void komunikat(AppState& app, const std::string& goal);

/// blokowanie: removes the relational model from the model base, greys
/// both chaining commands and stops the run (throws RunStopped).
[[noreturn]] void blokowanie(AppState& app, std::int32_t numer);

// ---- the texts of the WHY? answer ----
/// The rules taken up so far, newest first.
void przebieg_wnioskowania_reguly(AppState& app);
/// The models applied so far, newest first.
void przebieg_wnioskowania_modele(AppState& app);
/// The literals established and the arguments determined so far.
void przedstawienie_faktow_dla_wyjasnienia(AppState& app);

}  // namespace torv::engine
