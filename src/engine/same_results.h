// Models with the same results: several models computing one result must
// not be able to apply together, so their go-ahead conditions have to be
// mutually exclusive through the rules or declared exclusive. The test
// without a constraint base, run at model-base load and by the chaining gate.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace torv { struct AppState; }
namespace torv::kb { class Store; }

namespace torv::engine {

/// The model families, in the order their checks run.
enum class Family { Basic, Extended, Linear, Polynomial };

/// One of the ten checks: a mixed pair, or one family alone (second == first).
struct SameResultsCheck {
    Family first;
    Family second;
    const char* heading;
};
/// The ten checks in their order: the six mixed pairs, then each family.
const std::vector<SameResultsCheck>& checks_of_same_results();

/// A model computing a result, as the checks see it.
struct ResultModel {
    Family family;
    std::int32_t numer;
    const std::string* warunek;   // go-ahead condition
    const std::string* wynik;
};
/// The arithmetic models of every family, each family in record order.
std::vector<ResultModel> models_with_results(const kb::Store& store);

/// wykluczenie_regulowe, with its answers remembered: many models with one
/// result ask about the same pairs of go-ahead conditions again and again.
class RuleExclusion {
public:
    explicit RuleExclusion(const kb::Store& store) : store_(store) {}
    /// True when B is the negation of A, or when A and B are concluded by
    /// two different rules one of whose conditions is the negation of one
    /// of the other's.
    bool operator()(const std::string& a, const std::string& b);

private:
    const kb::Store& store_;
    std::map<std::pair<std::string, std::string>, bool> known_;
};

/// wykluczenie_regulowe (A, B) on its own.
bool wykluczenie_regulowe(const kb::Store& store, const std::string& a, const std::string& b);

/// The first failing check and the two models that fail it.
struct SameResultsFault {
    std::size_t check;   // index into checks_of_same_results()
    std::int32_t first;
    std::int32_t second;
};
/// The ten checks over the store, whatever bases are loaded.
std::optional<SameResultsFault> find_same_results_fault(const kb::Store& store);

/// The note a failing check shows.
std::string same_results_note(const SameResultsFault& fault);

/// testuj_wyniki_wszystkich_modeli_bez_ograniczen: true at once without a
/// model base, and with a constraint base loaded (whose load tested the
/// models against it: the verdict of that test stands); otherwise the ten
/// checks, and a failing one shows its note.
bool testuj_wyniki_wszystkich_modeli_bez_ograniczen(AppState& app);

}  // namespace torv::engine
