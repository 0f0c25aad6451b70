// Model evaluation: the value of an argument (asked, determined, literal or
// computed on demand by the models), the go-ahead condition of a model, the
// application of arithmetic and relational models, and the check of typed
// values against the "Error in data" models.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "state/chaining_state.h"
#include "state/lists.h"
#include "kb/store.h"

namespace torv { struct AppState; }

namespace torv::engine {

/// Proves a go-ahead condition that is neither known nor askable. Only
/// backward chaining has one (its own search, while a hypothesis is tested);
/// without it such a condition does not hold.
using ConditionProver = std::function<bool(const std::string&)>;

// A model's kind is decided by its operation (jest_relacja and
// jest_relacja_podwojna, askables.h).
/// A basic model whose operation is not a relation or double relation.
bool jest_model_b_arytmetyczny(const kb::ModelB& m);
/// An extended model whose operation is not a relation or double relation.
bool jest_model_e_arytmetyczny(const kb::ModelE& m);
/// An extended relational model: a double relation over three arguments.
bool jest_model_e_relacyjny(const kb::ModelE& m);

/// The first determined value of the argument, or null.
const ZmiennaUstalona* wartosc_ustalona(const ChainingState& s, std::string_view argument);
/// The model is in model_stosowany.
bool model_zastosowany(const ChainingState& s, std::int32_t numer);

/// oblicz: the value of an argument now — a literal, a value asked through
/// the "Argument value" dialog, a determined value, or the result of the
/// first arithmetic model (basic, extended, linear, polynomial, record order)
/// whose go-ahead condition holds, applied on demand (on an explicit stack,
/// so a chain of any length is fine; models needing each other's results in
/// a circle are not applied). nullopt when no value can be had in this pass.
/// port::EndProgram passes through.
std::optional<double> oblicz(AppState& app, const std::string& argument, const ConditionProver& prove = {});

/// sprawdz: the go-ahead condition holds; may ask it, or have `prove`
/// verify it while a hypothesis is active.
bool sprawdz(AppState& app, const std::string& goAhead, const ConditionProver& prove = {});

/// wyznacz_liste: oblicz on each name, first to last; the values come out in
/// reverse order of the names. nullopt when one has no value.
std::optional<std::vector<double>> wyznacz_liste(AppState& app, const Names& argumenty,
                                                const ConditionProver& prove = {});
/// odwracanie_r: the list reversed.
std::vector<double> odwracanie_r(std::vector<double> lista);

/// szukanie_blednych_danych: after a typed value, applies the first
/// "Error in data" relational model that holds; true when it found
/// erroneous data (its values are removed again and will be asked anew).
bool szukanie_blednych_danych(AppState& app, const ConditionProver& prove = {});

/// Applies an arithmetic model whose go-ahead condition has been found to
/// hold: when it is not yet applied and its result has no value, evaluates
/// its arguments, computes, presents the determined values, explains it and
/// records model_stosowany and zmienna_ustalona. The value, or nullopt when
/// the model is not applied in this pass.
std::optional<double> zastosuj_model_arytmetyczny(AppState& app, kb::Store::ModelRef model,
                                                 const ConditionProver& prove = {});

/// Evaluates the arguments of a relational model (basic with a relation, or
/// extended with a double relation over three arguments) and tests the
/// relation; records nothing. nullopt when an argument has no value now.
std::optional<bool> ocen_model_relacyjny(AppState& app, kb::Store::ModelRef model,
                                         const ConditionProver& prove = {});

/// testuj_relacje / testuj_relacje_r: the conclusion when the relation
/// holds, else its complement when the conclusion is not decided; nullopt
/// when the model is not applied in this pass.
std::optional<std::string> testuj_relacje(AppState& app, std::string_view relacja, double a, double b,
                                          const std::string& wniosek);
std::optional<std::string> testuj_relacje_r(AppState& app, std::string_view relacja, double a, double b,
                                            double c, const std::string& wniosek);

/// inne_warunki_stosowania_modelu: some other relational model (basic or
/// extended) than `numer` concludes `wniosek`.
bool inne_warunki_stosowania_modelu(const AppState& app, std::int32_t numer, const std::string& wniosek);

}  // namespace torv::engine
