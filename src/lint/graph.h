// The rule-dependency graph as Graphviz DOT: conditions and rules as nodes,
// premises and conclusions as edges, negation drawn as a dashed edge to the
// positive condition, askables and final conclusions marked, and the rules
// of each diagnosis finding coloured.
#pragma once

#include <optional>
#include <string>

namespace torv { struct AppState; }

namespace torv::lint {

struct GraphOptions {
    /// Show only the neighbourhood of this condition (either form of it).
    std::optional<std::string> focus;
    /// How many rules away from the focus the neighbourhood reaches.
    int depth = 2;
};

/// DOT of the loaded rule base, with the findings the diagnoses left in
/// `app`. Deterministic: nodes and edges in rule-file order.
std::string dependencyGraph(const AppState& app, const GraphOptions& options = {});

/// The node id of a rule at a position in the rule table; the desktop maps
/// clicks back through it.
std::string ruleNodeId(std::size_t index);
/// The position in the rule table of a rule node id, or nullopt.
std::optional<std::size_t> ruleIndexOfNode(const std::string& id);

}  // namespace torv::lint
