// Verdict records left by load checks and diagnoses; later loads, the menu
// state and the chaining gate read them. Loading a rule base clears them all.
#pragma once

#include <optional>
#include <string>

namespace torv::kb {

struct Verdicts {
    /// rozne_numery: "NO" after a numbering check found a duplicate.
    std::optional<std::string> rozne_numery;
    /// sprzecznosc_1z: "YES" when the rule base is externally inconsistent.
    std::optional<std::string> sprzecznosc_1z;
    /// sprzecznosc_mr: "YES" when models and rules are jointly inconsistent.
    std::optional<std::string> sprzecznosc_mr;
    /// opis: path of the knowledge base's abstract.
    std::optional<std::string> opis;

    bool numberingFault() const { return rozne_numery == "NO"; }
    bool externallyInconsistent() const { return sprzecznosc_1z == "YES"; }
    bool jointModelRuleFault() const { return sprzecznosc_mr == "YES"; }
};

}  // namespace torv::kb
