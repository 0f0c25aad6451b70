// Backward chaining.
#include "engine/backward.h"

#include "shell/app_state.h"

namespace torv::engine {

void wnioskowanie_wstecz(AppState&) {}

bool weryfikowanie_hipotezy_cd(AppState&, const std::string&) { return false; }

}  // namespace torv::engine
