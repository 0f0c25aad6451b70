// Models with the same results against the constraint base.
#include "verify/same_results_constraints.h"

#include <algorithm>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "engine/same_results.h"
#include "kb/store.h"
#include "port/user_port.h"
#include "state/app_state.h"
#include "verify/flattening.h"
#include "verify/model_inconsistency.h"

namespace torv::verify {

namespace {

using engine::Family;
using engine::ResultModel;

/// znajdz_reguly: the rules whose first flattenings stand for the go-ahead
/// conditions of one group.
class RuleFinder {
public:
    RuleFinder(const kb::Store& store, FlatteningBase& base) : store_(store), base_(base) {
        for (const auto& x : store.modelBase().model_b)
            if (model_relacyjny(x)) relational_.insert(x.wynik);
        for (const auto& x : store.modelBase().model_e)
            if (model_relacyjny(x)) relational_.insert(x.wynik);
    }

    void queue(const std::string& g, std::vector<RuleToTest>& out, std::unordered_set<const kb::Rule*>& queued) {
        // A relational model decides the condition by itself.
        if (relational_.count(g) || relational_.count(kb::negacja(g))) return;
        auto rules = store_.rulesByConclusion(g);
        if (rules.empty()) rules = store_.rulesByConclusion(kb::negacja(g));
        for (const kb::Rule* r : rules) {
            if (!queued.insert(r).second) continue;
            if (const Names* flat = first(*r)) out.push_back({r->numer, r->wniosek, *flat});
        }
    }

private:
    const Names* first(const kb::Rule& r) {
        auto [it, added] = firsts_.try_emplace(&r);
        if (added) {
            Splaszcz gen(base_, r);
            if (gen.next()) it->second = gen.flatNames();
        }
        return it->second ? &*it->second : nullptr;
    }

    const kb::Store& store_;
    FlatteningBase& base_;
    std::unordered_set<std::string> relational_;
    std::unordered_map<const kb::Rule*, std::optional<Names>> firsts_;
};

}  // namespace

std::optional<std::vector<RuleToTest>> znajdz_reguly_niewykluczajace(const kb::Store& store, FlatteningBase& base) {
    const std::vector<ResultModel> models = engine::models_with_results(store);
    // lista_war_stos_modeli_o_tych_samych_wynikach per family and result
    std::unordered_map<std::string, std::vector<const ResultModel*>> byResult[4];
    std::vector<const std::string*> order[4];
    for (const auto& m : models) {
        auto& list = byResult[static_cast<int>(m.family)][*m.wynik];
        if (list.empty()) order[static_cast<int>(m.family)].push_back(m.wynik);
        list.push_back(&m);
    }
    RuleFinder finder(store, base);
    const StateTest states(store);
    std::set<std::vector<std::string>> nie_testowac;   // groups of go-ahead conditions already tested

    for (const auto& check : engine::checks_of_same_results()) {
        const int f1 = static_cast<int>(check.first), f2 = static_cast<int>(check.second);
        for (const std::string* r : order[f1]) {
            auto other = byResult[f2].find(*r);
            if (other == byResult[f2].end()) continue;
            Names goAheads;
            auto add = [&](const std::vector<const ResultModel*>& ms) {
                for (const ResultModel* m : ms)
                    if (std::find(goAheads.begin(), goAheads.end(), *m->warunek) == goAheads.end())
                        goAheads.push_back(*m->warunek);
            };
            add(byResult[f1].at(*r));
            if (f2 != f1) add(other->second);
            if (goAheads.size() < 2) continue;
            Names key = goAheads;
            std::sort(key.begin(), key.end());
            if (!nie_testowac.insert(key).second) continue;

            std::vector<RuleToTest> queued;
            std::unordered_set<const kb::Rule*> seen;
            for (const auto& g : goAheads) finder.queue(g, queued, seen);
            std::vector<Names> generating;
            for (const auto& q : queued) generating.push_back(q.flat);
            if (states.testuj(Exclusion::NonExclusion, queued, generating).wykluczenie_no) return queued;
        }
    }
    return std::nullopt;
}

bool testuj_wyniki_wszystkich_modeli_z_og(AppState& app) {
    app.verdicts.sameResultsNotExclusive = false;
    if (!app.store.nazwa_mo) return true;
    FlatteningBase base(app.store, app.askables);
    const auto rules = znajdz_reguly_niewykluczajace(app.store, base);
    if (!rules) return true;
    app.verdicts.sameResultsNotExclusive = true;

    std::string note = "\nConclusions of the following rules, which serve as go-ahead conditions "
                       "for models with the same result, are not mutually exclusive: ";
    auto& r = app.report;
    r.pisz("Conclusions of the following rules are not mutually exclusive:");
    r.piszcr();
    for (const auto& q : *rules) {
        const std::string line = "Rule number:  " + std::to_string(q.numer) + "    Conclusion:  " + q.wniosek;
        note += "\n" + line;
        r.pisz(line);
        r.piszcr();
    }
    app.port.note(port::titles::kAttention, note);
    r.pisz("\nThe loaded rule, model and constraint bases may not be used ");
    r.pisz("for chaining. ");
    r.piszcr();
    r.pisz("Enter the proper base editing option and correct one or all of them.");
    r.piszcr();
    app.port.note(port::titles::kAttention, "The loaded rule, model and constraint bases may not be used for chaining."
                                            "\nEnter the proper base editing option and correct one or all of them.");
    return false;
}

}  // namespace torv::verify
