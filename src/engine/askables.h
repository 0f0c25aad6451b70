// Askable conditions and arguments: computed from the bases when they are
// loaded, and shown by the inspection commands.
#pragma once

#include <string>

#include "state/askables.h"

namespace torv { struct AppState; }
namespace torv::kb { class Store; }

namespace torv::engine {

/// True for the relations of basic models (">", "==", ...).
bool jest_relacja(const std::string& operation);
/// True for the double relations of extended models ("<,<", ...).
bool jest_relacja_podwojna(const std::string& operation);

/// wyznacz_warunki_dopytywalne: the rule-base askables, unsorted, and the
/// condition and conclusion lists they come from.
Names wyznacz_warunki_dopytywalne(const kb::Store& store, Askables& a);

/// wyznacz_liste_faktow: the askable conditions counted as facts.
bool wyznacz_liste_faktow(AppState& app);
/// The rule-base askables: wyznacz_warunki_dopytywalne, then
/// pamietaj_liste_dopytywalnych and pamietaj_warunki_dopytywalne.
bool pamietaj_dopytywalne_regul(AppState& app);
/// The model lists (arguments, conclusions, go-ahead conditions, results)
/// and the joint askable conditions and arguments.
bool pamietaj_dopytywalne_modeli(AppState& app);

// Inspection commands of the askables.
/// 10067 "Askable conditions".
void pokaz_dopytywalne_regul(AppState& app);
/// 10083 "Model Base askable conditions and arguments".
void pokaz_dopytywalne_modeli(AppState& app);
/// 10084 "Joint Model- and Rule Base askable conditions and arguments".
void pokaz_dopytywalne_wspolne(AppState& app);

}  // namespace torv::engine
