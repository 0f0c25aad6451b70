// DOT writer of the rule-dependency graph.
#include "lint/graph.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <set>
#include <vector>

#include "lint/formats.h"
#include "state/app_state.h"

namespace torv::lint {

namespace {

/// What a rule is coloured by: the first finding kind it takes part in, in
/// this order (the gravest first).
struct Mark {
    const char* color;
    const char* label;
};
constexpr Mark kExternal{"red", "external inconsistency (cycle)"};
constexpr Mark kJointModelRule{"brown", "joint model-rule inconsistency"};
constexpr Mark kInternal{"orange", "internal inconsistency"};
constexpr Mark kJointConstraint{"magenta", "joint rule-constraint inconsistency"};
constexpr Mark kRedundancy{"blue", "redundancy"};
constexpr Mark kJointRedundancy{"purple", "joint rule-constraint redundancy"};

std::string positive(const std::string& name) { return kb::jest_negacja(name) ? name.substr(1) : name; }

/// A DOT id or label: JSON string escaping is a subset DOT accepts, apart
/// from the backslash escapes DOT gives meaning to in labels.
std::string quoted(const std::string& s) {
    std::string q = jsonString(s);
    std::string out;
    for (std::size_t i = 0; i < q.size(); ++i) {
        if (q[i] == '\\' && i + 1 < q.size() && q[i + 1] == 'n') {
            out += "\\n";
            ++i;
        } else if (q[i] == '\\' && i + 1 < q.size() && q[i + 1] == '\\') {
            out += "\\\\";
            ++i;
        } else {
            out += q[i];
        }
    }
    return out;
}

std::string conditionId(const std::string& positiveName) { return quoted("c:" + positiveName); }

}  // namespace

std::string ruleNodeId(std::size_t index) { return "r" + std::to_string(index); }

std::optional<std::size_t> ruleIndexOfNode(const std::string& id) {
    if (id.size() < 2 || id.front() != 'r') return std::nullopt;
    std::size_t n = 0;
    const auto r = std::from_chars(id.data() + 1, id.data() + id.size(), n);
    if (r.ec != std::errc() || r.ptr != id.data() + id.size()) return std::nullopt;
    return n;
}

std::string dependencyGraph(const AppState& app, const GraphOptions& options) {
    const auto& rules = app.store.rules();
    const auto& f = app.findings;

    // Rule numbers to the marks of the findings they take part in.
    std::map<std::int32_t, const Mark*> marks;
    auto mark = [&](std::int32_t n, const Mark& m) { marks.try_emplace(n, &m); };
    for (const auto& e : f.external.reguly_sprzeczne) {
        mark(e.n, kExternal);
        for (auto n : e.chain) mark(n, kExternal);
    }
    for (const auto& j : f.jointModelRule.modele_i_reguly_sprzeczne) {
        mark(j.m, kJointModelRule);
        for (auto n : j.reguly)
            if (n != 0) mark(n, kJointModelRule);
    }
    for (const auto& v : f.internal.sprzecznosc_1w)
        if (v.contradictory) mark(v.numer, kInternal);
    for (const auto& j : f.jointInconsistency.sprzecznosc_2) mark(j.n, kJointConstraint);
    for (const auto& p : f.redundancy.reguly_nadmiarowe_n1) {
        mark(p.n, kRedundancy);
        mark(p.m, kRedundancy);
    }
    for (const auto& j : f.jointRedundancy.reguly_nadmiarowe_n2)
        for (auto n : j.reguly) mark(n, kJointRedundancy);

    // The rules shown: all, or those within `depth` rules of the focus.
    std::vector<bool> shown(rules.size(), !options.focus);
    if (options.focus) {
        std::map<std::string, std::vector<std::size_t>> touching;   // positive condition -> rules
        for (std::size_t i = 0; i < rules.size(); ++i) {
            touching[positive(rules[i].wniosek)].push_back(i);
            for (const auto& c : rules[i].warunki) touching[positive(c)].push_back(i);
        }
        std::set<std::string> reached{positive(*options.focus)};
        std::vector<std::string> frontier{positive(*options.focus)};
        for (int d = 0; d < options.depth && !frontier.empty(); ++d) {
            std::vector<std::string> next;
            for (const auto& c : frontier) {
                auto it = touching.find(c);
                if (it == touching.end()) continue;
                for (auto i : it->second) {
                    if (shown[i]) continue;
                    shown[i] = true;
                    auto reach = [&](const std::string& name) {
                        if (reached.insert(positive(name)).second) next.push_back(positive(name));
                    };
                    reach(rules[i].wniosek);
                    for (const auto& w : rules[i].warunki) reach(w);
                }
            }
            frontier = std::move(next);
        }
    }

    // Conditions in order of first appearance among the shown rules.
    std::vector<std::string> conditions;
    std::set<std::string> known, premises;
    auto addCondition = [&](const std::string& name) {
        if (known.insert(positive(name)).second) conditions.push_back(positive(name));
    };
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (!shown[i]) continue;
        for (const auto& c : rules[i].warunki) {
            addCondition(c);
            premises.insert(positive(c));
        }
        addCondition(rules[i].wniosek);
    }
    // Used as a premise anywhere in the base (not only among those shown).
    std::set<std::string> usedAnywhere;
    for (const auto& r : rules)
        for (const auto& c : r.warunki) usedAnywhere.insert(positive(c));

    std::string out = "digraph rule_dependencies {\n"
                      "  graph [rankdir=LR, fontname=\"DejaVu Sans\"];\n"
                      "  node [fontname=\"DejaVu Sans\", fontsize=10];\n"
                      "  edge [fontname=\"DejaVu Sans\", fontsize=9];\n";
    if (options.focus)
        out += "  label=" + quoted("Neighbourhood of " + *options.focus + ", depth " + std::to_string(options.depth)) +
               ";\n  labelloc=t;\n";
    for (const auto& c : conditions) {
        const bool askable = app.askables.jest_dopytywalny(c);
        const bool final = !usedAnywhere.count(c);
        std::string attrs = askable  ? "shape=ellipse, style=filled, fillcolor=lightblue"
                            : final ? "shape=doubleoctagon, style=filled, fillcolor=gold"
                                    : "shape=ellipse";
        if (options.focus && c == positive(*options.focus)) attrs += ", penwidth=3";
        out += "  " + conditionId(c) + " [label=" + quoted(c) + ", " + attrs + "];\n";
    }
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (!shown[i]) continue;
        const auto& r = rules[i];
        std::string attrs = "shape=box";
        if (auto m = marks.find(r.numer); m != marks.end())
            attrs += std::string(", style=filled, fillcolor=") + m->second->color + ", tooltip=" + quoted(m->second->label);
        out += "  " + ruleNodeId(i) + " [label=" + quoted("rule " + std::to_string(r.numer)) + ", " + attrs + "];\n";
    }
    // A negated premise or conclusion is a dashed edge to or from the
    // positive condition with a circle at the rule's end or the condition's.
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (!shown[i]) continue;
        const auto& r = rules[i];
        for (const auto& c : r.warunki) {
            out += "  " + conditionId(positive(c)) + " -> " + ruleNodeId(i);
            out += kb::jest_negacja(c) ? " [style=dashed, arrowhead=odot, label=\"not\"];\n" : ";\n";
        }
        out += "  " + ruleNodeId(i) + " -> " + conditionId(positive(r.wniosek));
        out += kb::jest_negacja(r.wniosek) ? " [style=dashed, arrowhead=odot, label=\"not\"];\n" : ";\n";
    }
    // The legend names only the marks in use.
    std::set<const Mark*> used;
    for (std::size_t i = 0; i < rules.size(); ++i)
        if (auto m = marks.find(rules[i].numer); shown[i] && m != marks.end()) used.insert(m->second);
    if (!used.empty()) {
        out += "  subgraph cluster_legend {\n    label=\"Findings\";\n";
        int k = 0;
        for (const Mark* m : {&kExternal, &kJointModelRule, &kInternal, &kJointConstraint, &kRedundancy, &kJointRedundancy})
            if (used.count(m))
                out += "    legend" + std::to_string(k++) + " [label=" + quoted(m->label) +
                       ", shape=box, style=filled, fillcolor=" + m->color + "];\n";
        out += "  }\n";
    }
    out += "}\n";
    return out;
}

}  // namespace torv::lint
