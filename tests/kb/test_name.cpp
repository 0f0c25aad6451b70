// Interned names: the same text is the same name, negation agrees with the
// text's, order is the bytes' order.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "kb/name.h"
#include "kb/store.h"

namespace torv::kb {
namespace {

TEST(Name, SameTextSameIdAndText) {
    const std::string text = "a name never seen before";
    const Name a(text), b{std::string_view(text)}, c(text.c_str());
    EXPECT_EQ(a.id(), b.id());
    EXPECT_EQ(a.id(), c.id());
    EXPECT_EQ(a.str(), text);
    EXPECT_EQ(a, text);
    EXPECT_NE(a, Name("another name"));
    EXPECT_TRUE(Name().empty());
    EXPECT_EQ(Name(""), Name());
}

// The pair is remembered when first asked for, so ask in every order: the
// answer must always be the text's own negation ("nnx" -> "nx" -> "x").
TEST(Name, NegationAgreesWithTheTextInAnyOrder) {
    std::mt19937 rng(3);
    for (int round = 0; round < 200; ++round) {
        const std::string x = "q" + std::to_string(round);
        std::vector<std::string> texts{x, "n" + x, "nn" + x, "nnn" + x, "n", "nn", ""};
        std::shuffle(texts.begin(), texts.end(), rng);
        // Asked before the partner exists, then after: a negation found
        // missing must be found once its name is made.
        for (const auto& t : texts)
            if (auto known = Name(t).knownNegation()) EXPECT_EQ(known->str(), negacja(t)) << t;
        for (const auto& t : texts) {
            ASSERT_TRUE(Name(t).knownNegation()) << t;
            EXPECT_EQ(Name(t).knownNegation()->str(), negacja(t)) << t;
        }
        std::shuffle(texts.begin(), texts.end(), rng);
        for (const auto& t : texts) {
            EXPECT_EQ(Name(t).negated().str(), negacja(t)) << t;
            EXPECT_EQ(Name(t).isNegation(), jest_negacja(t)) << t;
        }
    }
}

// A batch crosses its inner groups of sixteen, repeats names within itself
// and grows the table: each must come out as one by one.
TEST(Name, BatchInternsAsOneByOne) {
    std::vector<std::string> owned;
    for (int i = 0; i < 5000; ++i) owned.push_back("batch " + std::to_string(i % 3700));
    const std::vector<std::string_view> texts(owned.begin(), owned.end());
    std::vector<Name> got(texts.size());
    Name::intern(texts, got.data());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(got[i].str(), texts[i]);
        EXPECT_EQ(got[i], Name(texts[i]));
    }
}

TEST(Name, KnownNegationMakesNoName) {
    const Name x("a name whose negation nobody wrote");
    const auto before = Name::count();
    EXPECT_FALSE(x.knownNegation());
    EXPECT_EQ(Name::count(), before);
    const Name nx("na name whose negation nobody wrote");
    ASSERT_TRUE(x.knownNegation());
    EXPECT_EQ(*x.knownNegation(), nx);
    EXPECT_EQ(*nx.knownNegation(), x);
}

TEST(Name, SortsByBytesNotById) {
    // Interned in an order unlike their byte order; one above 0x7F.
    NameList l{Name("zeta order"), Name("\xC3\xA9t\xC3\xA9 order"), Name("Alpha order"), Name("alpha order")};
    std::sort(l.begin(), l.end());
    EXPECT_EQ(l, (std::vector<std::string>{"Alpha order", "alpha order", "zeta order", "\xC3\xA9t\xC3\xA9 order"}));
}

TEST(NameFlags, SetsOnceAndGrowsWithTheTable) {
    NameFlags f;
    const Name a("flag a");
    EXPECT_FALSE(f.contains(a));
    EXPECT_TRUE(f.set(a));
    EXPECT_FALSE(f.set(a));
    const Name later("flag interned after the first set");
    EXPECT_FALSE(f.contains(later));
    EXPECT_TRUE(f.set(later));
    f.reset(a);
    EXPECT_FALSE(f.contains(a));
    EXPECT_TRUE(f.contains(later));
}

}  // namespace
}  // namespace torv::kb
