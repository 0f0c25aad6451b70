// Load-time diagnoses of the model and constraint bases. Not yet realised:
// each finds nothing. The rule-base offers live with their diagnoses
// (external.cpp, internal.cpp, redundancy.cpp).
#include "verify/load_offers.h"

namespace torv::verify {

bool informuj_sprzecznosc_mz(AppState&) { return true; }
bool informuj_sprzecznosc_mr(AppState&) { return true; }
bool testuj_sprzecznosc_2(AppState&) { return true; }
bool testuj_nadmiar_2(AppState&) { return true; }

}  // namespace torv::verify
