// Model-base structure tests, run at load.
#pragma once

namespace torv { struct AppState; }

namespace torv::engine {

/// Each reports its first faulty model ("Attention error!") and fails.
/// Basic models: an operation or relation outside the basic list.
bool testuj_operacje_relacje_modeli_elementarnych(AppState& app);
/// Extended models: an operation or double relation outside the extended list.
bool testuj_operacje_relacje_modeli_rozwinietych(AppState& app);
/// Linear models: coefficient and variable lists of different length.
bool testuj_listy_modeli_liniowych(AppState& app);
/// Polynomial models: coefficient and power lists of different length.
bool testuj_listy_modeli_wielomianowych(AppState& app);

/// The four tests above in that order; on the first failure the whole model
/// base (models, known arguments, m_facts and its name) is discarded.
bool testuj_strukture_modeli(AppState& app);

}  // namespace torv::engine
