// Model operations and relations, including the values the models leave undefined.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "engine/arithmetic.h"

namespace torv::engine {
namespace {

struct Op {
    double x, y;
    const char* op;
    std::optional<double> result;
    Wynik::Fault fault = Wynik::Fault::None;
    bool undefinedValue = false;
};

class Wykonaj : public ::testing::TestWithParam<Op> {};

TEST_P(Wykonaj, Computes) {
    const Op& c = GetParam();
    Wynik w = wykonaj(c.x, c.y, c.op);
    ASSERT_EQ(w.value.has_value(), c.result.has_value()) << c.op;
    if (c.result) {
        EXPECT_NEAR(*w.value, *c.result, 1e-12) << c.op;
    }
    EXPECT_EQ(w.fault, c.fault) << c.op;
    EXPECT_EQ(!w.undefined.empty(), c.undefinedValue) << c.op;
}

using F = Wynik::Fault;
INSTANTIATE_TEST_SUITE_P(
    Table, Wykonaj,
    ::testing::Values(
        Op{2, 3, "+", 5}, Op{2, 3, "-", -1}, Op{2, 3, "*", 6}, Op{3, 2, "/", 1.5},
        Op{7, 0, "/", 1, F::DivisionByZero},
        Op{-9, 0, "sqrt", 3, F::NegativeSqrt}, Op{9, 0, "sqrt", 3}, Op{9, 1, "sqrt", std::nullopt},
        Op{3.14159, 2, "round_to_N", 3.14}, Op{2.5, 0, "round_to_N", 3},
        Op{5, 20, "%", 25}, Op{2, 10, "A^N", 1024}, Op{2, 0, "A^N", 1}, Op{-3, 5, "A^N", -243},
        Op{1.5, 7, "A^N", 17.0859375}, Op{-1, 2147483647, "A^N", -1}, Op{0.5, 2147483647, "A^N", 0},
        Op{1.001, 2147483647, "A^N", std::nullopt, F::None, true},
        Op{1.5, 2147483647, "round_to_N", std::nullopt, F::None, true},
        Op{4, 4, "min", 4}, Op{3, 4, "min", 3}, Op{5, 4, "max", 5},
        Op{7, 3, "mod", 1}, Op{-7, 3, "mod", -1}, Op{7, 2, "div", 3}, Op{-7, 2, "div", -3}, Op{7.6, 2.4, "div", 4},
        Op{0, 0, "cos", 1}, Op{1, 0, "arctan", std::atan(1.0)}, Op{100, 0, "log", 2}, Op{1, 0, "ln", 0},
        Op{0, 0, "exp", 1}, Op{2.5, 0, "round", 3}, Op{-2.7, 0, "trunc", -2}, Op{-3, 0, "abs", 3}, Op{4, 0, "=", 4},
        Op{1, 2, "power", std::nullopt},
        // Values the operations leave undefined: not applied, with a reason.
        Op{7, 0.4, "mod", std::nullopt, F::None, true}, Op{7, 0, "div", std::nullopt, F::None, true},
        Op{5, 0, "%", std::nullopt, F::None, true}, Op{0, 0, "ln", std::nullopt, F::None, true},
        Op{-1, 0, "log", std::nullopt, F::None, true}, Op{3e10, 2, "mod", std::nullopt, F::None, true},
        Op{2, -1, "A^N", std::nullopt, F::None, true}, Op{2, -1, "round_to_N", std::nullopt, F::None, true},
        Op{1e308, 10, "*", std::nullopt, F::None, true}, Op{1000, 0, "exp", std::nullopt, F::None, true},
        Op{-2147483648.0, -1, "div", 2147483648.0}));

TEST(Lists, ExtendedLinearAndPolynomial) {
    EXPECT_EQ(wykonaj_r({1, 2, 3}, "+").value, 6);
    EXPECT_EQ(wykonaj_r({2, 3, 4}, "*").value, 24);
    EXPECT_EQ(wykonaj_r({2, 7, 4}, "max_list").value, 7);
    EXPECT_EQ(wykonaj_r({2, 7, 4}, "min_list").value, 2);
    EXPECT_FALSE(wykonaj_r({}, "max_list").value);
    EXPECT_EQ(wykonaj_r({}, "+").value, 0);
    EXPECT_EQ(wykonaj_liniowy({2, 3}, {10, 100}).value, 320);
    EXPECT_FALSE(wykonaj_liniowy({2, 3}, {10, 100, 1000}).value);  // mismatched lists: never applied
    EXPECT_EQ(wykonaj_wielomianowy({0, 1, 2}, {1, 2, 3}, 2).value, 17);
    EXPECT_EQ(wykonaj_wielomianowy({0, 1, 2}, {1, 0, 3}, 2).value, 13);
    EXPECT_FALSE(wykonaj_wielomianowy({0, 1}, {1, 2, 3}, 2).value);
    EXPECT_FALSE(wykonaj_wielomianowy({0, -1}, {1, 2}, 2).value);
}

TEST(Lists, HugePowersTakeNoTime) {
    // A power as large as a base file can write, in every term.
    const std::vector<std::int32_t> powers(20, 2147483647);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(wykonaj_wielomianowy(powers, std::vector<double>(20, 1.0), 1.0).value, 20);
    EXPECT_EQ(wykonaj_wielomianowy(powers, std::vector<double>(20, 2.0), -1.0).value, -40);
    EXPECT_FALSE(wykonaj_wielomianowy(powers, std::vector<double>(20, 1.0), 1.01).value);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(Relations, SingleAndDouble) {
    EXPECT_TRUE(relacja("<>", 1, 2));
    EXPECT_FALSE(relacja("<>", 2, 2));
    EXPECT_FALSE(relacja("><", 2, 2));
    EXPECT_TRUE(relacja("==", 2, 2));
    EXPECT_TRUE(relacja(">=", 2, 2));
    EXPECT_FALSE(relacja("=>", 3, 2));
    EXPECT_TRUE(relacja_r("<=,<", 1, 1, 2));
    EXPECT_FALSE(relacja_r("<=,<", 1, 2, 2));
    EXPECT_TRUE(relacja_r("<,<=", 1, 2, 2));
    EXPECT_FALSE(relacja_r("<,<", 1, 1, 2));
    EXPECT_TRUE(relacja_r("<=,<=", 2, 2, 2));
    EXPECT_EQ(wyznacz_parametry_relacji("<=,<"), (std::pair<std::string, std::string>{"<=", "<"}));
    EXPECT_FALSE(wyznacz_parametry_relacji("<"));
}

TEST(TypedValues, DecimalNumbersOnly) {
    struct Case { const char* text; std::optional<double> v; };
    for (auto c : {Case{"2.5", 2.5}, Case{" -3 ", -3.0}, Case{"2,5", 2.5}, Case{"+4", 4.0}, Case{"1e3", 1000.0},
                   Case{"1e999", std::nullopt}, Case{"nan", std::nullopt}, Case{"inf", std::nullopt},
                   Case{"", std::nullopt}, Case{"abc", std::nullopt}, Case{"1,2,3", std::nullopt},
                   Case{"1.5,2", std::nullopt}, Case{"0x10", std::nullopt}}) {
        EXPECT_EQ(wartosc_z_tekstu(c.text), c.v) << c.text;
    }
}

}  // namespace
}  // namespace torv::engine
