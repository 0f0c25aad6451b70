// Model-base structure tests and the same-results test, run at load.
#pragma once

namespace torv { struct AppState; }

namespace torv::engine {

/// The operation/relation checks of basic and extended models and the
/// list-length checks of linear and polynomial models, in that order.
bool testuj_strukture_modeli(AppState& app);
/// Models with the same result against the constraint base.
bool testuj_wyniki_wszystkich_modeli_z_og(AppState& app);

}  // namespace torv::engine
