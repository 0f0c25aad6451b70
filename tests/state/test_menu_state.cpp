// Menu-state rules: the start-up state and what each base's load enables.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <ostream>
#include <set>

#include "state/menu_state.h"

namespace torv::shell {
namespace {

const std::set<int> kStartUp{
    10062, 10068, 10069, 10070, 10085, 10086, 10087, 10093, 10094, 10095, 10096, 10097, 10103, 10104,
    10105, 10108, 10109, 10110, 10111, 10115, 10116, 10117, 10120, 10121, 10122, 10126, 10127, 10128, 10131,
    10133, 10142, 10143, 10144, 10145, 10146, 10147, 10148, 10149, 10152, 10153, 10158, 10159, 10160,
    10161};

TEST(MenuState, BeforeStartUpEveryCommandIsGreyed) {
    MenuState m;
    EXPECT_TRUE(m.enabledIds().empty());
}

TEST(MenuState, StartUpEnablesExactlyTheBaseIndependentCommands) {
    MenuState m;
    m.enable({10072, 10155});
    m.startUp();
    EXPECT_EQ(m.enabledIds(), kStartUp);
    EXPECT_FALSE(m.enabled(10072));  // "Diagnosing internal inconsistencies"
    EXPECT_FALSE(m.menuEnabled(kAnalysisMenu));
    EXPECT_FALSE(m.menuEnabled(kFlatteningMenu));
    EXPECT_TRUE(m.menuEnabled("Exact Rule Base"));
}

struct LoadCase {
    const char* base;
    void (MenuState::*loaded)();
    std::set<int> added;
    friend void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.base; }
};

class LoadEnables : public testing::TestWithParam<LoadCase> {};

TEST_P(LoadEnables, ExactlyItsSet) {
    MenuState m;
    m.startUp();
    (m.*GetParam().loaded)();
    std::set<int> added;
    std::set_difference(m.enabledIds().begin(), m.enabledIds().end(), kStartUp.begin(), kStartUp.end(),
                        std::inserter(added, added.end()));
    EXPECT_EQ(added, GetParam().added);
    EXPECT_TRUE(std::includes(m.enabledIds().begin(), m.enabledIds().end(), kStartUp.begin(), kStartUp.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Bases, LoadEnables,
    testing::Values(
        LoadCase{"rule", &MenuState::ruleBaseLoaded,
                 {10063, 10065, 10066, 10067, 10136, 10137, 10075, 10091, 10101, 10113, 10124, 10155,
                  10156, 10151, 10138, 10139, 10140}},
        LoadCase{"model", &MenuState::modelBaseLoaded, {10078, 10079, 10080, 10081, 10082, 10083, 10084}},
        // 10093 and 10094 are enabled from the start already.
        LoadCase{"constraint", &MenuState::constraintBaseLoaded, {10098, 10099}},
        LoadCase{"advice", &MenuState::adviceBaseLoaded, {10102, 10106, 10107}},
        // Browsing the media folders (10119, 10130) comes with picking a file.
        LoadCase{"graphics", &MenuState::graphicsBaseLoaded, {10114, 10118, 10119}},
        LoadCase{"sound", &MenuState::soundBaseLoaded, {10125, 10129, 10130}}),
    [](const auto& info) { return std::string(info.param.base); });

TEST(MenuState, RuleBaseLoadEnablesTheAnalysisMenuAndItsFlatteningSubmenu) {
    MenuState m;
    m.startUp();
    m.ruleBaseLoaded();
    EXPECT_TRUE(m.menuEnabled(kAnalysisMenu));
    EXPECT_TRUE(m.menuEnabled(kFlatteningMenu));
}

TEST(MenuState, TellsTheListenerAboutEveryChange) {
    MenuState m;
    int calls = 0;
    m.setListener([&] { ++calls; });
    m.startUp();
    m.enable({10071});
    m.grey({10155, 10156});
    m.greyMenu(kAnalysisMenu);
    EXPECT_EQ(calls, 4);
    EXPECT_FALSE(m.enabled(10155));
    EXPECT_TRUE(m.enabled(10071));
}

}  // namespace
}  // namespace torv::shell
