// The command table of the main menu and its grouping into the menu bar.
#include <algorithm>
#include <charconv>

#include "shell/shell.h"

namespace torv::shell {

const std::vector<Command>& commands() {
    static const std::vector<Command> table{
        {cmd::kRuleBaseLoading, "Rule Base loading"},
        {cmd::kImporting, "Importing askable conditions and argument values from external data sources"},
        {cmd::kInspectingSingleRule, "Inspecting a single rule"},
        {cmd::kInspectingAllRules, "Inspecting all rules"},
        {cmd::kAskableConditions, "Askable conditions"},
        {cmd::kRuleBaseEditing, "Rule Base editing"},
        {cmd::kRuleBaseCreating, "Rule Base creating"},
        {cmd::kRuleBaseDeleting, "Rule Base deleting"},
        {cmd::kDiagnosingExternal, "Diagnosing external inconsistencies"},
        {cmd::kDiagnosingInternal, "Diagnosing internal inconsistencies"},
        {cmd::kDiagnosingRedundancies, "Diagnosing redundancies"},
        {cmd::kModelBaseLoading, "Model Base loading"},
        {cmd::kLinearModels, "Linear models"},
        {cmd::kBasicModels, "Basic models"},
        {cmd::kExtendedModels, "Extended models"},
        {cmd::kPolynomialModels, "Polynomial models"},
        {cmd::kInspectingAllModels, "Inspecting all models"},
        {cmd::kModelAskables, "Model Base askable conditions and arguments"},
        {cmd::kJointModelRuleAskables, "Joint Model- and Rule Base askable conditions and arguments"},
        {cmd::kModelBaseEditing, "Model Base editing"},
        {cmd::kModelBaseCreating, "Model Base creating"},
        {cmd::kModelBaseDeleting, "Model Base deleting"},
        {cmd::kDiagnosingModel, "Diagnosing Model Base inconsistencies"},
        {cmd::kDiagnosingJointModelRule, "Diagnosing joint Model- and Rule Base inconsistencies"},
        {cmd::kConstraintBaseLoading, "Constraint Base loading"},
        {cmd::kInspectingSingleConstraint, "Inspecting a single constraint"},
        {cmd::kInspectingAllConstraints, "Inspecting all constraints"},
        {cmd::kConstraintBaseEditing, "Constraint Base editing"},
        {cmd::kConstraintBaseCreating, "Constraint Base creating"},
        {cmd::kConstraintBaseDeleting, "Constraint  Base deleting"},
        {cmd::kDiagnosingJointRuleConstraintInconsistencies, "Diagnosing joint Rule- and Constraint Base inconsistencies"},
        {cmd::kDiagnosingJointRuleConstraintRedundancies, "Diagnosing joint Rule- and Constraint Base redundancies"},
        {cmd::kAdviceBaseLoading, "Advice Base loading"},
        {cmd::kAdviceBaseInspection, "Advice Base inspection"},
        {cmd::kAdviceBaseEditing, "Advice Base editing"},
        {cmd::kAdviceBaseCreating, "Advice Base creating"},
        {cmd::kAdviceBaseDeleting, "Advice Base deleting"},
        {cmd::kAdviceFileInspection, "Advice Text  File inspection"},
        {cmd::kAdviceSubdirectoriesAndFiles, "Advice Subdirectories and Text  Files"},
        {cmd::kAdviceSubdirectoryCreating, "Advice Subdirectory creating"},
        {cmd::kAdviceSubdirectoryDeleting, "Advice Subdirectory deleting"},
        {cmd::kAdviceFileCreating, "Advice Text  File creating"},
        {cmd::kAdviceFileDeleting, "Advice Text  Ffile deleting"},
        {cmd::kGraphicsBaseLoading, "Graphics Base loading"},
        {cmd::kGraphicsBaseInspection, "Graphics Base inspection"},
        {cmd::kGraphicsBaseEditing, "Graphics base editing"},
        {cmd::kGraphicsBaseCreating, "Graphics Base creating"},
        {cmd::kGraphicsBaseDeleting, "Graphics Base deleting"},
        {cmd::kGraphicsFileInspection, "Graphics File inspection"},
        {cmd::kGraphicsSubdirectoriesAndFiles, "Graphics Subdirectories and  Files"},
        {cmd::kGraphicsSubdirectoriesCreating, "Graphics Subdirectories creating"},
        {cmd::kGraphicsSubdirectoriesDeleting, "Garphics Subdirectories deleting"},
        {cmd::kGraphicsFileDeleting, "Graphic File Deleting"},
        {cmd::kSoundBaseLoading, "Sound Base loading"},
        {cmd::kSoundBaseInspection, "Sound Base inspection"},
        {cmd::kSoundBaseEditing, "Sound Base editing"},
        {cmd::kSoundBaseCreating, "Sound  Base creating"},
        {cmd::kSoundBaseDeleting, "Sound Base deleting"},
        {cmd::kSoundFilePlaying, "Sound File playing"},
        {cmd::kSoundSubdirectoriesAndFiles, "Sound Subdirectories and Melody Files"},
        {cmd::kSoundSubdirectoryCreating, "Sound Subdirectory creating"},
        {cmd::kSoundSubdirectoryDeleting, "Sound Subdirectory deleting"},
        {cmd::kSoundFileDeleting, "Sound File deleting"},
        {cmd::kFlatteningChosenRule, "Flattening a chosen rule"},
        {cmd::kFlatteningAllRules, "Flattening all rules"},
        {cmd::kExclusionToOne, "Testing  rule conclusions for mutual exclusion to one"},
        {cmd::kExclusionToNone, "Testing  rule conclusions for mutual exclusion to none"},
        {cmd::kNonExclusion, "Testing  rule conclusions for non-exclusion"},
        {cmd::kReportInspection, "Report inspection"},
        {cmd::kReportDeleting, "Report deleting"},
        {cmd::kAbstractInspection, "Abstract inspection"},
        {cmd::kAbstractEditing, "Abstract editing"},
        {cmd::kAbstractCreating, "Abstract creating"},
        {cmd::kAbstractDeleting, "Abstract deleting"},
        {cmd::kSummaryReading, "Summary reading"},
        {cmd::kSummaryDeleting, "Summary deleting"},
        {cmd::kAskablesFileCreating, "Askable conditions and arguments file creating"},
        {cmd::kAskablesFileReading, "Askable conditions and arguments file reading"},
        {cmd::kAskablesFileDeleting, "Askable conditions and arguments file deleting"},
        {cmd::kForwardChaining, "Augmented Exact  Forward Chaining"},
        {cmd::kBackwardChaining, "Augmented Exact Backward Chaining"},
        {cmd::kMessageWindowCreating, "Message Window Creating"},
        {cmd::kPathToBasesSetUp, "Path-to-Bases Set-up"},
        {cmd::kHelp, "&Help"},
        {cmd::kAbout, "&About"},
    };
    return table;
}

const Command* findCommand(int id) {
    const auto& t = commands();
    auto it = std::lower_bound(t.begin(), t.end(), id, [](const Command& c, int v) { return c.id < v; });
    return it != t.end() && it->id == id ? &*it : nullptr;
}

namespace {
std::string withoutAmpersands(std::string_view s) {
    std::string out;
    for (char c : s)
        if (c != '&') out += c;
    return out;
}
}  // namespace

const Command* findCommand(std::string_view idOrText) {
    int id = 0;
    auto [end, ec] = std::from_chars(idOrText.data(), idOrText.data() + idOrText.size(), id);
    if (ec == std::errc{} && end == idOrText.data() + idOrText.size()) return findCommand(id);
    for (const auto& c : commands())
        if (c.text == idOrText) return &c;
    for (const auto& c : commands())
        if (c.text.find('&') != std::string_view::npos && withoutAmpersands(c.text) == idOrText) return &c;
    return nullptr;
}

Availability availability(int id) {
    using namespace cmd;
    switch (id) {
    case kAdviceSubdirectoryDeleting:
    case kGraphicsSubdirectoriesDeleting:
    case kSoundSubdirectoryDeleting:
        return Availability::NoAction;
    default:
        return Availability::Works;
    }
}

std::string notAvailableText(const Command& c) {
    return "\"" + std::string(c.text) + "\" is not available yet in this version of torv_AE.";
}

namespace {
MenuEntry item(int id) { return {MenuEntry::Kind::Command, id, {}, {}}; }
MenuEntry separator() { return {MenuEntry::Kind::Separator, 0, {}, {}}; }
MenuEntry submenu(std::string_view title, std::vector<MenuEntry> entries) {
    return {MenuEntry::Kind::Submenu, 0, title, std::move(entries)};
}
}  // namespace

// One menu per base, in the order the bases are loaded, then the analysis,
// documents, chaining and the window's own items. Base menus are named as
// the guidance texts of the load checks name them ("Enter 'Exact Model
// Base', choose option 'Model Base Editing'").
const std::vector<Menu>& menuBar() {
    using namespace cmd;
    static const std::vector<Menu> bar{
        {"Exact Rule Base",
         {item(kRuleBaseLoading), item(kImporting), separator(),
          submenu("Rule Base inspection",
                  {item(kInspectingSingleRule), item(kInspectingAllRules), item(kAskableConditions)}),
          separator(), item(kRuleBaseEditing), item(kRuleBaseCreating), item(kRuleBaseDeleting),
          separator(), item(kDiagnosingExternal), item(kDiagnosingInternal),
          item(kDiagnosingRedundancies)}},
        {"Exact Model Base",
         {item(kModelBaseLoading), separator(),
          submenu("Model Base inspection",
                  {item(kLinearModels), item(kBasicModels), item(kExtendedModels),
                   item(kPolynomialModels), item(kInspectingAllModels), separator(),
                   item(kModelAskables), item(kJointModelRuleAskables)}),
          separator(), item(kModelBaseEditing), item(kModelBaseCreating), item(kModelBaseDeleting),
          separator(), item(kDiagnosingModel), item(kDiagnosingJointModelRule)}},
        {"Exact Constraint Base",
         {item(kConstraintBaseLoading), separator(),
          submenu("Constraint Base inspection",
                  {item(kInspectingSingleConstraint), item(kInspectingAllConstraints)}),
          separator(), item(kConstraintBaseEditing), item(kConstraintBaseCreating),
          item(kConstraintBaseDeleting), separator(),
          item(kDiagnosingJointRuleConstraintInconsistencies),
          item(kDiagnosingJointRuleConstraintRedundancies)}},
        {"Exact Advice Base",
         {item(kAdviceBaseLoading), item(kAdviceBaseInspection), separator(), item(kAdviceBaseEditing),
          item(kAdviceBaseCreating), item(kAdviceBaseDeleting), separator(),
          item(kAdviceFileInspection), item(kAdviceSubdirectoriesAndFiles),
          item(kAdviceSubdirectoryCreating), item(kAdviceSubdirectoryDeleting),
          item(kAdviceFileCreating), item(kAdviceFileDeleting)}},
        {"Graphics Base",
         {item(kGraphicsBaseLoading), item(kGraphicsBaseInspection), separator(),
          item(kGraphicsBaseEditing), item(kGraphicsBaseCreating), item(kGraphicsBaseDeleting),
          separator(), item(kGraphicsFileInspection), item(kGraphicsSubdirectoriesAndFiles),
          item(kGraphicsSubdirectoriesCreating), item(kGraphicsSubdirectoriesDeleting),
          item(kGraphicsFileDeleting)}},
        {"Sound Base",
         {item(kSoundBaseLoading), item(kSoundBaseInspection), separator(), item(kSoundBaseEditing),
          item(kSoundBaseCreating), item(kSoundBaseDeleting), separator(), item(kSoundFilePlaying),
          item(kSoundSubdirectoriesAndFiles), item(kSoundSubdirectoryCreating),
          item(kSoundSubdirectoryDeleting), item(kSoundFileDeleting)}},
        {kAnalysisMenu,
         {submenu(kFlatteningMenu, {item(kFlatteningChosenRule), item(kFlatteningAllRules)}),
          separator(), item(kExclusionToOne), item(kExclusionToNone), item(kNonExclusion)}},
        {"&Abstracts and Reports",
         {item(kReportInspection), item(kReportDeleting), separator(), item(kAbstractInspection),
          item(kAbstractEditing), item(kAbstractCreating), item(kAbstractDeleting), separator(),
          item(kSummaryReading), item(kSummaryDeleting)}},
        {"&Askable Conditions and Arguments",
         {item(kAskablesFileCreating), item(kAskablesFileReading), item(kAskablesFileDeleting)}},
        {"&Chaining", {item(kForwardChaining), item(kBackwardChaining)}},
        {"&Set-up", {item(kMessageWindowCreating), item(kPathToBasesSetUp)}},
        {"&Help", {item(kHelp), item(kAbout)}},
    };
    return bar;
}

}  // namespace torv::shell
