// The loading commands: one function per base, each step in its order.
#include "loading/loading.h"

#include <algorithm>
#include <filesystem>

#include "engine/askables.h"
#include "engine/same_results.h"
#include "loading/model_checks.h"
#include "kb/base_file.h"
#include "loading/load_checks.h"
#include "port/texts.h"
#include "port/user_port.h"
#include "kb/media.h"
#include "kb/paths.h"
#include "state/app_state.h"
#include "verify/joint_model_rule.h"
#include "verify/load_offers.h"
#include "verify/model_inconsistency.h"
#include "verify/same_results_constraints.h"

namespace torv::kb {

namespace {

namespace fs = std::filesystem;
using port::FileDialog;

/// What a reading fault tells the user, per base.
struct FaultTexts {
    const char* syntaxMessage;
    const char* syntaxNoteTitle;
    const char* syntaxNote;
    const char* emptyMessage;
    const char* emptyNoteTitle;
    const char* emptyNote;
    const char* base;  // "Rule Base", named in a fault that is neither
};

const FaultTexts kRuleFaults{
    "Enter 'Rule Base',\nchoose option 'Rule Base Editing', \nchoose faulty base and remove error.\n",
    "Error",
    "Enter 'Rule Base', \nchoose option 'Rule Base Editing,\nchoose faulty base and remove error.",
    "Rule Base error while reading base. Rule Base has empty lines!\n\nEnter 'Rule Base',\n"
    "choose option 'Rule Base Editing', \nchoose faulty base and remove empty lines."
    "which are often found at the end of the base.\n",
    "Error",
    "Rule Base error while reading base. \nRule Base has empty lines!\nEnter 'Exact Rule Base',\n"
    "choose option 'Rule Base Editing', \nchoose faulty base and remove empty lines.,\n"
    "which are often found at the end of the base..",
    "Rule Base",
};

const FaultTexts kModelFaults{
    "Enter 'Model Base',\nchoose option 'Model Base Editing', \nchoose faulty base and remove error.\n",
    "Attention error!",
    "Enter 'Exact Model Base', \nchoose option 'Model Base Editing', \nchoose faulty base and remove error.",
    "Model Base error while reading base. Model Base has empty lines!\nEnter 'Model Base',\n"
    "choose option 'Model Base Editing', \nchoose faulty base and remove empty lines."
    "which are often found at the end of the base.\n",
    "Error",
    "Model Base error while reading base. \nModel Base has empty lines!\nEnter 'Exact Model Base',\n"
    "choose option 'Model Base Editing', \nchoose faulty base and remove empty lines.,\n"
    "which are often found at the end of the base..",
    "Model Base",
};

const FaultTexts kConstraintFaults{
    "Enter 'Constraint Base',\nchoose option 'Constraint Base Editing', \nchoose faulty base and remove error.\n",
    "Attention error!",
    "Enter 'Exact Constraint Base', \nchoose option 'Constraint Base Editing', \n"
    "choose faulty base and remove error.",
    "Constraint Base error while reading base. Constraint Base has empty lines!\nEnter 'Constraint Base',\n"
    "choose option 'Constraint Base Editing', \nchoose faulty base and remove empty lines"
    "which are often found at the end of the base.\n",
    "Attention error!",
    "Constraint Base error while reading base.\nConstraint Base has empty lines!\n"
    "Enter 'Exact Constraint Base',\nchoose option 'Constraint Base Editing'\n"
    "choose faulty base and remove empty lines \nwhich are often found at the end of the base.",
    "Constraint Base",
};

const FaultTexts kAdviceFaults{
    "Enter 'Advice Base',\nchoose option 'Advice Base Editing', \nchoose faulty base and remove error.\n",
    "Attention error!",
    "Enter 'Exact Advice Base', \nchoose option 'Advice Base Editing', \nchoose faulty base and remove error.",
    "Advice Base error while reading base. Advice Base has empty lines!\nEnter 'Advice Base',\n"
    "choose option 'Advice Base Editing', \nchoose faulty base and remove empty lines"
    "which are often found at the end of the base.\n",
    "Attention error!",
    "Advice Base error while reading base.\nAdvice Base has empty lines!\nEnter 'Advice Base',\n"
    "choose option 'Advice Base Editing'\nchoose faulty base and remove empty lines which\n"
    "are often found at the end of the base.",
    "Advice Base",
};

const FaultTexts kGraphicsFaults{
    "Enter 'Graphics Base',\nchoose option 'Graphics Base Editing', \nchoose faulty base and remove error.\n",
    "Attention error!",
    "Enter 'Graphics Base', \nchoose option 'Graphics Base Editing', \nchoose faulty base and remove error.",
    "Graphics Base error while reading base. Graphics Base has empty lines!\nEnter 'Graphics Base',\n"
    "choose option 'Graphics Base Editing', \nchoose faulty base and remove empty lines."
    "which are often found at the end of the base.\n",
    "Error",
    "Graphics Base error while reading base. \nGraphics Base has empty lines!\nEnter 'Graphics Base',\n"
    "choose option 'Graphics Base Editing', \nchoose faulty base and remove empty lines.,\n"
    "which are often found at the end of the base..",
    "Graphics Base",
};

const FaultTexts kSoundFaults{
    "Enter 'Sound Base',\nchoose option 'Sound Base Editing', \nchoose faulty base and remove error.\n",
    "Attention error!",
    "Enter 'Sound Base', \nchoose option 'Sound Base Editing', \nchoose faulty base and remove error.",
    "Sound Base error while reading base. Sound Base has empty lines!\nEnter 'Sound Base',\n"
    "choose option 'Sound Base Editing', \nchoose faulty base and remove empty lines."
    "which are often found at the end of the base.\n",
    "Error",
    "Sound Base error while reading base. \nSound Base has empty lines!\nEnter 'Sound Base',\n"
    "choose option 'Sound Base Editing', \nchoose faulty base and remove empty lines.,\n"
    "which are often found at the end of the base..",
    "Sound Base",
};

std::string fileNameOf(const std::string& path) { return fs::path(path).filename().string(); }

/// obsluga_bledu_konsultacji: a syntax error with its place, in the message
/// window and in the "Exception handling" note.
/// A long line is shown as a piece around the place, so that a line of
/// megabytes does not flood the window and the note.
void obsluga_bledu_konsultacji(AppState& app, const ReadError& e, const std::string& path) {
    app.store.blad = "error";
    const std::size_t position = static_cast<std::size_t>(std::max(e.position, 1));
    const LineExcerpt x = excerptAround(e.lineText, position);
    const std::string caret = std::string(x.caret, ' ') + "^";
    const std::string why = x.clipped ? e.message + " (line " + std::to_string(e.line) + ", position " +
                                            std::to_string(position) + ")"
                                      : e.message;
    app.messages.write("Syntax error in file " + path + "\n" + x.text + "\n" + caret + "\n" + why + "\n\n");
    app.port.note("Exception handling",
                  "Syntax error in file " + fileNameOf(path) + "\n\n" + x.text + "\n" + caret + "\n" + why);
}

/// The reading step every load shares. The base's tables are filled only
/// when the whole file was read; a failed read leaves them as they were
/// (cleared by the caller).
struct ReadOutcome {
    bool ok = false;
    std::string unreadable;  // why the file could not be read at all
};

ReadOutcome readingStep(AppState& app, BaseKind kind, const std::string& path) {
    app.currentDir = fs::path(path).parent_path();
    app.messages.clear();
    app.store.blad.reset();  // a stale marker must not explain this read's fault
    app.store.jestem_tu = "Yes";
    std::optional<port::Progress> progress;  // made once the size is known
    auto result = readBaseFile(kind, path, [&](std::size_t done, std::size_t total) {
        if (!progress) progress.emplace(app.port, port::texts::kLoadingLabel + fileNameOf(path), total);
        return progress->at(done);
    });
    progress.reset();
    if (auto* e = std::get_if<ReadError>(&result)) {
        if (e->kind == ReadError::Kind::Syntax) obsluga_bledu_konsultacji(app, *e, path);
        // A stopped read ends as one that failed, saying why.
        if (e->kind == ReadError::Kind::Unreadable || e->kind == ReadError::Kind::Cancelled) return {false, e->message};
        return {};
    }
    storeBase(app.store, std::move(std::get<AnyBase>(result)));
    app.messages.write("\n\n");
    return {true, {}};
}

/// The outcome of a failed reading step: a reported syntax error sends the
/// user to the base's editor; a file that could not be read says why; the
/// remaining read fault is an empty line.
std::nullopt_t readFault(AppState& app, const FaultTexts& t, const ReadOutcome& r) {
    if (!r.unreadable.empty()) {
        app.messages.write(std::string(t.base) + " error while reading base. " + r.unreadable + "\n\n");
        app.port.note(t.emptyNoteTitle, std::string(t.base) + " error while reading base. \n" + r.unreadable);
    } else if (app.store.blad == "error") {
        app.messages.write(t.syntaxMessage);
        app.port.note(t.syntaxNoteTitle, t.syntaxNote);
    } else {
        app.messages.write(t.emptyMessage);
        app.port.note(t.emptyNoteTitle, t.emptyNote);
    }
    app.store.jestem_tu.reset();
    return std::nullopt;
}

/// A check after the read failed; it has reported itself.
std::nullopt_t checkFailed(AppState& app) {
    app.store.jestem_tu.reset();
    return std::nullopt;
}

/// korespondencja: the chosen file must carry the loaded knowledge-base name.
bool korespondencja(AppState& app, const std::string& path) {
    if (app.store.wyroznik && wyroznik_z_nazwy(path) == *app.store.wyroznik) return true;
    const std::string chosen = fileNameOf(path);
    const std::string rules = app.store.nazwa_re.value_or("");
    app.messages.write(" The chosen base \n\n      " + chosen +
                       "\n\n is not compatible with the already loaded rule base  \n\n      " + rules +
                       "\n\n and therefore can not be loaded.\n\n");
    app.port.note("Attention error!", "The chosen base\n   " + chosen +
                                          "\nis not compatible with the already loaded \naugmented exact rule base\n   " +
                                          rules + "\nand therefore can not be loaded.");
    return false;
}

/// The shared precondition of every load but the rule base's: a rule base
/// without a recorded external inconsistency. Sets `result` when the
/// command must end.
bool ruleBaseReady(AppState& app, std::optional<std::optional<std::string>>& result) {
    if (!app.store.nazwa_re) {
        app.port.note("Attention!", "Load Rule Base first!");
        result.emplace("");
        return false;
    }
    if (app.verdicts.externallyInconsistent()) {
        result.emplace(app.verdicts.numberingFault() ? std::nullopt : std::optional<std::string>(""));
        return false;
    }
    return true;
}

std::string chooseFile(AppState& app, const char* title, const char* mask, const char* label,
                       const char* pattern) {
    return app.port.openFile(FileDialog{title, mask, {{label, pattern}}, app.currentDir});
}

// ---- the loads ----

std::optional<std::string> loadRuleBase(AppState& app, const std::string* givenPath) {
    app.clearForRuleBase();
    const std::string path = givenPath ? *givenPath
                                       : chooseFile(app, "Load Rule Base ", "Ru*.AEB", "Rule Base (RU*.AEB)",
                                                    "RU*.AEB");
    // Nothing to act upon: no verdict was recorded (a cancelled dialog too).
    auto endedWithoutLoad = [&]() -> std::optional<std::string> {
        app.store.jestem_tu.reset();
        if (app.verdicts.externallyInconsistent() || app.verdicts.numberingFault()) return std::nullopt;
        app.port.setTitle("torv");
        return std::string();
    };
    if (path.empty()) return endedWithoutLoad();
    if (auto r = readingStep(app, BaseKind::Rule, path); !r.ok) return readFault(app, kRuleFaults, r);

    const std::string name = fileNameOf(path);
    Store& s = app.store;
    s.nazwa_re_pelna = path;
    s.nazwa_re = name;
    pamietaj_wyroznik_nazwy(app.store, path);
    app.messages.write("Rule base  " + name + "\nhas been loaded!\n\n");
    app.port.setTitle("torv_AE consults Knowledge Base " + upperAscii(*s.wyroznik));
    app.port.note("Successful  loading of Rule Base", "Augmented Exact Rule Base\n   " + name + "\nhas been loaded!");
    // Each check goes over the whole base: the user may stop the load between two.
    port::Progress checks(app.port, port::texts::kLoadingLabel + name, 5);
    std::uint64_t done = 0;
    const auto nextCheck = [&] { checks.check(done++); };
    nextCheck();
    if (!testuj_numery_regul(app)) return endedWithoutLoad();
    nextCheck();
    if (!engine::wyznacz_liste_faktow(app)) return endedWithoutLoad();
    s.jestem_tu.reset();
    if (!verify::testuj_sprzecznosc_1z(app)) return endedWithoutLoad();
    wyznacz_nazwe_opisu(app);
    nextCheck();
    if (!engine::pamietaj_dopytywalne_regul(app)) return endedWithoutLoad();

    // From here on the load counts as done; a failing check has reported itself.
    if (!verify::testuj_sprzecznosc_1w(app)) return std::nullopt;
    if (!verify::testuj_nadmiar_1(app)) return std::nullopt;
    nextCheck();
    if (!testowanie_dopytywalnosci_faktow(app)) return std::nullopt;
    nextCheck();
    wykrywanie_warunkow_pojedynczych(app);
    return name;
}

/// Opens the chosen file's directory and checks the knowledge-base name.
/// "" when cancelled, nullopt when refused, else the path.
std::optional<std::string> chooseMatchingFile(AppState& app, const char* title, const char* mask,
                                              const char* label, const char* pattern) {
    const std::string path = chooseFile(app, title, mask, label, pattern);
    if (path.empty()) return std::string();
    app.currentDir = fs::path(path).parent_path();
    app.messages.clear();
    if (!korespondencja(app, path)) return std::nullopt;
    return path;
}

std::optional<std::string> loadModelBase(AppState& app) {
    if (std::optional<std::optional<std::string>> r; !ruleBaseReady(app, r)) return *r;
    Store& s = app.store;
    s.kasowanie_argument_znany();
    s.kasowanie_dmodel();
    s.kasowanie_dmodel_r();
    s.kasowanie_dmodel_liniowy();
    s.kasowanie_dmodel_wielomianowy();
    s.kasowanie_m_fakt();
    s.kasowanie_nazwy_mo();
    app.verdicts.clearModelTests();
    app.findings.model = {};
    app.findings.jointModelRule = {};
    auto path = chooseMatchingFile(app, "Load Model Base", "MO*.AEB", "Model Base (MO*.AEB)", "MO*.AEB");
    if (!path || path->empty()) return path;
    if (auto r = readingStep(app, BaseKind::Model, *path); !r.ok) return readFault(app, kModelFaults, r);

    const std::string name = fileNameOf(*path);
    const std::string rules = s.nazwa_re.value_or("");
    s.nazwa_mo = name;
    s.nazwa_mo_pelna = *path;
    app.messages.write("Model base " + name + "\nhas been loaded!\n");
    app.port.note("Successful  loading of Model Base", "Augmented Exact Model Base\n    " + name + "\nhas been loaded!");
    if (!testuj_numery_modeli(app)) return checkFailed(app);
    app.messages.write("The model base is tested for inconsistencies.\n"
                       "The time needed depends upon the base complexity.\n");
    if (!verify::informuj_sprzecznosc_mz(app)) return checkFailed(app);
    app.messages.write("Model base " + name + "has no  inconsistencies!\n");
    app.port.note("Inconsistencies of Model Base",
                  "Augmented Exact Model Base\n    " + name + "\nhas no  inconsistencies!");
    app.messages.write("The Model Base  " + name + " and Rule Base  " + rules +
                       "\nare tested for joint inconsistencies.\n"
                       "he time needed depends upon the base complexity.\n");
    if (!verify::informuj_sprzecznosc_mr(app)) return checkFailed(app);
    app.messages.write("Model base:    " + name + "\nand Rule Base: " + rules + "\nhave no  joint inconsistencies!\n");
    app.port.note("Joint inconsistencies of Model Base and Rule Base",
                  "Augmented Exact Model Base\n    " + name + "\nand Augmented  Exact Rule Base\n    " + rules +
                      "\nhave no  joint inconsistencies!");
    if (!engine::pamietaj_dopytywalne_modeli(app)) return checkFailed(app);

    // From here on the load counts as done.
    s.jestem_tu.reset();
    if (!wnioski_modeli_a_wnioski_regul(app)) return std::nullopt;
    if (!engine::testuj_strukture_modeli(app)) return std::nullopt;
    // With a constraint base loaded, the models are tested against it.
    if (s.nazwa_og ? !verify::testuj_wyniki_wszystkich_modeli_z_og(app)
                   : !engine::testuj_wyniki_wszystkich_modeli_bez_ograniczen(app))
        return std::nullopt;
    if (!testowanie_dopytywalnosci_argumentow(app)) return std::nullopt;
    if (!engine::wyznacz_liste_faktow(app)) return std::nullopt;
    wykrywanie_modeli_tautologicznych(app);
    return name;
}

std::optional<std::string> loadConstraintBase(AppState& app) {
    if (std::optional<std::optional<std::string>> r; !ruleBaseReady(app, r)) return *r;
    if (app.verdicts.jointModelRuleFault()) return std::string();
    Store& s = app.store;
    s.kasowanie_dogranicz();
    s.kasowanie_nazwy_og();
    app.findings.jointInconsistency = {};
    app.findings.jointRedundancy = {};
    auto path = chooseMatchingFile(app, "Load Constraint Base", "Co*.AEB", "Constraint Base (Co*.AEB)", "Co*.AEB");
    if (!path || path->empty()) return path;
    if (auto r = readingStep(app, BaseKind::Constraint, *path); !r.ok) return readFault(app, kConstraintFaults, r);

    const std::string name = fileNameOf(*path);
    s.nazwa_og = name;
    s.nazwa_og_pelna = *path;
    if (!wykrywanie_ograniczen_pojedynczych(app)) return checkFailed(app);
    if (!kontrola_dopytywalnosci_ograniczen(app)) return checkFailed(app);
    app.messages.write("Augmented Exact Constraint Base " + name + "\nhas been loaded!\n");
    app.port.note("Successful  loading of Constraint Base",
                  "Augmented Exact Constraint Base\n    " + name + "\nhas been loaded!");
    if (!testuj_numery_ograniczen(app)) return checkFailed(app);
    if (!verify::testuj_wyniki_wszystkich_modeli_z_og(app)) return checkFailed(app);
    if (!engine::wyznacz_liste_faktow(app)) return checkFailed(app);
    s.jestem_tu.reset();
    if (!verify::testuj_sprzecznosc_2(app)) return std::nullopt;
    if (!verify::testuj_nadmiar_2(app)) return std::nullopt;
    return name;
}

std::optional<std::string> loadAdviceBase(AppState& app) {
    if (std::optional<std::optional<std::string>> r; !ruleBaseReady(app, r)) return *r;
    if (app.verdicts.jointModelRuleFault()) return std::string();
    Store& s = app.store;
    s.kasowanie_drada();
    s.kasowanie_nazwy_ra();
    auto path = chooseMatchingFile(app, "Load Advice Base ", "AD*.AEB", "Advice Base (AD*.AEB)", "AD*.AEB");
    if (!path || path->empty()) return path;
    if (auto r = readingStep(app, BaseKind::Advice, *path); !r.ok) return readFault(app, kAdviceFaults, r);

    const std::string name = fileNameOf(*path);
    s.nazwa_ra = name;
    s.nazwa_ra_pelna = *path;
    if (!sa_pliki_rad(app)) return checkFailed(app);
    app.messages.write("Advice Base " + name + "\nhas been loaded!\n");
    app.port.note("Successful  loading of Advice Base!", "Augmented Exact Advice Base\n    " + name + "\nhas been loaded!");
    if (!testuj_numery_rad(app)) return checkFailed(app);
    s.jestem_tu.reset();
    return name;
}

std::optional<std::string> loadGraphicsBase(AppState& app) {
    if (std::optional<std::optional<std::string>> r; !ruleBaseReady(app, r)) return *r;
    Store& s = app.store;
    s.kasowanie_dgrafika();
    s.kasowanie_nazwy_gr();
    auto path = chooseMatchingFile(app, "Load Graphics Base ", "GR*.AEB", "Graphics Base (GR*.AEB)", "GR*.AEB");
    if (!path || path->empty()) return path;
    if (auto r = readingStep(app, BaseKind::Graphics, *path); !r.ok) return readFault(app, kGraphicsFaults, r);

    const std::string name = fileNameOf(*path);
    s.nazwa_gr = name;
    s.nazwa_gr_pelna = *path;
    if (!sa_pliki_grafiki(app)) return checkFailed(app);
    app.messages.write("Graphics Base " + name + " has been loaded!\n");
    app.port.note("Successful  loading of Graphics Base!", "Graphics Base\n   " + name + "\nhas been loaded!");
    s.jestem_tu.reset();
    return name;
}

std::optional<std::string> loadSoundBase(AppState& app) {
    if (std::optional<std::optional<std::string>> r; !ruleBaseReady(app, r)) return *r;
    Store& s = app.store;
    s.kasowanie_dmelodie();
    s.kasowanie_nazwy_me();
    auto path = chooseMatchingFile(app, "Load Melody Base ", "So*.AEB", "Melody Base (So*.AEB)", "So*.AEB");
    if (!path || path->empty()) return path;
    if (auto r = readingStep(app, BaseKind::Sound, *path); !r.ok) return readFault(app, kSoundFaults, r);

    const std::string name = fileNameOf(*path);
    s.nazwa_me = name;
    s.nazwa_me_pelna = *path;
    if (!sa_pliki_melodii(app)) return checkFailed(app);
    app.messages.write("Sound Base " + name + "\nhas been loaded!\n");
    app.port.note("Successful  loading of Sound Base!", "Sound Base\n   " + name + "\nhas been loaded!");
    s.jestem_tu.reset();
    return name;
}

/// A load whose checks the user stopped ends as a stopped read of its base:
/// `unload` empties the base and what its checks found; the menu stays.
template <class Load, class Unload>
std::optional<std::string> cancellable(AppState& app, const FaultTexts& texts, Load load, Unload unload) {
    try {
        return load();
    } catch (const port::Cancelled&) {
        app.outcomes.clear();
        unload();
        return readFault(app, texts, {false, kLoadingCancelled});
    }
}

std::optional<std::string> cancellableRuleLoad(AppState& app, const std::string* givenPath) {
    return cancellable(app, kRuleFaults, [&] { return loadRuleBase(app, givenPath); },
                       [&] {
                           app.clearForRuleBase();
                           app.port.setTitle("torv");
                       });
}

}  // namespace

std::optional<std::string> opcja_z_menu_glownego(AppState& app, LoadOption option) {
    Store& s = app.store;
    switch (option) {
    case LoadOption::RuleBase: return cancellableRuleLoad(app, nullptr);
    case LoadOption::ModelBase:
        return cancellable(app, kModelFaults, [&] { return loadModelBase(app); },
                           [&] {
                               s.unloadModelBase();
                               app.verdicts.clearModelTests();
                               app.findings.model = {};
                               app.findings.jointModelRule = {};
                           });
    case LoadOption::ConstraintBase:
        return cancellable(app, kConstraintFaults, [&] { return loadConstraintBase(app); },
                           [&] {
                               s.kasowanie_dogranicz();
                               s.kasowanie_nazwy_og();
                               s.nazwa_og_pelna.reset();
                               app.findings.jointInconsistency = {};
                               app.findings.jointRedundancy = {};
                           });
    // Nothing after these reads reports progress.
    case LoadOption::AdviceBase: return loadAdviceBase(app);
    case LoadOption::GraphicsBase: return loadGraphicsBase(app);
    case LoadOption::SoundBase: break;
    }
    return loadSoundBase(app);
}

std::optional<std::string> loadRuleBaseFrom(AppState& app, const std::string& path) {
    const std::string full = app.resolve(path).lexically_normal().string();
    return cancellableRuleLoad(app, &full);
}

}  // namespace torv::kb
