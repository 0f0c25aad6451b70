// Witnesses: evidence from the findings, checks, consultation scripts.
#include "lint/witness.h"

#include <algorithm>
#include <deque>
#include <map>
#include <set>
#include <unordered_map>

#include "kb/term_reader.h"
#include "lint/session.h"
#include "state/app_state.h"
#include "state/command_ids.h"
#include "verify/flattening.h"
#include "verify/model_inconsistency.h"

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


template <class List>
std::string quotedList(const List& l) {
    std::string out = "[";
    for (std::size_t i = 0; i < l.size(); ++i) out += (i ? "," : "") + kb::quoteString(l[i]);
    return out + "]";
}

std::string numberList(const kb::IntList& l) {
    std::string out = "[";
    for (std::size_t i = 0; i < l.size(); ++i) out += (i ? "," : "") + std::to_string(l[i]);
    return out + "]";
}

/// A record in the syntax of its base file.
std::string written(const kb::Rule& r) {
    return "rule(" + std::to_string(r.numer) + "," + kb::quoteString(r.wniosek) + "," + quotedList(r.warunki) + "," +
           std::to_string(r.semafor) + ")";
}
std::string written(const kb::ModelB& m) {
    return "model_b(" + std::to_string(m.numer) + "," + kb::quoteString(m.warunek) + "," + kb::quoteString(m.wynik) +
           "," + kb::quoteString(m.arg1) + "," + kb::quoteString(m.operacja) + "," + kb::quoteString(m.arg2) + "," +
           std::to_string(m.semafor) + ")";
}
std::string written(const kb::ModelE& m) {
    return "model_e(" + std::to_string(m.numer) + "," + kb::quoteString(m.warunek) + "," + kb::quoteString(m.wynik) +
           "," + kb::quoteString(m.operacja) + "," + quotedList(m.argumenty) + "," + std::to_string(m.semafor) + ")";
}
std::string written(const kb::ModelLin& m) {
    return "model_lin(" + std::to_string(m.numer) + "," + kb::quoteString(m.warunek) + "," + kb::quoteString(m.wynik) +
           "," + quotedList(m.wspolczynniki) + "," + quotedList(m.zmienne) + "," + std::to_string(m.semafor) + ")";
}
std::string written(const kb::ModelPoly& m) {
    return "model_poly(" + std::to_string(m.numer) + "," + kb::quoteString(m.warunek) + "," + kb::quoteString(m.wynik) +
           "," + kb::quoteString(m.zmienna) + "," + quotedList(m.wspolczynniki) + "," + numberList(m.potegi) + "," +
           std::to_string(m.semafor) + ")";
}

/// The model base as the chains see it, indexed once: an arithmetic model
/// computes its result from its arguments, a relational one concludes its
/// conclusion when its go-ahead condition holds.
class ChainWalker {
public:
    explicit ChainWalker(const kb::Store& store) : store_(store) {
        for (auto& l : verify::listy_argumentow(store)) models_[l.numer] = {false, l.wynik, std::move(l.argumenty), {}};
        const auto& m = store.modelBase();
        for (const auto& x : m.model_b)
            if (verify::model_relacyjny(x)) models_[x.numer] = {true, x.wynik, {x.warunek}, {}};
        for (const auto& x : m.model_e)
            if (verify::model_relacyjny(x)) models_[x.numer] = {true, x.wynik, {x.warunek}, {}};
        auto text = [&](const auto& records) {
            for (const auto& x : records)
                if (auto it = models_.find(x.numer); it != models_.end()) it->second.written = written(x);
        };
        text(m.model_b);
        text(m.model_e);
        text(m.model_lin);
        text(m.model_poly);
    }

    bool closes(const RecordChain& chain) const {
        if (chain.steps.empty()) return false;
        std::string name = chain.start;
        for (const auto& s : chain.steps) {
            if (!link(s, name)) return false;
            name = s.needs;
        }
        return name == chain.start;
    }

    /// A line per record: the name it concludes, what it needs, and the
    /// record as written.
    std::string describe(const RecordChain& chain) const {
        std::string out, name = chain.start;
        for (const auto& s : chain.steps) {
            const std::string n = std::to_string(s.numer);
            if (s.kind == ChainStep::Kind::Rule) {
                const kb::Rule* r = store_.ruleByNumber(s.numer);
                out += r ? "  " + name + " is concluded by rule " + n + ", which needs " + s.needs + ":\n      " +
                               written(*r) + "\n"
                         : "  " + name + ": there is no rule " + n + "\n";
            } else if (auto it = models_.find(s.numer); it != models_.end()) {
                out += "  " + name +
                       (it->second.relational ? " is concluded by model " + n + " when " + s.needs + " holds:\n"
                                              : " is computed by model " + n + " from " + s.needs + ":\n") +
                       "      " + it->second.written + "\n";
            } else {
                out += "  " + name + ": there is no arithmetic or relational model " + n + "\n";
            }
            name = s.needs;
        }
        return out;
    }

    std::string resultOf(std::int32_t n) const {
        auto it = models_.find(n);
        return it == models_.end() ? std::string() : it->second.concludes;
    }

    RecordChain modelRuleChain(const verify::JointModelRuleFinding& f) const {
        auto model = models_.find(f.n);
        if (model == models_.end() || !model->second.relational) return {};
        RecordChain chain{model->second.needs.front(), {}};
        const std::string& g = chain.start;
        const kb::Rule* first = store_.ruleByNumber(f.m);
        if (!first || positive(first->wniosek) != positive(g)) return chain;

        // Breadth first over the records the finding lists, from the
        // conditions of rule m to g; each name is reached once.
        std::set<std::int32_t> rules{f.m}, models;
        for (auto n : verify::normalizuj_uzyte(f.reguly)) rules.insert(n);
        for (auto n : verify::normalizuj_uzyte(f.modele)) models.insert(n);
        std::map<std::string, std::pair<std::string, ChainStep>> reachedFrom;
        std::deque<std::string> open;
        auto reach = [&](const std::string& from, ChainStep step) {
            if (reachedFrom.count(step.needs)) return false;
            reachedFrom.emplace(step.needs, std::make_pair(from, step));
            if (step.needs == g) return true;
            open.push_back(step.needs);
            return false;
        };
        bool found = false;
        for (const auto& c : first->warunki) found = found || reach(g, {ChainStep::Kind::Rule, f.m, c});
        while (!found && !open.empty()) {
            const std::string x = open.front();
            open.pop_front();
            for (auto n : rules)
                if (const kb::Rule* r = store_.ruleByNumber(n); r && positive(r->wniosek) == positive(x))
                    for (const auto& c : r->warunki) found = found || reach(x, {ChainStep::Kind::Rule, n, c});
            for (auto n : models)
                if (auto it = models_.find(n);
                    it != models_.end() && it->second.relational && positive(it->second.concludes) == positive(x))
                    found = found || reach(x, {ChainStep::Kind::Model, n, it->second.needs.front()});
        }
        if (!found) return chain;
        std::string at = g;
        do {
            const auto& [from, step] = reachedFrom.at(at);
            chain.steps.insert(chain.steps.begin(), step);
            at = from;
        } while (at != g);
        return chain;
    }

private:
    struct Model {
        bool relational = false;
        std::string concludes;
        verify::Names needs;   // arguments, or the go-ahead condition
        std::string written;
    };

    /// The step's record concludes `name` and needs the step's name.
    bool link(const ChainStep& s, const std::string& name) const {
        if (s.kind == ChainStep::Kind::Rule) {
            const kb::Rule* r = store_.ruleByNumber(s.numer);
            return r && positive(r->wniosek) == positive(name) &&
                   std::any_of(r->warunki.begin(), r->warunki.end(),
                               [&](const std::string& c) { return positive(c) == positive(s.needs); });
        }
        auto it = models_.find(s.numer);
        if (it == models_.end()) return false;
        const Model& m = it->second;
        const bool concludes = m.relational ? positive(m.concludes) == positive(name) : m.concludes == name;
        return concludes && std::find(m.needs.begin(), m.needs.end(), s.needs) != m.needs.end();
    }

    const kb::Store& store_;
    std::unordered_map<std::int32_t, Model> models_;
};

std::string chainVerdict(const ChainWalker& walker, const RecordChain& chain) {
    if (chain.start.empty()) return "Not confirmed: no relational model has that number.\n";
    return walker.closes(chain)
               ? "Checked: each record concludes the name before it and needs the next one, back to " + chain.start +
                     ".\n"
               : "Not confirmed: the records do not lead from " + chain.start + " back to it as listed.\n";
}

}  // namespace

bool closesChain(const kb::Store& store, const RecordChain& chain) { return ChainWalker(store).closes(chain); }

RecordChain modelRuleChain(const kb::Store& store, const verify::JointModelRuleFinding& finding) {
    return ChainWalker(store).modelRuleChain(finding);
}

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

std::vector<Witness> witnessesOf(const AppState& app) { return witnessesOf(app.store, app.findings); }

std::vector<Witness> witnessesOf(const kb::Store& store, const verify::RuleBaseFindings& f) {
    std::vector<Witness> out;

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

    const ChainWalker walker(store);
    auto modelWitness = [&](const char* code, const std::string& heading, RecordChain chain, verify::Numbers rules) {
        Witness w{code, std::move(rules), {}, {}, false, std::nullopt, {}};
        w.text = heading + walker.describe(chain) + chainVerdict(walker, chain);
        out.push_back(std::move(w));
    };
    using Kind = ChainStep::Kind;
    for (const auto& x : f.model.model_arytmetyczny_sprzeczny)
        modelWitness("AE104", "The result " + x.r + " of model " + std::to_string(x.n) + " is its own argument:\n",
                     {x.r, {{Kind::Model, x.n, x.r}}}, {});
    for (const auto& x : f.model.model_arytmetyczny_sprzeczny_gleboko) {
        RecordChain chain{x.r, {}};
        for (std::size_t i = 0; i < x.chain.size(); ++i)
            chain.steps.push_back({Kind::Model, x.chain[i], i + 1 < x.chain.size() ? walker.resultOf(x.chain[i + 1]) : x.r});
        modelWitness("AE104", "The result " + x.r + " of model " + std::to_string(x.n) +
                                  " is an argument of its nested models " + joined(x.chain, " ==> ") + ":\n",
                     std::move(chain), {});
    }
    for (const auto& x : f.model.model_relacyjny_sprzeczny)
        modelWitness("AE104", "Relational model " + std::to_string(x.n) + " concludes " + x.c +
                                  ", its own go-ahead condition:\n",
                     {x.c, {{Kind::Model, x.n, x.c}}}, {});
    for (const auto& x : f.jointModelRule.modele_i_reguly_sprzeczne) {
        RecordChain chain = walker.modelRuleChain(x);
        verify::Numbers rules;
        for (const auto& s : chain.steps)
            if (s.kind == Kind::Rule) rules.push_back(s.numer);
        const std::string g = chain.start.empty() ? "its go-ahead condition" : chain.start;
        modelWitness("AE105", "Relational model " + std::to_string(x.n) + " needs " + g + " to go ahead; rule " +
                                  std::to_string(x.m) + " concludes " + g + ", and deriving it needs " + g + " again:\n",
                     std::move(chain), std::move(rules));
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

const char* codeOf(port::Diagnosis diagnosis) {
    using D = port::Diagnosis;
    switch (diagnosis) {
    case D::External: return "AE101";
    case D::Internal: return "AE102";
    case D::Redundancy: return "AE103";
    case D::Model: return "AE104";
    case D::JointModelRule: return "AE105";
    case D::JointRuleConstraintInconsistency: return "AE106";
    case D::JointRuleConstraintRedundancy: return "AE107";
    }
    return "";
}

std::vector<Witness> witnessesOf(const kb::Store& store, const verify::RuleBaseFindings& findings,
                                 port::Diagnosis diagnosis, const std::filesystem::path& ruleFile) {
    std::vector<Witness> all = witnessesOf(store, findings);
    std::erase_if(all, [&](const Witness& w) { return w.code != codeOf(diagnosis); });
    for (auto& w : all)
        if (w.code == "AE103" && !w.vacuous && !ruleFile.empty())
            w.script = consultationScript(ruleFile, w.assignment);
    return all;
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
