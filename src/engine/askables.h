// Askable conditions and arguments, computed when bases are loaded.
#pragma once

namespace torv { struct AppState; }

namespace torv::engine {

/// wyznacz_liste_faktow: the askable conditions counted as facts.
bool wyznacz_liste_faktow(AppState& app);
/// The rule-base askables: wyznacz_warunki_dopytywalne, then
/// pamietaj_liste_dopytywalnych and pamietaj_warunki_dopytywalne.
bool pamietaj_dopytywalne_regul(AppState& app);
/// The model lists (arguments, conclusions, go-ahead conditions, results)
/// and the joint askable conditions and arguments.
bool pamietaj_dopytywalne_modeli(AppState& app);

}  // namespace torv::engine
