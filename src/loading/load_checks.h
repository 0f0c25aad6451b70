// Load-time checks of the bases: numbering, askability of declared facts,
// arguments and constraint members, single conditions, tautologies, shared
// conclusions, media directories. Each reports its fault itself; false means the load stops.
#pragma once

namespace torv { struct AppState; }

namespace torv::kb {

bool testuj_numery_regul(AppState& app);
bool testuj_numery_modeli(AppState& app);
bool testuj_numery_ograniczen(AppState& app);
bool testuj_numery_rad(AppState& app);
/// Unloads the rule base when a declared fact is not askable.
bool testowanie_dopytywalnosci_faktow(AppState& app);
/// Warns only.
void wykrywanie_warunkow_pojedynczych(AppState& app);
/// Unloads rule and model bases when they share conclusions or names.
bool wnioski_modeli_a_wnioski_regul(AppState& app);
/// Unloads the model base when a known argument is not askable.
bool testowanie_dopytywalnosci_argumentow(AppState& app);
/// Warns only.
void wykrywanie_modeli_tautologicznych(AppState& app);
/// Unloads the constraint base when a constraint has fewer than two conditions.
bool wykrywanie_ograniczen_pojedynczych(AppState& app);
/// Unloads the constraint base when a member is not askable.
bool kontrola_dopytywalnosci_ograniczen(AppState& app);

/// The directory checks made when a media base is loaded; each reports a
/// missing directory and clears the base's records.
bool sa_pliki_rad(AppState& app);
bool sa_pliki_grafiki(AppState& app);
bool sa_pliki_melodii(AppState& app);
/// wyznacz_nazwe_opisu: records the abstract's path from `wyroznik`.
void wyznacz_nazwe_opisu(AppState& app);

}  // namespace torv::kb
