// Load-time diagnoses. Not yet realised: each finds nothing.
#include "verify/load_offers.h"

namespace torv::verify {

bool testuj_sprzecznosc_1z(AppState&) { return true; }
bool testuj_sprzecznosc_1w(AppState&) { return true; }
bool testuj_nadmiar_1(AppState&) { return true; }
bool informuj_sprzecznosc_mz(AppState&) { return true; }
bool informuj_sprzecznosc_mr(AppState&) { return true; }
bool testuj_sprzecznosc_2(AppState&) { return true; }
bool testuj_nadmiar_2(AppState&) { return true; }

}  // namespace torv::verify
