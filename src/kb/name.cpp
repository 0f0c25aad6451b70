// The table of interned names: one per process, growing only. Texts live in
// a deque so that references to them stay valid as names are added; the
// index is open addressing over ids.
#include "kb/name.h"

#include <algorithm>
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

    static std::uint32_t hash(std::string_view text) {
        return static_cast<std::uint32_t>(std::hash<std::string_view>{}(text));
    }

    std::uint32_t intern(std::string_view text) { return intern(text, hash(text)); }

    std::uint32_t intern(std::string_view text, std::uint32_t h) {
        std::size_t slot = h & mask_;
        for (std::uint64_t s; (s = slots_[slot]) != kEmpty; slot = (slot + 1) & mask_)
            if (hashOf(s) == h && texts_[idOf(s)] == text) return idOf(s);
        const auto id = static_cast<std::uint32_t>(texts_.size());
        texts_.emplace_back(text);
        negations_.push_back(kNone);
        slots_[slot] = std::uint64_t{h} << 32 | id;
        if (texts_.size() * 2 > slots_.size()) grow();
        if (absent_ > 0) forgetAbsence(id);
        return id;
    }

    /// Interns a batch, first touching every slot and text it will read,
    /// so that their cache misses overlap instead of following each other.
    void intern(std::span<const std::string_view> texts, Name* out) {
        constexpr std::size_t kBatch = 16;
        std::uint32_t h[kBatch];
        for (std::size_t from = 0; from < texts.size(); from += kBatch) {
            const std::size_t n = std::min(kBatch, texts.size() - from);
            for (std::size_t i = 0; i < n; ++i) {
                h[i] = hash(texts[from + i]);
                __builtin_prefetch(&slots_[h[i] & mask_]);
            }
            for (std::size_t i = 0; i < n; ++i)
                if (const std::uint64_t s = slots_[h[i] & mask_]; s != kEmpty && hashOf(s) == h[i])
                    __builtin_prefetch(&texts_[idOf(s)]);
            for (std::size_t i = 0; i < n; ++i) out[from + i] = Name::fromId(intern(texts[from + i], h[i]));
        }
    }

    void reserve(std::size_t more) {
        while ((texts_.size() + more) * 2 > slots_.size()) grow();
        negations_.reserve(texts_.size() + more);
    }

    std::uint32_t find(std::string_view text) const {
        const std::uint32_t h = hash(text);
        for (std::size_t slot = h & mask_;; slot = (slot + 1) & mask_) {
            const std::uint64_t s = slots_[slot];
            if (s == kEmpty) return kNone;
            if (hashOf(s) == h && texts_[idOf(s)] == text) return idOf(s);
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

    // A slot holds a text's hash beside its id, so that a probe reads the
    // text only when the hashes agree.
    static constexpr std::uint64_t kEmpty = std::numeric_limits<std::uint64_t>::max();
    static std::uint32_t hashOf(std::uint64_t slot) { return static_cast<std::uint32_t>(slot >> 32); }
    static std::uint32_t idOf(std::uint64_t slot) { return static_cast<std::uint32_t>(slot); }

    void grow() {
        std::vector<std::uint64_t> bigger(slots_.size() * 2, kEmpty);
        mask_ = bigger.size() - 1;
        for (std::uint64_t s : slots_) {
            if (s == kEmpty) continue;
            std::size_t slot = hashOf(s) & mask_;
            while (bigger[slot] != kEmpty) slot = (slot + 1) & mask_;
            bigger[slot] = s;
        }
        slots_ = std::move(bigger);
    }

    std::deque<std::string> texts_;
    std::vector<std::uint32_t> negations_;
    std::size_t absent_ = 0;   // negations marked kAbsent
    std::vector<std::uint64_t> slots_ = std::vector<std::uint64_t>(1024, kEmpty);
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

void Name::intern(std::span<const std::string_view> texts, Name* out) { table().intern(texts, out); }

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
