// The command table and the menu bar built from it.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "shell/shell.h"

namespace torv::shell {
namespace {

TEST(CommandTable, HoldsEveryCommandOnceWithUniqueTexts) {
    std::set<int> ids;
    std::set<std::string_view> texts;
    for (const auto& c : commands()) {
        EXPECT_TRUE(ids.insert(c.id).second) << c.id;
        EXPECT_TRUE(texts.insert(c.text).second) << c.text;
    }
    EXPECT_EQ(ids.size(), 85u);
}

TEST(CommandTable, EveryCommandIsFoundByIdAndByItsText) {
    for (const auto& c : commands()) {
        EXPECT_EQ(findCommand(c.id), &c);
        EXPECT_EQ(findCommand(std::to_string(c.id)), &c);
        EXPECT_EQ(findCommand(c.text), &c) << c.text;
    }
}

// Texts whose spacing or spelling is easy to "correct" by mistake.
TEST(CommandTable, KeepsOddTextsByteForByte) {
    const std::map<int, std::string_view> odd{
        {10097, "Constraint  Base deleting"},
        {10106, "Advice Text  File inspection"},
        {10107, "Advice Subdirectories and Text  Files"},
        {10110, "Advice Text  File creating"},
        {10111, "Advice Text  Ffile deleting"},
        {10115, "Graphics base editing"},
        {10119, "Graphics Subdirectories and  Files"},
        {10121, "Garphics Subdirectories deleting"},
        {10122, "Graphic File Deleting"},
        {10127, "Sound  Base creating"},
        {10138, "Testing  rule conclusions for mutual exclusion to one"},
        {10139, "Testing  rule conclusions for mutual exclusion to none"},
        {10140, "Testing  rule conclusions for non-exclusion"},
        {10155, "Augmented Exact  Forward Chaining"},
        {10156, "Augmented Exact Backward Chaining"},
        {10160, "&Help"},
        {10161, "&About"},
    };
    for (const auto& [id, text] : odd) {
        ASSERT_NE(findCommand(id), nullptr) << id;
        EXPECT_EQ(findCommand(id)->text, text);
    }
}

TEST(CommandTable, FindsNothingForNearMisses) {
    for (std::string_view s : {"", "10064", "10060", "-10062", "10062x", "rule base loading",
                               "Rule Base loading ", "Constraint Base deleting",
                               "Augmented Exact Forward Chaining"})
        EXPECT_EQ(findCommand(s), nullptr) << '"' << s << '"';
}

TEST(CommandTable, AcceptsItemTextWithoutAccelerators) {
    EXPECT_EQ(findCommand("Help")->id, cmd::kHelp);
    EXPECT_EQ(findCommand("About")->id, cmd::kAbout);
}

void collect(const std::vector<MenuEntry>& entries, std::multiset<int>& ids,
             std::map<std::string_view, std::vector<int>>& submenus) {
    for (const auto& e : entries) {
        if (e.kind == MenuEntry::Kind::Command) ids.insert(e.commandId);
        if (e.kind == MenuEntry::Kind::Submenu) {
            for (const auto& s : e.entries)
                if (s.kind == MenuEntry::Kind::Command) submenus[e.title].push_back(s.commandId);
            collect(e.entries, ids, submenus);
        }
    }
}

TEST(MenuBar, HoldsEveryCommandExactlyOnce) {
    std::multiset<int> ids;
    std::map<std::string_view, std::vector<int>> submenus;
    for (const auto& m : menuBar()) collect(m.entries, ids, submenus);
    std::multiset<int> all;
    for (const auto& c : commands()) all.insert(c.id);
    EXPECT_EQ(ids, all);
}

TEST(MenuBar, NamesTheMenusTheMessagesReferTo) {
    std::map<std::string_view, std::vector<int>> top;
    for (const auto& m : menuBar()) {
        std::multiset<int> ids;
        std::map<std::string_view, std::vector<int>> submenus;
        collect(m.entries, ids, submenus);
        top[m.title].assign(ids.begin(), ids.end());
        if (m.title == kAnalysisMenu) {
            EXPECT_EQ(submenus[kFlatteningMenu], (std::vector<int>{10136, 10137}));
        }
    }
    for (std::string_view title : {"Exact Rule Base", "Exact Model Base", "Exact Constraint Base",
                                   "&Knowledge Base Analysis", "&Abstracts and Reports",
                                   "&Askable Conditions and Arguments", "&Chaining"})
        EXPECT_TRUE(top.count(title)) << title;
    EXPECT_EQ(top["&Chaining"], (std::vector<int>{10155, 10156}));
    EXPECT_EQ(top["&Abstracts and Reports"].front(), cmd::kReportInspection);
}

}  // namespace
}  // namespace torv::shell
