// Dispatch of the main menu's commands.
#include "shell/shell.h"

#include <cassert>
#include <filesystem>
#include <new>
#include <stdexcept>

#include "dbfunc/import.h"
#include "dbfunc/odbc_source.h"
#include "engine/backward.h"
#include "engine/forward.h"
#include "loading/loading.h"
#include "port/user_port.h"
#include "reports/askables_file.h"
#include "reports/report_commands.h"
#include "reports/abstracts.h"
#include "reports/summaries.h"
#include "shell/base_files.h"
#include "shell/base_views.h"
#include "shell/media_commands.h"
#include "state/app_state.h"
#include "verify/exclusivity.h"
#include "verify/external.h"
#include "verify/flattening.h"
#include "verify/internal.h"
#include "verify/joint_inconsistency.h"
#include "verify/joint_redundancy.h"
#include "verify/joint_model_rule.h"
#include "verify/model_inconsistency.h"
#include "verify/redundancy.h"

namespace torv::shell {

namespace {
constexpr const char* kCloseQuestion = "Do you really wish to close the program?";
}  // namespace

void Shell::noMemory() {
    // What the command held is released by now, so these small texts fit.
    app_.messages.write("\nNot enough memory: the command has been stopped.\n");
    app_.port.note(port::titles::kAttention, kNoMemoryText);
}

void applyOutcomes(AppState& app) {
    using namespace cmd;
    for (const Outcome o : app.outcomes) {
        switch (o) {
        case Outcome::RuleAndModelBasesUnloaded:
        case Outcome::ExclusiveFactsDeclared:
        case Outcome::SingularModelRemoved:
            app.menu.grey({kForwardChaining, kBackwardChaining});
            break;
        case Outcome::ExternalInconsistencyFound:
            app.menu.enable({kDiagnosingExternal});
            break;
        case Outcome::InternalInconsistencyFound:
            app.menu.enable({kDiagnosingInternal});
            break;
        case Outcome::RedundancyFound:
            app.menu.enable({kDiagnosingRedundancies, kInspectingSingleRule, kInspectingAllRules, kAskableConditions,
                             kModelBaseLoading, kConstraintBaseLoading, kAdviceBaseLoading, kGraphicsBaseLoading});
            app.menu.grey({kDiagnosingJointRuleConstraintInconsistencies, kDiagnosingJointRuleConstraintRedundancies});
            break;
        case Outcome::ModelInconsistencyFound:
            app.menu.enable({kDiagnosingModel});
            break;
        case Outcome::JointModelRuleInconsistencyFound:
            app.menu.enable({kDiagnosingJointModelRule});
            break;
        }
    }
    app.outcomes.clear();
}

Shell::Shell(AppState& app)
    : app_(app), ownSources_(std::make_unique<dbfunc::OdbcSources>()), sources_(ownSources_.get()) {}

Shell::~Shell() = default;

void Shell::setExternalSources(dbfunc::ExternalSources& sources) { sources_ = &sources; }

const MenuState& Shell::menu() const { return app_.menu; }
MenuState& Shell::menu() { return app_.menu; }
const std::optional<ChainingKind>& Shell::jakiewnioskowanie() const { return app_.jakiewnioskowanie; }

void Shell::introClosed() {
    app_.menu.startUp();
    app_.messages.recreate();
}

bool Shell::run(int id) {
    if (!findCommand(id) || !app_.menu.enabled(id)) return false;
    guarded([&] { dispatch(id); });
    applyOutcomes(app_);
    return true;
}

void Shell::guarded(const std::function<void()>& step) {
    try {
        step();
    } catch (const std::bad_alloc&) {
        noMemory();
    } catch (const std::length_error&) {   // a size no container can hold
        noMemory();
    }
}

bool Shell::closeRequested() {
    return app_.port.yesNo(port::titles::kAttention, kCloseQuestion) == port::kYes;
}

void Shell::loadRuleBaseAtStart(const std::string& path) {
    guarded([&] {
        const auto result = kb::loadRuleBaseFrom(app_, app_.resolve(path).string());
        applyOutcomes(app_);
        if (result && !result->empty()) app_.menu.ruleBaseLoaded();
    });
}

void Shell::load(kb::LoadOption option, void (MenuState::*loaded)()) {
    const auto result = kb::opcja_z_menu_glownego(app_, option);
    // What the load's checks and offers found comes before what the load enables.
    applyOutcomes(app_);
    if (result && !result->empty()) (app_.menu.*loaded)();
}

void Shell::chain(ChainingKind kind) {
    // Removed however the run ends, "End" in a chaining dialog included.
    struct Running {
        std::optional<ChainingKind>& what;
        ~Running() { what.reset(); }
    } running{app_.jakiewnioskowanie};
    app_.jakiewnioskowanie = kind;
    app_.messages.clear();
    if (kind == ChainingKind::Forward)
        engine::wnioskowanie_w_przod(app_);
    else
        engine::wnioskowanie_wstecz(app_);
}

void Shell::importing() {
    // The result dialog's OK greys the command until a rule base is loaded again.
    if (dbfunc::importowanie(app_, *sources_)) app_.menu.grey({cmd::kImporting});
}

void Shell::askablesFile() {
    reports::AskablesSources s;
    s.ruleBase = app_.store.nazwa_re;
    s.modelBase = app_.store.nazwa_mo;
    s.constraintBase = app_.store.nazwa_og;
    s.lista_warunkow_dopytywalnych = app_.askables.lista_warunkow_dopytywalnych;
    s.lista_wszystkich_dopytywalnych_dla_wyswietlania = app_.askables.lista_wszystkich_dopytywalnych_dla_wyswietlania;
    s.lista_argumentow_dopytywalnych = app_.askables.lista_argumentow_dopytywalnych;
    s.constraints = app_.store.constraints();
    reports::zachowaj(app_.port, app_.messages, app_.currentDir, s);
}

void Shell::help() {
    const auto file = app_.currentDir / kHelpFile;
    std::error_code ec;
    if (std::filesystem::is_regular_file(file, ec)) {
        app_.port.openHelp(file);
        return;
    }
    // No help file beside the bases: the port shows the project's manual.
    app_.port.openHelp({});
}

void Shell::dispatch(int id) {
    using namespace cmd;
    using kb::LoadOption;
    switch (availability(id)) {
    case Availability::NoAction: return;
    case Availability::NotAvailableYet:
        app_.port.note(kNotAvailableTitle, notAvailableText(*findCommand(id)));
        return;
    case Availability::Works: break;
    }
    switch (id) {
    case kRuleBaseLoading: load(LoadOption::RuleBase, &MenuState::ruleBaseLoaded); break;
    case kModelBaseLoading: load(LoadOption::ModelBase, &MenuState::modelBaseLoaded); break;
    case kConstraintBaseLoading: load(LoadOption::ConstraintBase, &MenuState::constraintBaseLoaded); break;
    case kAdviceBaseLoading: load(LoadOption::AdviceBase, &MenuState::adviceBaseLoaded); break;
    case kGraphicsBaseLoading: load(LoadOption::GraphicsBase, &MenuState::graphicsBaseLoaded); break;
    case kSoundBaseLoading: load(LoadOption::SoundBase, &MenuState::soundBaseLoaded); break;

    case kRuleBaseEditing: editBaseFile(app_, kb::BaseKind::Rule); break;
    case kRuleBaseCreating: createBaseFile(app_, kb::BaseKind::Rule); break;
    case kRuleBaseDeleting: deleteBaseFile(app_, kb::BaseKind::Rule); break;
    case kModelBaseEditing: editBaseFile(app_, kb::BaseKind::Model); break;
    case kModelBaseCreating: createBaseFile(app_, kb::BaseKind::Model); break;
    case kModelBaseDeleting: deleteBaseFile(app_, kb::BaseKind::Model); break;
    case kConstraintBaseEditing: editBaseFile(app_, kb::BaseKind::Constraint); break;
    case kConstraintBaseCreating: createBaseFile(app_, kb::BaseKind::Constraint); break;
    case kConstraintBaseDeleting: deleteBaseFile(app_, kb::BaseKind::Constraint); break;
    case kAdviceBaseEditing: editBaseFile(app_, kb::BaseKind::Advice); break;
    case kAdviceBaseCreating: createBaseFile(app_, kb::BaseKind::Advice); break;
    case kAdviceBaseDeleting: deleteBaseFile(app_, kb::BaseKind::Advice); break;
    case kGraphicsBaseEditing: editBaseFile(app_, kb::BaseKind::Graphics); break;
    case kGraphicsBaseCreating: createBaseFile(app_, kb::BaseKind::Graphics); break;
    case kGraphicsBaseDeleting: deleteBaseFile(app_, kb::BaseKind::Graphics); break;
    case kSoundBaseEditing: editBaseFile(app_, kb::BaseKind::Sound); break;
    case kSoundBaseCreating: createBaseFile(app_, kb::BaseKind::Sound); break;
    case kSoundBaseDeleting: deleteBaseFile(app_, kb::BaseKind::Sound); break;
    case kAdviceFileCreating: createAdviceFile(app_); break;
    case kAdviceFileDeleting: deleteMediaFile(app_, MediaFolder::Advice); break;
    case kGraphicsFileDeleting: deleteMediaFile(app_, MediaFolder::Graphics); break;
    case kSoundFileDeleting: deleteMediaFile(app_, MediaFolder::Sound); break;
    case kAdviceSubdirectoryCreating: createSubdirectory(app_, MediaFolder::Advice); break;
    case kGraphicsSubdirectoriesCreating: createSubdirectory(app_, MediaFolder::Graphics); break;
    case kSoundSubdirectoryCreating: createSubdirectory(app_, MediaFolder::Sound); break;

    case kInspectingSingleRule: inspectRecords(app_, RecordKind::Rules); break;
    case kInspectingAllRules: dzialanie_w_bazie_regul(app_, RuleBaseAction::InspectAll); break;
    case kAskableConditions: dzialanie_w_bazie_regul(app_, RuleBaseAction::Askables); break;
    case kLinearModels: inspectRecords(app_, RecordKind::LinearModels); break;
    case kBasicModels: inspectRecords(app_, RecordKind::BasicModels); break;
    case kExtendedModels: inspectRecords(app_, RecordKind::ExtendedModels); break;
    case kPolynomialModels: inspectRecords(app_, RecordKind::PolynomialModels); break;
    case kInspectingAllModels: dzialanie_w_bazie_modeli(app_, ModelBaseAction::InspectAll); break;
    case kModelAskables: dzialanie_w_bazie_modeli(app_, ModelBaseAction::Askables); break;
    case kJointModelRuleAskables: dzialanie_w_bazie_modeli(app_, ModelBaseAction::JointAskables); break;
    case kInspectingSingleConstraint: inspectRecords(app_, RecordKind::Constraints); break;
    case kInspectingAllConstraints: dzialanie_w_bazie_ograniczen(app_); break;

    case kAdviceBaseInspection: dzialanie_w_bazie_rad(app_, AdviceBaseAction::InspectBase); break;
    case kAdviceFileInspection: dzialanie_w_bazie_rad(app_, AdviceBaseAction::InspectFile); break;
    case kAdviceSubdirectoriesAndFiles: browseAdviceFiles(app_); break;
    case kGraphicsBaseInspection: dzialanie_w_bazie_grafiki(app_, MediaBaseAction::InspectBase); break;
    case kGraphicsFileInspection: dzialanie_w_bazie_grafiki(app_, MediaBaseAction::InspectFile); break;
    case kGraphicsSubdirectoriesAndFiles: browseGraphicsFiles(app_); break;
    case kSoundBaseInspection: dzialanie_w_bazie_melodii(app_, MediaBaseAction::InspectBase); break;
    case kSoundFilePlaying: dzialanie_w_bazie_melodii(app_, MediaBaseAction::InspectFile); break;
    case kSoundSubdirectoriesAndFiles: browseSoundFiles(app_); break;

    case kForwardChaining: chain(ChainingKind::Forward); break;
    case kBackwardChaining: chain(ChainingKind::Backward); break;

    case kDiagnosingExternal: verify::pisz_sprzecznosc_1z(app_); break;
    case kDiagnosingInternal: verify::pisz_sprzecznosc_1w(app_); break;
    case kDiagnosingRedundancies: verify::pisz_nadmiar(app_); break;
    case kDiagnosingJointRuleConstraintInconsistencies: verify::pisz_sprzecznosc_2(app_); break;
    case kDiagnosingJointRuleConstraintRedundancies: verify::pisz_nadmiar_2(app_); break;
    case kDiagnosingModel: verify::pisz_sprzecznosc_modeli(app_); break;
    case kDiagnosingJointModelRule: verify::pisz_sprzecznosc_mr(app_); break;
    case kFlatteningChosenRule: verify::splaszcz_wybrana(app_); break;
    case kFlatteningAllRules: verify::splaszcz_wszystkie(app_); break;
    case kExclusionToOne: verify::analiza_bazy_wiedzy(app_, verify::Exclusion::ToOne); break;
    case kExclusionToNone: verify::analiza_bazy_wiedzy(app_, verify::Exclusion::ToNone); break;
    case kNonExclusion: verify::analiza_bazy_wiedzy(app_, verify::Exclusion::NonExclusion); break;

    case kReportInspection: reports::przeglad_raportu(app_); break;
    case kReportDeleting: reports::usuwanie_raportu(app_); break;
    case kAbstractInspection: reports::przeglad_opisu(app_); break;
    case kAbstractEditing: editAbstract(app_); break;
    case kAbstractCreating: createAbstract(app_); break;
    case kAbstractDeleting: deleteAbstract(app_); break;
    case kSummaryReading: reports::czytanie_podsumowania(app_); break;
    case kSummaryDeleting: reports::usuwanie_podsumowania(app_); break;

    case kImporting: importing(); break;
    case kAskablesFileCreating: askablesFile(); break;
    case kAskablesFileReading: reports::czytanie_pliku_dopytywalnych(app_.port, app_.messages, app_.currentDir); break;
    case kAskablesFileDeleting: reports::usuwanie_pliku_dopytywalnych(app_.port, app_.messages, app_.currentDir); break;

    case kMessageWindowCreating: app_.messages.recreate(); break;
    case kPathToBasesSetUp:
        app_.port.note("Attention", "The path to bases is set-up as a result of loading the Rule Base");
        break;
    case kHelp: help(); break;
    case kAbout: app_.port.about(); break;

    default:
        // Every command of the table is handled above.
        assert(false && "command without an action");
        break;
    }
}

}  // namespace torv::shell
