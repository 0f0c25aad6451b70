// Witnesses: evidence from the findings, checks, consultation scripts.
#include "lint/witness.h"

#include <algorithm>
#include <set>

#include "lint/session.h"
#include "state/app_state.h"
#include "state/command_ids.h"

namespace torv::lint {

namespace {

std::string positive(const std::string& n) { return kb::jest_negacja(n) ? n.substr(1) : n; }

std::string joined(const std::vector<std::string>& names) {
    std::string out = "[";
    for (std::size_t i = 0; i < names.size(); ++i) out += (i ? ", " : "") + names[i];
    return out + "]";
}

std::string joined(const verify::Numbers& numbers, const char* sep) {
    std::string out;
    for (std::size_t i = 0; i < numbers.size(); ++i) out += (i ? sep : "") + std::to_string(numbers[i]);
    return out;
}

/// Askable conditions among a rule's conditions (concluded by no rule).
void addAskables(const kb::Store& store, const kb::Rule& r, std::vector<std::string>& into) {
    for (const auto& c : r.warunki)
        if (store.rulesByConclusion(c).empty() && store.rulesByConclusion(kb::negacja(c)).empty() &&
            std::find(into.begin(), into.end(), c) == into.end())
            into.push_back(c);
}

}  // namespace

bool isCycle(const kb::Store& store, const verify::Numbers& chain) {
    if (chain.empty()) return false;
    std::vector<const kb::Rule*> rules;
    for (auto n : chain) {
        const kb::Rule* r = store.ruleByNumber(n);
        if (!r) return false;
        rules.push_back(r);
    }
    auto feeds = [](const kb::Rule& from, const kb::Rule& to) {
        return std::any_of(to.warunki.begin(), to.warunki.end(),
                           [&](const std::string& c) { return positive(c) == positive(from.wniosek); });
    };
    for (std::size_t i = 0; i + 1 < rules.size(); ++i)
        if (!feeds(*rules[i], *rules[i + 1])) return false;
    return feeds(*rules.back(), *rules.front());
}

std::optional<std::string> contradictoryPair(const verify::Names& conditions) {
    const std::set<std::string> all(conditions.begin(), conditions.end());
    for (const auto& c : conditions)
        if (!kb::jest_negacja(c) && all.count(kb::negacja(c))) return c;
    return std::nullopt;
}

std::vector<std::string> constraintMembersIn(const kb::Store& store, std::int32_t k, const verify::Names& conditions) {
    std::vector<std::string> members;
    for (const auto& c : store.constraints()) {
        if (c.numer != k) continue;
        for (const auto& m : c.warunki)
            if (std::find(conditions.begin(), conditions.end(), m) != conditions.end()) members.push_back(m);
        break;
    }
    return members.size() >= 2 ? members : std::vector<std::string>{};
}

bool differOnlyByMembers(const kb::Store& store, std::int32_t k, const std::vector<verify::FlattenedRule>& flattenings) {
    const kb::Constraint* constraint = nullptr;
    for (const auto& c : store.constraints())
        if (c.numer == k) {
            constraint = &c;
            break;
        }
    if (!constraint || flattenings.size() < 2) return false;
    const std::set<std::string> members(constraint->warunki.begin(), constraint->warunki.end());
    std::optional<std::set<std::string>> rest;
    std::set<std::string> required;
    for (const auto& f : flattenings) {
        std::set<std::string> others;
        std::size_t inConstraint = 0;
        for (const auto& c : f.warunki) {
            if (members.count(c)) {
                ++inConstraint;
                required.insert(c);
            } else {
                others.insert(c);
            }
        }
        if (inConstraint != 1 || (rest && *rest != others)) return false;
        rest = std::move(others);
    }
    return required.size() == flattenings.size();
}

std::vector<Witness> witnessesOf(const AppState& app) {
    std::vector<Witness> out;
    const kb::Store& store = app.store;
    const auto& f = app.findings;

    for (const auto& e : f.external.reguly_sprzeczne) {
        Witness w{"AE101", e.chain, {}, {}, false, std::nullopt, {}};
        for (auto n : e.chain)
            if (const kb::Rule* r = store.ruleByNumber(n)) addAskables(store, *r, w.assignment);
        w.text = "Rule " + std::to_string(e.n) + " is externally inconsistent: the cycle " + joined(e.chain, " ==> ") +
                 " leads back to rule " + std::to_string(e.chain.empty() ? e.n : e.chain.front()) +
                 ".\nChaining is refused before any question; with the askable conditions " +
                 joined(w.assignment) + " holding, each rule of the cycle would need the one before it.\n" +
                 (isCycle(store, e.chain) ? "Checked: each rule concludes a condition of the next, the last one of the first.\n"
                                          : "Not confirmed: the rules do not close a cycle as listed.\n");
        out.push_back(std::move(w));
    }

    for (const auto& r : f.internal.regula_splaszczona_1w) {
        const auto pair = contradictoryPair(r.warunki);
        if (!pair) continue;
        Witness w{"AE102", {r.numer}, r.warunki, {}, false, std::nullopt, {}};
        w.text = "Rule " + std::to_string(r.numer) + " flattens to " + joined(r.warunki) +
                 (r.reguly.empty() ? std::string() : " using rules " + joined(r.reguly, ", ")) + ", which holds " +
                 *pair + " and " + kb::negacja(*pair) + ": no assignment of askable conditions makes it fire.\n";
        out.push_back(std::move(w));
    }

    for (const auto& p : f.redundancy.para_splaszczona_n1) {
        Witness w{"AE103", {p.n, p.m}, {}, {}, false, std::nullopt, p.wniosek};
        for (const auto* list : {&p.f1, &p.f2})
            for (const auto& c : *list)
                if (std::find(w.assignment.begin(), w.assignment.end(), c) == w.assignment.end()) w.assignment.push_back(c);
        const auto pair1 = contradictoryPair(p.f1), pair2 = contradictoryPair(p.f2);
        w.vacuous = pair1 || pair2;
        w.text = "Rules " + std::to_string(p.n) + " and " + std::to_string(p.m) + " conclude " + p.wniosek +
                 ".\nRule " + std::to_string(p.n) + " flattens to " + joined(p.f1) + ", rule " + std::to_string(p.m) +
                 " to " + joined(p.f2) + ".\n";
        if (w.vacuous)
            w.text += "Neither consultation can show it: the flattening holding " + *(pair1 ? pair1 : pair2) +
                      " and its negation can never hold.\n";
        else
            w.text += "With " + joined(w.assignment) + " true both rules fire to " + p.wniosek + ".\n";
        out.push_back(std::move(w));
    }

    for (const auto& j : f.jointInconsistency.sprzecznosc_2) {
        for (const auto& r : f.jointInconsistency.regula_splaszczona_s2) {
            if (r.numer != j.n) continue;
            const auto members = constraintMembersIn(store, j.k, r.warunki);
            if (members.empty()) continue;
            Witness w{"AE106", {r.numer}, r.warunki, {}, false, std::nullopt, {}};
            w.text = "Rule " + std::to_string(r.numer) + " flattens to " + joined(r.warunki) + ", which requires " +
                     members[0] + " and " + members[1] + ", members of constraint " + std::to_string(j.k) +
                     " of which at most one holds: the rule can never fire.\n";
            out.push_back(std::move(w));
            break;
        }
    }

    for (const auto& j : f.jointRedundancy.reguly_nadmiarowe_n2) {
        Witness w{"AE107", j.reguly, {}, {}, false, std::nullopt, {}};
        w.text = "Rules " + joined(j.reguly, ", ") + " differ only in which member of constraint " + std::to_string(j.k) +
                 " they require:\n";
        for (const auto& r : j.splaszczone) w.text += "  rule " + std::to_string(r.numer) + ": " + joined(r.warunki) + "\n";
        w.text += differOnlyByMembers(store, j.k, j.splaszczone)
                      ? "Checked: without those members the flattenings are equal; whichever member holds, the same "
                        "conclusion follows.\n"
                      : "Not confirmed: the flattenings differ in more than one member of the constraint.\n";
        out.push_back(std::move(w));
    }
    return out;
}

namespace {

/// The answer the terminal would be given for one box of the scripted
/// consultation; recorded, it becomes the script.
class ScriptingPort {
public:
    explicit ScriptingPort(const std::vector<std::string>& assignment) : truths_(assignment.begin(), assignment.end()) {}
    std::optional<std::string> operator()(const port::Dialog& d) {
        std::string a;
        if (d.kind == "yes/no" && d.title == "Is the condition true?") {
            std::string c = d.text;
            if (!c.empty() && c.back() == '?') c.pop_back();
            a = truths_.count(c) ? "yes" : "no";
        } else if (d.kind == "yes/no" || d.kind == "ask") {
            a = "no";
        } else if (d.kind == "radio" && d.title == "Fact declaration mode") {
            a = "2";   // querying the user: every askable condition is asked
        } else if (d.kind == "radio") {
            a = "1";
        } else {
            a = "";    // closes lists, values and file dialogs
        }
        lines.push_back(a);
        return a;
    }
    std::vector<std::string> lines;

private:
    std::set<std::string> truths_;
};

}  // namespace

std::string consultationScript(const std::filesystem::path& ruleFile, const std::vector<std::string>& assignment) {
    Session session;
    ScriptingPort answers(assignment);
    session.port().setAnswerer([&](const port::Dialog& d) -> std::optional<std::optional<std::string>> {
        return answers(d);
    });
    session.shell().loadRuleBaseAtStart(std::filesystem::absolute(ruleFile).string());
    answers.lines.push_back(std::to_string(shell::cmd::kForwardChaining));
    session.run(shell::cmd::kForwardChaining);
    std::string script;
    for (const auto& l : answers.lines) script += l + "\n";
    return script;
}

std::vector<Witness> witnesses(const KnowledgeBase& kb) {
    Session session;
    session.loadAll(kb);
    std::vector<Witness> all = witnessesOf(session.app());
    for (auto& w : all)
        if (w.code == "AE103" && !w.vacuous) w.script = consultationScript(kb.rules(), w.assignment);
    return all;
}

}  // namespace torv::lint

namespace torv::lint {

KnowledgeBase loadedKnowledgeBase(const AppState& app) {
    KnowledgeBase kb;
    const kb::Store& s = app.store;
    const std::optional<std::string>* names[] = {&s.nazwa_re, &s.nazwa_mo, &s.nazwa_og, &s.nazwa_ra, &s.nazwa_gr, &s.nazwa_me};
    const std::optional<std::string>* paths[] = {&s.nazwa_re_pelna, &s.nazwa_mo_pelna, &s.nazwa_og_pelna,
                                                 &s.nazwa_ra_pelna, &s.nazwa_gr_pelna, &s.nazwa_me_pelna};
    for (std::size_t i = 0; i < kb.files.size(); ++i)
        if (*names[i] && *paths[i]) kb.files[i] = **paths[i];
    if (!kb.rules().empty()) kb.directory = kb.rules().parent_path();
    return kb;
}

std::string witnessReport(const KnowledgeBase& kb, const std::vector<Witness>& ws) {
    if (ws.empty()) return "No finding of the loaded bases has a witness.\n";
    std::string out;
    for (const auto& w : ws) {
        out += w.code + "\n" + w.text;
        if (w.script) {
            out += "Terminal input showing it (torv_ae_cli " + kb.rules().filename().string() + " < FILE):\n";
            out += *w.script;
        }
        out += "\n";
    }
    return out;
}

}  // namespace torv::lint
