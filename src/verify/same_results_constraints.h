// Models with the same results against the constraint base: the rules that
// conclude the go-ahead conditions of such models must have mutually
// exclusive conclusions, counting the constraints. Run at constraint-base
// load (and at model-base load while a constraint base is loaded).
#pragma once

#include <optional>
#include <vector>

#include "verify/state_test.h"

namespace torv { struct AppState; }
namespace torv::kb { class Store; }

namespace torv::verify {

class FlatteningBase;

/// The rules queued for one group of models with the same result whose
/// conclusions were found not exclusive, or nothing when every group passes.
std::optional<std::vector<RuleToTest>> znajdz_reguly_niewykluczajace(const kb::Store& store, FlatteningBase& base);

/// testuj_wyniki_wszystkich_modeli_z_og: false, after its note and report
/// lines, when the rules of some group are not exclusive; the verdict is
/// kept for the chaining gate.
bool testuj_wyniki_wszystkich_modeli_z_og(AppState& app);

}  // namespace torv::verify
