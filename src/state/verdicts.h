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
    /// model_aryt_sprzeczny, model_sprzeczny_gleboko, model_rela_sprzeczny:
    /// direct, indirect and relational model inconsistencies were found.
    bool model_aryt_sprzeczny = false;
    bool model_sprzeczny_gleboko = false;
    bool model_rela_sprzeczny = false;
    /// The rules concluding the go-ahead conditions of models with the same
    /// result were found not exclusive against the constraint base.
    bool sameResultsNotExclusive = false;
    /// opis: path of the knowledge base's abstract.
    std::optional<std::string> opis;

    bool numberingFault() const { return rozne_numery == false; }
    bool externallyInconsistent() const { return sprzecznosc_1z == true; }
    bool jointModelRuleFault() const { return sprzecznosc_mr == true; }
    bool modelFault() const { return model_aryt_sprzeczny || model_sprzeczny_gleboko || model_rela_sprzeczny; }
    /// What a model-base load clears before it reads the file.
    void clearModelTests() {
        sprzecznosc_mr.reset();
        model_aryt_sprzeczny = model_sprzeczny_gleboko = model_rela_sprzeczny = false;
        sameResultsNotExclusive = false;
    }
};

}  // namespace torv::kb
