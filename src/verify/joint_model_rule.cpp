// Joint model-rule inconsistencies: the test, the informing and the report.
#include "verify/joint_model_rule.h"

#include <algorithm>
#include <deque>
#include <unordered_set>

#include "kb/store.h"
#include "port/texts.h"
#include "port/user_port.h"
#include "reports/report_commands.h"
#include "state/app_state.h"
#include "verify/flattening.h"
#include "verify/model_inconsistency.h"

namespace torv::verify {

RelationalExpansion::RelationalExpansion(const kb::Store& store) {
    const auto& m = store.modelBase();
    for (const auto& x : m.model_b)
        if (model_relacyjny(x)) byConclusion_[x.wynik].push_back({x.numer, x.warunek});
    for (const auto& x : m.model_e)
        if (model_relacyjny(x)) byConclusion_[x.wynik].push_back({x.numer, x.warunek});
}

bool RelationalExpansion::testowalny(const std::string& warunek) const {
    return byConclusion_.count(warunek) || byConclusion_.count(kb::negacja(warunek));
}

const ModelExpansion& RelationalExpansion::closure(const std::string& start) {
    if (auto it = closures_.find(start); it != closures_.end()) return it->second;
    ModelExpansion e;
    std::unordered_set<std::string> seen{start};
    std::deque<std::string> open{start};
    while (!open.empty()) {
        const std::string c = std::move(open.front());
        open.pop_front();
        for (const std::string& form : {c, kb::negacja(c)}) {
            auto it = byConclusion_.find(form);
            if (it == byConclusion_.end()) continue;
            for (const Model& k : it->second) {
                e.modele.push_back(k.numer);
                e.warunki.push_back(k.warunek);
                if (seen.insert(k.warunek).second && testowalny(k.warunek)) open.push_back(k.warunek);
            }
        }
    }
    // Long chains of relational models make every closure long: past a
    // bound the remembered ones are dropped rather than filling memory.
    remembered_ += e.modele.size() + 1;
    if (remembered_ > kMaxRemembered) {
        closures_.clear();
        remembered_ = e.modele.size() + 1;
    }
    return closures_.emplace(start, std::move(e)).first->second;
}

ModelExpansion RelationalExpansion::splaszcz_modele(const Names& flat) {
    ModelExpansion out;
    std::unordered_set<std::string> warunki;
    std::unordered_set<std::int32_t> modele;
    for (const auto& c : flat) {
        if (!testowalny(c)) continue;
        const ModelExpansion& e = closure(c);
        for (const auto& w : e.warunki)
            if (warunki.insert(w).second) out.warunki.push_back(w);
        for (auto n : e.modele)
            if (modele.insert(n).second) out.modele.push_back(n);
    }
    return out;
}

JointSearchStats badaj_mr(const kb::Store& store, FlatteningBase& base, JointModelRuleFindings& out,
                          const JointSearchLimits& limits, port::Progress* progress) {
    JointSearchStats stats;
    RelationalExpansion expansion(store);
    std::vector<std::pair<std::int32_t, const std::string*>> relational;
    for (const auto& x : store.modelBase().model_b)
        if (model_relacyjny(x)) relational.emplace_back(x.numer, &x.warunek);
    for (const auto& x : store.modelBase().model_e)
        if (model_relacyjny(x)) relational.emplace_back(x.numer, &x.warunek);

    auto& found = out.modele_i_reguly_sprzeczne;
    for (std::size_t i = 0; i < relational.size(); ++i) {
        if (progress) progress->check(i);
        const auto& [n, g] = relational[i];
        for (const kb::Rule* m : store.rulesByConclusion(*g)) {
            Splaszcz gen(base, *m);
            std::uint64_t here = 0;
            while (true) {
                if (here >= limits.flatteningsPerRule || stats.flattenings >= limits.flattenings ||
                    found.size() >= limits.findings) {
                    out.truncated = true;
                    break;
                }
                if (!gen.next()) break;
                ++here;
                ++stats.flattenings;
                const ModelExpansion e = expansion.splaszcz_modele(gen.flatNames());
                if (std::find(e.warunki.begin(), e.warunki.end(), *g) == e.warunki.end()) continue;
                // Kept as the generator leaves its lists: latest first, 0 for
                // what was not expanded; the report normalises both.
                found.push_back({n, m->numer, gen.used(), Numbers(e.modele.rbegin(), e.modele.rend())});
            }
            out.truncated = out.truncated || gen.limitHit();
            if (stats.flattenings >= limits.flattenings || found.size() >= limits.findings) return stats;
        }
    }
    return stats;
}

JointSearchStats badaj_sprzecznosc_mr(AppState& app) {
    JointModelRuleFindings& f = app.findings.jointModelRule;
    f = {};
    f.nazwa_mo = app.store.nazwa_mo.value_or("");
    f.nazwa_re = app.store.nazwa_re.value_or("");
    FlatteningBase base(app.store, app.askables);
    // Flattening cannot end on a rule base with dependency cycles; such a
    // base never reaches this test, but a declined external test lets it.
    if (base.cyclic()) {
        f.truncated = true;
        return {};
    }
    const kb::ModelBase& m = app.store.modelBase();
    port::Progress progress(app.port, port::texts::kJointModelRuleTestLabel, m.model_b.size() + m.model_e.size());
    return badaj_mr(app.store, base, f, {}, &progress);
}

bool wyznacz_sprzecznosc_mr(AppState& app) {
    badaj_sprzecznosc_mr(app);
    const bool found = !app.findings.jointModelRule.modele_i_reguly_sprzeczne.empty();
    app.verdicts.sprzecznosc_mr = found;
    return !found;
}

bool informuj_sprzecznosc_mr(AppState& app) {
    if (wyznacz_sprzecznosc_mr(app)) return true;
    const std::string mo = app.findings.jointModelRule.nazwa_mo;
    const std::string re = app.findings.jointModelRule.nazwa_re;
    app.messages.write("Model base    " + mo + "\nand rule base " + re +
                       "\nare  jointly inconsistent.\n"
                       "The loaded bases may be only edited, but not used for chaining.\n"
                       " You may also run a diagnostic check revealing the nature of \n"
                       " inconsistency\n"
                       " For this enter the  option:\n"
                       " 'Model Base/Diagnosing Joint Model- and Rule Base Inconsistencies'\n"
                       " where a detailed message highlighting the nature of inconsistencies\n"
                       " is to be found.\n");
    app.port.note("Diagnostic Report on joint model-rule inconsistencies",
                  "Augmented Exact Model Base\n   " + mo + "\nand Augmented Exact Rule Base\n   " + re +
                      "\nare  jointly inconsistent.\nThe loaded bases may be only edited, but not used for chaining."
                      "\nYou may  run a diagnostic check revealing the nature of inconsistency."
                      "\nFor this enter the  option:"
                      "\n   'Model Base\n     Diagnosing Joint Model- and \n     Rule Base Inconsistencies',"
                      "\nwhere a detailed message highlighting the nature of inconsistencies\nis to be found.");
    app.outcomes.push_back(Outcome::JointModelRuleInconsistencyFound);
    return false;
}

ChainText test_dla_tekstu(const Numbers& reguly, const Numbers& modele) {
    const Numbers a = normalizuj_uzyte(reguly);
    const Numbers b = normalizuj_uzyte(modele);
    if (a.empty() && b.empty()) return {};
    if (a.empty() != b.empty()) {
        const std::string list = polacz(a.empty() ? b : a, ",");
        return {" via a chain of nested rules with numbers  " + list + "\n",
                "\n via a chain of nested rules with numbers  " + list};
    }
    const std::string first = polacz(a, ","), second = polacz(b, ",");
    return {" via a chain of nested rules with numbers " + first + " and via a chain of nested rules with numbers " +
                second + "\n",
            "\n via a chain of nested rules with numbers " + first + "\n and via a chain of nested rules with numbers " +
                second};
}

void pisz_sprzecznosc_mr(AppState& app) {
    const JointModelRuleFindings& f = app.findings.jointModelRule;
    const char* const title = "Diagnostic Report on joint model-rule inconsistencies";
    auto& r = app.report;
    r.kasowanie_tekst_raportu();
    auto line = [&](const std::string& s) {
        r.pisz(s);
        r.piszcr();
    };
    if (f.modele_i_reguly_sprzeczne.empty()) {
        line(" Model Base:    " + f.nazwa_mo);
        line(" and Rule Base: " + f.nazwa_re);
        line(" are not jointly inconsistent.");
        app.port.note(title, "Augmented Exact Model Base  \n   " + f.nazwa_mo + "\nand Augmented Exact Rule Base  \n   " +
                                 f.nazwa_re + " are not jointly inconsistent.");
        return;
    }
    line(" Diagnostic report on joint model-rule inconsistencies between: ");
    line(" Model Base:    " + f.nazwa_mo);
    line(" and rule base: " + f.nazwa_re);
    app.port.note(title, " Diagnostic report on joint model-rule inconsistencies between:\nAugmented Exact Model Base\n    " +
                             f.nazwa_mo + "\nand Augmented Exact Rule Base\n    " + f.nazwa_re);
    for (const auto& x : f.modele_i_reguly_sprzeczne) {
        const std::string n = std::to_string(x.n), m = std::to_string(x.m);
        line(" Relational model  " + n + " is jointly inconsistent with rule " + m);
        const ChainText chain = test_dla_tekstu(x.reguly, x.modele);
        r.pisz(chain.report);
        app.port.findingNote(port::Diagnosis::JointModelRule, title,
                             " Relational model " + n + " is jointly inconsistent with rule " + m + chain.note);
    }
    line(" End of diagnostic report of joint model-rule inconsistencies between: ");
    line(" Model Base  " + f.nazwa_mo);
    line(" Rule base " + f.nazwa_re + ".");
    reports::raport(app);
}

}  // namespace torv::verify
