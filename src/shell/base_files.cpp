// The create, delete and edit commands of the bases, media files and
// abstracts, and the subdirectory-creating commands.
#include "shell/base_files.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "kb/file_io.h"
#include "kb/media.h"
#include "kb/paths.h"
#include "port/user_port.h"
#include "shell/editing.h"
#include "shell/media_commands.h"
#include "state/app_state.h"

namespace torv::shell {

namespace {

namespace fs = std::filesystem;
using kb::BaseKind;

constexpr const char* kAttention = "Attention!";
constexpr const char* kAttentionError = "Attention error!";

/// What the commands of one base kind show, as the user reads them.
struct BaseTexts {
    const char* mask;           // creating and editing
    const char* deleteMask;
    const char* filterLabel;
    const char* createTitle;
    const char* deleteTitle;
    const char* editTitle;
    const char* deleteQuestion;       // + name + " ?"
    const char* deleteQuestionTitle;
    const char* deletedNote;          // + name + " has been deleted."
    const char* createdNote;          // + name + " has been created."
    const char* createdTitle;
    const char* editQuestion;         // + name + " ?"
    const char* editQuestionTitle;
};

constexpr const char* kEditQuestion = "Do you wish to proceed with editing the base ";
constexpr const char* kEditQuestionTitle = "Proceeding with base editing";

const BaseTexts& textsOf(BaseKind kind) {
    static const BaseTexts rule{
        "RU*.AEB", "RU*.AEB", "Rule Base (RU*.AEB)",
        "Declare name of new Rule Base (RUKnowledge_Base_Name.AEB)", "Pick Rule Base for Deleting",
        "Pick Rule Base for Editing", "Do you really wish to delete the Rule Base ", "Deleting the Rule Base",
        "The Rule Base ", "New Rule Base ", "Creating a new Rule Base", kEditQuestion, kEditQuestionTitle};
    static const BaseTexts model{
        "MO*.AEB", "MO*.AEB", "Model Base (MO*.AEB)", "Declare name of new Model Base (MOKnowledge_Base.AEB)",
        "Pick Model Base for Deleting", "Pick Model Base for Editing",
        "Do you really wish to delete the Model Base ", "Deleting the Model Base", "The Model Base ",
        "New Model Base ", "Creating a new Model Base", kEditQuestion, kEditQuestionTitle};
    static const BaseTexts constraint{
        "CO*.AEB", "Co*.AEB", "Constraint Base (CO*.AEB)",
        "Declare name of new Constraint Base (COKnowledge_Base_Name.AEB)", "Pick Constraint Base for Deleting",
        "Pick Constraint Base for Editing", "Do you really wish to delete the Constraint Base ",
        "Deleting the Constraint Base", "The Constraint Base ", "New Constraint Base  ",
        "Creating a new Constraint Base", kEditQuestion, kEditQuestionTitle};
    static const BaseTexts advice{
        "AD*.AEB", "AD*.AEB", "Advice Base (AD*.AEB)",
        "Declare name of new Advice Base (ADKnowledge_Base_Name.AEB)", "Pick Advice Base for Deleting",
        "Pick Advice Base for Editing", "Do you really wish to delete the Advice Base  ", "Deleting Advice Base",
        "The Advice Base ", "New Advice Base ", "Creating a new Advice Base", kEditQuestion, kEditQuestionTitle};
    static const BaseTexts graphics{
        "GR*.AEB", "GR*.AEB", "Graphics Base (GR*.AEB)",
        "Declare name of new Graphic Base (GRKnowledge_Base_Name.AEB)", "Pick a Graphic Base for deleting",
        "Pick Graphic Base for Editing  ", "Do you really wish to delete the Graphic Base ",
        "Deleting the Graphic Base", "The Graphic Base ", "New Graphic Base ", "Creating a new Graphic Base",
        "Do you wish to proceed with editing the new Graphic Base  ", "Proceeding with Graphic Base editing "};
    static const BaseTexts sound{
        "So*.AEB", "So*.AEB", "Sound Base (SO*.AEB)",
        "Declare name of new  Melody Base (MEKnowledge_Base_Name.AEB)", "Pick a Sound Base for deleting",
        "Pick Sound Base for Editing  ", "Do you really wish to delete the Melody Base  ",
        "Deleting the Melody Base", "The Sound Base ", "New  Melody Base ", "Creating a new Melody Base",
        "Do you wish to proceed with editing the new Melody Base ", "Proceeding with Melody Base editing"};
    switch (kind) {
    case BaseKind::Rule: return rule;
    case BaseKind::Model: return model;
    case BaseKind::Constraint: return constraint;
    case BaseKind::Advice: return advice;
    case BaseKind::Graphics: return graphics;
    case BaseKind::Sound: return sound;
    }
    return rule;
}

std::string nameOf(const fs::path& p) { return p.filename().string(); }

/// The base of a kind leaves memory: its records and name, and what was
/// derived from them.
void clearBase(AppState& app, BaseKind kind) {
    kb::Store& s = app.store;
    switch (kind) {
    case BaseKind::Rule:
        s.kasowanie_dregula();
        s.kasowanie_fakt();
        s.kasowanie_nazwy_re();
        app.askables = {};
        app.findings = {};
        app.chaining = {};
        app.verdicts.rozne_numery.reset();
        app.verdicts.sprzecznosc_1z.reset();
        app.verdicts.sprzecznosc_mr.reset();
        return;
    case BaseKind::Model: {
        s.kasowanie_argument_znany();
        s.kasowanie_dmodel();
        s.kasowanie_dmodel_r();
        s.kasowanie_dmodel_liniowy();
        s.kasowanie_dmodel_wielomianowy();
        s.kasowanie_m_fakt();
        s.kasowanie_nazwy_mo();
        s.nazwa_mo_pelna.reset();
        // The rule-base askables stay; the model and joint lists go.
        engine::Askables& a = app.askables;
        a.lista_wnioskow_modeli.reset();
        for (auto* list : {&a.lista_argumentow_modeli, &a.lista_warunkow_stosowania, &a.lista_wynikow_modeli,
                           &a.argumenty_zredukowane, &a.wyniki_zredukowane,
                           &a.lista_wszystkich_dopytywalnych_dla_wyswietlania, &a.lista_argumentow_dopytywalnych,
                           &a.lista_warunkow_i_argumentow_dopytywalnych})
            list->clear();
        return;
    }
    case BaseKind::Constraint: s.kasowanie_dogranicz(); return;
    case BaseKind::Advice:
        s.kasowanie_drada();
        s.kasowanie_nazwy_ra();
        return;
    case BaseKind::Graphics:
        s.kasowanie_dgrafika();
        s.kasowanie_nazwy_gr();
        return;
    case BaseKind::Sound:
        s.kasowanie_dmelodie();
        s.kasowanie_nazwy_me();
        return;
    }
}

/// Creates `file` empty ("open for writing, close"), atomically; says why
/// when it cannot.
bool createEmpty(AppState& app, const fs::path& file) {
    const kb::FileResult r = kb::saveFileAtomically(file, "");
    if (r.ok) return true;
    app.messages.write("File " + file.string() + " has not been created: " + r.error + "\n");
    app.port.note(kAttentionError, "File " + nameOf(file) + " has not been created.\n" + r.error);
    return false;
}

/// Deletes a file the user picked and confirmed; says why when it cannot.
bool removeFile(AppState& app, const fs::path& file) {
    std::error_code ec;
    // remove() would also take an empty directory typed in place of a file.
    const bool isDirectory = fs::is_directory(fs::symlink_status(file, ec));
    const bool removed = !isDirectory && fs::remove(file, ec);
    if (removed) return true;
    const std::string why = isDirectory ? "it is a directory" : ec ? ec.message() : "there is no such file";
    app.messages.write("File " + file.string() + " has not been deleted: " + why + "\n");
    app.port.note(kAttentionError, "File " + nameOf(file) + " has not been deleted!\n" + why);
    return false;
}

/// The path chosen in a dialog, or empty when it was cancelled.
fs::path chosen(AppState& app, const std::string& answer) {
    return answer.empty() ? fs::path() : app.resolve(answer);
}

port::FileDialog dialog(const char* title, const char* mask, const char* label, fs::path directory) {
    return {title, mask, {{label, mask}}, std::move(directory)};
}

/// Where the abstract dialogs start: the abstracts folder when there is one.
fs::path abstractsStart(const AppState& app) {
    std::error_code ec;
    const fs::path folder = kb::platformPath(app.currentDir, "../ABSTRACTS/").lexically_normal();
    return fs::is_directory(folder, ec) ? folder : app.currentDir;
}

struct MediaTexts {
    const char* folder;   // relative to the current directory
    const char* mask;
    const char* label;
    const char* subdirectoryTitle;
    const char* deleteTitle;
    const char* deleteQuestion;        // + name + " ?"
    const char* deleteQuestionTitle;
    const char* deletedNoteStart;      // + name
    const char* deletedNoteEnd;
};

const MediaTexts& textsOf(MediaFolder kind) {
    static const MediaTexts advice{"../ADVICES/", "*.hlp", "Advice Text Files (*.hlp)",
                                   "Creating Advice File Subdirectories ", "Pick Advice File to be deleted",
                                   "Do you really wish to delete the Advice File ", "Deleting Advice File  ",
                                   "Advice Text File ", " has been deleted!"};
    static const MediaTexts graphics{"../GRAPHICS/", "*.bmp", "Graphics Files (*.bmp)",
                                     "Creating or deleting Graphic File sudirectories  : ",
                                     "Pick the Graphic File to be deleted!",
                                     "Do you really wish to delete the Graphic File  ", "Delete the Graphic File",
                                     "The Graphic File ", " has been deleted."};
    static const MediaTexts sound{"../SOUNDS/", "*.wav", "Sound Files (*.wav)",
                                  "Creating or deleting Melody File sudirectories : ",
                                  "Pick the Melody File to be deleted!",
                                  "Do you really wish to delete the Melody File ", "Delete the Melody File",
                                  "Melody File ", " has been deleted."};
    switch (kind) {
    case MediaFolder::Advice: return advice;
    case MediaFolder::Graphics: return graphics;
    case MediaFolder::Sound: return sound;
    }
    return advice;
}

}  // namespace

void createBaseFile(AppState& app, BaseKind kind) {
    const BaseTexts& t = textsOf(kind);
    const fs::path file =
        chosen(app, app.port.saveFile(dialog(t.createTitle, t.mask, t.filterLabel, app.currentDir)));
    if (file.empty()) return;
    const std::string name = nameOf(file);
    if (kind != BaseKind::Rule) clearBase(app, kind);
    if (!createEmpty(app, file)) return;
    // The rule base goes whether or not the new file is edited.
    if (kind == BaseKind::Rule) clearBase(app, kind);
    app.port.note(t.createdTitle, t.createdNote + name + " has been created.");
    if (app.port.yesNo(t.editQuestionTitle, t.editQuestion + name + " ?") == port::kYes) openEditor(app, file);
}

void deleteBaseFile(AppState& app, BaseKind kind) {
    const BaseTexts& t = textsOf(kind);
    const fs::path file =
        chosen(app, app.port.openFile(dialog(t.deleteTitle, t.deleteMask, t.filterLabel, app.currentDir)));
    if (file.empty()) return;
    const std::string name = nameOf(file);
    if (app.port.yesNo(t.deleteQuestionTitle, t.deleteQuestion + name + " ?") != port::kYes) return;
    if (!removeFile(app, file)) return;
    app.port.note(kAttention, t.deletedNote + name + " has been deleted.");
    // Whichever rule-base file it was, the loaded rule base is forgotten.
    if (kind == BaseKind::Rule) {
        app.store.kasowanie_nazwy_re();
        app.store.kasowanie_dregula();
        app.store.kasowanie_fakt();
    }
}

void editBaseFile(AppState& app, BaseKind kind) {
    const BaseTexts& t = textsOf(kind);
    const fs::path file = chosen(app, app.port.openFile(dialog(t.editTitle, t.mask, t.filterLabel, app.currentDir)));
    if (!file.empty()) openEditor(app, file);
}

void createAdviceFile(AppState& app) {
    const MediaTexts& t = textsOf(MediaFolder::Advice);
    const char* title = "Creating Advice File";
    const fs::path file =
        chosen(app, app.port.saveFile(dialog(title, t.mask, t.label, mediaDialogStart(app, t.folder))));
    if (file.empty() || !createEmpty(app, file)) return;
    const std::string name = nameOf(file);
    app.port.note(title, "New Advice File " + name + " has been created!");
    if (app.port.yesNo(title, "Do you wish to proceed with editing the Advice File" + name + " ?") == port::kYes)
        openEditor(app, file);
}

void deleteMediaFile(AppState& app, MediaFolder kind) {
    const MediaTexts& t = textsOf(kind);
    const fs::path file =
        chosen(app, app.port.openFile(dialog(t.deleteTitle, t.mask, t.label, mediaDialogStart(app, t.folder))));
    if (file.empty()) return;
    const std::string name = nameOf(file);
    if (app.port.yesNo(t.deleteQuestionTitle, t.deleteQuestion + name + " ?") != port::kYes) return;
    if (removeFile(app, file)) app.port.note(kAttention, t.deletedNoteStart + name + t.deletedNoteEnd);
}

void createSubdirectory(AppState& app, MediaFolder kind) {
    const MediaTexts& t = textsOf(kind);
    const fs::path media = kb::platformPath(app.currentDir, t.folder).lexically_normal();
    const auto typed = app.port.subdirectoryDialog(dialog(t.subdirectoryTitle, t.mask, t.label, media));
    // The platform's dialog made its folders itself.
    if (!typed) return;
    // A typed name is a folder inside the media folder, never a path.
    if (const auto fault = kb::mediaNameFault(*typed)) {
        app.port.note(kAttentionError, "\"" + *typed + "\" is not a folder name: " + *fault);
        return;
    }
    const fs::path folder = media / *typed;
    std::error_code ec;
    if (fs::is_directory(folder, ec)) {
        app.port.note(kAttention, "The folder " + *typed + " is there already.");
        return;
    }
    if (!fs::create_directories(folder, ec)) {
        const std::string why = ec ? ec.message() : "a file of that name is there";
        app.messages.write("Folder " + folder.string() + " has not been created: " + why + "\n");
        app.port.note(kAttentionError, "Folder " + *typed + " has not been created!\n" + why);
        return;
    }
    app.messages.write("Folder " + folder.string() + " has been created.\n");
    app.port.note(kAttention, "Folder " + *typed + " has been created.");
}

void editAbstract(AppState& app) {
    const fs::path file = chosen(app, app.port.openFile(dialog("Pick  Abstract File for Editing", "*.abs",
                                                               "Abstract files (*.abs)", abstractsStart(app))));
    if (!file.empty()) openEditor(app, file);
}

void createAbstract(AppState& app) {
    const fs::path file =
        chosen(app, app.port.saveFile(dialog("Declare name of new Abstract File: Knowledge_Base_Name.ABS ", "*.abs",
                                             "Abstract files (*.abs)", abstractsStart(app))));
    if (file.empty() || !createEmpty(app, file)) return;
    const std::string name = nameOf(file);
    app.port.note("New Abstract  File ", "Abstract  File " + name + " has been created.");
    if (app.port.ask("Editing new Abstract File", "Would you like to edit the file " + name + " ?",
                     {"&YES", "&NO"}) == 1)
        openEditor(app, file);
}

void deleteAbstract(AppState& app) {
    const fs::path file = chosen(app, app.port.openFile(dialog("Pick Abstract File to be Deleted!", "*.abs",
                                                               "Abstract files (*.abs)", abstractsStart(app))));
    if (file.empty()) return;
    const std::string name = nameOf(file);
    if (app.port.ask("Deleting the Abstract File", "Do you really wish to delete the Abstract File" + name + " ?",
                     {"Yes", "No"}) != 1)
        return;
    if (removeFile(app, file)) app.port.note(kAttention, "Abstract File " + name + " has been deleted!");
}

}  // namespace torv::shell
