// The operations and relations of the models.
#include "engine/arithmetic.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "state/lists.h"

namespace torv::engine {

namespace {

Wynik value(double v) {
    if (!std::isfinite(v)) return {std::nullopt, Wynik::Fault::None, "the result is out of range"};
    return {v, Wynik::Fault::None, {}};
}
Wynik inapplicable() { return {}; }
Wynik undefined(std::string why) { return {std::nullopt, Wynik::Fault::None, std::move(why)}; }

/// Conversion to a whole number: nearest integer, within 32 bits.
std::optional<std::int32_t> whole(double v) {
    const double r = std::round(v);
    if (!(r >= std::numeric_limits<std::int32_t>::min() && r <= std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(r);
}

/// X to the n-th power by repeated squaring: a handful of products for any
/// n, each exact whenever the result is.
double power(double x, std::int32_t n) {
    double r = 1.0;
    auto k = static_cast<std::uint32_t>(n);
    while (k != 0) {
        if (k & 1u) r *= x;
        k >>= 1;
        if (k != 0) x *= x;
    }
    return r;
}

bool oneArgument(std::string_view op) {
    for (std::string_view o : {"sqrt", "sin", "cos", "tan", "arctan", "log", "ln", "exp", "round", "trunc", "abs", "="})
        if (op == o) return true;
    return false;
}

}  // namespace

Wynik wykonaj(double x, double y, std::string_view op) {
    if (oneArgument(op)) {
        if (y != 0.0) return inapplicable();
        if (op == "sqrt") {
            if (x >= 0) return value(std::sqrt(x));
            Wynik w = value(std::sqrt(-x));
            w.fault = Wynik::Fault::NegativeSqrt;
            return w;
        }
        if (op == "sin") return value(std::sin(x));
        if (op == "cos") return value(std::cos(x));
        if (op == "tan") {
            // Where the cosine vanishes the tangent has no value.
            if (std::fabs(std::cos(x)) < 1e-15) return undefined("the tangent is not defined there");
            return value(std::tan(x));
        }
        if (op == "arctan") return value(std::atan(x));
        if (op == "log" || op == "ln") {
            if (x <= 0) return undefined("the logarithm of a number that is not positive");
            return value(op == "ln" ? std::log(x) : std::log10(x));
        }
        if (op == "exp") return value(std::exp(x));
        if (op == "round") return value(std::round(x));
        if (op == "trunc") return value(std::trunc(x));
        if (op == "abs") return value(std::fabs(x));
        return value(x);  // "="
    }
    if (op == "+") return value(x + y);
    if (op == "-") return value(x - y);
    if (op == "*") return value(x * y);
    if (op == "/") {
        if (y == 0.0) return {1.0, Wynik::Fault::DivisionByZero, {}};
        return value(x / y);
    }
    if (op == "min") return value(x <= y ? x : y);
    if (op == "max") return value(x <= y ? y : x);
    if (op == "%") {
        if (y == 0.0) return undefined("a percentage of 0");
        return value(x * 100.0 / y);
    }
    if (op == "mod" || op == "div") {
        auto a = whole(x), b = whole(y);
        if (!a || !b) return undefined("a value does not fit a whole number");
        if (*b == 0) return undefined("the divisor converts to 0");
        const std::int64_t p = *a, q = *b;  // INT_MIN / -1 fits in 64 bits
        return value(static_cast<double>(op == "mod" ? p % q : p / q));
    }
    if (op == "A^N" || op == "round_to_N") {
        auto n = whole(y);
        if (!n) return undefined("N does not fit a whole number");
        if (*n < 0) return undefined("N is negative");
        if (op == "A^N") return value(power(x, *n));
        const double m = power(10.0, *n);
        if (!std::isfinite(m)) return undefined("N is too large");
        return value(std::round(x * m) / m);
    }
    return inapplicable();
}

Wynik wykonaj_r(const std::vector<double>& values, std::string_view op) {
    if (op == "+") {
        double s = 0.0;
        for (double v : values) s += v;
        return value(s);
    }
    if (op == "*") {
        double p = 1.0;
        for (double v : values) p *= v;
        return value(p);
    }
    if (op == "min_list" || op == "max_list") {
        if (values.empty()) return inapplicable();
        double r = values.front();
        for (double v : values) r = (op == "min_list") ? std::min(r, v) : std::max(r, v);
        return value(r);
    }
    return inapplicable();
}

Wynik wykonaj_liniowy(const std::vector<double>& coefficients, const std::vector<double>& variables,
                      double accumulator) {
    if (coefficients.size() != variables.size()) return inapplicable();
    for (std::size_t i = 0; i < coefficients.size(); ++i) accumulator += coefficients[i] * variables[i];
    return value(accumulator);
}

Wynik wykonaj_wielomianowy(const std::vector<std::int32_t>& powers, const std::vector<double>& coefficients,
                           double x, double accumulator) {
    if (powers.size() != coefficients.size()) return inapplicable();
    for (std::size_t i = 0; i < powers.size(); ++i) {
        const double a = coefficients[i];
        if (a == 0.0) continue;
        if (powers[i] == 0) {
            accumulator += a;
            continue;
        }
        if (powers[i] < 0) return inapplicable();
        accumulator += a * power(x, powers[i]);
    }
    return value(accumulator);
}

bool relacja(std::string_view r, double x, double y) {
    if (r == ">") return x > y;
    if (r == "<") return x < y;
    if (r == ">=") return x >= y;
    if (r == "<=") return x <= y;
    if (r == "==") return x == y;
    if (r == "><" || r == "<>") return x != y;
    return false;
}

std::optional<std::pair<std::string, std::string>> wyznacz_parametry_relacji(std::string_view r) {
    if (r == "<,<") return std::pair<std::string, std::string>{"<", "<"};
    if (r == "<=,<") return std::pair<std::string, std::string>{"<=", "<"};
    if (r == "<,<=") return std::pair<std::string, std::string>{"<", "<="};
    if (r == "<=,<=") return std::pair<std::string, std::string>{"<=", "<="};
    return std::nullopt;
}

bool relacja_r(std::string_view r, double x, double y, double z) {
    auto p = wyznacz_parametry_relacji(r);
    return p && relacja(p->first, x, y) && relacja(p->second, y, z);
}

std::optional<double> wartosc_z_tekstu(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    std::string t(text);
    if (t.find('.') == std::string::npos) {
        if (auto comma = t.find(','); comma != std::string::npos && t.find(',', comma + 1) == std::string::npos)
            t[comma] = '.';
    }
    if (!czy_liczba(t)) return std::nullopt;
    const char* first = t.data() + (t.front() == '+' ? 1 : 0);
    double v = 0;
    auto [p, ec] = std::from_chars(first, t.data() + t.size(), v);
    if (ec != std::errc{} || p != t.data() + t.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

}  // namespace torv::engine
