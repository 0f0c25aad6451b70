// Load-time diagnoses of the model base. Not yet realised: each finds
// nothing. The other offers live with their diagnoses (external.cpp,
// internal.cpp, redundancy.cpp, joint_inconsistency.cpp, joint_redundancy.cpp).
#include "verify/load_offers.h"

namespace torv::verify {

bool informuj_sprzecznosc_mz(AppState&) { return true; }
bool informuj_sprzecznosc_mr(AppState&) { return true; }

}  // namespace torv::verify
