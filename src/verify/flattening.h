// Rule flattening: rewriting a rule into askable conditions only, one
// flattening at a time, and the two flattening commands of the menu.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "kb/name.h"
#include "state/findings.h"

namespace torv { struct AppState; }
namespace torv::kb { class Store; struct Rule; }
namespace torv::engine { struct Askables; }

namespace torv::verify {

/// A condition name as flattening sees it: an index into FlatteningBase.
using NameId = std::int32_t;

/// One alternative for a condition: the rule used (0 when an askable
/// condition stays as it is) and what replaces the condition.
struct Alternative {
    std::int32_t numer = 0;
    std::vector<NameId> zamiana;
};

/// The rule base as flattening sees it: names interned, negations and the
/// alternatives of each name worked out once and shared by every generator.
/// Keeps references to the store and askables, which must outlive it.
class FlatteningBase {
public:
    FlatteningBase(const kb::Store& store, const engine::Askables& askables);
    FlatteningBase(const FlatteningBase&) = delete;
    FlatteningBase& operator=(const FlatteningBase&) = delete;

    NameId intern(std::string_view name);
    std::vector<NameId> intern(const Names& names);
    std::vector<NameId> intern(const kb::NameList& names);
    const std::string& name(NameId id) const { return entries_[static_cast<std::size_t>(id)].name; }
    Names names(const std::vector<NameId>& ids) const;
    std::size_t size() const { return entries_.size(); }

    /// negacja, interned on first use: a name with many leading "n"s must
    /// not bring in every shorter name with it.
    NameId negation(NameId id);
    /// dopytywalny_t: askable, or the negation of an askable condition.
    bool askable(NameId id) const { return entries_[static_cast<std::size_t>(id)].askable; }
    /// A condition that needs no further pass: askable as above, or the
    /// negation of such a name.
    bool settled(NameId id) const { return entries_[static_cast<std::size_t>(id)].settled; }
    /// szukaj_regule: every alternative for the condition, in the order tried.
    const std::vector<Alternative>& szukaj_regule(NameId id);

    /// The one flattening of `warunki`, as a set of names in no fixed order,
    /// when every name reachable from them has a single alternative and the
    /// generator would stay within its limits; nullopt otherwise. Costs the
    /// names reached rather than the generator's passes times their length
    /// (cubic on deep chains). `passes` gets what the generator would count.
    std::optional<std::vector<NameId>> soleFlattening(const std::vector<NameId>& warunki,
                                                      std::uint64_t* passes = nullptr);

    /// True when some condition can be derived from itself, so that
    /// flattening would never end. Worked out once, in linear time.
    bool cyclic();
    /// Passes beyond this many can only come from a cycle.
    std::size_t passLimit() const { return passLimit_; }

    const kb::Store& store() const { return store_; }

    /// A scratch mark per name, for de-duplication in linear time: a fresh
    /// round makes every name unmarked.
    std::uint32_t newRound();
    std::uint32_t& mark(NameId id) { return entries_[static_cast<std::size_t>(id)].mark; }

private:
    struct Entry {
        std::string name;
        NameId negation = -1;
        bool askable = false;
        bool settled = false;
        bool alternativesKnown = false;
        std::vector<Alternative> alternatives;
        std::uint32_t mark = 0;
        // Memo of soleFlattening: whether every name below has one
        // alternative, and how many passes rewrite this one away.
        enum class Sole : std::uint8_t { Unknown, Visiting, Yes, No } sole = Sole::Unknown;
        std::uint32_t height = 0;
    };
    NameId internOne(std::string_view name);
    template <class List>
    std::vector<NameId> internAll(const List& names);
    bool sole(NameId id);

    const kb::Store& store_;
    const engine::Askables& askables_;
    std::deque<Entry> entries_;   // stable references while growing
    std::unordered_map<std::string, NameId> ids_;
    std::optional<bool> cyclic_;
    std::size_t passLimit_ = 0;
    std::uint32_t round_ = 0;
};

/// splaszcz: the generator of a rule's flattenings. Each next() yields one
/// more flattening in the fixed order (the first condition's alternatives
/// outermost, depth first); false once they are exhausted. Only the current
/// path of choices is kept, one small record per condition of each pass.
class Splaszcz {
public:
    /// The conclusion plays no part in the result.
    Splaszcz(FlatteningBase& base, const std::vector<NameId>& warunki);
    Splaszcz(FlatteningBase& base, const kb::Rule& rule);

    bool next();
    /// The flattened condition list of the current flattening.
    const std::vector<NameId>& flat() const { return flat_; }
    Names flatNames() const { return base_.names(flat_); }
    /// Used as the generator leaves it: 0 for kept askables, most recent first.
    Numbers used() const;
    /// What callers show and compare: no 0, each rule once, in order of first use.
    Numbers usedNormalised() const;

    /// Passes made so far (a measure of the work done).
    std::uint64_t passes() const { return passCount_; }
    /// A branch was cut: it went deeper than any acyclic base allows, or
    /// its choices would have outgrown kMaxChoices.
    bool limitHit() const { return limitHit_; }
    /// Bounds the passes of the whole generator (0: unbounded); once they are
    /// spent, next() returns false and limitHit() is true.
    void setPassBudget(std::uint64_t passes) { passBudget_ = passes; }

    /// Choices kept at once (8 bytes each): a bound no real base comes near.
    static constexpr std::size_t kMaxChoices = std::size_t{1} << 24;

private:
    /// One condition of a pass and the alternative chosen for it; a pass's
    /// conditions stay fixed while it is open, so they live here only.
    struct Choice {
        NameId cond;
        std::uint32_t alt;
    };
    /// Opens a pass over the conditions; false when one has no alternative.
    bool open(const std::vector<NameId>& warunki);
    /// Moves to the next combination of choices; false when none is left.
    bool advance();
    const std::vector<Alternative>& alternatives(const Choice& c) const { return base_.szukaj_regule(c.cond); }
    const Alternative& chosen(const Choice& c) const { return alternatives(c)[c.alt]; }

    FlatteningBase& base_;
    std::vector<NameId> initial_;
    std::vector<std::size_t> passStart_;   // first choice of each open pass
    std::vector<Choice> choices_;
    std::vector<NameId> flat_;
    std::vector<NameId> scratch_;
    bool started_ = false;
    bool done_ = false;
    bool limitHit_ = false;
    std::uint64_t passCount_ = 0;
    std::uint64_t passBudget_ = 0;
};

// ---- list operations of flattening ----

/// neguj_liste: every element negated, order kept.
Names neguj_liste(const Names& l);
/// odwracanie.
Names odwracanie(Names l);
/// usun / usun_wszystkie: every occurrence of `x` removed.
Numbers usun(std::int32_t x, const Numbers& l);
/// redukuj_i: duplicates removed, each number at its last occurrence.
Numbers redukuj_i(const Numbers& l);
/// The normalised rules-used list: 0 removed, then reversed.
Numbers normalizuj_uzyte(const Numbers& used);
/// szukaj_regule by names, for callers outside the generator.
std::vector<std::pair<std::int32_t, Names>> szukaj_regule(const kb::Store& store, const engine::Askables& askables,
                                                          const std::string& warunek);
/// ma_warunki_niedopyt: with `tryb`, whether the list holds a condition that
/// is not askable; without, always true.
bool ma_warunki_niedopyt(const kb::Store& store, const engine::Askables& askables, const Names& warunki, bool tryb);

// ---- texts ----

/// Bracket notation: ["a","nb"].
std::string lista_w_nawiasach(const Names& l);
/// Bracket notation: [1,2].
std::string lista_w_nawiasach(const Numbers& l);
/// Elements joined by `sep`, nothing around them.
std::string polacz(const Names& l, std::string_view sep);
std::string polacz(const Numbers& l, std::string_view sep);

/// The note shown when a diagnosis or flattening meets a base with
/// dependency cycles.
inline constexpr const char* kNoFlatteningText = "Externally inconsistent rules may not be flattened!";

/// True when flattening must not run: the external verdict is "YES", or the
/// base has dependency cycles (the external test may have been declined).
bool flattening_refused(AppState& app, FlatteningBase& base);

// ---- commands ----

/// tryb_splaszczenia: "Flattening all rules" (10137).
void splaszcz_wszystkie(AppState& app);
/// tryb_splaszczenia_1 and dalej: "Flattening a chosen rule" (10136).
void splaszcz_wybrana(AppState& app);

}  // namespace torv::verify
