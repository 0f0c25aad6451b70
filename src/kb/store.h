// The knowledge-base store: typed tables of the six bases, in file order.
#pragma once

#include <cstdint>
#include <map>
#include <unordered_map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "kb/name.h"

namespace torv::kb {

using StringList = std::vector<std::string>;
using IntList = std::vector<std::int32_t>;

/// Hashes a name so that tables keyed by std::string can be searched with a
/// string_view, without making a string for every lookup.
struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
template <class V>
using NameMap = std::unordered_map<std::string, V, NameHash, std::equal_to<>>;

// ---- rule base (RU*.AEB) ----

/// rule: if every condition holds, the conclusion holds.
struct Rule {
    std::int32_t numer = 0;
    Name wniosek;               // conclusion
    NameList warunki;           // conditions (a conjunction)
    std::int32_t semafor = 0;   // display semaphore
    bool operator==(const Rule&) const = default;
};

/// fact: a condition declared true in the rule base itself.
struct Fact {
    Name warunek;
    bool operator==(const Fact&) const = default;
};

// ---- model base (MO*.AEB) ----

/// model_b: result = argument1 (operation) argument2.
struct ModelB {
    std::int32_t numer = 0;
    std::string warunek;        // go-ahead condition
    std::string wynik;          // result
    std::string arg1;
    std::string operacja;
    std::string arg2;
    std::int32_t semafor = 0;
    bool operator==(const ModelB&) const = default;
};

/// model_e: the operation applies to the whole argument list.
struct ModelE {
    std::int32_t numer = 0;
    std::string warunek;
    std::string wynik;
    std::string operacja;
    StringList argumenty;
    std::int32_t semafor = 0;
    bool operator==(const ModelE&) const = default;
};

/// model_lin: result = sum of coefficient i times variable i.
struct ModelLin {
    std::int32_t numer = 0;
    std::string warunek;
    std::string wynik;
    StringList wspolczynniki;   // coefficients
    StringList zmienne;         // variables
    std::int32_t semafor = 0;
    bool operator==(const ModelLin&) const = default;
};

/// model_poly: result = sum of coefficient i times variable to the power i.
struct ModelPoly {
    std::int32_t numer = 0;
    std::string warunek;
    std::string wynik;
    std::string zmienna;        // variable
    StringList wspolczynniki;
    IntList potegi;             // powers
    std::int32_t semafor = 0;
    bool operator==(const ModelPoly&) const = default;
};

/// argument_known: a value of an askable argument declared in the model base.
struct ArgumentKnown {
    std::string argument;
    double wartosc = 0.0;
    bool operator==(const ArgumentKnown&) const = default;
};

/// m_fact: a condition declared true in the model base.
struct MFact {
    std::string warunek;
    bool operator==(const MFact&) const = default;
};

/// exclusive_models: go-ahead conditions declared mutually exclusive.
struct ExclusiveModels {
    StringList warunki;
    bool operator==(const ExclusiveModels&) const = default;
};

// ---- constraint base (CO*.AEB) ----

/// constraint: at most one of the listed askable conditions is true.
struct Constraint {
    std::int32_t numer = 0;
    StringList warunki;
    bool operator==(const Constraint&) const = default;
};

// ---- advice, graphics and sound bases ----

/// advice, nadvice, graphics, ngraphics, sounds, nsounds: a media file for
/// the conclusion (or its negation) of rule or relational model `numer`.
struct MediaRecord {
    std::int32_t numer = 0;
    std::string plik;           // file name with extension, no directory
    bool operator==(const MediaRecord&) const = default;
};

/// A remark (rem_*) or inactive (_*) line: read, kept, used by no operation.
struct KeptLine {
    std::string kind;           // record name as written, e.g. "rem_rule", "_fact"
    std::string text;           // the whole line as read
    bool operator==(const KeptLine&) const = default;
};

/// Which base a file belongs to; the order is that of the menu.
enum class BaseKind { Rule, Model, Constraint, Advice, Graphics, Sound };

/// The tables of one base as read from its file (used to fill the store
/// only after the whole file has been read without error).
struct RuleBase {
    std::vector<Rule> rules;
    std::vector<Fact> facts;
    std::vector<KeptLine> kept;
};
struct ModelBase {
    std::vector<ModelB> model_b;
    std::vector<ModelE> model_e;
    std::vector<ModelLin> model_lin;
    std::vector<ModelPoly> model_poly;
    std::vector<ArgumentKnown> argument_known;
    std::vector<MFact> m_fact;
    std::vector<ExclusiveModels> exclusive_models;
    std::vector<KeptLine> kept;
};
struct ConstraintBase {
    std::vector<Constraint> constraints;
    std::vector<KeptLine> kept;
};
struct AdviceBase {
    std::vector<MediaRecord> advice;
    std::vector<MediaRecord> nadvice;
    std::vector<KeptLine> kept;
};
struct GraphicsBase {
    std::vector<MediaRecord> graphics;
    std::vector<MediaRecord> ngraphics;
};
struct SoundBase {
    std::vector<MediaRecord> sounds;
    std::vector<MediaRecord> nsounds;
};

/// The whole store. Tables keep file order; lookups that the engine uses
/// often go through indexes that are rebuilt whenever a table is replaced.
class Store {
public:
    // Tables, read-only; change them through the operations below so the
    // indexes stay right.
    const std::vector<Rule>& rules() const { return rule_.rules; }
    const std::vector<Fact>& facts() const { return rule_.facts; }
    const RuleBase& ruleBase() const { return rule_; }
    const ModelBase& modelBase() const { return model_; }
    const ConstraintBase& constraintBase() const { return constraint_; }
    const AdviceBase& adviceBase() const { return advice_; }
    const GraphicsBase& graphicsBase() const { return graphics_; }
    const SoundBase& soundBase() const { return sound_; }

    const std::vector<Constraint>& constraints() const { return constraint_.constraints; }

    // ---- lookups (first in file order) ----
    const Rule* ruleByNumber(std::int32_t numer) const;
    /// Every rule concluding `wniosek`, in file order.
    std::vector<const Rule*> rulesByConclusion(Name wniosek) const;
    /// Positions (in file order) of the rules concluding `wniosek`.
    std::span<const std::size_t> ruleIndexesByConclusion(Name wniosek) const;
    const Rule* ruleByNumberConclusionSemaphore(std::int32_t numer, Name wniosek,
                                                std::int32_t semafor) const;

    /// A model of any kind, found by number, result, or number and semaphore.
    struct ModelRef {
        enum class Kind { Basic, Extended, Linear, Polynomial } kind;
        std::size_t index;          // position in its table
    };
    std::optional<ModelRef> modelByNumber(std::int32_t numer) const;
    std::vector<ModelRef> modelsByResult(std::string_view wynik) const;
    std::optional<ModelRef> modelByNumberSemaphore(std::int32_t numer, std::int32_t semafor) const;
    std::int32_t modelNumber(ModelRef ref) const;
    const std::string& modelResult(ModelRef ref) const;
    const std::string& modelGoAhead(ModelRef ref) const;
    std::int32_t modelSemaphore(ModelRef ref) const;

    /// Media records for `numer`, in file order.
    static std::vector<const MediaRecord*> byNumber(const std::vector<MediaRecord>& table,
                                                   std::int32_t numer);

    // ---- filling (whole bases, as read) ----
    void setRuleBase(RuleBase base);
    /// Replaces every model table but exclusive_models, whose records are added.
    void setModelBase(ModelBase base);
    void setConstraintBase(ConstraintBase base);
    void setAdviceBase(AdviceBase base);
    void setGraphicsBase(GraphicsBase base);
    void setSoundBase(SoundBase base);

    // ---- appending single records (editing, import) ----
    void addRule(Rule r);
    void addFact(Fact f);
    void addArgumentKnown(ArgumentKnown a);

    // ---- clear operations ----
    void kasowanie_dregula();
    void kasowanie_fakt();
    void kasowanie_nazwy_re();
    void kasowanie_dmodel();
    void kasowanie_dmodel_r();
    void kasowanie_dmodel_liniowy();
    void kasowanie_dmodel_wielomianowy();
    void kasowanie_m_fakt();
    void kasowanie_argument_znany();
    void kasowanie_modele_ekskluzywne();
    void kasowanie_nazwy_mo();
    /// The whole model base: every model kind, known arguments, m_facts
    /// and its names.
    void unloadModelBase();
    void kasowanie_dogranicz();
    void kasowanie_nazwy_og();
    void kasowanie_drada();
    void kasowanie_nazwy_ra();
    void kasowanie_dgrafika();
    void kasowanie_nazwy_gr();
    void kasowanie_dmelodie();
    void kasowanie_nazwy_me();
    void kasowanie_wyroznik();
    /// Everything: every base, every name record and marker.
    void clearAll();

    // ---- loaded-base names and load markers ----
    // A name record is replaced by the latest inserted, so a plain optional
    // holds "the one found first".
    std::optional<std::string> nazwa_re, nazwa_re_pelna;
    std::optional<std::string> nazwa_mo, nazwa_mo_pelna;
    std::optional<std::string> nazwa_og, nazwa_og_pelna;
    std::optional<std::string> nazwa_ra, nazwa_ra_pelna;
    std::optional<std::string> nazwa_gr, nazwa_gr_pelna;
    std::optional<std::string> nazwa_me, nazwa_me_pelna;
    std::optional<std::string> sciezka, sciezka1, sciezka2;
    std::optional<std::string> wyroznik;      // knowledge-base name
    std::optional<std::string> rozszerzenie;  // rest of the rule-base file name
    std::optional<std::string> jestem_tu;     // "Yes" while a base file is read
    std::optional<std::string> blad;          // "error" after a reported syntax error

private:
    void reindexRules();
    void indexRules() const;
    void reindexModels();

    RuleBase rule_;
    ModelBase model_;
    ConstraintBase constraint_;
    AdviceBase advice_;
    GraphicsBase graphics_;
    SoundBase sound_;

    // Built at the first lookup after the rules change. Positions in
    // rule_.rules by conclusion id:
    // byConclusion_[conclusionStarts_[id] .. conclusionStarts_[id + 1]);
    // (number, first position with it), sorted by number.
    mutable std::vector<std::size_t> conclusionStarts_, byConclusion_;
    mutable std::vector<std::pair<std::int32_t, std::uint32_t>> byNumber_;
    mutable bool rulesStale_ = true;
    std::map<std::int32_t, ModelRef> modelByNumber_;
    std::map<std::string, std::vector<ModelRef>, std::less<>> modelsByResult_;
};

// ---- condition names ----

/// negacja: "x" -> "nx", "nx" -> "x".
std::string negacja(std::string_view name);
/// negacja used with two names: either is "n" followed by the other.
bool negacja(std::string_view a, std::string_view b);
/// usun_negacje: the positive form of each name, in order.
StringList usun_negacje(const StringList& names);
/// True when the name is written as a negation.
inline bool jest_negacja(std::string_view name) { return !name.empty() && name.front() == 'n'; }

}  // namespace torv::kb
