// Verdict records left by load checks and diagnoses; later loads, the menu
// state and the chaining gate read them. Loading a rule base clears them all.
#pragma once

#include <optional>
#include <string>

namespace torv::kb {

struct Verdicts {
    /// rozne_numery: false after a numbering check found a duplicate.
    std::optional<bool> rozne_numery;
    /// sprzecznosc_1z: true when the rule base is externally inconsistent,
    /// false once the test found it is not.
    std::optional<bool> sprzecznosc_1z;
    /// sprzecznosc_mr: true when models and rules are jointly inconsistent.
    std::optional<bool> sprzecznosc_mr;
    /// opis: path of the knowledge base's abstract.
    std::optional<std::string> opis;

    bool numberingFault() const { return rozne_numery == false; }
    bool externallyInconsistent() const { return sprzecznosc_1z == true; }
    bool jointModelRuleFault() const { return sprzecznosc_mr == true; }
};

}  // namespace torv::kb
