// Rule redundancies: the test, its offer, informing and report.
#include "verify/redundancy.h"

#include <algorithm>
#include <span>
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

std::optional<std::string> nazwa_nadmiaru(std::string_view rozszerzenie) {
    if (kb::upperAscii(rozszerzenie) == ".AEB") return "RAE1";
    return std::nullopt;
}

bool podzbior(const Names& a, const Names& b) {
    const std::unordered_set<std::string_view> in(b.begin(), b.end());
    return std::all_of(a.begin(), a.end(), [&](const std::string& x) { return in.count(x) != 0; });
}

bool podzbior_ogolny(const Names& a, const Names& b) { return podzbior(a, b) || podzbior(b, a); }

namespace {

std::string typ_nadmiaru(const AppState& app) {
    // As for inconsistencies, the label does not depend on the file's name.
    return nazwa_nadmiaru(app.store.rozszerzenie.value_or("")).value_or("RAE1");
}

/// `a` ⊆ `b` as sets, in time linear in both.
bool subset(FlatteningBase& base, const std::vector<NameId>& a, const std::vector<NameId>& b) {
    const std::uint32_t round = base.newRound();
    for (NameId id : b) base.mark(id) = round;
    return std::all_of(a.begin(), a.end(), [&](NameId id) { return base.mark(id) == round; });
}

}  // namespace

namespace {

/// Spans are kept for every rule at once; past this many names a span's
/// union is dropped (any flattening may then match), so that memory stays
/// linear in the base however far derivations reach.
constexpr std::size_t kSpanCap = 1024;

/// What every flattening of a rule has in common and what any has: a
/// flattening of another rule can be a subset of one of them only if it is
/// within the union, and a superset only if it holds the intersection. A
/// larger union or a smaller intersection than the true ones is safe.
struct Span {
    bool any = true;             // false: the rule has no flattening
    bool wide = false;           // the union is not kept: it may be anything
    std::vector<NameId> every;   // in all flattenings
    std::vector<NameId> some;    // in at least one
};

/// Without flattening: the settled names reachable from the rule's
/// conditions, and those conditions that can only stay as they are.
Span roughSpan(FlatteningBase& base, const kb::Rule& rule) {
    Span s;
    const std::vector<NameId> start = base.intern(rule.warunki);
    const std::uint32_t round = base.newRound();
    std::vector<NameId> stack;
    for (NameId id : start)
        if (base.mark(id) != round) {
            base.mark(id) = round;
            stack.push_back(id);
        }
    while (!stack.empty() && !s.wide) {
        const NameId id = stack.back();
        stack.pop_back();
        if (base.settled(id)) s.some.push_back(id);
        s.wide = s.some.size() > kSpanCap;
        for (const Alternative& a : base.szukaj_regule(id))
            for (NameId next : a.zamiana)
                if (base.mark(next) != round) {
                    base.mark(next) = round;
                    stack.push_back(next);
                }
    }
    if (s.wide) std::vector<NameId>().swap(s.some);
    for (NameId id : start) {
        const auto& alts = base.szukaj_regule(id);
        if (alts.size() == 1 && alts[0].numer == 0) s.every.push_back(id);
    }
    return s;
}

/// From the flattenings themselves: one pass over them.
Span exactSpan(FlatteningBase& base, const kb::Rule& rule) {
    std::unordered_map<NameId, std::uint64_t> count;
    std::uint64_t n = 0;
    Splaszcz gen(base, rule);
    Span s;
    while (gen.next()) {
        ++n;
        for (NameId id : gen.flat()) ++count[id];
        if (count.size() > kSpanCap) {
            s.wide = true;
            break;
        }
    }
    s.any = n > 0;
    if (s.wide) return s;   // an empty intersection is safe
    for (const auto& [id, k] : count) {
        s.some.push_back(id);
        if (k == n) s.every.push_back(id);
    }
    return s;
}

/// Whether some flattening with that span could be a subset or superset of `f`.
bool mayMatch(FlatteningBase& base, const std::vector<NameId>& f, const Span& other) {
    if (other.wide) return true;
    std::uint32_t round = base.newRound();
    for (NameId id : other.some) base.mark(id) = round;
    if (std::all_of(f.begin(), f.end(), [&](NameId id) { return base.mark(id) == round; })) return true;
    round = base.newRound();
    for (NameId id : f) base.mark(id) = round;
    return std::all_of(other.every.begin(), other.every.end(), [&](NameId id) { return base.mark(id) == round; });
}

/// The rough spans of every rule that shares its conclusion, indexed so
/// that the rules a flattening may match are found without looking at the
/// others: by each name of their union, and by one name of their
/// intersection (the one fewest rules of the conclusion share).
class CandidateIndex {
public:
    CandidateIndex(FlatteningBase& base, const kb::Store& store, port::Progress& progress)
        : rules_(store.rules()), rough_(rules_.size()) {
        std::unordered_map<std::uint64_t, std::uint32_t> everyCount;
        for (std::size_t j = 0; j < rules_.size(); ++j) {
            progress.check(j);
            if (store.ruleIndexesByConclusion(rules_[j].wniosek).size() < 2) continue;
            Span& s = rough_[j];
            s = roughSpan(base, rules_[j]);
            const NameId c = base.intern(rules_[j].wniosek);
            if (s.wide) always_[c].push_back(j);
            for (NameId id : s.some) bySome_[key(c, id)].push_back(j);
            for (NameId id : s.every) ++everyCount[key(c, id)];
        }
        for (std::size_t j = 0; j < rules_.size(); ++j) {
            const Span& s = rough_[j];
            if (s.wide) continue;
            const NameId c = base.intern(rules_[j].wniosek);
            if (s.every.empty()) {
                always_[c].push_back(j);
                continue;
            }
            NameId rarest = s.every.front();
            for (NameId id : s.every)
                if (everyCount[key(c, id)] < everyCount[key(c, rarest)]) rarest = id;
            byEvery_[key(c, rarest)].push_back(j);
        }
        stamp_.assign(rules_.size(), 0);
    }

    const Span& rough(std::size_t j) const { return rough_[j]; }

    /// The rules after rule `i` with its conclusion that some flattening of
    /// it may match, in base order; a full pass over its flattenings.
    std::vector<std::size_t> candidates(FlatteningBase& base, std::size_t i) {
        std::vector<std::size_t> out;
        const NameId c = base.intern(rules_[i].wniosek);
        ++round_;
        auto add = [&](std::span<const std::size_t> js) {
            for (std::size_t j : js)
                if (j > i && stamp_[j] != round_) {
                    stamp_[j] = round_;
                    out.push_back(j);
                }
        };
        auto find = [&](const Index& index, NameId id) -> const std::vector<std::size_t>* {
            auto it = index.find(key(c, id));
            return it == index.end() ? nullptr : &it->second;
        };
        Splaszcz gen(base, rules_[i]);
        bool any = false;
        while (gen.next()) {
            any = true;
            const auto& f = gen.flat();
            if (f.empty()) {
                add(base.store().ruleIndexesByConclusion(rules_[i].wniosek));
                break;
            }
            // f within another's union: that union holds f's rarest name.
            const std::vector<std::size_t>* fewest = find(bySome_, f.front());
            for (NameId id : f) {
                const auto* js = find(bySome_, id);
                if (!js || (fewest && js->size() < fewest->size())) fewest = js;
                if (!fewest) break;
            }
            if (fewest) add(*fewest);
            // Another's intersection within f: f holds its key name.
            for (NameId id : f)
                if (const auto* js = find(byEvery_, id)) add(*js);
        }
        if (any) {
            auto it = always_.find(c);
            if (it != always_.end()) add(it->second);
        }
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    using Index = std::unordered_map<std::uint64_t, std::vector<std::size_t>>;
    static std::uint64_t key(NameId conclusion, NameId name) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(conclusion)) << 32) |
               static_cast<std::uint32_t>(name);
    }

    const std::vector<kb::Rule>& rules_;
    std::vector<Span> rough_;
    Index bySome_;
    Index byEvery_;
    std::unordered_map<NameId, std::vector<std::size_t>> always_;
    std::vector<std::uint64_t> stamp_;
    std::uint64_t round_ = 0;
};

}  // namespace

bool wyznacz_nadmiar(AppState& app, RedundancyTestStats* stats) {
    RedundancyFindings& out = app.findings.redundancy;
    FlatteningBase base(app.store, app.askables);
    const auto& rules = app.store.rules();
    // The index is built over the rules, then each rule is examined: two rounds.
    port::Progress progress(app.port, port::texts::kRedundancyTest.label, 2 * rules.size());
    CandidateIndex index(base, app.store, progress);
    // Rule numbers are unique once a base is loaded, so each pair is
    // examined once, from its earlier rule; the relation is symmetric.
    std::unordered_map<std::size_t, Span> exact;   // rules met as a second candidate
    for (std::size_t i = 0; i < rules.size(); ++i) {
        progress.check(rules.size() + i);
        const kb::Rule& rn = rules[i];
        if (app.store.ruleIndexesByConclusion(rn.wniosek).size() < 2) continue;
        for (std::size_t j : index.candidates(base, i)) {
            const kb::Rule& rm = rules[j];
            if (rm.numer == rn.numer) continue;
            if (stats) ++stats->pairs;
            const Span& rough = index.rough(j);
            bool found = false;
            int candidates = 0;
            Splaszcz g1(base, rn);
            while (!found && g1.next()) {
                if (!mayMatch(base, g1.flat(), rough)) continue;
                // The first candidate is compared at once, so that an early
                // match stays cheap; the exact span costs no more than one
                // such comparison and spares the rest.
                if (++candidates > 1) {
                    auto [e, newExact] = exact.try_emplace(j);
                    if (newExact) e->second = exactSpan(base, rm);
                    if (!e->second.any || !mayMatch(base, g1.flat(), e->second)) continue;
                }
                Splaszcz g2(base, rm);
                while (g2.next()) {
                    if (stats) ++stats->comparisons;
                    if (!subset(base, g1.flat(), g2.flat()) && !subset(base, g2.flat(), g1.flat())) continue;
                    out.reguly_nadmiarowe_n1.push_back({rn.numer, rm.numer});
                    out.jest_nadmiar = true;
                    out.para_splaszczona_n1.push_back({rn.numer, rn.wniosek, g1.flatNames(), g1.usedNormalised(),
                                                       rm.numer, g2.flatNames(), g2.usedNormalised()});
                    found = true;
                    break;
                }
            }
        }
    }
    return out.reguly_nadmiarowe_n1.empty();
}

bool informuj_nadmiar(AppState& app) {
    if (app.verdicts.externallyInconsistent()) return false;
    const std::string type = typ_nadmiaru(app);
    const std::string name = app.store.nazwa_re.value_or("");
    RedundancyFindings& r = app.findings.redundancy;
    if (r.reguly_nadmiarowe_n1.empty()) {
        FlatteningBase base(app.store, app.askables);
        if (flattening_refused(app, base)) {
            app.port.note("Attention!", kNoFlatteningText);
            return true;
        }
        bool none = false;
        const auto test = [&] { none = wyznacz_nadmiar(app); };
        if (!port::runToEnd(app.port, app.messages, port::texts::kRedundancyTest, test, r)) return true;
        if (none) {
            app.messages.write("The rule base " + name + "  has no redundant rules!");
            app.port.note("Result of rule redundancy test", "Rule Base\n   " + name + "\nhas no redundant rules!");
            return true;
        }
    }
    app.messages.write(" The  Rule Base  " + name + " contains " + " redundant rules of type " + type + ".\n" +
                       " You may use the loaded rule base for chaining, because redundant\n"
                       " rules do not cause chaining to break down. However, it may increase\n"
                       " the time necessary for performing the chaining and - what's perhaps\n"
                       " more important - make conditions depend upon an unnecessarily large\n"
                       " number of conditions.\n"
                       " Therefore it is advised to remove redundancies.\n"
                       " For this  proceed with the loaded rule base to the Main Menu\n"
                       " option:\n"
                       " 'Rule Base /Diagnosing Redundancies'\n"
                       " where a detailed message highlighting the nature of rule redundancies\n"
                       " is to be found.\n");
    app.port.note("Attention:",
                  "Augmented Exact Rule Base\n   " + name + "\ncontains redundant rules of type " + type + ".\n" +
                      "\nYou may use the loaded rule base for chaining, \nbecause redundant rules do not cause "
                      "chaining to \nbreak down. However, it may increase the time \nnecessary  for performing the "
                      "chaining and \n- what's perhaps more important - "
                      "\nmake conclusions depend upon an \nunnecessarily large number of conditions.\nTherefore it is "
                      "advised to remove redundancies. \nFor this  proceed  to the option \n   'Exact Rule Base\n"
                      "     Diagnosing Redundancies'"
                      " where a  \ndetailed message highlighting \nthe nature of rule redundancies is to be found.");
    app.outcomes.push_back(Outcome::RedundancyFound);
    return true;
}

bool testuj_nadmiar_1(AppState& app) {
    const std::string name = app.store.nazwa_re.value_or("");
    app.messages.write("The loaded rule base " + name + " may be tested for redundancies.\n"
                       "This test may take a lot of time for large and heavily nested rule bases. \n"
                       "This test should be used while developing or modifying rule bases.\n"
                       "For routine uses of the rule base the test should be bypassed.\n");
    const int answer =
        app.port.yesNo("Choose", "Augmented Exact Rule Base\n   " + name +
                                     "\nmay be tested for redundancies.\n"
                                     "\nThis test may take a lot of time for \nlarge and heavily nested rule bases. \n"
                                     "This test should be performed while \ndeveloping or modifying rule bases."
                                     "\nFor routine uses of the rule base \nthe test should be bypassed."
                                     "\n\nDo you wish to test the rule base \nfor redundancies?");
    if (answer != port::kYes) return true;
    return informuj_nadmiar(app);
}

void pisz_nadmiar(AppState& app) {
    const std::string type = typ_nadmiaru(app);
    const std::string name = app.store.nazwa_re.value_or("");
    const char* const title = "Diagnosing rule redundancies";
    RedundancyFindings& r = app.findings.redundancy;
    if (r.reguly_nadmiarowe_n1.empty()) {
        FlatteningBase base(app.store, app.askables);
        if (flattening_refused(app, base)) {
            app.port.note("Attention!", kNoFlatteningText);
            return;
        }
        const auto test = [&] { wyznacz_nadmiar(app); };
        if (!port::runToEnd(app.port, app.messages, port::texts::kRedundancyTest, test, r)) return;
    }
    if (!r.jest_nadmiar) {
        app.port.note(title, " The rule base" + name + " has no redundant rules!");
        return;
    }
    auto& rep = app.report;
    rep.kasowanie_tekst_raportu();
    rep.pisz(" Diagnostic report on rule redundancies for rule base:\n " + name + "\n\n Redundancies of type " + type +
             " are detected by flattening rules and comparing their list of conditions.\n");
    app.port.note("Diagnostic report on rule redundancies for rule base " + name,
                  "Redundancies of type " + type +
                      " are detected by flattening rules and comparing their list of conditions.");
    auto numbersEach = [](const Numbers& l) {
        std::string s;
        for (auto n : l) s += std::to_string(n) + ", ";
        return s;
    };
    for (const FlattenedPair& p : r.para_splaszczona_n1) {
        auto same = [&](const RedundantPair& x) { return x.n == p.n && x.m == p.m; };
        if (std::none_of(r.reguly_nadmiarowe_n1.begin(), r.reguly_nadmiarowe_n1.end(), same)) continue;
        const std::string n = std::to_string(p.n), m = std::to_string(p.m);
        rep.pisz(" The result of flattening rule " + n + "  is: \n   rule_flattened(" + n + ", " + p.wniosek + ", [" +
                 polacz(p.f1, ",") + "])\n Flattening has been done using rules: " + polacz(p.u1, ",") + "\n");
        rep.pisz(" The result of flattening rule " + m + "  is: \n   rule_flattened(" + m + ", " + p.wniosek + ", [" +
                 polacz(p.f2, ",") + "])\n Flattening has been done using rules:  " + polacz(p.u2, ",") + "\n");
        rep.pisz(" Rules " + n + " and " + m + " are " + type + " " + " redundant.\n");
        std::erase_if(r.reguly_nadmiarowe_n1, same);   // each pair once, with its first flattenings
        app.port.findingNote(port::Diagnosis::Redundancy, title,
                             "The result of flattening rule " + n + " is:\n\nrule_flattened(" + n + ", " + p.wniosek +
                                 ", " + lista_w_nawiasach(p.f1) + ")\n\nFlattening has been done using rules: " +
                                 numbersEach(p.u1) + "\n\n\nThe result of flattening rule " + m +
                                 " is:\n\nrule_flattened(" + m + ", " + p.wniosek + ", " + lista_w_nawiasach(p.f2) +
                                 ")\n\nFlattening has been done using rules: " + numbersEach(p.u2) + "\n\nRules " + n +
                                 " i " + m + " are  " + type + " redundant.");
    }
    rep.pisz("\n End of diagnostic report on rule redundancies of rule base: \n " + name + ".");
    app.port.note(title, "End of diagnostic report on rule redundancies of \nAugmented Exact Rule Base\n" + name + ".");
    r.para_splaszczona_n1.clear();
    reports::raport(app);
}

}  // namespace torv::verify
