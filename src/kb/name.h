// Interned names. Every condition, conclusion and argument name of the rule
// base is kept once and referred to by a 32-bit id, so a million rules hold
// ids instead of four million strings, and tables over names can be arrays
// indexed by id. A Name reads as its text wherever text is wanted.
#pragma once

#include <algorithm>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace torv::kb {

class Name {
public:
    /// The empty name.
    Name() = default;
    /// The name with this text, interned on first use.
    Name(std::string_view text);  // NOLINT(google-explicit-constructor): a name is its text
    Name(const std::string& text) : Name(std::string_view(text)) {}  // NOLINT
    Name(const char* text) : Name(std::string_view(text)) {}         // NOLINT

    /// The name whose id is `id` (below count()).
    static Name fromId(std::uint32_t id) {
        Name n;
        n.id_ = id;
        return n;
    }
    /// Every name interned so far has an id below this.
    static std::uint32_t count();
    /// Makes room for `more` names beyond count() at once (a hint).
    static void reserve(std::size_t more);
    /// The names of `texts`, into out[0 .. texts.size()); faster than one
    /// by one when the table is large.
    static void intern(std::span<const std::string_view> texts, Name* out);

    std::uint32_t id() const { return id_; }
    const std::string& str() const;
    operator const std::string&() const { return str(); }   // NOLINT
    operator std::string_view() const { return str(); }     // NOLINT

    /// negacja: "x" <-> "nx", as a name (the pair is remembered).
    Name negated() const;
    /// The negation when some name already has its text; a name that was
    /// never made can hold nothing, so lookups need not make it.
    std::optional<Name> knownNegation() const;
    /// Written as a negation ("n" followed by a name).
    bool isNegation() const { return !str().empty() && str().front() == 'n'; }

    // The text's own read-only members, for code that treats names as text.
    std::size_t size() const { return str().size(); }
    bool empty() const { return id_ == 0; }
    char front() const { return str().front(); }
    char operator[](std::size_t i) const { return str()[i]; }
    const char* c_str() const { return str().c_str(); }
    const char* data() const { return str().data(); }
    std::string substr(std::size_t pos, std::size_t n = std::string::npos) const { return str().substr(pos, n); }
    bool starts_with(std::string_view p) const { return std::string_view(str()).starts_with(p); }
    auto begin() const { return str().begin(); }
    auto end() const { return str().end(); }

    friend bool operator==(Name a, Name b) { return a.id_ == b.id_; }
    friend bool operator==(Name a, std::string_view b) { return a.str() == b; }
    friend bool operator==(Name a, const std::string& b) { return a.str() == b; }
    friend bool operator==(Name a, const char* b) { return a.str() == b; }
    /// Names sort by the bytes of their text, never by id.
    friend std::strong_ordering operator<=>(Name a, Name b) {
        if (a.id_ == b.id_) return std::strong_ordering::equal;
        return a.str().compare(b.str()) <=> 0;
    }
    friend std::strong_ordering operator<=>(Name a, std::string_view b) { return a.str().compare(b) <=> 0; }
    friend std::strong_ordering operator<=>(Name a, const std::string& b) { return a.str().compare(b) <=> 0; }

private:
    std::uint32_t id_ = 0;
};

using NameList = std::vector<Name>;

inline bool operator==(const NameList& a, const std::vector<std::string>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}
/// Prints the text (test failure messages).
std::ostream& operator<<(std::ostream& out, Name n);

inline std::string operator+(const std::string& a, Name b) { return a + b.str(); }
inline std::string operator+(const char* a, Name b) { return a + b.str(); }
inline std::string operator+(Name a, const std::string& b) { return a.str() + b; }
inline std::string operator+(Name a, const char* b) { return a.str() + b; }

/// The texts of the names, in order.
std::vector<std::string> texts(const NameList& names);
/// The names of the texts, in order.
NameList names(const std::vector<std::string>& texts);

/// A set of names as one bit per id: membership without hashing.
class NameFlags {
public:
    bool contains(Name n) const { return n.id() < bits_.size() && bits_[n.id()]; }
    /// Sets the flag; false when it was set already.
    bool set(Name n) {
        if (n.id() >= bits_.size()) bits_.resize(std::max<std::size_t>(Name::count(), n.id() + 1));
        if (contains(n)) return false;
        bits_[n.id()] = true;
        return true;
    }
    void reset(Name n) {
        if (n.id() < bits_.size()) bits_[n.id()] = false;
    }
    void clear() { bits_.clear(); }

private:
    std::vector<bool> bits_;
};

}  // namespace torv::kb

template <>
struct std::hash<torv::kb::Name> {
    std::size_t operator()(torv::kb::Name n) const noexcept { return n.id(); }
};
