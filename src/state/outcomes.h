// What a load check, a diagnosis or a chaining step found that the menu has
// to follow. The algorithms record what happened; the shell turns it into
// menu changes once the command is over (or the load has run), in order.
#pragma once

#include <vector>

namespace torv {

enum class Outcome {
    /// Rules and models shared conclusions or names: both bases were unloaded.
    RuleAndModelBasesUnloaded,
    /// Two facts of the bases exclude each other: chaining is refused.
    ExclusiveFactsDeclared,
    /// A singular relational model was removed: the run was stopped.
    SingularModelRemoved,
    /// The rule base is externally inconsistent.
    ExternalInconsistencyFound,
    /// The rule base is internally inconsistent (and not externally).
    InternalInconsistencyFound,
    /// The rule base has redundant rules.
    RedundancyFound,
    /// The model base is inconsistent.
    ModelInconsistencyFound,
    /// The model and rule bases are jointly inconsistent.
    JointModelRuleInconsistencyFound,
};

using Outcomes = std::vector<Outcome>;

}  // namespace torv
