// What the models compute: the operations and relations on real values,
// free of any chaining state. A result that is missing means the model is
// not applied in this pass.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace torv::engine {

/// The outcome of one basic operation.
struct Wynik {
    enum class Fault {
        None,
        DivisionByZero,   // "/" by 0: result 1, both division messages
        NegativeSqrt,     // sqrt of X < 0: result sqrt(-X), its note
    };
    std::optional<double> value;   // nullopt: not applicable in this pass
    Fault fault = Fault::None;
    /// Set when the operation is not applicable because its value is not
    /// defined (e.g. "divisor converts to 0"); the caller tells the user.
    std::string undefined;
};

/// wykonaj: X (operation) Y. One-argument operations need Y == 0.
Wynik wykonaj(double x, double y, std::string_view op);
/// wykonaj_r: "+", "*", "min_list", "max_list" over the list.
Wynik wykonaj_r(const std::vector<double>& values, std::string_view op);
/// wykonaj_liniowy: sum of coefficient times variable, pairwise.
Wynik wykonaj_liniowy(const std::vector<double>& coefficients, const std::vector<double>& variables,
                      double accumulator = 0.0);
/// wykonaj_wielomianowy: sum of coefficient times x to the power, pairwise.
Wynik wykonaj_wielomianowy(const std::vector<std::int32_t>& powers, const std::vector<double>& coefficients,
                           double x, double accumulator = 0.0);

/// relacja: X (relation) Y; false for an unknown relation.
bool relacja(std::string_view r, double x, double y);
/// relacja_r: X rel1 Y and Y rel2 Z for the double relations.
bool relacja_r(std::string_view r, double x, double y, double z);
/// wyznacz_parametry_relacji: "<=,<" -> ("<=", "<").
std::optional<std::pair<std::string, std::string>> wyznacz_parametry_relacji(std::string_view r);

/// The value typed for an argument: a decimal number (a decimal comma is
/// read as a point), blanks around it ignored. Infinite, not-a-number and
/// out-of-range texts are refused.
std::optional<double> wartosc_z_tekstu(std::string_view text);

}  // namespace torv::engine
