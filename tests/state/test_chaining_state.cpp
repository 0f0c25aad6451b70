// Recording declared facts with their constraint consequences.
#include <gtest/gtest.h>

#include "support/chaining_fixture.h"
#include "state/chaining_state.h"

#include <random>
#include <unordered_set>

namespace torv::engine {
namespace {

using Strings = std::vector<std::string>;

TEST(RbdTable, CountsSupportsAndRemovesThemOneByOne) {
    RbdTable t;
    t.add(0, "a");
    t.add(3, "b");
    t.add(5, "b");
    EXPECT_TRUE(t.decided("b"));
    EXPECT_EQ(t.supports("b"), 2u);
    EXPECT_TRUE(t.has(5, "b"));
    EXPECT_FALSE(t.has(0, "b"));
    EXPECT_TRUE(t.hasOther(3, "b"));
    EXPECT_FALSE(t.hasOther(0, "a"));

    EXPECT_FALSE(t.remove(4, "b"));
    EXPECT_TRUE(t.remove(3, "b"));
    EXPECT_FALSE(t.hasOther(5, "b"));
    t.add(7, "a");
    t.removeAll("a");
    EXPECT_FALSE(t.decided("a"));
    EXPECT_EQ(t.records(), (std::vector<Rbd>{{5, "b"}}));
}

// The presented mark must stay on the same records while records before
// and after it are removed, so that every record is presented exactly once.
TEST(RbdTable, PresentedMarkFollowsRemovals) {
    struct Case { const char* what; void (*change)(RbdTable&); std::size_t mark; };
    const Case cases[] = {
        {"removed before the mark", [](RbdTable& t) { t.remove(1, "a"); }, 2},
        {"removed after the mark", [](RbdTable& t) { t.remove(4, "d"); }, 3},
        {"every record of a condition", [](RbdTable& t) { t.removeAll("b"); }, 1},
        {"added after the mark", [](RbdTable& t) { t.add(5, "e"); }, 3},
        {"cleared", [](RbdTable& t) { t.clear(); }, 0},
    };
    for (const auto& c : cases) {
        RbdTable t;
        t.add(1, "a");
        t.add(2, "b");
        t.add(3, "b");
        t.setPresentedUpTo(3);
        t.add(4, "d");
        c.change(t);
        EXPECT_EQ(t.presentedUpTo(), c.mark) << c.what;
    }
}

TEST(NumberSet, AgreesWithAHashSetOnRandomWork) {
    std::mt19937 rng(11);
    // Small numbers, negative ones and ones past the bits.
    const std::int32_t pool[] = {0, 1, 2, 7, 63, 64, 1000, -1, -5, 1 << 24, (1 << 24) + 3, 2147483647};
    NumberSet set;
    std::unordered_set<std::int32_t> reference;
    for (int step = 0; step < 5000; ++step) {
        const std::int32_t n = pool[rng() % std::size(pool)];
        switch (rng() % 3) {
        case 0: EXPECT_EQ(set.insert(n), reference.insert(n).second); break;
        case 1: EXPECT_EQ(set.erase(n), reference.erase(n)); break;
        default:
            if (rng() % 50 == 0) {
                set.clear();
                reference.clear();
            }
        }
        ASSERT_EQ(set.size(), reference.size());
        for (std::int32_t m : pool) ASSERT_EQ(set.contains(m), reference.count(m) == 1) << m;
        NumberSet copy;
        for (std::int32_t m : reference) copy.insert(m);
        ASSERT_TRUE(copy == set);
    }
    EXPECT_FALSE((NumberSet{1, 2} == NumberSet{1, 3}));
    EXPECT_FALSE((NumberSet{1} == NumberSet{1, 100000}));
}

class Pamietaj : public test::ChainingTest {
protected:
    void SetUp() override {
        rules("rule(1,\"z\",[\"a\",\"b\",\"c\",\"d\",\"e\"],1)\n");
        constraints(
            "constraint(1,[\"a\",\"b\",\"c\"])\n"
            "constraint(2,[\"d\",\"a\",\"ne\"])\n");
        prepare();
    }
    ChainingState& s = app.chaining;
    Strings members(std::size_t i) const { return app.chaining.ograniczenia.at(i).warunki; }
};

TEST_F(Pamietaj, AFactMakesTheUndecidedMembersOfEveryItsConstraintsFalse) {
    s.rbd.add(0, "nb");   // already false: not recorded again
    pamietaj(s, "a", true, true);
    EXPECT_EQ(rbd(), (Strings{"0:nb", "0:a", "0:nc", "0:nd", "0:e"}));
    EXPECT_EQ(s.zanegowany_warunek_z_bazy_ograniczen, (Strings{"nc", "nd", "e"}));
}

TEST_F(Pamietaj, AnAnswerTreatsOnlyTheFirstConstraint) {
    pamietaj(s, "a", true, false);
    EXPECT_EQ(rbd(), (Strings{"0:a", "0:nb", "0:nc"}));
}

TEST_F(Pamietaj, ANegatedMemberIsTreatedLikeAnyMember) {
    pamietaj(s, "ne", true, true);
    EXPECT_EQ(rbd(), (Strings{"0:ne", "0:nd", "0:na"}));
}

TEST_F(Pamietaj, DecidingTheComplementOfAMemberDropsItFromTheConstraint) {
    pamietaj(s, "e", true, true);   // "ne" is listed
    pamietaj(s, "nb", true, true);  // "b" is listed
    EXPECT_EQ(rbd(), (Strings{"0:e", "0:nb"}));
    EXPECT_EQ(members(0), (Strings{"a", "c"}));
    EXPECT_EQ(members(1), (Strings{"d", "a"}));
    // The constraint base itself is untouched.
    EXPECT_EQ(app.store.constraints().at(0).warunki, (Strings{"a", "b", "c"}));
}

TEST_F(Pamietaj, NothingIsRecordedOnceTheConditionOrItsComplementIsDecided) {
    s.rbd.add(0, "nx");
    pamietaj(s, "x", true, true);
    pamietaj(s, "nx", false, true);
    pamietaj(s, "nx", true, true);
    EXPECT_EQ(rbd(), Strings{"0:nx"});
}

TEST_F(Pamietaj, DeclaringFalseRecordsTheComplementWithoutLookingAtConstraints) {
    pamietaj(s, "a", false, true);
    pamietaj(s, "nq", false, true);
    EXPECT_EQ(rbd(), (Strings{"0:na", "0:q"}));
    EXPECT_TRUE(s.zanegowany_warunek_z_bazy_ograniczen.empty());
}

TEST_F(Pamietaj, FactsListsAndFalseLists) {
    s.rbd.add(0, "nt");
    // Neither a second record of p nor t beside its recorded complement.
    pamietaj_fakty(s, {"p", "q", "t", "p"});
    pamietaj_warunki_nie_bedace_faktami(s, {"q", "r", "ns"});
    EXPECT_EQ(rbd(), (Strings{"0:nt", "0:p", "0:q", "0:nr", "0:s"}));
    EXPECT_EQ(s.zanegowany_warunek_z_bazy_ograniczen, (Strings{"nr", "s"}));
}

TEST_F(Pamietaj, PreparingARunClearsTheRunButKeepsTheExclusivityFault) {
    pamietaj(s, "a", true, true);
    s.regula_zastosowana.insert(1);
    s.rbd_finalna.set("a");
    s.zmienna_ustalona.push_back({"x", 1});
    s.blad_wykluczajacych = true;
    s.ograniczenia.clear();
    prepare();
    EXPECT_TRUE(rbd().empty());
    EXPECT_TRUE(s.regula_zastosowana.empty());
    EXPECT_FALSE(s.rbd_finalna.contains("a"));
    EXPECT_TRUE(s.zmienna_ustalona.empty());
    EXPECT_TRUE(s.zanegowany_warunek_z_bazy_ograniczen.empty());
    EXPECT_EQ(s.ograniczenia.size(), 2u);
    EXPECT_TRUE(s.exclusiveFactsFound());
}

}  // namespace
}  // namespace torv::engine
