// Askables. Not yet computed: each step succeeds so loading goes on.
#include "engine/askables.h"

namespace torv::engine {

bool wyznacz_liste_faktow(AppState&) { return true; }
bool pamietaj_dopytywalne_regul(AppState&) { return true; }
bool pamietaj_dopytywalne_modeli(AppState&) { return true; }

}  // namespace torv::engine
