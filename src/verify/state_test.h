// The state test of conclusion exclusivity: each chosen flattening is taken
// in turn as a state of the world in which its conditions hold, and the
// chosen rules that fire in that state are counted. Shared by the
// exclusivity commands and the same-results test with a constraint base.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "state/findings.h"

namespace torv::kb { class Store; }

namespace torv::verify {

/// regula_do_testowania: a chosen rule and the flattening it is tested with.
struct RuleToTest {
    std::int32_t numer = 0;
    std::string wniosek;
    Names flat;
    bool operator==(const RuleToTest&) const = default;
};

/// opcja: the question the states answer.
enum class Exclusion {
    ToOne = 1,         // always exactly one conclusion
    ToNone = 2,        // (asked as "to one")
    NonExclusion = 3,  // never more than one conclusion
};

/// The "NO" records the states left: wykluczenie_do_jednego,
/// wykluczenie_do_zadnego, wykluczenie.
struct ExclusionOutcome {
    bool wykluczenie_do_jednego_no = false;
    bool wykluczenie_do_zadnego_no = false;
    bool wykluczenie_no = false;
    std::uint64_t states = 0;   // states run before the answer was settled
    /// The question's own record.
    bool no(Exclusion opcja) const;
};

/// One state of the world: prawda_w and ograniczenie_dla_prawdy.
struct StateOfWorld {
    std::unordered_set<std::string> prawda_w;
    std::vector<Names> ograniczenie_dla_prawdy;
    /// Every name of every excluded list.
    std::unordered_set<std::string> excluded;
};

/// The machinery over one store; the constraint base counts when its name
/// is recorded. Keeps a reference to the store, which must outlive it.
class StateTest {
public:
    explicit StateTest(const kb::Store& store);

    /// uznaj_za_prawde_w and wyznacz_ograniczenia_dla_prawdy: the state in
    /// which the conditions of `prawda` hold.
    StateOfWorld wybierz_prawde(const Names& prawda) const;
    /// wyznacz_ograniczenia_dla_prawdy: for each condition, in order, the
    /// first of: the first exclusive_models list holding it; without a
    /// constraint base, its negation alone (once); with one, its negation
    /// followed by the first constraint holding it (or alone).
    std::vector<Names> wyznacz_ograniczenia_dla_prawdy(const Names& prawda) const;
    /// czy_jest_prawda_w: every condition holds, or, when the state excludes
    /// nothing at all, is not excluded.
    static bool czy_jest_prawda_w(const Names& flat, const StateOfWorld& state);

    /// testuj: runs the state of every generating flattening, in order, and
    /// counts the chosen rules firing in each (testuj_reguly). States after
    /// the one that settles the question's record are not run: they cannot
    /// change it.
    ExclusionOutcome testuj(Exclusion opcja, const std::vector<RuleToTest>& reguly,
                            const std::vector<Names>& generujace) const;

private:
    const kb::Store& store_;
    bool constraintBase_;
    /// condition -> first exclusive_models list / constraint holding it
    std::unordered_map<std::string, std::size_t> exclusiveOf_, constraintOf_;
};

/// testowanie_obecnosci_wspolnych_warunkow: all chosen flattenings share a condition.
bool testowanie_obecnosci_wspolnych_warunkow(const std::vector<RuleToTest>& reguly);
/// testowanie_roznej_liczby_warunkow: the chosen flattenings differ in length.
bool testowanie_roznej_liczby_warunkow(const std::vector<RuleToTest>& reguly);

}  // namespace torv::verify
