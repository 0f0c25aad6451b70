// The lint: loads and diagnoses through the menu commands with every offer
// answered yes, then sorts what the desktop would have shown into findings.
#include "lint/check.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <set>
#include <string_view>
#include <variant>

#include "kb/base_file.h"
#include "lint/session.h"
#include "state/command_ids.h"

namespace torv::lint {

namespace cmd = shell::cmd;

const char* severityName(Severity s) {
    switch (s) {
    case Severity::Error: return "error";
    case Severity::Warning: return "warning";
    case Severity::Note: return "note";
    }
    return "error";
}

const std::vector<CodeInfo>& codes() {
    static const std::vector<CodeInfo> all{
        {"AE001", Severity::Error, "Syntax error in a base file"},
        {"AE002", Severity::Error, "Empty line in a base file"},
        {"AE003", Severity::Error, "Base files without a rule base"},
        {"AE004", Severity::Note, "Base not loaded because an earlier base was refused"},
        {"AE010", Severity::Error, "Two records of a base share a number"},
        {"AE011", Severity::Error, "Declared fact is not an askable condition"},
        {"AE012", Severity::Note, "Rule with a single condition"},
        {"AE013", Severity::Error, "Rules and relational models share a conclusion"},
        {"AE014", Severity::Error, "Logical name also used as an argument or result"},
        {"AE015", Severity::Error, "Known argument is not askable"},
        {"AE016", Severity::Note, "Tautological model"},
        {"AE017", Severity::Error, "Faulty model structure"},
        {"AE018", Severity::Error, "Models with the same result whose go-ahead conditions are not exclusive"},
        {"AE020", Severity::Error, "Constraint with fewer than two conditions"},
        {"AE021", Severity::Error, "Constraint condition is not askable"},
        {"AE030", Severity::Error, "Media folder of a base is missing or empty"},
        {"AE101", Severity::Error, "External inconsistency of the rule base"},
        {"AE102", Severity::Error, "Internal inconsistency of a rule"},
        {"AE103", Severity::Warning, "Redundant rules"},
        {"AE104", Severity::Error, "Model-base inconsistency"},
        {"AE105", Severity::Error, "Joint model-rule inconsistency"},
        {"AE106", Severity::Error, "Joint rule-constraint inconsistency"},
        {"AE107", Severity::Warning, "Joint rule-constraint redundancy"},
        {"AE108", Severity::Note, "Redundancy resting only on flattenings that can never hold"},
        {"AE900", Severity::Warning, "Other fault reported by a load or diagnosis"},
    };
    return all;
}

const CodeInfo* findCode(const std::string& code) {
    for (const auto& c : codes())
        if (code == c.code) return &c;
    return nullptr;
}

int CheckResult::exitStatus() const {
    if (!unreadable.empty()) return 2;
    for (const auto& f : findings)
        if (f.severity != Severity::Note) return 1;
    return 0;
}

namespace {

constexpr std::size_t kRu = 0, kMo = 1, kCo = 2;

bool startsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }
bool contains(std::string_view s, std::string_view p) { return s.find(p) != std::string_view::npos; }

/// The whole number written after `marker` (spaces skipped), as text.
std::string numberAfter(std::string_view text, std::string_view marker) {
    const auto at = text.find(marker);
    if (at == std::string_view::npos) return {};
    std::size_t i = at + marker.size();
    while (i < text.size() && text[i] == ' ') ++i;
    std::string digits;
    if (i < text.size() && text[i] == '-') digits += text[i++];
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) digits += text[i++];
    return digits == "-" ? std::string() : digits;
}

constexpr std::initializer_list<const char*> kModelRecords{"model_b", "model_e", "model_lin", "model_poly"};

/// Boxes that say all is well, offer a test or frame a report: not findings.
bool isFraming(const port::Dialog& d) {
    static constexpr std::string_view kTitles[] = {
        "Successful  loading of", "Information on inconsistency", "Inconsistencies of Model Base",
        "Joint inconsistencies of Model Base and Rule Base", "Result of rule redundancy test", "Attention:",
        "Advice", "Result of testing joint redundancies", "Joint redundancies found",
        "Diagnostic Report on model inconsistencies", "Diagnostic Report on joint model-rule"};
    for (auto t : kTitles)
        if (startsWith(d.title, t)) return true;
    static constexpr std::string_view kTexts[] = {
        "Diagnostic Report on", "Diagnostic report on", " Diagnostic report on", "Following rules are",
        "Internal inconsistencies of type", "Redundancies of type", "End of diagnostic report",
        "Detection of joint inconsistencies", "Joint redundancies of type", "The following arithmetical models",
        "The following relational models", "The Augmented Exact Model Base\n", " No inconsistencies of type",
        "Augmented Exact Rule Base\n", "Augmented Exact Model Base  \n", " The rule base", "Enter '"};
    for (auto t : kTexts)
        if (startsWith(d.text, t)) return true;
    return false;
}

/// A listing box without its "see the next one?" question.
std::string withoutQuestion(const std::string& text) {
    const auto q = text.rfind("\n\nDo you wish");
    return q == std::string::npos ? text : text.substr(0, q);
}

class Classifier {
public:
    explicit Classifier(const KnowledgeBase& kb) : kb_(kb) {}

    std::optional<Finding> classify(const Shown& s) {
        const port::Dialog& d = s.dialog;
        if (d.kind == "yes/no" && d.title == "Rule with single condition")
            return at("AE012", kRu, withoutQuestion(d.text), rule(numberAfter(d.text, "contains rule ")));
        if (d.kind == "yes/no" && d.title == "Tautological Model")
            return at("AE016", kMo, withoutQuestion(d.text), model(numberAfter(d.text, "Model ")));
        const std::string& t = d.text;
        if (d.kind != "note") return std::nullopt;  // offers and questions
        if (s.command == cmd::kDiagnosingExternal && startsWith(t, "Rule "))
            return at("AE101", kRu, t, rule(numberAfter(t, "Rule ")));
        if (s.command == cmd::kDiagnosingInternal && startsWith(t, "The result of flattening rule "))
            return at("AE102", kRu, t, rule(numberAfter(t, "flattening rule ")));
        if (s.command == cmd::kDiagnosingRedundancies && startsWith(t, "The result of flattening rule "))
            return at("AE103", kRu, t, rule(numberAfter(t, "flattening rule ")));
        if (s.command == cmd::kDiagnosingModel && (startsWith(t, " The result  '") || startsWith(t, "The conclusion ")))
            return at("AE104", kMo, t, model(numberAfter(t, "of model ")));
        if (s.command == cmd::kDiagnosingJointModelRule && startsWith(t, " Relational model "))
            return at("AE105", kMo, t, model(numberAfter(t, "Relational model ")));
        if (s.command == cmd::kDiagnosingJointRuleConstraintInconsistencies &&
            startsWith(t, "The result of flattening rule "))
            return at("AE106", kRu, t, rule(numberAfter(t, "flattening rule ")));
        if (s.command == cmd::kDiagnosingJointRuleConstraintRedundancies) return jointRedundancy(t);

        if (d.title == "Exception handling" && startsWith(t, "Syntax error in file ")) return syntax(s);
        if (contains(t, "has empty lines!")) return emptyLine(s);
        if (startsWith(d.title, "Faulty ") && contains(t, "having number"))
            return duplicate(s.base, t, numberAfter(t, "having number"));
        if (d.title == "Faulty facts in rule base") return at("AE011", kRu, t, firstNamed(kRu, {"fact"}, t));
        if (startsWith(d.title, "Error: same conclusions")) return at("AE013", kMo, t, 0);
        if (startsWith(d.title, "Error: same name")) return at("AE014", kMo, t, 0);
        if (startsWith(d.title, "Non-askable arguments"))
            return at("AE015", kMo, t, firstNamed(kMo, {"argument_known"}, t));
        if (startsWith(t, "Elementary Exact Constraint Base"))
            return at("AE020", kCo, t, constraint(numberAfter(t, "contains the constraint ")));
        if (startsWith(t, "An Exact Constraint Base may contain only"))
            return at("AE021", kCo, t, constraint(numberAfter(t, "in constraint ")));
        if (contains(t, "having the same results:"))
            return at("AE018", kMo, t, model(numberAfter(t, "having the same results:\n")));
        if (isFraming(d)) return std::nullopt;
        if (s.command == cmd::kModelBaseLoading && d.title == "Attention error!")
            return at("AE017", kMo, t, model(numberAfter(t, "model ")));
        if (s.base >= 3 && d.title == "Attention error!" && s.command == loadCommand(s.base))
            return at("AE030", s.base, t, 0);
        return at("AE900", s.base, t, 0);
    }

private:
    /// A joint redundancy is shown as its flattenings and then the
    /// constraint they cover: one finding, at the first rule.
    std::optional<Finding> jointRedundancy(const std::string& t) {
        if (startsWith(t, "The result of flattening rule")) {
            if (pendingRule_.empty()) pendingRule_ = numberAfter(t, "flattening rule");
            pending_ += t + "\n\n";
            return std::nullopt;
        }
        if (!startsWith(t, "The quoted rules")) return std::nullopt;
        Finding f = at("AE107", kRu, pending_ + t, rule(pendingRule_));
        pending_.clear();
        pendingRule_.clear();
        return f;
    }

    Finding at(const char* code, std::size_t base, const std::string& text, int line) const {
        const CodeInfo* info = findCode(code);
        return {code, info->severity, kb_.files[base].empty() ? kb_.rules() : kb_.files[base], line, 0, text};
    }
    const LineIndex& index(std::size_t base) {
        auto it = indexes_.find(base);
        if (it == indexes_.end()) it = indexes_.emplace(base, LineIndex(kb_.files[base])).first;
        return it->second;
    }
    int rule(const std::string& n) { return n.empty() ? 0 : index(kRu).line("rule", n); }
    int model(const std::string& n) { return n.empty() ? 0 : index(kMo).lineOfAny(kModelRecords, n); }
    int constraint(const std::string& n) { return n.empty() ? 0 : index(kCo).line("constraint", n); }
    int firstNamed(std::size_t base, std::initializer_list<const char*> records, const std::string& text) {
        return index(base).firstLineWhere(records, [&](const std::string& key) {
            // The notes write the names as a list of quoted strings.
            return !key.empty() && contains(text, "\"" + key + "\"");
        });
    }

    std::optional<kb::ReadError> readError(std::size_t base) {
        auto r = kb::readBaseFile(static_cast<kb::BaseKind>(base), kb_.files[base]);
        if (auto* e = std::get_if<kb::ReadError>(&r)) return *e;
        return std::nullopt;
    }
    Finding syntax(const Shown& s) {
        Finding f = at("AE001", s.base, s.dialog.text, 0);
        if (auto e = readError(s.base)) {
            f.line = e->line;
            f.column = std::max(e->position, 1);
        }
        return f;
    }
    Finding emptyLine(const Shown& s) {
        Finding f = at("AE002", s.base, s.dialog.text, 0);
        if (auto e = readError(s.base)) f.line = e->line;
        return f;
    }
    Finding duplicate(std::size_t base, const std::string& text, const std::string& n) {
        switch (base) {
        case 0: return at("AE010", base, text, index(base).repeatedLine({"rule"}, n));
        case 1: return at("AE010", base, text, index(base).repeatedLine(kModelRecords, n));
        case 2: return at("AE010", base, text, index(base).repeatedLine({"constraint"}, n));
        default: return at("AE010", base, text, index(base).repeatedLine({"advice"}, n));
        }
    }

    const KnowledgeBase& kb_;
    std::string pending_, pendingRule_;
    std::map<std::size_t, LineIndex> indexes_;
};

constexpr const char* kNotLoaded =
    "Not loaded: the menu does not allow loading this base after the faults reported above.";

/// The diagnosis reports, run after every load so that each finding is
/// shown with its detail.
constexpr int kReports[] = {cmd::kDiagnosingExternal,
                            cmd::kDiagnosingInternal,
                            cmd::kDiagnosingRedundancies,
                            cmd::kDiagnosingModel,
                            cmd::kDiagnosingJointModelRule,
                            cmd::kDiagnosingJointRuleConstraintInconsistencies,
                            cmd::kDiagnosingJointRuleConstraintRedundancies};

}  // namespace

CheckResult checkKnowledgeBase(const KnowledgeBase& kb, bool withWitnesses) {
    CheckResult result;
    result.knowledgeBases = 1;
    if (kb.rules().empty()) {
        const auto first = std::find_if(kb.files.begin(), kb.files.end(), [](const auto& f) { return !f.empty(); });
        result.findings.push_back({"AE003", Severity::Error, *first, 0, 0, "Load Rule Base first!"});
        return result;
    }
    Session session;
    session.loadAll(kb);
    // Before the reports: showing a finding may consume it.
    std::vector<Witness> found = witnessesOf(session.app());
    for (int id : kReports) session.run(id);

    for (std::size_t base : session.refused())
        result.findings.push_back({"AE004", Severity::Note, kb.files[base], 0, 0, kNotLoaded});

    Classifier classifier(kb);
    std::set<std::tuple<std::string, std::string, int, std::string>> seen;
    for (const auto& s : session.shown()) {
        if (s.dialog.kind == "note" && contains(s.dialog.text, " error while reading base. \n") &&
            !contains(s.dialog.text, "has empty lines")) {
            result.unreadable.emplace_back(kb.files[s.base].string(), s.dialog.text);
            continue;
        }
        auto f = classifier.classify(s);
        if (!f) continue;
        if (!seen.insert({f->code, f->file.string(), f->line, f->message}).second) continue;
        result.findings.push_back(std::move(*f));
    }
    LineIndex rules(kb.rules());
    for (auto& w : found) {
        if (w.vacuous)
            result.findings.push_back({"AE108", Severity::Note, kb.rules(), rules.line("rule", std::to_string(w.rules.front())),
                                       0, w.text});
        if (!withWitnesses) continue;
        if (w.code == "AE103" && !w.vacuous) w.script = consultationScript(kb.rules(), w.assignment);
        result.witnesses.emplace_back(kb.rules(), std::move(w));
    }
    return result;
}

CheckResult check(const std::vector<std::string>& paths, const std::filesystem::path& root, bool withWitnesses) {
    std::vector<std::string> resolved;
    for (const auto& p : paths) {
        const std::filesystem::path path(p);
        resolved.push_back((path.is_absolute() ? path : root / path).lexically_normal().string());
    }
    Discovery found = discover(resolved);
    CheckResult all;
    all.unreadable = std::move(found.unreadable);
    for (const auto& kb : found.bases) {
        CheckResult one = checkKnowledgeBase(kb, withWitnesses);
        all.knowledgeBases += one.knowledgeBases;
        for (auto& f : one.findings) all.findings.push_back(std::move(f));
        for (auto& u : one.unreadable) all.unreadable.push_back(std::move(u));
        for (auto& w : one.witnesses) all.witnesses.push_back(std::move(w));
    }
    return all;
}

}  // namespace torv::lint
