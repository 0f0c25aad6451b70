// Load-time checks of the bases: each reports its own fault in the message
// window and a note, and tells the load whether to go on.
#include "loading/load_checks.h"

#include <charconv>
#include <unordered_map>

#include "state/lists.h"
#include "kb/media.h"
#include "kb/paths.h"
#include "kb/term_reader.h"
#include "port/user_port.h"
#include "state/app_state.h"

namespace torv::kb {

namespace {

using engine::Names;

/// A list as a term: ["a","b"].
std::string term(const Names& l) {
    std::string out = "[";
    for (std::size_t i = 0; i < l.size(); ++i) {
        if (i) out += ',';
        out += quoteString(l[i]);
    }
    return out + "]";
}

bool yes(AppState& app, const std::string& title, const std::string& text) {
    return app.port.yesNo(title, text) == port::kYes;
}

// ---- numbering ----

/// What the numbering check says about one base.
struct NumberingTexts {
    const char* base;          // "Rule Base "
    const char* number;        // "at least two rules having number "
    const char* disturb;       // "This may disturb the chaining process."
    const char* therefore;     // "Therefore no chaining is allowed with rules "
    const char* proceed;
    const char* correct;
    const char* noteTitle;
    const char* noteBase;      // "Augmented Exact Rule Base\n   "
    const char* noteNumber;    // "\nhas at least two rules having number  "
    const char* noteDisturb;   // ".\nThis may disturb the chaining process."
    const char* noteTherefore;
    const char* noteProceed;
    const char* noteCorrect;
};

const NumberingTexts kRuleNumbering{
    "Rule Base ", "at least two rules having number ", "This may disturb the chaining process.",
    "Therefore no chaining is allowed with rules ", "Proceed to option 'Rule Base Activities/Rule Base Editing'",
    "and correct the rule numbering.", "Faulty Rule Base", "Augmented Exact Rule Base\n   ",
    "\nhas at least two rules having number  ", ".\nThis may disturb the chaining process.",
    "\nTherefore no chaining is allowed with rules ", "\nProceed to option\n   'Exact Rule Base\n   Rule Base Editing'",
    "\nand correct the rule numbering."};

const NumberingTexts kModelNumbering{
    "Model base ", "at least two models having number  ", "This may disturb the chaining process.",
    "Therefore no chaining is allowed with models", "Proceed to option 'Model Base Activities/Model Base Editing'",
    "and correct the model numbering.", "Faulty Model Base", "Augmented Exact Model Base\n   ",
    "\nhas at least two models having number  ", ".\nThis may disturb the chaining process.",
    "\nTherefore no chaining is allowed with models ",
    "\nProceed to option\n   'Exact Model Base\n   Model Base Editing'", "\nand correct the model numbering."};

const NumberingTexts kConstraintNumbering{
    "Constraint base ", "at least two constraints having number  ", "This may disturb the chaining process.",
    "Therefore no chaining is allowed with constraints",
    "Proceed to option 'Constraintl Base Activities/Constraintl Base Editing'",
    "and correct the constraint numbering.", "Faulty Constraint Base", "Exact Constraint Base\n   ",
    "\nhas at least two constraints having number  ", ".\nThis may disturb the chaining process.",
    "\nTherefore no chaining is allowed with constraints ",
    "\nProceed to option\n   'Exact Constraint Base\n   Constraint Base Editing'",
    "\nand correct the constraint numbering."};

const NumberingTexts kAdviceNumbering{
    "Advice base ", "at least two advices having number  ", "This may disturb the explaining process.",
    "Therefore no chaining is allowed with advices", "Proceed to option 'Advice Base Activities/Advice Base Editing'",
    "and correct the advice numbering.", "Faulty Advice Base", "Augmented Exact Advice Base\n   ",
    "\nhas at least two advices having number  ", ".\nThis may disturb the explaining process.",
    "\nTherefore no chaining is allowed with advices ",
    "\nProceed to option\n   'Exact Advice Base\n   Advice Base Editing'", "\nand correct the advice numbering."};

/// The first number that occurs again later in the list.
std::optional<std::int32_t> firstRepeated(const std::vector<std::int32_t>& numbers) {
    std::unordered_map<std::int32_t, std::size_t> count;
    for (auto n : numbers) ++count[n];
    for (auto n : numbers)
        if (count[n] > 1) return n;
    return std::nullopt;
}

/// testowanie names the base under test; the texts follow from it.
bool testuj_numery(AppState& app, const std::vector<std::int32_t>& numbers, const NumberingTexts& t,
                   const std::string& fileName) {
    const auto n = firstRepeated(numbers);
    if (!n) return true;
    const std::string nr = std::to_string(*n);
    app.messages.write(t.base + fileName + " has " + t.number + nr + ".\n" + t.disturb + "\n" + t.therefore +
                       "having non-unique numbers.\n" + t.proceed + "\n" + t.correct + "\n");
    app.port.note(t.noteTitle, t.noteBase + fileName + t.noteNumber + nr + t.noteDisturb + t.noteTherefore +
                                   "\nhaving non-unique numbers." + t.noteProceed + t.noteCorrect);
    app.verdicts.rozne_numery = false;
    return false;
}

bool isNumber(const std::string& s, double value) {
    if (!engine::czy_liczba(s)) return false;
    double v = 0;
    const char* first = s.data() + (!s.empty() && s.front() == '+' ? 1 : 0);
    const auto r = std::from_chars(first, s.data() + s.size(), v);
    return r.ec == std::errc() && v == value;
}

const char* const kGuidanceBoth =
    " Proceed to the options:\n"
    " 'Exact Rule Base' or 'Exact Model Base'\n"
    " enter the options 'Rule Base Editing' or 'Model Base Editing'\n"
    " load the faulty bases and remove the faults\n";

/// Both bases go: rules, facts, the whole model base, their names and the
/// lists derived from them.
void unloadRuleAndModelBases(AppState& app) {
    Store& s = app.store;
    s.unloadModelBase();
    s.kasowanie_fakt();
    s.kasowanie_dregula();
    s.kasowanie_nazwy_re();
    app.askables = {};
    app.outcomes.push_back(Outcome::RuleAndModelBasesUnloaded);
}

struct DirectoryCheck {
    const char* directory;
    const char* mask;
    const char* firstLine;       // message window, first line
    const char* noteStart;       // note, up to the name
    const char* lastLine;        // message window, last line
    const char* noteEnd;         // note, after the name
    void (Store::*clear)();
    void (Store::*clearName)();
    std::optional<std::string> Store::*baseName;
};

bool checkDirectory(AppState& app, const DirectoryCheck& c) {
    const std::string name = app.store.wyroznik.value_or(
        wyroznik_z_nazwy((app.store.*c.baseName).value_or("")));
    if (anyFileMatches(platformPath(app.currentDir, std::string(c.directory) + name), c.mask)) return true;
    app.messages.write(std::string(c.firstLine) + "\nKnowledge Base " + name + ".\n" + c.lastLine + "\n");
    app.port.note("Attention error!", std::string(c.noteStart) + name + "." + c.noteEnd);
    (app.store.*c.clear)();
    (app.store.*c.clearName)();
    return false;
}

}  // namespace

bool testuj_numery_regul(AppState& app) {
    std::vector<std::int32_t> numbers;
    for (const auto& r : app.store.rules()) numbers.push_back(r.numer);
    return testuj_numery(app, numbers, kRuleNumbering, app.store.nazwa_re.value_or(""));
}

bool testuj_numery_modeli(AppState& app) {
    // numery_modeli: one list over all four model kinds.
    const ModelBase& m = app.store.modelBase();
    std::vector<std::int32_t> numbers;
    for (const auto& x : m.model_b) numbers.push_back(x.numer);
    for (const auto& x : m.model_e) numbers.push_back(x.numer);
    for (const auto& x : m.model_lin) numbers.push_back(x.numer);
    for (const auto& x : m.model_poly) numbers.push_back(x.numer);
    return testuj_numery(app, numbers, kModelNumbering, app.store.nazwa_mo.value_or(""));
}

bool testuj_numery_ograniczen(AppState& app) {
    std::vector<std::int32_t> numbers;
    for (const auto& c : app.store.constraints()) numbers.push_back(c.numer);
    return testuj_numery(app, numbers, kConstraintNumbering, app.store.nazwa_og.value_or(""));
}

bool testuj_numery_rad(AppState& app) {
    std::vector<std::int32_t> numbers;
    for (const auto& a : app.store.adviceBase().advice) numbers.push_back(a.numer);
    return testuj_numery(app, numbers, kAdviceNumbering, app.store.nazwa_ra.value_or(""));
}

bool testowanie_dopytywalnosci_faktow(AppState& app) {
    Names facts;
    for (const auto& f : app.store.facts()) facts.push_back(f.warunek);
    const Names faulty = engine::roznica_zbiorow(usun_negacje(facts), app.askables.lista_warunkow_dopytywalnych);
    if (faulty.empty()) return true;
    const std::string names = term(faulty);
    app.messages.write("Faulty facts in rule base. Following declared facts are not askable conditions: " + names +
                       "\n"
                       " Proceed to the 'Main Menu' options:\n"
                       " 'Rule Base Activities', enter the option 'Rule Base Editing'\n"
                       " load the faulty base and remove facts that are not askable conditions.\n");
    app.port.note("Faulty facts in rule base",
                  "Faulty facts in rule base.\nFollowing declared facts are not askable conditions\n   " + names +
                      "\nProceed to the  option  'Exact Rule Base', enter  'Rule Base Editing',"
                      "\nload the faulty base and remove facts that are not askable conditions. ");
    app.store.kasowanie_fakt();
    app.store.kasowanie_dregula();
    app.store.kasowanie_nazwy_re();
    return false;
}

void wykrywanie_warunkow_pojedynczych(AppState& app) {
    // pojedynczy_warunek: number, conclusion and condition of each.
    struct Single {
        std::int32_t numer;
        std::string wniosek;
        std::string warunek;
    };
    std::vector<Single> pojedynczy_warunek;
    for (const auto& r : app.store.rules())
        if (r.warunki.size() == 1) pojedynczy_warunek.push_back({r.numer, r.wniosek, r.warunki.front()});
    if (pojedynczy_warunek.empty()) return;
    const std::string name = app.store.nazwa_re.value_or("");
    app.messages.write("The Rule Base " + name +
                       "\n"
                       "contains at least one rule with a single condition.\n"
                       "For exact rule bases such a rule may often be a tautology\n"
                       "that simply exchanges one name (for the single condition)\n"
                       "by another name (for the conclusion), while contributing\n"
                       "nothing of logical substance and making the rule base less\n"
                       "transparent and readable.\n");
    if (yes(app, "Choose:",
            "The Augmented Exact Rule Base \n   " + name +
                "\ncontains at least one rule with a single condition."
                "\n\nFor exact rule bases such a rule may often be a  \ntautology, that simply exchanges one name "
                "(for the \nsingle condition) by another name (for the conclusion),"
                "\nwhile contributing nothing of logical substance and "
                "\nmaking the rule base less transparent and readable."
                "\n\nDo you wish to see rules with single conditions?")) {
        app.messages.write("The Rule Base " + name + " contains:\n");
        for (const auto& s : pojedynczy_warunek) {
            const std::string nr = std::to_string(s.numer);
            app.messages.write("Rule " + nr + " with conclusion '" + s.wniosek + "' and with single condition '" +
                               s.warunek + "'.\n");
            if (!yes(app, "Rule with single condition",
                     "The Augmented  Exact Rule Base \n   " + name + "\ncontains rule " + nr + " with conclusion \n   " +
                         s.wniosek + "\nand with single condition \n   " + s.warunek +
                         ".\n\nDo you wish to see the next rule with single condition?"))
                break;
        }
    }
    app.messages.write("If you wish to delete or correct a tautological rule,\n"
                       "enter 'Rule Base', choose option\n"
                       "'Rule Base Editing' and load the faulty rule base.\n"
                       "If not, proceed with loading the remaining bases.\n");
    app.port.note("Advice",
                  "If you wish to delete or correct a tautological rule, enter 'Exact Rule Base', choose option,\n"
                  "'Rule Base Editing' and load the faulty rule base.\n If not, proceed with loading the remaining "
                  "bases.");
}

bool wnioski_modeli_a_wnioski_regul(AppState& app) {
    const engine::Askables& a = app.askables;
    const std::string rules = app.store.nazwa_re.value_or("");
    const std::string models = app.store.nazwa_mo.value_or("");
    const Names& modelConclusions = a.lista_wnioskow_modeli ? *a.lista_wnioskow_modeli : Names{};
    const Names ruleConclusions = kb::texts(a.lista_wnioskow_regul);
    const Names shared = engine::przeciecie(ruleConclusions, modelConclusions);
    if (!shared.empty()) {
        const std::string list = term(shared);
        app.messages.write("Faulty rule base     " + rules + "\nFaulty model base " + models +
                           "\nRules and relational models have identically named conclusions:\n" + list + "\n" +
                           kGuidanceBoth);
        app.port.note("Error: same conclusions in rule- and model base",
                      "Faulty rule base\n   " + rules + "\nand model base\n   " + models +
                          "\nRules and relational models have identically named conclusions.\nThey are in the "
                          "list:\n   " +
                          list +
                          "\nChaining has been suppresssed. \n Proceed to the options: 'Exact Rule Base' or 'Exact "
                          "Model Base',"
                          "\nenter the options 'Rule Base Editing' or 'Model Base Editing' "
                          "\nload the faulty bases and remove the faults.");
        unloadRuleAndModelBases(app);
        return false;
    }
    // The list of all logical variables against the numeric ones.
    const Names logical = engine::redukuj(engine::usuniecie_list_wewnetrznych(
        {ruleConclusions, kb::texts(a.lista_warunkow), modelConclusions, a.lista_warunkow_stosowania}));
    const Names numeric =
        engine::usuniecie_list_wewnetrznych({a.lista_argumentow_modeli, a.lista_wynikow_modeli});
    const Names both = engine::przeciecie(logical, numeric);
    if (both.empty()) return true;
    const std::string list = term(both);
    app.messages.write("Faulty rule base     " + rules + "\nand/or model base " + models +
                       "\nRules and relational models have conditions/conclusions\nnamed like arguments/results.\n"
                       "They are the following:\n" +
                       list + "\n" + kGuidanceBoth);
    app.port.note("Error: same name for different string variables",
                  "Faulty rule base\n   " + rules + "\nand/or model base\n   " + models +
                      "\nRules and/or models have conditions/conclusions"
                      "\nnamed like arguments/results. They are in the list:\n   " +
                      list +
                      "\nChaining has been suppresssed. \nProceed to the options 'Exact Rule Base' or 'Exact Model "
                      "Base',"
                      "\nenter the options 'Rule Base Editing' or 'Model Base Editing' "
                      "\nload the faulty bases and remove the faults.");
    unloadRuleAndModelBases(app);
    return false;
}

bool testowanie_dopytywalnosci_argumentow(AppState& app) {
    if (!app.store.nazwa_mo) return true;
    Names known;
    for (const auto& k : app.store.modelBase().argument_known) known.push_back(k.argument);
    const Names faulty = engine::roznica_zbiorow(known, app.askables.lista_argumentow_dopytywalnych);
    if (faulty.empty()) return true;
    const std::string names = term(faulty);
    app.messages.write("Non-askable arguments declared as 'known_arguments()'.\n"
                       "The following arguments are non- askable: " +
                       names +
                       "\n"
                       "Proceed to the option 'Model Base/'Model Base Editing',\n"
                       "load the faulty base and remove the faults.\n");
    app.port.note("Non-askable arguments declared as 'known_arguments()",
                  "The following non-askable arguments declared as 'known_arguments()'\n" + names +
                      "\nProceed to the option 'Model Base/'Model Base Editing',"
                      "\nload the faulty bases and remove the faults");
    // Models of a refused base must not take part in a later run.
    app.store.unloadModelBase();
    return false;
}

void wykrywanie_modeli_tautologicznych(AppState& app) {
    // model_tautologiczny: number, result and argument 1 of each.
    struct Tautology {
        std::int32_t numer;
        std::string wynik;
        std::string arg1;
    };
    std::vector<Tautology> model_tautologiczny;
    for (const auto& m : app.store.modelBase().model_b) {
        if (engine::czy_liczba(m.arg1)) continue;
        const bool addsNothing = isNumber(m.arg2, 0) && (m.operacja == "=" || m.operacja == "+" || m.operacja == "-");
        const bool timesOne = isNumber(m.arg2, 1) && (m.operacja == "*" || m.operacja == "/");
        if (addsNothing || timesOne) model_tautologiczny.push_back({m.numer, m.wynik, m.arg1});
    }
    if (model_tautologiczny.empty()) return;
    const std::string name = app.store.nazwa_mo.value_or("");
    app.messages.write("The model base " + name +
                       "\n"
                       "has at least one arithmetical model which equates one variable name\n"
                       "to another variable name. Such model is a tautology.\n");
    if (yes(app, "Choose:",
            "The Augmented Exact Model Base\n   " + name +
                "\nhas at least one arithmetical model which\nequates one variable name to another \nvariable name."
                " Such model is a tautology.\n\nDo you wish to see tautological models?")) {
        for (const auto& t : model_tautologiczny) {
            const std::string nr = std::to_string(t.numer);
            app.messages.write("Model " + nr + " is a tautology:  it replaces the variable: '" + t.arg1 +
                               "'\nwith another variable: '" + t.wynik + "'\n");
            if (!yes(app, "Tautological Model",
                     "Model " + nr + " is a tautology.  \nIt replaces the variable\n   " + t.arg1 +
                         "\nwith another variable\n   " + t.wynik +
                         "\n\nDo you wish to see the next tautological model?"))
                break;
        }
    }
    app.messages.write("In some situations tautological models make the model base more readable;\n"
                       "in other situations they obscure the model base. \n"
                       "Then it is advised to remove them.\n"
                       "If you wish to delete or correct a tautological model,\n"
                       "enter 'Modele Base', choose option\n"
                       "'Model Base Editing' and load the tautological model base.\n"
                       "If not, proceed with loading the remaining bases.\n");
    app.port.note("Advice",
                  "In some situations tautological models make the model base more readable;"
                  "\nin other situations they obscure the model base.  Then it is advised to remove them."
                  "\nIf you wish to delete or correct a tautological model, enter 'Exact Modele Base', choose option"
                  "\n'Model Base Editing' and remove  tautological models. ");
}

bool wykrywanie_ograniczen_pojedynczych(AppState& app) {
    const std::string name = app.store.nazwa_og.value_or("");
    for (const auto& c : app.store.constraints()) {
        if (c.warunki.size() >= 2) continue;
        const std::string nr = std::to_string(c.numer);
        const std::string guidance =
            "Enter 'Constraint Base'\n"
            "choose the option 'Constraint Base Editing',\n"
            "load the faulty base and either remove the faulty constraint\n"
            "or add other askable conditions, mutually exclusive with the \n"
            "condition in question.";
        app.messages.write("The Constraint Base " + name + "\ncontains the constraint " + nr + " with a list:\n    " +
                           term(c.warunki) +
                           "\nwith less than 2 askable conditions.\nThis contradicts the essence of constraint "
                           "bases.\n" +
                           guidance + "\n");
        app.port.note("Attention error!", "Elementary Exact Constraint Base " + name + "\ncontains the constraint " +
                                              nr + ".\nwith less than 2 askable conditions:\n\n" + term(c.warunki) +
                                              "\n\n" + guidance);
        app.store.kasowanie_dogranicz();
        app.store.kasowanie_nazwy_og();
        return false;
    }
    return true;
}

bool kontrola_dopytywalnosci_ograniczen(AppState& app) {
    const engine::Askables& a = app.askables;
    const Names& askable = app.store.nazwa_mo ? a.lista_warunkow_i_argumentow_dopytywalnych
                                              : a.lista_warunkow_dopytywalnych;
    const std::string name = app.store.nazwa_og.value_or("");
    for (const auto& c : app.store.constraints()) {
        for (const auto& w : c.warunki) {
            if (engine::element(w, askable)) continue;
            const std::string nr = std::to_string(c.numer);
            const std::string remedies =
                "You may:\n"
                "1. Enter 'Constraint Base', \n"
                "   choose the option 'Constraint Base Editing',\n"
                "   load the faulty constraint base and remove the non-askable condition,\n"
                "        or: \n"
                "2. Enter 'Rule Base Activities'\n"
                "   choose the option 'Rule Base Editing'\n"
                "   load the rule base and introduce there the non-askable condition as \n"
                "   askable condition.";
            app.messages.write("An Exact Constraint Base may contain only lists of askable \n"
                               "mutually exclusive conditions.\n"
                               "Condition '" + w + "' in constraint " + nr + "\nof the Constraint Base " + name +
                               "\nis not an askable condition.\n" + remedies + "\n");
            app.port.note("Attention error!",
                          "An Exact Constraint Base may contain only \nlists of askable mutually exclusive "
                          "conditions.\n\nCondition  \n       " +
                              w + "\nin constraint " + nr + " of the Augmented Exact Constraint Base " + name + "\n\n" +
                              remedies);
            app.store.kasowanie_dogranicz();
            app.store.kasowanie_nazwy_og();
            return false;
        }
    }
    return true;
}

bool sa_pliki_rad(AppState& app) {
    return checkDirectory(app, {"../ADVICES/", "*.HLP", "No subdirectory with advice Text Files for",
                                "No subdirectory with advice Text Files for Knowledge Base ",
                                "Therefore the advice base can not be loaded.",
                                "\nTherefore the advice base can not be loaded.", &Store::kasowanie_drada,
                                &Store::kasowanie_nazwy_ra, &Store::nazwa_ra});
}

bool sa_pliki_grafiki(AppState& app) {
    return checkDirectory(app, {"../GRAPHICS/", "*.BMP", "No directory with Graphics Files for",
                                "No directory with Graphics Files for Knowledge Base ",
                                "Therefore the Graphics Base can not be loaded.",
                                "\nherefore the Graphics Base can not be loaded.", &Store::kasowanie_dgrafika,
                                &Store::kasowanie_nazwy_gr, &Store::nazwa_gr});
}

bool sa_pliki_melodii(AppState& app) {
    return checkDirectory(app, {"../SOUNDS/", "*.WAV", "No directory with Sound Files for",
                                "No directory with Sound Files for Knowledge Base ",
                                "Therefore the Sound Base can not be loaded.",
                                "\nherefore the Sound Base can not be loaded.", &Store::kasowanie_dmelodie,
                                &Store::kasowanie_nazwy_me, &Store::nazwa_me});
}

void wyznacz_nazwe_opisu(AppState& app) {
    app.verdicts.opis = "../ABSTRACTS/" + app.store.wyroznik.value_or("") + ".abs";
}

}  // namespace torv::kb
