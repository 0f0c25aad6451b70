// List operations on condition and argument names shared by the engine and
// the diagnoses. Order matters everywhere: results keep list order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace torv::engine {

using Names = std::vector<std::string>;

/// redukuj: duplicates removed, each name at the position of its last occurrence.
Names redukuj(const Names& l);
/// roznica_zbiorow: `a` without every element of `b`.
Names roznica_zbiorow(const Names& a, const Names& b);
/// sortuj: ascending by unsigned byte values (stable merge sort).
Names sortuj(Names l);
/// suma_zbiorow: `a` followed by the elements of `b` not in `a`.
Names suma_zbiorow(const Names& a, const Names& b);
/// element: membership.
bool element(std::string_view x, const Names& l);
/// usun_stale: numeric constants dropped.
Names usun_stale(const Names& l);
/// usun_zanegowane: negated names dropped.
Names usun_zanegowane(const Names& l);
/// usuniecie_list_wewnetrznych: a list of lists concatenated.
Names usuniecie_list_wewnetrznych(const std::vector<Names>& ll);
/// The elements of `a` that are also in `b`, in the order of `a`.
Names przeciecie(const Names& a, const Names& b);

/// True when the name reads as a real number ("2", "-0.5", "1e3").
bool czy_liczba(std::string_view s);

}  // namespace torv::engine
