// Model-base inconsistencies: arithmetic models whose result is one of their
// own arguments, directly or through the models that compute those
// arguments, and relational models that conclude their own go-ahead
// condition. The tests, the informing at load and the diagnostic report.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "state/findings.h"

namespace torv { struct AppState; }
namespace torv::kb { class Store; struct ModelB; struct ModelE; }
namespace torv::port { class Progress; }

namespace torv::verify {

/// lista_argumentow_modelu_arytmetycznego: one arithmetic model's number,
/// result and arguments.
struct ArgumentList {
    std::int32_t numer = 0;
    std::string wynik;
    Names argumenty;
    bool operator==(const ArgumentList&) const = default;
};

/// The model kinds these diagnoses test: a basic or extended model is
/// arithmetic or relational by its operation.
bool model_arytmetyczny(const kb::ModelB& m);
bool model_arytmetyczny(const kb::ModelE& m);
bool model_relacyjny(const kb::ModelB& m);
bool model_relacyjny(const kb::ModelE& m);

/// The argument lists of every arithmetic model: basic, extended, linear,
/// polynomial, each in record order.
std::vector<ArgumentList> listy_argumentow(const kb::Store& store);

/// Work bounds of the nested search. Only circles of models give findings,
/// and a long circle gives one finding per model with a chain as long as the
/// circle; the bounds keep such a base from filling memory.
struct ModelSearchLimits {
    std::uint64_t steps = 50'000'000;
    std::size_t findings = 100'000;
    std::size_t chainNumbers = 10'000'000;
};

struct ModelSearchStats {
    std::uint64_t steps = 0;     // models examined in the nested search
    std::uint64_t searches = 0;  // models whose nested search ran at all
};

/// badaj_sprzecznosc_modeli_arytmetycznych without the state: the direct and
/// indirect findings, in the order the search meets them; reports to
/// `progress`, if given (port::Cancelled when stopped).
ModelSearchStats badaj_modele_arytmetyczne(const kb::Store& store, ModelFindings& out,
                                           const ModelSearchLimits& limits = {}, port::Progress* progress = nullptr);
/// badaj_sprzecznosc_modeli_relacyjnych without the state.
void badaj_modele_relacyjne(const kb::Store& store, ModelFindings& out);

/// Both tests: fills the findings and the three verdicts. Run while a model
/// base loads, they throw port::Cancelled when the user stops them.
ModelSearchStats badaj_sprzecznosc_modeli(AppState& app);
/// informuj_sprzecznosc_mz: runs both tests; false, after informing, when
/// the model base is inconsistent (its name is then forgotten).
bool informuj_sprzecznosc_mz(AppState& app);
/// "Diagnosing Model Base inconsistencies" (10088): the arithmetic and the
/// relational report; an inconsistent model base is deleted after it.
void pisz_sprzecznosc_modeli(AppState& app);
void pisz_sprzecznosc_modeli_arytmetycznych(AppState& app);
void pisz_sprzecznosc_modeli_relacyjnych(AppState& app);

}  // namespace torv::verify
