// Menu-state rules: the start-up state and what each base's load enables.
#include "state/menu_state.h"

#include "state/command_ids.h"

namespace torv::shell {

void MenuState::enable(std::initializer_list<int> ids) {
    enabled_.insert(ids);
    changed();
}

void MenuState::grey(std::initializer_list<int> ids) {
    for (int id : ids) enabled_.erase(id);
    changed();
}

void MenuState::enableMenu(std::string_view title) {
    if (auto it = greyedMenus_.find(title); it != greyedMenus_.end()) greyedMenus_.erase(it);
    changed();
}

void MenuState::greyMenu(std::string_view title) {
    greyedMenus_.emplace(title);
    changed();
}

void MenuState::startUp() {
    using namespace cmd;
    // Creating, editing and deleting need no loaded base; everything that
    // reads a base waits for its load.
    enabled_ = {
        kRuleBaseLoading, kRuleBaseEditing, kRuleBaseCreating, kRuleBaseDeleting,
        kModelBaseEditing, kModelBaseCreating, kModelBaseDeleting,
        kInspectingSingleConstraint, kInspectingAllConstraints,
        kConstraintBaseEditing, kConstraintBaseCreating, kConstraintBaseDeleting,
        kAdviceBaseEditing, kAdviceBaseCreating, kAdviceBaseDeleting,
        // Deleting advice texts comes with creating them: no rule would ever
        // enable it otherwise.
        kAdviceSubdirectoryCreating, kAdviceSubdirectoryDeleting, kAdviceFileCreating, kAdviceFileDeleting,
        kGraphicsBaseEditing, kGraphicsBaseCreating, kGraphicsBaseDeleting,
        kGraphicsSubdirectoriesCreating, kGraphicsSubdirectoriesDeleting, kGraphicsFileDeleting,
        kSoundBaseEditing, kSoundBaseCreating, kSoundBaseDeleting,
        kSoundSubdirectoryCreating, kSoundFileDeleting,
        kReportInspection, kReportDeleting,
        kAbstractInspection, kAbstractEditing, kAbstractCreating, kAbstractDeleting,
        kSummaryReading, kSummaryDeleting,
        kAskablesFileReading, kAskablesFileDeleting,
        kMessageWindowCreating, kPathToBasesSetUp, kHelp, kAbout,
    };
    greyedMenus_ = {std::string(kAnalysisMenu), std::string(kFlatteningMenu)};
    changed();
}

void MenuState::ruleBaseLoaded() {
    using namespace cmd;
    enabled_.insert({
        kImporting, kInspectingSingleRule, kInspectingAllRules, kAskableConditions,
        kFlatteningChosenRule, kFlatteningAllRules,
        kModelBaseLoading, kConstraintBaseLoading, kAdviceBaseLoading,
        kGraphicsBaseLoading, kSoundBaseLoading,
        kForwardChaining, kBackwardChaining,
        kAskablesFileCreating,
        kExclusionToOne, kExclusionToNone, kNonExclusion,
    });
    for (std::string_view menu : {kAnalysisMenu, kFlatteningMenu})
        if (auto it = greyedMenus_.find(menu); it != greyedMenus_.end()) greyedMenus_.erase(it);
    changed();
}

void MenuState::modelBaseLoaded() {
    using namespace cmd;
    enable({kLinearModels, kBasicModels, kExtendedModels, kPolynomialModels, kInspectingAllModels,
            kModelAskables, kJointModelRuleAskables});
}

void MenuState::constraintBaseLoaded() {
    using namespace cmd;
    enable({kInspectingSingleConstraint, kInspectingAllConstraints,
            kDiagnosingJointRuleConstraintInconsistencies, kDiagnosingJointRuleConstraintRedundancies});
}

void MenuState::adviceBaseLoaded() {
    using namespace cmd;
    enable({kAdviceBaseInspection, kAdviceFileInspection, kAdviceSubdirectoriesAndFiles});
}

void MenuState::graphicsBaseLoaded() {
    using namespace cmd;
    // Browsing the media folders comes with picking one of the base's files.
    enable({kGraphicsBaseInspection, kGraphicsFileInspection, kGraphicsSubdirectoriesAndFiles});
}

void MenuState::soundBaseLoaded() {
    using namespace cmd;
    enable({kSoundBaseInspection, kSoundFilePlaying, kSoundSubdirectoriesAndFiles});
}

}  // namespace torv::shell
