// The table of interned names: one per process, growing only. Texts live in
// a deque so that references to them stay valid as names are added; the
// index is open addressing over ids.
#include "kb/name.h"

#include <deque>
#include <ostream>
#include <limits>

namespace torv::kb {

namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
// A negation looked up and not found: no name had its text then.
constexpr std::uint32_t kAbsent = kNone - 1;

class NameTable {
public:
    NameTable() { intern(""); }

    std::uint32_t intern(std::string_view text) {
        const auto h = static_cast<std::uint32_t>(std::hash<std::string_view>{}(text));
        std::size_t slot = h & mask_;
        for (std::uint32_t id; (id = slots_[slot]) != kNone; slot = (slot + 1) & mask_)
            if (hashes_[id] == h && texts_[id] == text) return id;
        const auto id = static_cast<std::uint32_t>(texts_.size());
        texts_.emplace_back(text);
        hashes_.push_back(h);
        negations_.push_back(kNone);
        slots_[slot] = id;
        if (texts_.size() * 2 > slots_.size()) grow();
        if (absent_ > 0) forgetAbsence(id);
        return id;
    }

    void reserve(std::size_t more) {
        while ((texts_.size() + more) * 2 > slots_.size()) grow();
        hashes_.reserve(texts_.size() + more);
        negations_.reserve(texts_.size() + more);
    }

    std::uint32_t find(std::string_view text) const {
        const auto h = static_cast<std::uint32_t>(std::hash<std::string_view>{}(text));
        for (std::size_t slot = h & mask_;; slot = (slot + 1) & mask_) {
            const std::uint32_t id = slots_[slot];
            if (id == kNone || (hashes_[id] == h && texts_[id] == text)) return id;
        }
    }

    const std::string& text(std::uint32_t id) const { return texts_[id]; }
    std::uint32_t count() const { return static_cast<std::uint32_t>(texts_.size()); }

    /// The negation's id; kNone when it has no id yet and `make` is false.
    std::uint32_t negation(std::uint32_t id, bool make) {
        const std::uint32_t known = negations_[id];
        if (known == kAbsent && !make) return kNone;
        if (known != kNone && known != kAbsent) return known;
        const std::string& t = texts_[id];
        const bool negative = isNegative(id);
        const std::string withN = negative ? std::string() : "n" + t;
        const std::string_view text = negative ? std::string_view(t).substr(1) : std::string_view(withN);
        const std::uint32_t n = make ? intern(text) : find(text);
        if (n == kNone) {
            negations_[id] = kAbsent;
            ++absent_;
            return kNone;
        }
        if (negations_[id] == kAbsent) --absent_;
        negations_[id] = n;
        // "x" and "nx" are each other's negation; "nnx" and "nx" are not.
        if (!negative || !isNegative(n)) {
            if (negations_[n] == kAbsent) --absent_;
            negations_[n] = id;
        }
        return n;
    }

private:
    bool isNegative(std::uint32_t id) const { return !texts_[id].empty() && texts_[id].front() == 'n'; }

    /// A new name may be the negation found absent for "n" + it or, when it
    /// is "nx" with a positive x, for x: those are looked up again.
    void forgetAbsence(std::uint32_t id) {
        const std::string& t = texts_[id];
        auto forget = [&](std::uint32_t other) {
            if (other != kNone && negations_[other] == kAbsent) {
                negations_[other] = kNone;
                --absent_;
            }
        };
        forget(find("n" + t));
        if (isNegative(id) && (t.size() == 1 || t[1] != 'n')) forget(find(std::string_view(t).substr(1)));
    }

    void grow() {
        std::vector<std::uint32_t> bigger(slots_.size() * 2, kNone);
        mask_ = bigger.size() - 1;
        for (std::uint32_t id = 0; id < texts_.size(); ++id) {
            std::size_t slot = hashes_[id] & mask_;
            while (bigger[slot] != kNone) slot = (slot + 1) & mask_;
            bigger[slot] = id;
        }
        slots_ = std::move(bigger);
    }

    std::deque<std::string> texts_;
    std::vector<std::uint32_t> hashes_;   // low bits of each text's hash
    std::vector<std::uint32_t> negations_;
    std::size_t absent_ = 0;   // negations marked kAbsent
    std::vector<std::uint32_t> slots_ = std::vector<std::uint32_t>(1024, kNone);
    std::size_t mask_ = 1023;
};

NameTable& table() {
    static NameTable t;
    return t;
}

}  // namespace

Name::Name(std::string_view text) : id_(table().intern(text)) {}

std::uint32_t Name::count() { return table().count(); }

void Name::reserve(std::size_t more) { table().reserve(more); }

const std::string& Name::str() const { return table().text(id_); }

Name Name::negated() const { return fromId(table().negation(id_, true)); }

std::optional<Name> Name::knownNegation() const {
    const std::uint32_t n = table().negation(id_, false);
    if (n == kNone) return std::nullopt;
    return fromId(n);
}

std::ostream& operator<<(std::ostream& out, Name n) { return out << n.str(); }

std::vector<std::string> texts(const NameList& names) { return {names.begin(), names.end()}; }

NameList names(const std::vector<std::string>& texts) { return {texts.begin(), texts.end()}; }

}  // namespace torv::kb
