// Every command of the table, in three states of the program (start-up; a
// rule base loaded; all six bases of the garden sample loaded): a greyed
// command does nothing, and an enabled one shows something to the user or
// changes the program's state. Silence would read as success.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>

#include "kb/paths.h"
#include "port/text_port.h"
#include "shell/shell.h"
#include "state/app_state.h"
#include "support/fixtures.h"

namespace torv::shell {
namespace {

namespace fs = std::filesystem;

// No action of their own, by design.
const std::set<int> kNoAction{cmd::kAdviceSubdirectoryDeleting, cmd::kGraphicsSubdirectoriesDeleting,
                              cmd::kSoundSubdirectoryDeleting};

// Built by later work; until then each says it is not available yet. Every
// command is built now; a command added later joins this list until it is.
const std::set<int> kNotAvailableYet{};

// A model base for the garden, one model of each kind, so that every model
// window has something to show.
constexpr const char* kGardenModels =
    "model_b(101,\"No condition\",\"pot_area\",\"pot_diameter\",\"*\",\"pot_diameter\",1)\n"
    "model_e(102,\"No condition\",\"soil_litres\",\"max_list\",[\"pot_area\",\"pot_depth\"],1)\n"
    "model_lin(103,\"No condition\",\"water_ml\",[\"0.2\",\"3\"],[\"soil_litres\",\"days_since_watering\"],1)\n"
    "model_poly(104,\"No condition\",\"growth\",\"weeks\",[\"1\",\"0.5\"],[0,1],1)\n";

/// Answers every box as closed, except the loads' file dialogs, which take
/// the queued paths. Counts every box shown.
class ClosingPort : public port::TextPort {
public:
    std::deque<std::string> files;
    std::size_t shown = 0;
    std::vector<port::Dialog> boxes;

protected:
    void present(const port::Dialog& d) override {
        ++shown;
        boxes.push_back(d);
    }
    std::optional<std::string> answer(const port::Dialog& d) override {
        if (d.kind == "open file" && !files.empty()) {
            std::string f = files.front();
            files.pop_front();
            return f;
        }
        return std::nullopt;
    }
};

enum class State { StartUp, RuleBase, AllBases };

std::string stateName(State s) {
    switch (s) {
    case State::StartUp: return "StartUp";
    case State::RuleBase: return "RuleBase";
    case State::AllBases: return "AllBases";
    }
    return "?";
}

/// The program in one state, with a fingerprint of what a command may change.
struct Program {
    explicit Program(const fs::path& bases) : app(port, bases), shell(app) {
        shell.introClosed();
        app.messages.setListener({[this](std::string_view) { ++messageEvents; }, [this] { ++messageEvents; }});
    }

    void load(int command, const fs::path& file) {
        port.files.push_back(file.string());
        ASSERT_TRUE(shell.run(command)) << file;
        ASSERT_TRUE(port.files.empty()) << file;
    }

    std::string fingerprint() const {
        std::ostringstream f;
        for (int id : app.menu.enabledIds()) f << id << ',';
        f << app.menu.menuEnabled(kAnalysisMenu) << app.menu.menuEnabled(kFlatteningMenu) << '|'
          << messageEvents << '|' << app.report.tekst_raportu() << '|' << app.currentDir << '|';
        const kb::Store& s = app.store;
        for (const auto* name : {&s.nazwa_re, &s.nazwa_mo, &s.nazwa_og, &s.nazwa_ra, &s.nazwa_gr, &s.nazwa_me,
                                 &s.wyroznik})
            f << name->value_or("-") << ',';
        f << s.rules().size() << ',' << s.constraints().size() << ',' << s.modelBase().model_b.size();
        return f.str();
    }

    ClosingPort port;
    AppState app;
    Shell shell;
    std::size_t messageEvents = 0;
};

class EveryCommand : public testing::TestWithParam<State> {
protected:
    EveryCommand() {
        fs::copy(fs::path(TORVAE_EXAMPLES_DIR) / "garden", dir.path(), fs::copy_options::recursive);
        dir.write("BASES/MOgarden.AEB", kGardenModels);
    }

    /// A fresh program in the state under test.
    std::unique_ptr<Program> program() {
        auto p = std::make_unique<Program>(dir.path() / "BASES");
        const fs::path bases = dir.path() / "BASES";
        using namespace cmd;
        if (GetParam() != State::StartUp) p->load(kRuleBaseLoading, bases / "RUgarden.AEB");
        if (GetParam() == State::AllBases) {
            p->load(kModelBaseLoading, bases / "MOgarden.AEB");
            p->load(kConstraintBaseLoading, bases / "COgarden.AEB");
            p->load(kAdviceBaseLoading, bases / "ADgarden.AEB");
            p->load(kGraphicsBaseLoading, bases / "GRgarden.AEB");
            p->load(kSoundBaseLoading, bases / "SOgarden.AEB");
            EXPECT_EQ(p->app.store.modelBase().model_poly.size(), 1u) << "the model base did not load";
            EXPECT_TRUE(p->app.store.nazwa_me.has_value()) << "the sound base did not load";
        }
        p->port.shown = 0;
        p->port.boxes.clear();
        return p;
    }

    test::TempDir dir;
};

TEST_P(EveryCommand, EnabledCommandsShowOrChangeSomethingAndGreyedOnesDoNothing) {
    for (const Command& c : commands()) {
        SCOPED_TRACE(std::to_string(c.id) + " " + std::string(c.text));
        auto p = program();
        const bool enabled = p->app.menu.enabled(c.id);
        const std::string before = p->fingerprint();
        try {
            EXPECT_EQ(p->shell.run(c.id), enabled);
        } catch (const port::EndProgram&) {
            ADD_FAILURE() << "ended the program";
        }
        const bool didSomething = p->port.shown > 0 || p->fingerprint() != before;
        if (!enabled || kNoAction.count(c.id)) {
            EXPECT_FALSE(didSomething);
            continue;
        }
        EXPECT_TRUE(didSomething) << "silent";
    }
}

TEST_P(EveryCommand, CommandsBuiltLaterSayTheyAreNotAvailableYet) {
    for (int id : kNotAvailableYet) {
        const Command* c = findCommand(id);
        ASSERT_NE(c, nullptr) << id;
        auto p = program();
        if (!p->app.menu.enabled(id)) continue;
        p->shell.run(id);
        ASSERT_EQ(p->port.boxes.size(), 1u) << id;
        EXPECT_EQ(p->port.boxes[0].kind, "note");
        EXPECT_EQ(p->port.boxes[0].title, "Attention!");
        EXPECT_EQ(p->port.boxes[0].text, "\"" + std::string(c->text) + "\" is not available yet in this version of torv_AE.");
    }
}

INSTANTIATE_TEST_SUITE_P(States, EveryCommand, testing::Values(State::StartUp, State::RuleBase, State::AllBases),
                         [](const auto& info) { return stateName(info.param); });

TEST(CommandAvailability, ListsOfThisTestMatchTheTable) {
    for (const Command& c : commands()) {
        const Availability expected = kNoAction.count(c.id)          ? Availability::NoAction
                                      : kNotAvailableYet.count(c.id) ? Availability::NotAvailableYet
                                                                     : Availability::Works;
        EXPECT_EQ(availability(c.id), expected) << c.id;
    }
}

}  // namespace
}  // namespace torv::shell
