// What forward and backward chaining share: asking conditions, recording
// constraint choices, presenting facts and values, the exclusivity check of
// declared facts, the offers of advice, graphics and sound, and labels.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "kb/name.h"
#include "state/lists.h"

namespace torv { struct AppState; }

namespace torv::engine {

// ---- small queries ----
bool jest_fakt(const AppState& app);
bool jest_m_fakt(const AppState& app);
bool jest_argument_znany(const AppState& app);
/// jest_baza_re ... jest_baza_me: the loaded base's file name, or "".
std::string jest_baza_re(const AppState& app);
std::string jest_baza_mo(const AppState& app);
std::string jest_baza_og(const AppState& app);
std::string jest_baza_ra(const AppState& app);
std::string jest_baza_gr(const AppState& app);
std::string jest_baza_me(const AppState& app);
/// The joint askable conditions and arguments with a model base loaded,
/// else the rule base's askable conditions.
const Names& ogolna_lista_dopytywalnych(const AppState& app);
/// A basic or extended relational model with this number and conclusion.
bool jest_model_relacyjny(const AppState& app, std::int32_t numer, std::string_view wniosek);

// ---- questions ----
/// pytaj_o_warunek: asks an undecided askable condition, records the answer
/// and returns 'y' or 'n'. A constraint member is asked by picking the true
/// member of its constraint.
char pytaj_o_warunek(AppState& app, const std::string& warunek);
/// pytaj_o_warunek_stosowania: asks an undecided go-ahead condition; true
/// when it holds.
bool pytaj_o_warunek_stosowania(AppState& app, const std::string& warunek);
/// pamietaj_wybor: records the member chosen in a constraint; 'y' when the
/// choice makes the asked condition true.
char pamietaj_wybor(AppState& app, const Names& czlonkowie, const std::string& warunek,
                    const std::string& wybrany);
/// pamietaj_wybor_warunku_stosowania: the same for a go-ahead condition.
bool pamietaj_wybor_warunku_stosowania(AppState& app, const Names& czlonkowie, const std::string& warunek,
                                       const std::string& wybrany);

// ---- presentations ----
/// przedstawienie_faktow: the conditions decided since the last presentation
/// (high level of detail only).
void przedstawienie_faktow(AppState& app);
/// przedstawienie_zmiennych: the determined argument values, literals
/// excepted (high level of detail only).
void przedstawienie_zmiennych(AppState& app);
/// The bases' own facts, m_facts and known argument values at the start of
/// a run; the first two check declared facts for mutual exclusion.
void przedstawienie_faktow_pierwotnych(AppState& app);
void przedstawienie_m_faktow_pierwotnych(AppState& app);
void przedstawienie_zmiennych_pierwotnych(AppState& app);
/// testuj_wykluczajace / testuj_m_wykluczajace: reports the first other
/// declared fact that shares a constraint with this one.
void testuj_wykluczajace(AppState& app, const std::string& fakt);
void testuj_m_wykluczajace(AppState& app, const std::string& fakt);

// ---- offers after a conclusion of rule or relational model `numer` ----
void udziel_rady(AppState& app, std::int32_t numer, kb::Name wniosek);
void wyswietl_grafike(AppState& app, std::int32_t numer, kb::Name wniosek);
void przesluchaj_melodie(AppState& app, std::int32_t numer, kb::Name wniosek);

/// generuj_etykiety: asks for the summary labels of the coming run.
void generuj_etykiety(AppState& app);

}  // namespace torv::engine
