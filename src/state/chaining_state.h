// The chaining state: the working tables that forward chaining, backward
// chaining and model evaluation read and write during one run, and the
// operations that record declared facts with their constraint consequences.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "state/backward_state.h"
#include "state/lists.h"
#include "state/model_index.h"
#include "state/number_set.h"
#include "kb/store.h"

namespace torv::engine {

/// rbd: a decided condition and what decided it; 0 = declared (a fact, an
/// answer, a choice, a constraint consequence), otherwise the number of the
/// rule or relational model that derived it.
struct Rbd {
    std::int32_t numer = 0;
    kb::Name warunek;
    bool operator==(const Rbd&) const = default;
};

/// The rbd table: records in the order recorded, with an index so that
/// "is C decided" and "how many supports has C" do not scan the table.
class RbdTable {
public:
    const std::vector<Rbd>& records() const { return records_; }
    bool empty() const { return records_.empty(); }

    /// Some record holds the condition.
    bool decided(kb::Name warunek) const { return supports(warunek) != 0; }
    /// Number of records holding the condition.
    std::size_t supports(kb::Name warunek) const {
        return warunek.id() < index_.size() ? index_[warunek.id()].count : 0;
    }
    /// rbd(numer, warunek) exists.
    bool has(std::int32_t numer, kb::Name warunek) const;
    /// Some record holds the condition under a number other than `numer`.
    bool hasOther(std::int32_t numer, kb::Name warunek) const;

    /// Appends rbd(numer, warunek).
    void add(std::int32_t numer, kb::Name warunek);
    /// Removes the first rbd(numer, warunek); false when there is none.
    bool remove(std::int32_t numer, kb::Name warunek);
    /// Removes every record of the condition.
    void removeAll(kb::Name warunek);
    void clear();

    /// The records before this position have been presented. Removing one
    /// of them moves it down, so no record added later is passed over.
    std::size_t presentedUpTo() const { return presented_; }
    void setPresentedUpTo(std::size_t n) { presented_ = n; }

    /// Told the condition of every record added or removed, and the
    /// conditions whose rules are re-opened, while a run watches them.
    std::function<void(kb::Name)> observer;
    void changed(kb::Name warunek) const {
        if (observer) observer(warunek);
    }

private:
    /// Calls `f` with the number of every record of the condition until it
    /// returns true; true when it did.
    template <class F>
    bool anyNumber(kb::Name warunek, F&& f) const {
        if (supports(warunek) == 0) return false;
        if (f(index_[warunek.id()].first)) return true;
        if (index_[warunek.id()].count == 1) return false;
        const auto& more = more_.at(warunek.id());
        return std::any_of(more.begin(), more.end(), f);
    }

    std::vector<Rbd> records_;
    std::size_t presented_ = 0;
    // Condition id -> the number of its first record and how many it has;
    // the numbers of the others, rarely any, wait in `more_`.
    struct Numbers {
        std::int32_t first = 0;
        std::uint32_t count = 0;
    };
    std::vector<Numbers> index_;
    std::unordered_map<std::uint32_t, std::vector<std::int32_t>> more_;
};

/// zmienna_ustalona: a determined argument value.
struct ZmiennaUstalona {
    std::string argument;
    double wartosc = 0.0;
    bool operator==(const ZmiennaUstalona&) const = default;
};

/// szczegolowosc: the level of message and report detail.
enum class Detail { Low, High };

/// The tables of the current chaining run. They outlive the run (the summary
/// and the inspection windows read them) until the next run is prepared.
struct ChainingState {
    RbdTable rbd;
    NumberSet regula_zastosowana;                             // rules fired and not re-opened
    std::vector<std::int32_t> model_stosowany;                // models applied
    std::vector<ZmiennaUstalona> zmienna_ustalona;
    /// Models already told to have no value for their operation in this run.
    std::unordered_set<std::int32_t> modelsWithoutValue;
    /// Kept by model evaluation; cleared with the tables it indexes.
    mutable ModelIndex modelIndex;
    Names zanegowany_warunek_z_bazy_ograniczen;               // made false by a constraint
    std::vector<Names> lista_warunkow_ograniczenia_z_warunkami_faktami;
    Names lista_warunkow_uwzglednionych_ograniczen;
    /// Set once two mutually exclusive facts were found in the bases; it
    /// refuses chaining until the bases are loaded again.
    bool blad_wykluczajacych = false;

    /// The constraints as this run sees them. Declaring a condition true
    /// drops its negation from the constraints that list it; that change is
    /// the run's, not the constraint base's.
    std::vector<kb::Constraint> ograniczenia;

    // Records of the operations shared by both chainings.
    kb::NameFlags rbd_finalna;                                // decided and already presented
    Names rbd_wstecz;                                         // established backwards
    Names etykieta;                                           // summary labels, in entry order
    std::optional<std::string> hipoteza;
    BackwardState backward;                                        // backward chaining's own
    std::optional<Detail> szczegolowosc;

    // Derived from the store when a run is prepared.
    /// Positions of the rules whose condition list holds a condition, by
    /// condition id: rulePositions[ruleStarts[id] .. ruleStarts[id + 1]).
    std::vector<std::uint32_t> ruleStarts, rulePositions;
    /// ogolna_lista_dopytywalnych as a set.
    kb::NameFlags askableSet;

    /// Calls `f` with the position of every rule whose conditions hold the
    /// condition or its negation (twice for a rule holding both).
    template <class F>
    void forRulesUsing(kb::Name warunek, F&& f) const {
        auto using_ = [&](kb::Name w) {
            if (w.id() + 1 < ruleStarts.size())
                for (std::uint32_t k = ruleStarts[w.id()]; k < ruleStarts[w.id() + 1]; ++k) f(rulePositions[k]);
        };
        using_(warunek);
        if (auto n = warunek.knownNegation()) using_(*n);
    }

    /// Scan every rule from the first in each pass instead of visiting only
    /// the rules whose conditions changed. Both give the same run; the full
    /// scan is kept to compare against.
    bool fullScan = false;

    bool exclusiveFactsFound() const { return blad_wykluczajacych; }
    bool highDetail() const { return szczegolowosc == Detail::High; }
    bool endDecided() const {
        static const kb::Name kEnd("end");
        return rbd.decided(kEnd);
    }

    /// Clears the tables of a run (labels and level of detail excepted, which
    /// the preparation asks for itself) and takes the constraints and the
    /// indexes from the store.
    void prepare(const kb::Store& store, const Names& askables);

};

/// The first constraint (in record order) that lists the condition, or null.
const kb::Constraint* ograniczenie_z(const ChainingState& s, std::string_view warunek);

/// pamietaj: records a declared condition, true or false, with its
/// constraint consequences. `wszystkieOgraniczenia`:
/// every constraint listing it is treated (facts of the bases), otherwise
/// only the first (a single answer).
void pamietaj(ChainingState& s, const std::string& warunek, bool prawda, bool wszystkieOgraniczenia);
/// pamietaj_fakty: records every member as declared true; a member already
/// decided, or whose complement is, is left as it is.
void pamietaj_fakty(ChainingState& s, const Names& lista);
/// pamietaj_warunki_nie_bedace_faktami: records every undecided member false.
void pamietaj_warunki_nie_bedace_faktami(ChainingState& s, const Names& lista);

/// The first member of a constraint already decided true, or null: such a
/// constraint is settled, its other members can only be false.
const std::string* prawdziwy_czlonek(const ChainingState& s, const Names& czlonkowie);
/// Every member is decided, true or false.
bool wszystkie_rozstrzygniete(const ChainingState& s, const Names& czlonkowie);

}  // namespace torv::engine
