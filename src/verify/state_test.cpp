// The state test of conclusion exclusivity.
#include "verify/state_test.h"

#include <algorithm>

#include "kb/store.h"

namespace torv::verify {

bool ExclusionOutcome::no(Exclusion opcja) const {
    switch (opcja) {
    case Exclusion::ToOne: return wykluczenie_do_jednego_no;
    case Exclusion::ToNone: return wykluczenie_do_zadnego_no;
    case Exclusion::NonExclusion: return wykluczenie_no;
    }
    return false;
}

StateTest::StateTest(const kb::Store& store) : store_(store), constraintBase_(store.nazwa_og.has_value()) {
    const auto& exclusive = store.modelBase().exclusive_models;
    for (std::size_t i = 0; i < exclusive.size(); ++i)
        for (const auto& w : exclusive[i].warunki) exclusiveOf_.emplace(w, i);
    const auto& constraints = store.constraints();
    for (std::size_t i = 0; i < constraints.size(); ++i)
        for (const auto& w : constraints[i].warunki) constraintOf_.emplace(w, i);
}

std::vector<Names> StateTest::wyznacz_ograniczenia_dla_prawdy(const Names& prawda) const {
    std::vector<Names> out;
    for (const auto& x : prawda) {
        if (auto it = exclusiveOf_.find(x); it != exclusiveOf_.end()) {
            out.push_back(store_.modelBase().exclusive_models[it->second].warunki);
            continue;
        }
        Names l{kb::negacja(x)};
        if (!constraintBase_) {
            if (std::find(out.begin(), out.end(), l) == out.end()) out.push_back(std::move(l));
            continue;
        }
        // A condition in no constraint excludes only its negation: the
        // members of an unrelated constraint do not belong here.
        if (auto it = constraintOf_.find(x); it != constraintOf_.end()) {
            const auto& members = store_.constraints()[it->second].warunki;
            l.insert(l.end(), members.begin(), members.end());
        }
        out.push_back(std::move(l));
    }
    return out;
}

StateOfWorld StateTest::wybierz_prawde(const Names& prawda) const {
    StateOfWorld s;
    s.prawda_w.insert(prawda.begin(), prawda.end());
    s.ograniczenie_dla_prawdy = wyznacz_ograniczenia_dla_prawdy(prawda);
    for (const auto& l : s.ograniczenie_dla_prawdy) s.excluded.insert(l.begin(), l.end());
    return s;
}

bool StateTest::czy_jest_prawda_w(const Names& flat, const StateOfWorld& state) {
    const bool nothingExcluded = state.ograniczenie_dla_prawdy.empty();
    for (const auto& c : flat) {
        if (state.prawda_w.count(c)) continue;
        if (state.excluded.count(c) || !nothingExcluded) return false;
    }
    return true;
}

ExclusionOutcome StateTest::testuj(Exclusion opcja, const std::vector<RuleToTest>& reguly,
                                   const std::vector<Names>& generujace) const {
    // Once a state excludes anything, a rule fires exactly when all its
    // conditions hold: counting the holding conditions of each rule through
    // an index keeps a state's cost to the rules it touches.
    std::unordered_map<std::string, std::vector<std::size_t>> withCondition;
    std::vector<std::size_t> distinct(reguly.size(), 0);
    std::size_t alwaysFire = 0;
    for (std::size_t i = 0; i < reguly.size(); ++i) {
        std::unordered_set<std::string> seen;
        for (const auto& c : reguly[i].flat)
            if (seen.insert(c).second) withCondition[c].push_back(i);
        distinct[i] = seen.size();
        if (seen.empty()) ++alwaysFire;
    }

    ExclusionOutcome out;
    std::vector<std::size_t> count(reguly.size(), 0);
    std::vector<std::size_t> touched;
    for (const Names& g : generujace) {
        ++out.states;
        const StateOfWorld state = wybierz_prawde(g);
        std::size_t firing = 0;
        if (state.ograniczenie_dla_prawdy.empty()) {
            for (const auto& r : reguly) firing += czy_jest_prawda_w(r.flat, state) ? 1 : 0;
        } else {
            firing = alwaysFire;
            for (const auto& c : state.prawda_w) {
                auto it = withCondition.find(c);
                if (it == withCondition.end()) continue;
                for (std::size_t i : it->second) {
                    if (count[i]++ == 0) touched.push_back(i);
                    if (count[i] == distinct[i]) ++firing;
                }
            }
            for (std::size_t i : touched) count[i] = 0;
            touched.clear();
        }
        switch (opcja) {
        case Exclusion::ToOne: out.wykluczenie_do_jednego_no = out.wykluczenie_do_jednego_no || firing != 1; break;
        case Exclusion::ToNone: out.wykluczenie_do_zadnego_no = out.wykluczenie_do_zadnego_no || firing != 1; break;
        case Exclusion::NonExclusion: out.wykluczenie_no = out.wykluczenie_no || firing > 1; break;
        }
        if (out.no(opcja)) break;
    }
    return out;
}

bool testowanie_obecnosci_wspolnych_warunkow(const std::vector<RuleToTest>& reguly) {
    if (reguly.empty()) return false;
    std::unordered_set<std::string> common(reguly.front().flat.begin(), reguly.front().flat.end());
    for (std::size_t i = 1; i < reguly.size() && !common.empty(); ++i) {
        const std::unordered_set<std::string> here(reguly[i].flat.begin(), reguly[i].flat.end());
        std::erase_if(common, [&](const std::string& c) { return !here.count(c); });
    }
    return !common.empty();
}

bool testowanie_roznej_liczby_warunkow(const std::vector<RuleToTest>& reguly) {
    return std::any_of(reguly.begin(), reguly.end(),
                       [&](const RuleToTest& r) { return r.flat.size() != reguly.front().flat.size(); });
}

}  // namespace torv::verify
