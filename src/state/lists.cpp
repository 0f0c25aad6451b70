// List operations on names.
#include "state/lists.h"

#include <algorithm>
#include <unordered_set>

#include "kb/store.h"

namespace torv::engine {

namespace {
std::unordered_set<std::string_view> setOf(const Names& l) { return {l.begin(), l.end()}; }
}  // namespace

Names redukuj(const Names& l) {
    std::unordered_set<std::string_view> seen;
    Names out;
    for (auto it = l.rbegin(); it != l.rend(); ++it)
        if (seen.insert(*it).second) out.push_back(*it);
    std::reverse(out.begin(), out.end());
    return out;
}

Names roznica_zbiorow(const Names& a, const Names& b) {
    const auto drop = setOf(b);
    Names out;
    for (const auto& x : a)
        if (!drop.count(x)) out.push_back(x);
    return out;
}

Names sortuj(Names l) {
    // std::string compares as unsigned char through char_traits<char>.
    std::stable_sort(l.begin(), l.end());
    return l;
}

Names suma_zbiorow(const Names& a, const Names& b) {
    Names out = a;
    auto have = setOf(a);
    for (const auto& x : b)
        if (have.insert(x).second) out.push_back(x);
    return out;
}

bool element(std::string_view x, const Names& l) { return std::find(l.begin(), l.end(), x) != l.end(); }

Names usun_stale(const Names& l) {
    Names out;
    for (const auto& x : l)
        if (!czy_liczba(x)) out.push_back(x);
    return out;
}

Names usun_zanegowane(const Names& l) {
    Names out;
    for (const auto& x : l)
        if (!kb::jest_negacja(x)) out.push_back(x);
    return out;
}

Names usuniecie_list_wewnetrznych(const std::vector<Names>& ll) {
    Names out;
    for (const auto& l : ll) out.insert(out.end(), l.begin(), l.end());
    return out;
}

Names przeciecie(const Names& a, const Names& b) {
    const auto keep = setOf(b);
    Names out;
    for (const auto& x : a)
        if (keep.count(x)) out.push_back(x);
    return out;
}

bool czy_liczba(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
        std::size_t exp = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++exp;
        if (exp == 0) return false;
    }
    return i == s.size();
}

}  // namespace torv::engine
