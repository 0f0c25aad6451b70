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
    /// model_aryt_sprzeczny, model_sprzeczny_gleboko, model_rela_sprzeczny:
    /// "YES" for direct, indirect and relational model inconsistencies.
    std::optional<std::string> model_aryt_sprzeczny;
    std::optional<std::string> model_sprzeczny_gleboko;
    std::optional<std::string> model_rela_sprzeczny;
    /// Set when the rules concluding the go-ahead conditions of models with
    /// the same result were found not exclusive against the constraint base.
    bool sameResultsNotExclusive = false;
    /// opis: path of the knowledge base's abstract.
    std::optional<std::string> opis;

    bool numberingFault() const { return rozne_numery == "NO"; }
    bool externallyInconsistent() const { return sprzecznosc_1z == "YES"; }
    bool jointModelRuleFault() const { return sprzecznosc_mr == "YES"; }
    bool modelFault() const {
        return model_aryt_sprzeczny == "YES" || model_sprzeczny_gleboko == "YES" || model_rela_sprzeczny == "YES";
    }
    /// What a model-base load clears before it reads the file.
    void clearModelTests() {
        sprzecznosc_mr.reset();
        model_aryt_sprzeczny.reset();
        model_sprzeczny_gleboko.reset();
        model_rela_sprzeczny.reset();
        sameResultsNotExclusive = false;
    }
};

}  // namespace torv::kb
