// Inspection of the rule, model and constraint bases.
#include "shell/base_views.h"

#include "engine/askables.h"
#include "kb/file_io.h"
#include "state/app_state.h"

namespace torv::shell {

namespace {

constexpr const char* kAttention = "Attention!";
constexpr const char* kAttentionError = "Attention error!";
constexpr const char* kNoRules = "No rules in the rule base!";
constexpr const char* kNoConstraints = "No constraints in the Constraint Bbase !";

bool exists(AppState& app, std::size_t count, const char* title, const char* text) {
    if (count > 0) return true;
    app.port.note(title, text);
    return false;
}

std::size_t modelCount(const kb::ModelBase& m) {
    return m.model_b.size() + m.model_e.size() + m.model_lin.size() + m.model_poly.size();
}

/// The read's error without the file's directory: notes name files, not paths.
std::string withoutDirectory(std::string error, const std::filesystem::path& file) {
    const std::string full = file.string();
    const std::string name = file.filename().string();
    if (full.empty() || full == name) return error;
    for (std::size_t at = error.find(full); at != std::string::npos; at = error.find(full, at + name.size()))
        error.replace(at, full.size(), name);
    return error;
}

/// The whole file of a loaded base in the text view titled "Inspection".
void showBaseFile(AppState& app, const std::optional<std::string>& path, const char* what) {
    const std::filesystem::path file = path.value_or("");
    if (auto text = readForInspection(app, file, std::string(what) + " " + file.filename().string()))
        app.port.textView("Inspection", *text);
}

}  // namespace

std::optional<std::string> readForInspection(AppState& app, const std::filesystem::path& file,
                                             const std::string& what) {
    const kb::ReadResult read = kb::readRegularFile(file, kb::kMaxBaseFileBytes);
    if (read.ok()) return read.bytes;
    const std::string why = read.fault == kb::ReadResult::Fault::Missing ? "there is no such file"
                                                                          : withoutDirectory(read.error, file);
    app.messages.write(what + " has not been read: " + why + "\n\n");
    app.port.note(kAttentionError, what + " has not been read!\n" + why);
    return std::nullopt;
}

bool sprawdz_istnienie_regul(AppState& app, std::size_t count) {
    return exists(app, count, kAttentionError, kNoRules);
}
bool sprawdz_istnienie_regul1(AppState& app, std::size_t count) {
    return exists(app, count, kAttentionError, kNoRules);
}
bool sprawdz_istnienie_ograniczen(AppState& app, std::size_t count) {
    return exists(app, count, kAttention, kNoConstraints);
}
bool sprawdz_istnienie_ograniczen1(std::size_t count) { return count > 0; }
bool sprawdz_istnienie_rad(AppState& app, std::size_t count) {
    return exists(app, count, kAttention, "No advices in the Advice Base !");
}
bool sprawdz_istnienie_grafiki(AppState& app, std::size_t count) {
    return exists(app, count, kAttention, "No graphics files in the Graphics Base !");
}
bool sprawdz_istnienie_dzwieku(AppState& app, std::size_t count) {
    return exists(app, count, kAttention, "No melody files in the Melody Base !");
}
bool sprawdz_istnienie_modeli(AppState& app, std::size_t count) {
    return exists(app, count, kAttention, "The Model Base contains no models!");
}
bool sprawdz_istnienie_modeli_elementarnych(AppState& app, std::size_t count) {
    return exists(app, count, kAttention, "The Model Base contains no basic models!!");
}
bool sprawdz_istnienie_modeli_rozwinietych(AppState& app, std::size_t count) {
    return exists(app, count, kAttention, "The Model Base contains no extended models!");
}
bool sprawdz_istnienie_modeli_liniowych(AppState& app, std::size_t count) {
    return exists(app, count, kAttention, "The Model Base contains no linear models!");
}
bool sprawdz_istnienie_modeli_wielomianowych(AppState& app, std::size_t count) {
    return exists(app, count, kAttention, "The Model Base contains no polynomial models!");
}

void dzialanie_w_bazie_regul(AppState& app, RuleBaseAction action) {
    switch (action) {
    case RuleBaseAction::InspectAll:
        if (sprawdz_istnienie_regul1(app, app.store.rules().size())) showBaseFile(app, app.store.nazwa_re_pelna, "The rule base");
        break;
    case RuleBaseAction::Askables: engine::pokaz_dopytywalne_regul(app); break;
    }
}

void dzialanie_w_bazie_modeli(AppState& app, ModelBaseAction action) {
    switch (action) {
    case ModelBaseAction::InspectAll:
        if (sprawdz_istnienie_modeli(app, modelCount(app.store.modelBase())))
            showBaseFile(app, app.store.nazwa_mo_pelna, "The model base");
        break;
    case ModelBaseAction::Askables: engine::pokaz_dopytywalne_modeli(app); break;
    case ModelBaseAction::JointAskables: engine::pokaz_dopytywalne_wspolne(app); break;
    }
}

void dzialanie_w_bazie_ograniczen(AppState& app) {
    if (sprawdz_istnienie_ograniczen(app, app.store.constraints().size()))
        showBaseFile(app, app.store.nazwa_og_pelna, "The constraint base");
}

void inspectRecords(AppState& app, RecordKind kind) {
    const kb::Store& s = app.store;
    const kb::ModelBase& m = s.modelBase();
    bool any = false;
    switch (kind) {
    case RecordKind::Rules: any = sprawdz_istnienie_regul(app, s.rules().size()); break;
    case RecordKind::BasicModels: any = sprawdz_istnienie_modeli_elementarnych(app, m.model_b.size()); break;
    case RecordKind::ExtendedModels: any = sprawdz_istnienie_modeli_rozwinietych(app, m.model_e.size()); break;
    case RecordKind::LinearModels: any = sprawdz_istnienie_modeli_liniowych(app, m.model_lin.size()); break;
    case RecordKind::PolynomialModels: any = sprawdz_istnienie_modeli_wielomianowych(app, m.model_poly.size()); break;
    case RecordKind::Constraints:
        any = sprawdz_istnienie_ograniczen1(s.constraints().size());
        // The command is enabled before any constraint base is loaded: an
        // empty base is said, not passed over in silence.
        if (!any) app.port.note(kAttention, kNoConstraints);
        break;
    }
    if (any) app.port.recordWindow(recordSource(kind, s));
}

}  // namespace torv::shell
