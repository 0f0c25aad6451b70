// Forward chaining: from the declared facts to everything the knowledge
// base lets follow, one firing at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "kb/name.h"
#include "state/lists.h"

namespace torv { struct AppState; }

namespace torv::engine {

/// The forward-chaining command (option 11): the gate, the preparation of a
/// run, the fact declaration mode and the run to its end. port::EndProgram
/// from a dialog passes through.
void wnioskowanie_w_przod(AppState& app);

/// wybierz_tryb: 1 menu for choosing facts (falling back to 2), 2 querying
/// the user; anything else cancels.
void wybierz_tryb(AppState& app, int tryb);
/// przygotowanie_listy_faktow: the "Menu  for choosing facts" mode; false
/// when there was nothing to choose from.
bool przygotowanie_listy_faktow(AppState& app);
/// wnioskowanie: presents the bases' own facts and values, then goes on
/// unless two of the facts are mutually exclusive.
void wnioskowanie(AppState& app);
/// wnioskowanie_cd_0: records the bases' own facts and values, then runs
/// the main loop.
void wnioskowanie_cd_0(AppState& app);
/// wnioskowanie_cd: the main loop, until "end" is decided, nothing fires or
/// the user stops it (which ends the run without its closing).
void wnioskowanie_cd(AppState& app);

/// testuj_warunki: the marks 'y'/'n' of a rule's conditions, asking
/// undecided askable ones; the walk stops at the first 'n'. nullopt when a
/// derived condition is not decided yet.
std::optional<std::vector<char>> testuj_warunki(AppState& app, const kb::NameList& warunki);
/// generuj_wniosek: the conclusion, or its complement when a mark is 'n'.
kb::Name generuj_wniosek(const std::vector<char>& znaczniki, kb::Name wniosek);
/// zachowaj_wniosek: records the result of rule or relational model N,
/// settling conflicts with what is decided; false leaves the firing without
/// any presentation.
bool zachowaj_wniosek(AppState& app, std::int32_t numer, kb::Name wynik);
/// skasuj_zastosowane_reguly: re-opens every fired rule that uses the
/// condition or its complement.
void skasuj_zastosowane_reguly(AppState& app, kb::Name warunek);

}  // namespace torv::engine
