// Load-time checks. Not yet realised: each lets the load go on.
#include "kb/load_checks.h"

namespace torv::kb {

bool testuj_numery_regul(AppState&) { return true; }
bool testuj_numery_modeli(AppState&) { return true; }
bool testuj_numery_ograniczen(AppState&) { return true; }
bool testuj_numery_rad(AppState&) { return true; }
bool testowanie_dopytywalnosci_faktow(AppState&) { return true; }
void wykrywanie_warunkow_pojedynczych(AppState&) {}
bool wnioski_modeli_a_wnioski_regul(AppState&) { return true; }
bool testowanie_dopytywalnosci_argumentow(AppState&) { return true; }
void wykrywanie_modeli_tautologicznych(AppState&) {}
bool wykrywanie_ograniczen_pojedynczych(AppState&) { return true; }
bool kontrola_dopytywalnosci_ograniczen(AppState&) { return true; }

}  // namespace torv::kb
