// The include-direction guard: the real source tree, and the rules on small
// made-up trees.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "layers/include_rules.h"
#include "support/fixtures.h"

namespace torv::layers {
namespace {

std::string joined(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\n";
    return s;
}

TEST(Layers, SourceTreeIncludesOnlyDownward) {
    const std::filesystem::path src = TORVAE_SOURCE_DIR;
    std::ifstream in(src / "layers.txt");
    ASSERT_TRUE(in) << "src/layers.txt is missing";
    std::stringstream text;
    text << in.rdbuf();
    const auto layers = parseLayers(text.str());
    ASSERT_GT(layers.level.size(), 5u);
    const auto faults = checkIncludes(src, layers);
    EXPECT_TRUE(faults.empty()) << joined(faults);
}

struct Case {
    const char* name;
    const char* file;       // relative to the made-up src/
    const char* content;
    const char* expected;   // "" = no fault, else a part of the only fault
};

class MadeUpTree : public ::testing::TestWithParam<Case> {};

TEST_P(MadeUpTree, Judged) {
    const Case& c = GetParam();
    torv::test::TempDir dir;
    dir.write("low/base.h", "#pragma once\n");
    dir.write(c.file, c.content);
    const auto layers = parseLayers(
        "# lowest first\n"
        "low\n"
        "mid   # comment\n"
        "left right\n"
        "exception low/allowed.cpp mid/m.h\n"
        "exception low/allowed.cpp mid/gone.h\n");
    auto faults = checkIncludes(dir.path(), layers);
    // Most cases leave the exceptions unused; their faults count only where they are the point.
    if (std::string(c.expected).find("matches no") == std::string::npos)
        std::erase_if(faults, [](const std::string& f) { return f.find("matches no") != std::string::npos; });
    if (*c.expected == '\0') {
        EXPECT_TRUE(faults.empty()) << joined(faults);
    } else {
        ASSERT_EQ(faults.size(), 1u) << joined(faults);
        EXPECT_NE(faults[0].find(c.expected), std::string::npos) << faults[0];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, MadeUpTree,
    ::testing::Values(
        Case{"Downward", "mid/a.cpp", "#include \"low/base.h\"\n", ""},
        Case{"TwoLevelsDown", "left/a.cpp", "#include <vector>\n#include \"low/base.h\"\n", ""},
        Case{"OwnFolder", "mid/a.cpp", "#include \"mid/a.h\"\n#include \"a.h\"\n", ""},
        Case{"Upward", "low/x.cpp", "// one\n\n  #  include \"mid/m.h\"\n", "low/x.cpp:3: low may not include \"mid/m.h\" (mid is above it)"},
        Case{"Sideways", "left/a.cpp", "#include \"right/b.h\"\n", "left/a.cpp:1: left may not include \"right/b.h\" (right is beside it)"},
        Case{"UndeclaredTarget", "mid/a.cpp", "#include \"other/b.h\"\n", "of an undeclared folder"},
        Case{"UndeclaredFolder", "stray/a.h", "#pragma once\n", "folder 'stray' is not declared"},
        Case{"Exception", "low/allowed.cpp", "#include \"mid/m.h\"\n", ""},
        Case{"StaleException", "low/allowed.cpp", "#include \"mid/m.h\"\n", "exception low/allowed.cpp mid/gone.h matches no upward include"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Layers, DeclarationFaults) {
    const auto l = parseLayers("a\nb a\nexception only-one\n");
    ASSERT_EQ(l.errors.size(), 2u) << joined(l.errors);
    EXPECT_NE(l.errors[0].find("a declared twice"), std::string::npos);
    EXPECT_NE(l.errors[1].find("exception needs"), std::string::npos);
}

}  // namespace
}  // namespace torv::layers
