// External inconsistencies: the search, its offer, informing and report.
#include "verify/external.h"

#include <algorithm>
#include <span>
#include <climits>
#include <unordered_map>
#include <unordered_set>

#include "kb/paths.h"
#include "kb/store.h"
#include "port/long_work.h"
#include "reports/report_commands.h"
#include "state/app_state.h"
#include "verify/flattening.h"
#include "verify/load_offers.h"

namespace torv::verify {

namespace {

/// The names of the base as small integers, with what the search asks of
/// each: its negation, its positive form and the rules concluding it.
class NameTable {
public:
    explicit NameTable(const kb::Store& store) : store_(store) {}

    std::int32_t id(const std::string& name) {
        auto [it, added] = ids_.emplace(name, static_cast<std::int32_t>(names_.size()));
        if (added) names_.push_back(name);
        return it->second;
    }
    /// "n" followed by the name.
    std::int32_t withN(std::int32_t id) {
        const auto i = static_cast<std::size_t>(id);
        if (i < withN_.size() && withN_[i] >= 0) return withN_[i];
        const std::int32_t n = this->id("n" + names_[i]);
        if (withN_.size() < names_.size()) withN_.resize(names_.size(), -1);
        withN_[i] = n;
        return n;
    }
    /// The name without its leading "n", or -1 when it has none.
    std::int32_t withoutN(std::int32_t id) {
        const auto i = static_cast<std::size_t>(id);
        if (!kb::jest_negacja(names_[i])) return -1;
        return this->id(names_[i].substr(1));
    }
    /// negacja.
    std::int32_t negation(std::int32_t id) {
        const std::int32_t w = withoutN(id);
        return w >= 0 ? w : withN(id);
    }
    /// negacja of two names: either is "n" followed by the other.
    bool negations(std::int32_t a, std::int32_t b) { return a == withN(b) || b == withN(a); }
    std::span<const std::size_t> concluders(std::int32_t id) {
        return store_.ruleIndexesByConclusion(names_[static_cast<std::size_t>(id)]);
    }
    std::size_t size() const { return names_.size(); }

private:
    const kb::Store& store_;
    std::unordered_map<std::string, std::int32_t> ids_;
    std::vector<std::string> names_;
    std::vector<std::int32_t> withN_;
};

struct Condition {
    std::int32_t h;        // the condition as written
    std::int32_t hPrime;   // its positive form (one leading "n" removed)
    bool negated;
};

}  // namespace

namespace {

/// Names lying on a cycle of the graph "conclusion -> positive form of each
/// condition of a rule concluding it" (Tarjan's components, explicit stack).
std::vector<bool> onCycle(const std::vector<std::vector<std::int32_t>>& adj) {
    const std::size_t n = adj.size();
    std::vector<int> index(n, -1), low(n, 0);
    std::vector<bool> onStack(n, false), cyclic(n, false);
    std::vector<std::int32_t> component;
    struct Call {
        std::int32_t v;
        std::size_t edge;
    };
    std::vector<Call> calls;
    int counter = 0;
    for (std::size_t root = 0; root < n; ++root) {
        if (index[root] >= 0) continue;
        calls.push_back({static_cast<std::int32_t>(root), 0});
        while (!calls.empty()) {
            Call& c = calls.back();
            const auto v = static_cast<std::size_t>(c.v);
            if (c.edge == 0 && index[v] < 0) {
                index[v] = low[v] = counter++;
                component.push_back(c.v);
                onStack[v] = true;
            }
            if (c.edge < adj[v].size()) {
                const auto w = static_cast<std::size_t>(adj[v][c.edge++]);
                if (w == v) cyclic[v] = true;
                if (index[w] < 0) {
                    calls.push_back({static_cast<std::int32_t>(w), 0});
                } else if (onStack[w]) {
                    low[v] = std::min(low[v], index[w]);
                }
                continue;
            }
            if (low[v] == index[v]) {
                std::size_t size = 0;
                const std::size_t from = component.size();
                std::size_t k = from;
                while (true) {
                    const auto w = static_cast<std::size_t>(component[--k]);
                    onStack[w] = false;
                    ++size;
                    if (w == v) break;
                }
                if (size > 1)
                    for (std::size_t j = k; j < from; ++j) cyclic[static_cast<std::size_t>(component[j])] = true;
                component.resize(k);
            }
            calls.pop_back();
            if (!calls.empty()) {
                const auto parent = static_cast<std::size_t>(calls.back().v);
                low[parent] = std::min(low[parent], low[v]);
            }
        }
    }
    return cyclic;
}

}  // namespace

ExternalSearchResult badaj(const kb::Store& store, const ExternalSearchLimits& limits, port::Progress* progress) {
    ExternalSearchResult result;
    auto& findings = result.findings.reguly_sprzeczne;
    const auto& rules = store.rules();
    NameTable names(store);

    std::vector<std::int32_t> conclusion(rules.size());
    std::vector<std::vector<Condition>> conditions(rules.size());
    for (std::size_t i = 0; i < rules.size(); ++i) {
        conclusion[i] = names.id(rules[i].wniosek);
        for (const auto& w : rules[i].warunki) {
            const bool neg = kb::jest_negacja(w);
            conditions[i].push_back({names.id(w), neg ? names.id(w.substr(1)) : names.id(w), neg});
        }
    }
    // A finding for a rule with a positive conclusion closes a cycle through
    // that conclusion, unless a condition starts with "nn" (the negation of
    // a negated target); rules whose conclusion lies on no cycle then need
    // no search.
    bool doubled = false;
    for (const auto& r : rules)
        for (const auto& w : r.warunki) doubled = doubled || w.starts_with("nn");
    std::vector<std::vector<std::int32_t>> adj(names.size());
    for (std::size_t i = 0; i < rules.size(); ++i)
        for (const auto& h : conditions[i]) adj[static_cast<std::size_t>(conclusion[i])].push_back(h.hPrime);
    const std::vector<bool> cyclic = onCycle(adj);

    // A frame explores the conditions of one rule against a target; while
    // one of them is expanded it walks the rules concluding that condition.
    struct Frame {
        std::size_t rule;
        std::size_t cond = 0;
        std::int32_t target;
        // the expansion in progress, if hPrime >= 0
        std::int32_t hPrime = -1;
        std::int32_t tPrime = -1;
        std::size_t nextConcluder = 0;
        std::size_t findingsBefore = 0;
        int low = INT_MAX;   // shallowest path depth a pruned name had
    };
    std::vector<Frame> stack;
    std::vector<int> depthOf;   // path depth of a name on the current path, -1 if not on it
    // (expanded name, target) pairs known to lead to no finding whatever
    // the path above them
    std::unordered_set<std::uint64_t> dead;
    auto key = [](std::int32_t a, std::int32_t b) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32) | static_cast<std::uint32_t>(b);
    };
    auto onPath = [&](std::int32_t id) -> int& {
        if (static_cast<std::size_t>(id) >= depthOf.size()) depthOf.resize(names.size() + 1, -1);
        return depthOf[static_cast<std::size_t>(id)];
    };

    std::size_t chainNumbers = 0;
    bool stop = false;
    for (std::size_t n = 0; n < rules.size() && !stop; ++n) {
        if (progress) progress->check(n);
        const std::int32_t c = conclusion[n];
        if (!doubled && !kb::jest_negacja(rules[n].wniosek) && !cyclic[static_cast<std::size_t>(c)]) continue;
        onPath(c) = 0;
        stack.push_back({n, 0, c});
        std::uint64_t stepsHere = 0;
        while (!stack.empty()) {
            const bool full = findings.size() >= limits.findings || chainNumbers >= limits.chainNumbers;
            if (full || result.steps >= limits.steps || stepsHere >= limits.stepsPerRule) {
                result.findings.truncated = true;
                stop = full || result.steps >= limits.steps;
                for (const Frame& f : stack)
                    if (f.hPrime >= 0) onPath(f.hPrime) = -1;
                stack.clear();
                break;
            }
            const std::size_t level = stack.size() - 1;
            Frame& f = stack.back();
            if (f.hPrime >= 0) {
                const auto& next = names.concluders(f.hPrime);
                if (f.nextConcluder < next.size()) {
                    const std::size_t r = next[f.nextConcluder++];
                    const std::int32_t t = f.tPrime;
                    ++result.paths;
                    stack.push_back({r, 0, t});
                    continue;
                }
                // The expansion is over.
                const int depth = static_cast<int>(level) + 1;
                if (findings.size() == f.findingsBefore && f.low >= depth) dead.insert(key(f.hPrime, f.tPrime));
                onPath(f.hPrime) = -1;
                f.hPrime = -1;
                if (level > 0) stack[level - 1].low = std::min(stack[level - 1].low, f.low);
                ++f.cond;
                continue;
            }
            const auto& conds = conditions[f.rule];
            if (f.cond == conds.size()) {
                stack.pop_back();
                continue;
            }
            ++result.steps;
            ++stepsHere;
            const Condition& h = conds[f.cond];
            if (h.h == f.target || names.negations(h.h, f.target)) {
                ExternalFinding x;
                x.n = rules[n].numer;
                x.m = rules[f.rule].numer;
                for (auto it = stack.rbegin(); it != stack.rend(); ++it) x.chain.push_back(rules[it->rule].numer);
                chainNumbers += x.chain.size();
                findings.push_back(std::move(x));
            }
            const std::int32_t tPrime = h.negated ? names.negation(f.target) : f.target;
            const int seenAt = onPath(h.hPrime);
            if (seenAt >= 0) {
                // Already entered on this path: the visited list ends the search here.
                if (level > 0) stack[level - 1].low = std::min(stack[level - 1].low, seenAt);
                ++f.cond;
                continue;
            }
            if (dead.count(key(h.hPrime, tPrime)) || names.concluders(h.hPrime).empty()) {
                ++f.cond;
                continue;
            }
            f.hPrime = h.hPrime;
            f.tPrime = tPrime;
            f.nextConcluder = 0;
            f.findingsBefore = findings.size();
            f.low = INT_MAX;
            onPath(h.hPrime) = static_cast<int>(level) + 1;
        }
        onPath(c) = -1;
    }
    return result;
}

std::optional<std::string> nazwa_sprzecznosci_1(std::string_view rozszerzenie) {
    if (kb::upperAscii(rozszerzenie) == ".AEB") return "IAE1";
    return std::nullopt;
}

std::string typ_sprzecznosci(const AppState& app) {
    // The label names the kind of inconsistency, which does not depend on
    // how the file happens to be named.
    return nazwa_sprzecznosci_1(app.store.rozszerzenie.value_or("")).value_or("IAE1");
}

ExternalSearchResult badaj_sprzecznosc_1z(AppState& app) {
    app.findings.external = {};
    app.verdicts.sprzecznosc_1z.reset();
    port::Progress progress(app.port, port::texts::kExternalTest.label, app.store.rules().size());
    ExternalSearchResult r = badaj(app.store, {}, &progress);
    bool inconsistent = !r.findings.reguly_sprzeczne.empty();
    if (!inconsistent && r.findings.truncated) {
        // Only cycles make the search this long; the base is inconsistent
        // even if no finding was reached in time.
        FlatteningBase base(app.store, app.askables);
        inconsistent = base.cyclic();
    }
    app.findings.external = r.findings;
    app.verdicts.sprzecznosc_1z = inconsistent;
    return r;
}

bool wyznacz_sprzecznosc_1z(AppState& app) {
    badaj_sprzecznosc_1z(app);
    return app.verdicts.sprzecznosc_1z == false;
}

bool informuj_sprzecznosc_1z(AppState& app) {
    const std::string type = typ_sprzecznosci(app);
    const std::string name = app.store.nazwa_re.value_or("");
    bool consistent = false;
    const auto test = [&] { consistent = wyznacz_sprzecznosc_1z(app); };
    if (!port::runToEnd(app.port, app.messages, port::texts::kExternalTest, test, app.findings.external)) return true;
    if (consistent) {
        app.messages.write(" The loaded rule base" + name + "\n is not externally inconsistent.  " + type +
                           " sprzeczna.");
        app.port.note("Information on inconsistency",
                      "Augmented Exact Rule Base\n   " + name + "\nis not externally " + type + " inconsistent.");
        return true;
    }
    app.messages.write(" The loaded rule base contains at least one external inconsistency \n"
                       " of type " + type + ".\n\n"
                       " The loaded rule base may be only edited, but not used for chaining.\n"
                       " Neither is it possible to load the corresponding constraint base.\n"
                       " You may however run a diagnostic check revealing the nature of \n"
                       " inconsistency.\n"
                       " For this  proceed with the loaded rule base and enter the Main Menu\n"
                       " option: 'Exact Rule Base /Diagnosing External Inconsistencies'\n\n"
                       " where a detailed message highlighting the nature of inconsistencies\n"
                       " is to be found.\n\n");
    app.port.note("Information on inconsistency",
                  "Augmented Exact Rule Base\n   " + name + "\ncontains at least one external inconsistency \nof type  " +
                      type +
                      ".\n\nThe rule base may be only edited, \nbut not used for chaining."
                      "\nNeither is it possible to load the corresponding \nconstraint, model or advice base."
                      "\nYou may however run a diagnostic check \nrevealing the nature of  inconsistency."
                      "\nFor this  enter the option \n   'Exact Rule Base\n     Diagnosing External Inconsistencies'"
                      "\nwhere a detailed message highlighting the nature \nof inconsistencies is to be found.");
    app.outcomes.push_back(Outcome::ExternalInconsistencyFound);
    return false;
}

bool testuj_sprzecznosc_1z(AppState& app) {
    const std::string name = app.store.nazwa_re.value_or("");
    app.messages.write("The loaded rule base " + name + " may be tested for external inconsistencies.\n"
                       "This test may take a lot of time for large and heavily nested rule bases. \n"
                       "\n"
                       "This test should be used while developing or modifying rule bases.\n"
                       "For routine uses of the rule base the test should be bypassed.\n"
                       "Remember that external inconsistencies may break down the chaining process.\n");
    const int answer = app.port.yesNo(
        "Choose", "Augmented Exact Rule Base\n   " + name +
                      "\nmay be tested for external inconsistencies.\n"
                      "\nThis test may take a lot of time for \nlarge and heavily nested rule bases. \n"
                      "This test should be performed while \ndeveloping or modifying rule bases."
                      "\nFor routine uses of the rule base \nthe test should be bypassed."
                      "\nRemember that external inconsistencies \nmay break down the chaining process."
                      "\n\nDo you wish to test the rule base \nfor external inconsistencies?");
    if (answer != port::kYes) return true;
    return informuj_sprzecznosc_1z(app);
}

namespace {

/// pisz_podstawienie: the chain, m first, as the report shows it.
std::string chainLine(const Numbers& chain) { return polacz(chain, " ==> ") + "\n"; }

/// The chain as a note shows it: 7==>3==>5.
std::string compactChain(const Numbers& chain) {
    std::string tekst;
    for (auto n : chain) tekst += std::to_string(n) + "==>";
    return tekst.substr(0, tekst.size() >= 3 ? tekst.size() - 3 : 0);
}

}  // namespace

void pisz_sprzecznosc_1z(AppState& app) {
    const std::string type = typ_sprzecznosci(app);
    const std::string name = app.store.nazwa_re.value_or("");
    const auto& found = app.findings.external.reguly_sprzeczne;
    if (found.empty()) {
        app.messages.write(" Rule base " + name + "\n is not externally " + type + "-inconsistent.\n");
        app.port.note("Attention!", "Augmented Exact Rule Base\n   " + name + "\nis not externally " + type +
                                        "-inconsistent.");
        return;
    }
    const char* const title = "Diagnostic report on external inconsistencies of rule base";
    auto& rep = app.report;
    rep.kasowanie_tekst_raportu();
    rep.pisz(" Diagnostic Report on external inconsistencies of rule base:\n " + name + "\n\n");
    app.port.note(title, "Diagnostic Report on external inconsistencies of \nAugmented Exact Rule Base\n" + name);
    rep.pisz("  Following rules are externally " + type + "-inconsistent:\n\n");
    app.port.note(title, "Following rules are externally " + type + "-inconsistent:");

    for (const auto& f : found) {
        if (f.n != f.m) continue;
        rep.pisz(" Rule " + std::to_string(f.n) + " is externally " + type + "-self-inconsistent. \n\n");
        app.port.findingNote(port::Diagnosis::External, title,
                             "Rule " + std::to_string(f.n) + " is externally  " + type + "-selfinconsistent.");
    }
    for (const auto& f : found) {
        if (f.n == f.m || f.chain.size() != 2) continue;
        const std::string n = std::to_string(f.n), m = std::to_string(f.m);
        rep.pisz(" Rule  " + n + " is externally directly " + type + "-inconsistent with rule " + m + ".\n");
        rep.pisz(" This can be shown by introducing " + chainLine(f.chain) + "\n\n");
        app.port.findingNote(port::Diagnosis::External, title,
                             "Rule " + n + " is externally directly " + type + "-inconsistent with rule  " + m +
                                 ".\nThis can be demonstrated by introducing  " + m + " to " + n + ".");
    }
    for (const auto& f : found) {
        if (f.n == f.m || f.chain.size() <= 2) continue;
        const std::string n = std::to_string(f.n), m = std::to_string(f.m);
        app.messages.write("\n\n");
        rep.pisz(" Rule " + n + " is externally indirectly " + type + "-inconsistent with rule " + m + ".\n");
        rep.pisz(" This can be shown by introducing " + chainLine(f.chain) + "\n\n");
        app.port.findingNote(port::Diagnosis::External, title,
                             "Rule " + n + " is externally indirectly " + type + "-inconsistent with rule " + m +
                                 ".\nThis can be shown by introducing: " + compactChain(f.chain) + ".");
    }
    rep.pisz("\n End of diagnostic report on external inconsistencies of rule base: \n " + name + ".");
    app.port.note(title, "End of diagnostic report on external inconsistencies of  \nAugmented Exact Rule Base\n" +
                             name + ".");
    reports::raport(app);
}

}  // namespace torv::verify
