// Models with the same results, without a constraint base.
#include "engine/same_results.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "engine/models.h"
#include "kb/store.h"
#include "port/user_port.h"
#include "state/app_state.h"

namespace torv::engine {

const std::vector<SameResultsCheck>& checks_of_same_results() {
    using F = Family;
    static const std::vector<SameResultsCheck> table{
        {F::Basic, F::Extended, "The model base contains basic and extended models"},
        {F::Basic, F::Linear, "The model base contains  basic and linear models"},
        {F::Basic, F::Polynomial, "The model base contains basic and polynomial models"},
        {F::Extended, F::Linear, "The model base contains extended and linear  models"},
        {F::Extended, F::Polynomial, "The model base contains extended and polynomial  models"},
        {F::Linear, F::Polynomial, "The model base contains linear and polynomial  models"},
        {F::Basic, F::Basic, "The model base contains elementary  models"},
        {F::Extended, F::Extended, "The model base contains extended  models"},
        {F::Linear, F::Linear, "The model base contains linear models "},
        {F::Polynomial, F::Polynomial, "The model base contains polynomial models"},
    };
    return table;
}

std::vector<ResultModel> models_with_results(const kb::Store& store) {
    const auto& m = store.modelBase();
    std::vector<ResultModel> out;
    for (const auto& x : m.model_b)
        if (jest_model_b_arytmetyczny(x)) out.push_back({Family::Basic, x.numer, &x.warunek, &x.wynik});
    for (const auto& x : m.model_e)
        if (jest_model_e_arytmetyczny(x)) out.push_back({Family::Extended, x.numer, &x.warunek, &x.wynik});
    for (const auto& x : m.model_lin) out.push_back({Family::Linear, x.numer, &x.warunek, &x.wynik});
    for (const auto& x : m.model_poly) out.push_back({Family::Polynomial, x.numer, &x.warunek, &x.wynik});
    return out;
}

bool RuleExclusion::operator()(const std::string& a, const std::string& b) {
    if (kb::negacja(a, b)) return true;
    auto [it, added] = known_.try_emplace({a, b}, false);
    if (!added) return it->second;
    bool exclusive = false;
    const auto r2s = store_.rulesByConclusion(b);
    for (const kb::Rule* r1 : store_.rulesByConclusion(a)) {
        std::unordered_set<std::string> negated;
        for (const auto& c : r1->warunki) negated.insert(kb::negacja(c));
        for (const kb::Rule* r2 : r2s) {
            if (r2 == r1) continue;
            exclusive = std::any_of(r2->warunki.begin(), r2->warunki.end(),
                                    [&](const std::string& c) { return negated.count(c) != 0; });
            if (exclusive) break;
        }
        if (exclusive) break;
    }
    it->second = exclusive;
    return exclusive;
}

bool wykluczenie_regulowe(const kb::Store& store, const std::string& a, const std::string& b) {
    return RuleExclusion(store)(a, b);
}

namespace {

/// The models of one family grouped by result, results in order of first use.
struct Grouped {
    std::vector<const std::string*> results;
    std::unordered_map<std::string, std::vector<const ResultModel*>> byResult;
};

/// The first model of each go-ahead condition: models sharing one stand or
/// fall together.
std::vector<const ResultModel*> distinctGoAheads(const std::vector<const ResultModel*>& models) {
    std::vector<const ResultModel*> out;
    std::unordered_set<std::string_view> seen;
    for (const ResultModel* m : models)
        if (seen.insert(*m->warunek).second) out.push_back(m);
    return out;
}

}  // namespace

std::optional<SameResultsFault> find_same_results_fault(const kb::Store& store) {
    const std::vector<ResultModel> models = models_with_results(store);
    Grouped family[4];
    for (const auto& m : models) {
        Grouped& g = family[static_cast<int>(m.family)];
        auto& list = g.byResult[*m.wynik];
        if (list.empty()) g.results.push_back(m.wynik);
        list.push_back(&m);
    }
    const auto& declarations = store.modelBase().exclusive_models;
    const bool declared = !declarations.empty();
    auto inNone = [&](const std::string& a, const std::string& b) {
        return std::any_of(declarations.begin(), declarations.end(), [&](const kb::ExclusiveModels& d) {
            return std::find(d.warunki.begin(), d.warunki.end(), a) == d.warunki.end() &&
                   std::find(d.warunki.begin(), d.warunki.end(), b) == d.warunki.end();
        });
    };
    RuleExclusion exclusive(store);

    const auto& checks = checks_of_same_results();
    for (std::size_t k = 0; k < checks.size(); ++k) {
        const Grouped& f1 = family[static_cast<int>(checks[k].first)];
        const Grouped& f2 = family[static_cast<int>(checks[k].second)];
        const bool single = checks[k].first == checks[k].second;
        if (single && declared) continue;   // a declaration settles a family on its own
        for (const std::string* r : f1.results) {
            auto other = f2.byResult.find(*r);
            if (other == f2.byResult.end()) continue;
            const auto as = distinctGoAheads(f1.byResult.at(*r));
            const auto bs = single ? as : distinctGoAheads(other->second);
            for (std::size_t i = 0; i < as.size(); ++i) {
                for (std::size_t j = single ? i + 1 : 0; j < bs.size(); ++j) {
                    const std::string& ga = *as[i]->warunek;
                    const std::string& gb = *bs[j]->warunek;
                    const bool fails = single ? !exclusive(ga, gb)
                                              : (!declared && !exclusive(ga, gb)) || (declared && inNone(ga, gb));
                    if (fails) return SameResultsFault{k, as[i]->numer, bs[j]->numer};
                }
            }
        }
    }
    return std::nullopt;
}

std::string same_results_note(const SameResultsFault& fault) {
    const SameResultsCheck& c = checks_of_same_results()[fault.check];
    const bool noBreak = c.second == Family::Polynomial && c.first != Family::Polynomial &&
                         c.first != Family::Linear;
    return std::string(c.heading) + (noBreak ? "having the same results:" : "\nhaving the same results:") +
           "\n               " + std::to_string(fault.first) + ", " + std::to_string(fault.second) +
           "\nThe go-ahead conditions of those models are not mutually exclusive, "
           "\nbecause there is no constraint base  nor relational models to accomplish this."
           "\nEnter the  option 'Model Base/ Model Base Editing'"
           "\nand correct the model base, or enter the  option:"
           "\n'Constraint Base/ Constraint Base Creating '"
           "\nand design a proper constraint base.";
}

bool testuj_wyniki_wszystkich_modeli_bez_ograniczen(AppState& app) {
    if (!app.store.nazwa_mo) return true;
    if (app.store.nazwa_og) return !app.verdicts.sameResultsNotExclusive;
    const auto fault = find_same_results_fault(app.store);
    if (!fault) return true;
    app.port.note(port::titles::kAttention, same_results_note(*fault));
    return false;
}

}  // namespace torv::engine
