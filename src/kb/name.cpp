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

class NameTable {
public:
    NameTable() { intern(""); }

    std::uint32_t intern(std::string_view text) {
        const auto h = static_cast<std::uint32_t>(std::hash<std::string_view>{}(text));
        std::size_t slot = h & mask_;
        for (std::uint64_t s; (s = slots_[slot]) != kEmpty; slot = (slot + 1) & mask_)
            if (hashOf(s) == h && texts_[idOf(s)] == text) return idOf(s);
        const auto id = static_cast<std::uint32_t>(texts_.size());
        texts_.emplace_back(text);
        negations_.push_back(kNone);
        slots_[slot] = std::uint64_t{h} << 32 | id;
        if (texts_.size() * 2 > slots_.size()) grow();
        return id;
    }

    void reserve(std::size_t more) {
        while ((texts_.size() + more) * 2 > slots_.size()) grow();
        negations_.reserve(texts_.size() + more);
    }

    const std::string& text(std::uint32_t id) const { return texts_[id]; }
    std::uint32_t count() const { return static_cast<std::uint32_t>(texts_.size()); }

    std::uint32_t negation(std::uint32_t id) {
        if (negations_[id] != kNone) return negations_[id];
        const std::string& t = texts_[id];
        const bool negative = !t.empty() && t.front() == 'n';
        const std::uint32_t n = negative ? intern(std::string_view(t).substr(1)) : intern("n" + t);
        negations_[id] = n;
        // "x" and "nx" are each other's negation; "nnx" and "nx" are not.
        if (!negative || !isNegative(n)) negations_[n] = id;
        return n;
    }

private:
    bool isNegative(std::uint32_t id) const { return !texts_[id].empty() && texts_[id].front() == 'n'; }

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

const std::string& Name::str() const { return table().text(id_); }

Name Name::negated() const { return fromId(table().negation(id_)); }

std::ostream& operator<<(std::ostream& out, Name n) { return out << n.str(); }

std::vector<std::string> texts(const NameList& names) { return {names.begin(), names.end()}; }

NameList names(const std::vector<std::string>& texts) { return {texts.begin(), texts.end()}; }

}  // namespace torv::kb
