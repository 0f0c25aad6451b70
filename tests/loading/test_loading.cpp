// Loading the six bases: outcomes, messages, notes and what the store keeps.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "kb/media.h"
#include "kb/term_reader.h"
#include "loading/loading.h"
#include "state/app_state.h"
#include "support/fixtures.h"
#include "support/scripted_port.h"

namespace torv::kb {
namespace {

namespace fs = std::filesystem;

const char* kRules =
    "rule(1,\"wet\",[\"rain\",\"nroof\"],1)\n"
    "rule(2,\"slippery\",[\"wet\",\"cold\"],0)\n"
    "fact(\"rain\")\n";

class Loading : public ::testing::Test {
protected:
    // The diagnosis offers of a rule-base load are declined.
    Loading() { port.always("Choose", "no"); }

    test::TempDir dir;
    test::ScriptedPort port;
    AppState app{port, dir.path()};

    fs::path base(const std::string& name, std::string_view text) { return dir.write("BASES/" + name, text); }

    std::optional<std::string> load(LoadOption option, const fs::path& file) {
        port.then(file.string());
        return opcja_z_menu_glownego(app, option);
    }

    void loadRules(const std::string& name = "RUcar.AEB") {
        ASSERT_EQ(load(LoadOption::RuleBase, base(name, kRules)), name);
        port.clearCalls();
    }
};

TEST_F(Loading, RuleBaseLoads) {
    auto file = base("RUcar_diag.AEB", kRules);
    EXPECT_EQ(load(LoadOption::RuleBase, file), "RUcar_diag.AEB");
    EXPECT_EQ(app.store.rules().size(), 2u);
    EXPECT_EQ(app.store.facts().size(), 1u);
    EXPECT_EQ(app.store.nazwa_re, "RUcar_diag.AEB");
    EXPECT_EQ(app.store.nazwa_re_pelna, file.string());
    EXPECT_EQ(app.store.wyroznik, "car_diag");
    EXPECT_EQ(app.store.rozszerzenie, ".AEB");
    EXPECT_FALSE(app.store.jestem_tu);
    EXPECT_EQ(app.currentDir, dir.path() / "BASES");
    EXPECT_EQ(app.verdicts.opis, "../ABSTRACTS/car_diag.abs");
    // The diagnosis offers follow the load's own lines.
    EXPECT_EQ(app.messages.text().rfind("\n\nRule base  RUcar_diag.AEB\nhas been loaded!\n\nThe loaded rule base ", 0), 0u);

    auto open = port.calls().at(0);
    EXPECT_EQ(open.kind, "open file");
    EXPECT_EQ(open.title, "Load Rule Base ");
    EXPECT_EQ(open.prompt, "Ru*.AEB");
    EXPECT_EQ(open.text, "Rule Base (RU*.AEB) | RU*.AEB");
    auto title = port.last("title");
    EXPECT_EQ(title.title, "torv_AE consults Knowledge Base CAR_DIAG");
    auto note = port.last("note");
    EXPECT_EQ(note.title, "Successful  loading of Rule Base");
    EXPECT_EQ(note.text, "Augmented Exact Rule Base\n   RUcar_diag.AEB\nhas been loaded!");
}

TEST_F(Loading, KnowledgeBaseNameIsTheFirstToken) {
    struct Case { const char* file; const char* name; const char* rest; };
    for (auto c : {Case{"RUmy base.AEB", "my", " base.AEB"}, Case{"RUKnowledge_Base_Name.AEB", "Knowledge_Base_Name", ".AEB"},
                   Case{"xx123abc.AEB", "123", "abc.AEB"}, Case{"RU  spaced.AEB", "spaced", ".AEB"},
                   Case{"RUa-b.AEB", "a", "-b.AEB"}, Case{"R", "", ""}, Case{"RU.AEB", "", ".AEB"}}) {
        std::string rest;
        EXPECT_EQ(wyroznik_z_nazwy(std::string("/x/") + c.file, &rest), c.name) << c.file;
        EXPECT_EQ(rest, c.rest) << c.file;
    }
    EXPECT_EQ(load(LoadOption::RuleBase, base("RUmy base.AEB", kRules)), "RUmy base.AEB");
    EXPECT_EQ(app.store.wyroznik, "my");
    EXPECT_EQ(port.last("title").title, "torv_AE consults Knowledge Base MY");
}

TEST_F(Loading, CancelledRuleBaseDialogLeavesAnEmptyStore) {
    loadRules();
    port.thenClose();
    EXPECT_EQ(opcja_z_menu_glownego(app, LoadOption::RuleBase), "");
    EXPECT_TRUE(app.store.rules().empty());
    EXPECT_FALSE(app.store.nazwa_re);
    EXPECT_FALSE(app.store.wyroznik);
    EXPECT_EQ(port.last("title").title, "torv");
}

TEST_F(Loading, ARefusedRuleBaseSaysWhyAndKeepsNothing) {
    const fs::path bad = base("RUbad.AEB", "fact(\"a\")\nfact(\"b\")\nrule(1,\"x\",\"y\",1)\n");
    const fs::path folder = dir.mkdir("BASES/RUdir.AEB");
    const fs::path missing = dir.path() / "BASES/RUnone.AEB";
    const fs::path fifo = dir.path() / "BASES/RUfifo.AEB";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path loop = dir.path() / "BASES/RUloop.AEB";
    fs::create_symlink(loop, loop);
    struct Case { fs::path file; std::string message; std::vector<std::string> notes; };   // "title|text" each
    const auto unreadable = [](const fs::path& file, const std::string& why) {
        return Case{file, "Rule Base error while reading base. " + why + "\n\n",
                    {"Error|Rule Base error while reading base. \n" + why}};
    };
    const Case cases[] = {
        {bad,
         "Syntax error in file " + bad.string() +
             "\nrule(1,\"x\",\"y\",1)\n           ^\nList expected\n\n"
             "Enter 'Rule Base',\nchoose option 'Rule Base Editing', \nchoose faulty base and remove error.\n",
         {"Exception handling|Syntax error in file RUbad.AEB\n\nrule(1,\"x\",\"y\",1)\n           ^\nList expected",
          "Error|Enter 'Rule Base', \nchoose option 'Rule Base Editing,\nchoose faulty base and remove error."}},
        {base("RUe.AEB", std::string(kRules) + "\n"),
         "Rule Base error while reading base. Rule Base has empty lines!\n\nEnter 'Rule Base',\n"
         "choose option 'Rule Base Editing', \nchoose faulty base and remove empty lines."
         "which are often found at the end of the base.\n",
         {"Error|Rule Base error while reading base. \nRule Base has empty lines!\nEnter 'Exact Rule Base',\n"
          "choose option 'Rule Base Editing', \nchoose faulty base and remove empty lines.,\n"
          "which are often found at the end of the base.."}},
        unreadable(folder, folder.string() + " is a directory"),
        unreadable(missing, "cannot open " + missing.string() + ": No such file or directory"),
        unreadable(fifo, fifo.string() + " is not a regular file"),
        unreadable("/dev/zero", "/dev/zero is not a regular file"),
        unreadable(loop, "cannot open " + loop.string() + ": Too many levels of symbolic links"),
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.string());
        port.clearCalls();
        EXPECT_EQ(load(LoadOption::RuleBase, c.file), std::nullopt);
        EXPECT_EQ(app.messages.text(), c.message);
        std::vector<std::string> notes;
        for (const auto& n : port.ofKind("note")) notes.push_back(n.title + "|" + n.text);
        EXPECT_EQ(notes, c.notes);
        EXPECT_TRUE(port.ofKind("title").empty());
        EXPECT_TRUE(app.store.rules().empty());
        EXPECT_TRUE(app.store.facts().empty());   // nothing of a faulty file is kept
        EXPECT_FALSE(app.store.nazwa_re);
        EXPECT_FALSE(app.store.jestem_tu);
    }
    // The same file without the empty line loads.
    EXPECT_EQ(load(LoadOption::RuleBase, base("RUe.AEB", kRules)), "RUe.AEB");
}

TEST_F(Loading, ASyntaxErrorFarIntoALineIsShownAsAClippedPiece) {
    const std::string line = "fact(\"" + std::string(40000, 'x') + "\") x";
    EXPECT_EQ(load(LoadOption::RuleBase, base("RUwide.AEB", line)), std::nullopt);
    EXPECT_EQ(app.store.blad, "error");
    const auto notes = port.ofKind("note");
    ASSERT_EQ(notes.size(), 2u);
    const std::string piece = "..." + std::string(60 - 3, 'x') + "\") x";
    EXPECT_EQ(notes[0].title, "Exception handling");
    EXPECT_EQ(notes[0].text.substr(0, notes[0].text.find('^') + 1),
              "Syntax error in file RUwide.AEB\n\n" + piece + "\n" + std::string(3 + 60, ' ') + "^");
    EXPECT_NE(notes[0].text.find("(line 1, position 40010)"), std::string::npos) << notes[0].text;
    EXPECT_LT(app.messages.text().size(), 1000u);
}

TEST_F(Loading, AByteOrderMarkIsSkipped) {
    EXPECT_EQ(load(LoadOption::RuleBase, base("RUbom.AEB", "\xEF\xBB\xBF" + std::string(kRules))), "RUbom.AEB");
    EXPECT_EQ(app.store.rules().size(), 2u);
}

TEST_F(Loading, AMediaNameThatIsNotAPlainFileNameRefusesTheBase) {
    loadRules();
    dir.write("ADVICES/car/wet.HLP", "x");
    struct Case { std::string name; const char* why; };
    for (const auto& c : {Case{"../../../../../../../../etc/passwd", "it names a folder"},
                          Case{"/etc/passwd", "it names a folder"}, Case{"..\\..\\x.hlp", "it names a folder"},
                          Case{"..", "it names a folder"}, Case{"C:x.hlp", "it names a drive"},
                          Case{"a\x1b[2J.hlp", "it holds a control byte"},
                          Case{std::string("a\0.hlp", 6), "it holds a NUL byte"}, Case{"", "it is empty"}}) {
        port.clearCalls();
        const std::string text = "advice(1,\"wet.hlp\")\nadvice(2," + kb::quoteString(c.name) + ")\n";
        EXPECT_EQ(load(LoadOption::AdviceBase, base("ADcar.AEB", text)), std::nullopt) << c.name;
        const auto notes = port.ofKind("note");
        ASSERT_EQ(notes.size(), 2u) << c.name;
        EXPECT_EQ(notes[0].title, "Exception handling");
        EXPECT_EQ(notes[0].text, "Syntax error in file ADcar.AEB\n\nadvice(2," + kb::quoteString(c.name) +
                                     ")\n          ^\nThe media file name in line 2 is not a plain file name: " +
                                     c.why);
        EXPECT_TRUE(app.store.adviceBase().advice.empty());
        EXPECT_FALSE(app.store.nazwa_ra);
    }
}

TEST_F(Loading, RuleBaseFromStartUpPathResolvesAgainstTheCurrentDirectory) {
    base("RUcar.AEB", kRules);
    EXPECT_EQ(loadRuleBaseFrom(app, "BASES/RUcar.AEB"), "RUcar.AEB");
    EXPECT_TRUE(port.ofKind("open file").empty());
    EXPECT_EQ(app.store.nazwa_re_pelna, (dir.path() / "BASES/RUcar.AEB").string());
}

// ---- the other bases ----

struct OtherBase {
    LoadOption option;
    const char* file;              // good file name for knowledge base "car"
    const char* text;
    const char* dialogTitle;
    const char* mask;
    const char* filter;
    const char* media;             // media directory needed, or nullptr
    const char* successMessage;    // after the two line breaks of the read
    const char* successNoteTitle;
    const char* successNote;
    const char* missingMedia = nullptr;   // message line and note when the media folder is missing
    const char* missingMediaNote = nullptr;
};

const OtherBase kOthers[] = {
    {LoadOption::ModelBase, "MOcar.AEB", "model_b(1,\"No condition\",\"y\",\"x\",\"+\",\"1\",1)\n", "Load Model Base",
     "MO*.AEB", "Model Base (MO*.AEB) | MO*.AEB", nullptr,
     "Model base MOcar.AEB\nhas been loaded!\n"
     "The model base is tested for inconsistencies.\nThe time needed depends upon the base complexity.\n"
     "Model base MOcar.AEBhas no  inconsistencies!\n"
     "The Model Base  MOcar.AEB and Rule Base  RUcar.AEB\nare tested for joint inconsistencies.\n"
     "he time needed depends upon the base complexity.\n"
     "Model base:    MOcar.AEB\nand Rule Base: RUcar.AEB\nhave no  joint inconsistencies!\n",
     "Successful  loading of Model Base", "Augmented Exact Model Base\n    MOcar.AEB\nhas been loaded!"},
    {LoadOption::ConstraintBase, "COcar.AEB", "constraint(1,[\"rain\",\"cold\"])\n", "Load Constraint Base", "Co*.AEB",
     "Constraint Base (Co*.AEB) | Co*.AEB", nullptr,
     "Augmented Exact Constraint Base COcar.AEB\nhas been loaded!\n"
     // the joint rule-constraint offers, declined
     "The Rule Base and Constraint Base may be tested for \njoint inconsistencies.\n"
     "This test may take a lot of time for large and heavily nested \nrule bases. \n\n"
     "This test should be used while developing or modifying rule bases.\n"
     "For routine uses of the rule- and constraint bases the test should\nbe bypassed.\n\n"
     "Keep in mind that joint rule- and constraint base inconsistencies\n"
     "do not lead to infinite loops; however, rules jointly inconsistent\n"
     "are just bypassed in the chaining process and this is perhaps not\n"
     "what the rule base designer intended to achieve.\n\n"
     "The Rule Base and Constraint Base may be tested forjoint  redundancies.\n"
     "This test may take a lot of time for large and heavily nested \nrule bases. \n"
     "This test should be used while developing or modifying rule bases.\n"
     "For routine uses of the rule- and constraint bases the test should\nbe bypassed.\n",
     "Successful  loading of Constraint Base",
     "Augmented Exact Constraint Base\n    COcar.AEB\nhas been loaded!"},
    {LoadOption::AdviceBase, "ADcar.AEB", "advice(1,\"wet.hlp\")\n", "Load Advice Base ", "AD*.AEB",
     "Advice Base (AD*.AEB) | AD*.AEB", "ADVICES/car/wet.HLP", "Advice Base ADcar.AEB\nhas been loaded!\n",
     "Successful  loading of Advice Base!", "Augmented Exact Advice Base\n    ADcar.AEB\nhas been loaded!",
     "No subdirectory with advice Text Files for\nKnowledge Base car.\nTherefore the advice base can not be loaded.\n",
     "No subdirectory with advice Text Files for Knowledge Base car.\nTherefore the advice base can not be loaded."},
    {LoadOption::GraphicsBase, "GRcar.AEB", "graphics(1,\"wet.bmp\")\n", "Load Graphics Base ", "GR*.AEB",
     "Graphics Base (GR*.AEB) | GR*.AEB", "GRAPHICS/car/Wet.Bmp", "Graphics Base GRcar.AEB has been loaded!\n",
     "Successful  loading of Graphics Base!", "Graphics Base\n   GRcar.AEB\nhas been loaded!",
     "No directory with Graphics Files for\nKnowledge Base car.\nTherefore the Graphics Base can not be loaded.\n",
     "No directory with Graphics Files for Knowledge Base car.\nherefore the Graphics Base can not be loaded."},
    {LoadOption::SoundBase, "SOcar.AEB", "sounds(1,\"wet.wav\")\n", "Load Melody Base ", "So*.AEB",
     "Melody Base (So*.AEB) | So*.AEB", "SOUNDS/car/wet.wav", "Sound Base SOcar.AEB\nhas been loaded!\n",
     "Successful  loading of Sound Base!", "Sound Base\n   SOcar.AEB\nhas been loaded!",
     "No directory with Sound Files for\nKnowledge Base car.\nTherefore the Sound Base can not be loaded.\n",
     "No directory with Sound Files for Knowledge Base car.\nherefore the Sound Base can not be loaded."},
};

void PrintTo(const OtherBase& b, std::ostream* os) { *os << b.file; }

class OtherBaseLoading : public Loading, public ::testing::WithParamInterface<OtherBase> {};

TEST_P(OtherBaseLoading, NeedsARuleBaseFirst) {
    EXPECT_EQ(opcja_z_menu_glownego(app, GetParam().option), "");
    ASSERT_EQ(port.calls().size(), 1u);
    EXPECT_EQ(port.calls()[0].title, "Attention!");
    EXPECT_EQ(port.calls()[0].text, "Load Rule Base first!");
}

TEST_P(OtherBaseLoading, LoadsAGoodFile) {
    const OtherBase& b = GetParam();
    loadRules();
    if (b.media) dir.write(b.media, "x");
    EXPECT_EQ(load(b.option, base(b.file, b.text)), b.file);
    auto open = port.calls().at(0);
    EXPECT_EQ(open.title, b.dialogTitle);
    EXPECT_EQ(open.prompt, b.mask);
    EXPECT_EQ(open.text, b.filter);
    EXPECT_EQ(app.messages.text(), std::string("\n\n") + b.successMessage);
    auto notes = port.ofKind("note");
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(notes[0].title, b.successNoteTitle);
    EXPECT_EQ(notes[0].text, b.successNote);
    EXPECT_FALSE(app.store.jestem_tu);
    EXPECT_EQ(app.store.rules().size(), 2u);  // the rule base stays
}

TEST_P(OtherBaseLoading, RefusesAnotherKnowledgeBase) {
    const OtherBase& b = GetParam();
    loadRules("RUcar_diag.AEB");
    if (b.media) dir.write(b.media, "x");
    EXPECT_EQ(load(b.option, base(b.file, b.text)), std::nullopt);
    EXPECT_EQ(app.messages.text(),
              std::string(" The chosen base \n\n      ") + b.file +
                  "\n\n is not compatible with the already loaded rule base  \n\n      RUcar_diag.AEB"
                  "\n\n and therefore can not be loaded.\n\n");
    auto note = port.last("note");
    EXPECT_EQ(note.title, "Attention error!");
    EXPECT_EQ(note.text, std::string("The chosen base\n   ") + b.file +
                             "\nis not compatible with the already loaded \naugmented exact rule base\n   "
                             "RUcar_diag.AEB\nand therefore can not be loaded.");
}

TEST_P(OtherBaseLoading, SyntaxErrorAndEmptyLinesAreReported) {
    const OtherBase& b = GetParam();
    loadRules();
    if (b.media) dir.write(b.media, "x");
    EXPECT_EQ(load(b.option, base(b.file, "bogus(1)\n")), std::nullopt);
    auto notes = port.ofKind("note");
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].title, "Exception handling");
    EXPECT_EQ(notes[0].text, std::string("Syntax error in file ") + b.file +
                                 "\n\nbogus(1)\n^\nRecord 'bogus' is not allowed in this file");
    EXPECT_NE(notes[1].text.find("remove error."), std::string::npos);
    port.clearCalls();
    EXPECT_EQ(load(b.option, base(b.file, std::string(b.text) + "\n")), std::nullopt);
    EXPECT_NE(port.last("note").text.find("has empty lines!"), std::string::npos);
    EXPECT_FALSE(app.store.jestem_tu);
}

TEST_P(OtherBaseLoading, CancelledDialogEndsQuietly) {
    loadRules();
    port.thenClose();
    EXPECT_EQ(opcja_z_menu_glownego(app, GetParam().option), "");
    EXPECT_EQ(port.calls().size(), 1u);
}

class MediaBaseLoading : public OtherBaseLoading {};

TEST_P(MediaBaseLoading, MissingMediaDirectoryRefusesTheBase) {
    const OtherBase& b = GetParam();
    loadRules();
    dir.write("ADVICES/car/readme.txt", "not advice");  // the wrong kind of file counts as none
    EXPECT_EQ(load(b.option, base(b.file, b.text)), std::nullopt);
    EXPECT_EQ(app.messages.text(), std::string("\n\n") + b.missingMedia);
    EXPECT_EQ(port.last("note").title, "Attention error!");
    EXPECT_EQ(port.last("note").text, b.missingMediaNote);
    EXPECT_TRUE(app.store.adviceBase().advice.empty());
    EXPECT_TRUE(app.store.graphicsBase().graphics.empty());
    EXPECT_TRUE(app.store.soundBase().sounds.empty());
    EXPECT_FALSE(app.store.nazwa_ra);
    EXPECT_FALSE(app.store.nazwa_gr);
    EXPECT_FALSE(app.store.nazwa_me);
}

auto baseName = [](const auto& info) { return std::string(info.param.file).substr(0, 2); };
INSTANTIATE_TEST_SUITE_P(Bases, OtherBaseLoading, ::testing::ValuesIn(kOthers), baseName);
INSTANTIATE_TEST_SUITE_P(Bases, MediaBaseLoading, ::testing::ValuesIn(std::begin(kOthers) + 2, std::end(kOthers)),
                         baseName);

TEST_F(Loading, ModelBaseReloadReplacesModelsButKeepsRules) {
    loadRules();
    load(LoadOption::ModelBase, base("MOcar.AEB", "model_b(1,\"c\",\"y\",\"x\",\"+\",\"1\",1)\n"));
    EXPECT_EQ(app.store.modelBase().model_b.size(), 1u);
    port.clearCalls();
    EXPECT_EQ(load(LoadOption::ModelBase, base("MOcar2.AEB", "model_b(1,\"c\",\"y\",\"x\",\"+\",\"1\",1)\n")),
              std::nullopt);  // car2 is another knowledge base
    EXPECT_TRUE(app.store.modelBase().model_b.empty());
    EXPECT_FALSE(app.store.nazwa_mo);
    EXPECT_EQ(app.store.rules().size(), 2u);
}

TEST_F(Loading, MediaFilesAreFoundWithoutRegardToCase) {
    loadRules();
    auto bmp = dir.write("GRAPHICS/car/Wet.BMP", "x");
    EXPECT_EQ(nazwa_pelna_grafiki(app.store, app.currentDir, "wet.bmp"), bmp);
    EXPECT_EQ(app.store.sciezka1, "../GRAPHICS/car/");
    EXPECT_EQ(nazwa_pelna_rady(app.store, app.currentDir, "none.hlp").filename(), "none.hlp");
}

TEST_F(Loading, LoadingNeverWritesABaseFile) {
    auto file = base("RUcar.AEB", std::string(kRules) + "\n");
    const auto before = fs::last_write_time(file);
    load(LoadOption::RuleBase, file);
    EXPECT_EQ(test::readFile(file), std::string(kRules) + "\n");
    EXPECT_EQ(fs::last_write_time(file), before);
}

}  // namespace
}  // namespace torv::kb
