// Record kinds of each base file and their conversion into store records.
#include "kb/base_file.h"

#include <algorithm>
#include <charconv>
#include <system_error>
#include <utility>

#include "kb/media.h"
#include "kb/paths.h"

namespace torv::kb {

namespace {

using F = FieldType;

// What a record does once read.
enum class Role {
    Rule, Fact,
    ModelB, ModelE, ModelLin, ModelPoly, ArgumentKnown, MFact, ExclusiveModels,
    Constraint,
    Advice, NAdvice, Graphics, NGraphics, Sounds, NSounds,
    Kept,   // remark and inactive forms
};

struct Kind {
    RecordSchema schema;
    Role role;
};

const std::vector<F> kRuleFields{F::Integer, F::String, F::StringList, F::Integer};
const std::vector<F> kModelBFields{F::Integer, F::String, F::String, F::String, F::String, F::String, F::Integer};
const std::vector<F> kModelEFields{F::Integer, F::String, F::String, F::String, F::StringList, F::Integer};
const std::vector<F> kModelLinFields{F::Integer, F::String, F::String, F::StringList, F::StringList, F::Integer};
const std::vector<F> kModelPolyFields{F::Integer,    F::String,      F::String, F::String,
                                      F::StringList, F::IntegerList, F::Integer};
const std::vector<F> kNumberFile{F::Integer, F::String};

const std::vector<Kind> kRuleKinds{
    {{"fact", {F::String}}, Role::Fact},
    {{"rule", kRuleFields}, Role::Rule},
    {{"rem_rule", {F::String}}, Role::Kept},
    {{"_fact", {F::String}}, Role::Kept},
    {{"_rule", kRuleFields}, Role::Kept},
};

const std::vector<Kind> kModelKinds{
    {{"argument_known", {F::String, F::Real}}, Role::ArgumentKnown},
    {{"exclusive_models", {F::StringList}}, Role::ExclusiveModels},
    {{"m_fact", {F::String}}, Role::MFact},
    {{"model_b", kModelBFields}, Role::ModelB},
    {{"model_e", kModelEFields}, Role::ModelE},
    {{"model_lin", kModelLinFields}, Role::ModelLin},
    {{"model_poly", kModelPolyFields}, Role::ModelPoly},
    {{"rem_model_b", {F::String}}, Role::Kept},
    {{"rem_model_e", {F::String}}, Role::Kept},
    {{"rem_model_lin", {F::String}}, Role::Kept},
    {{"rem_model_poly", {F::String}}, Role::Kept},
    {{"rem_exclusive_models", {F::StringList}}, Role::Kept},
    {{"_argument_known", {F::String, F::Real}}, Role::Kept},
    {{"_exclusive_models", {F::StringList}}, Role::Kept},
    {{"_m_fact", {F::String}}, Role::Kept},
    {{"_model_b", kModelBFields}, Role::Kept},
    {{"_model_e", kModelEFields}, Role::Kept},
    {{"_model_lin", kModelLinFields}, Role::Kept},
    {{"_model_poly", kModelPolyFields}, Role::Kept},
};

const std::vector<Kind> kConstraintKinds{
    {{"constraint", {F::Integer, F::StringList}}, Role::Constraint},
    {{"rem_constraint", {F::String}}, Role::Kept},
    {{"_constraint", {F::Integer, F::StringList}}, Role::Kept},
};

const std::vector<Kind> kAdviceKinds{
    {{"advice", kNumberFile}, Role::Advice},
    {{"nadvice", kNumberFile}, Role::NAdvice},
    {{"rem_advice", {F::String}}, Role::Kept},
    {{"rem_nadvice", {F::String}}, Role::Kept},
    {{"_advice", kNumberFile}, Role::Kept},
    {{"_nadvice", kNumberFile}, Role::Kept},
};

const std::vector<Kind> kGraphicsKinds{
    {{"graphics", kNumberFile}, Role::Graphics},
    {{"ngraphics", kNumberFile}, Role::NGraphics},
};

const std::vector<Kind> kSoundKinds{
    {{"sounds", kNumberFile}, Role::Sounds},
    {{"nsounds", kNumberFile}, Role::NSounds},
};

const std::vector<Kind>& kindsOf(BaseKind base) {
    switch (base) {
    case BaseKind::Rule: return kRuleKinds;
    case BaseKind::Model: return kModelKinds;
    case BaseKind::Constraint: return kConstraintKinds;
    case BaseKind::Advice: return kAdviceKinds;
    case BaseKind::Graphics: return kGraphicsKinds;
    case BaseKind::Sound: break;
    }
    return kSoundKinds;
}

AnyBase emptyBase(BaseKind base) {
    switch (base) {
    case BaseKind::Rule: return RuleBase{};
    case BaseKind::Model: return ModelBase{};
    case BaseKind::Constraint: return ConstraintBase{};
    case BaseKind::Advice: return AdviceBase{};
    case BaseKind::Graphics: return GraphicsBase{};
    case BaseKind::Sound: break;
    }
    return SoundBase{};
}

// Field accessors: the schema guarantees the types.
struct Fields {
    std::vector<FieldValue>& v;
    std::int32_t i(std::size_t k) { return std::get<std::int32_t>(v[k]); }
    double r(std::size_t k) { return std::get<double>(v[k]); }
    std::string s(std::size_t k) { return std::move(std::get<std::string>(v[k])); }
    StringList sl(std::size_t k) { return std::move(std::get<StringList>(v[k])); }
    NameList nl(std::size_t k) { return names(std::get<StringList>(v[k])); }
    IntList il(std::size_t k) { return std::move(std::get<IntList>(v[k])); }
};

void addRecord(AnyBase& base, Role role, std::string_view name, std::string_view line,
               std::vector<FieldValue>& values) {
    Fields f{values};
    auto kept = [&](std::vector<KeptLine>& to) { to.push_back({std::string(name), std::string(line)}); };
    switch (role) {
    case Role::Rule: std::get<RuleBase>(base).rules.push_back({f.i(0), f.s(1), f.nl(2), f.i(3)}); return;
    case Role::Fact: std::get<RuleBase>(base).facts.push_back({f.s(0)}); return;
    case Role::ModelB:
        std::get<ModelBase>(base).model_b.push_back({f.i(0), f.s(1), f.s(2), f.s(3), f.s(4), f.s(5), f.i(6)});
        return;
    case Role::ModelE:
        std::get<ModelBase>(base).model_e.push_back({f.i(0), f.s(1), f.s(2), f.s(3), f.sl(4), f.i(5)});
        return;
    case Role::ModelLin:
        std::get<ModelBase>(base).model_lin.push_back({f.i(0), f.s(1), f.s(2), f.sl(3), f.sl(4), f.i(5)});
        return;
    case Role::ModelPoly:
        std::get<ModelBase>(base).model_poly.push_back({f.i(0), f.s(1), f.s(2), f.s(3), f.sl(4), f.il(5), f.i(6)});
        return;
    case Role::ArgumentKnown: std::get<ModelBase>(base).argument_known.push_back({f.s(0), f.r(1)}); return;
    case Role::MFact: std::get<ModelBase>(base).m_fact.push_back({f.s(0)}); return;
    case Role::ExclusiveModels: std::get<ModelBase>(base).exclusive_models.push_back({f.sl(0)}); return;
    case Role::Constraint: std::get<ConstraintBase>(base).constraints.push_back({f.i(0), f.sl(1)}); return;
    case Role::Advice: std::get<AdviceBase>(base).advice.push_back({f.i(0), f.s(1)}); return;
    case Role::NAdvice: std::get<AdviceBase>(base).nadvice.push_back({f.i(0), f.s(1)}); return;
    case Role::Graphics: std::get<GraphicsBase>(base).graphics.push_back({f.i(0), f.s(1)}); return;
    case Role::NGraphics: std::get<GraphicsBase>(base).ngraphics.push_back({f.i(0), f.s(1)}); return;
    case Role::Sounds: std::get<SoundBase>(base).sounds.push_back({f.i(0), f.s(1)}); return;
    case Role::NSounds: std::get<SoundBase>(base).nsounds.push_back({f.i(0), f.s(1)}); return;
    case Role::Kept: break;
    }
    std::visit(
        [&](auto& b) {
            if constexpr (requires { b.kept; }) kept(b.kept);
        },
        base);
}

/// A media record's file must be a plain name in its media folder: refused
/// as a syntax error at the file field.
std::optional<ReadError> checkMediaName(const ParsedRecord& rec, std::string_view line, int number) {
    const auto& file = std::get<std::string>(rec.fields[1]);
    const auto why = mediaNameFault(file);
    if (!why) return std::nullopt;
    ReadError e;
    e.kind = ReadError::Kind::Syntax;
    e.line = number;
    e.position = static_cast<int>(line.find('"') + 2);
    e.lineText = std::string(line);
    e.message = "The media file name in line " + std::to_string(number) + " is not a plain file name: " + *why;
    return e;
}

/// Rule and fact lines as nearly every file writes them (no blanks, no
/// escapes) are read straight into their records, with no field values in
/// between; false for any other line, which the general reader then reads
/// the same way or refuses with its place and reason.
class PlainLine {
public:
    /// `texts` and `names` are scratch space kept by the caller across lines.
    PlainLine(std::string_view s, std::vector<std::string_view>& texts, std::vector<Name>& names)
        : s_(s), texts_(texts), names_(names) {}

    bool rule(Rule& out) {
        texts_.clear();
        if (!literal("rule(") || !integer(out.numer) || !literal(",") || !string(texts_.emplace_back()) ||
            !literal(",["))
            return false;
        if (!literal("]")) {
            do {
                if (!string(texts_.emplace_back())) return false;
            } while (literal(","));
            if (!literal("]")) return false;
        }
        if (!(literal(",") && integer(out.semafor) && literal(")") && i_ == s_.size())) return false;
        // The conclusion and conditions interned together, their lookups overlapping.
        names_.resize(texts_.size());
        Name::intern(texts_, names_.data());
        out.wniosek = names_.front();
        out.warunki.assign(names_.begin() + 1, names_.end());
        return true;
    }

    bool fact(Fact& out) {
        std::string_view text;
        if (!(literal("fact(") && string(text) && literal(")") && i_ == s_.size())) return false;
        out.warunek = Name(text);
        return true;
    }

private:
    bool literal(std::string_view t) {
        if (s_.substr(i_, t.size()) != t) return false;
        i_ += t.size();
        return true;
    }
    bool integer(std::int32_t& v) {
        const char* from = s_.data() + i_;
        const char* end = s_.data() + s_.size();
        if (from == end || !(*from == '-' || (*from >= '0' && *from <= '9'))) return false;
        auto [p, ec] = std::from_chars(from, end, v);
        if (ec != std::errc{}) return false;
        i_ = static_cast<std::size_t>(p - s_.data());
        // A number must end at a separator, as the general reader wants.
        return i_ < s_.size() && (s_[i_] == ',' || s_[i_] == ')');
    }
    bool string(std::string_view& out) {
        if (i_ >= s_.size() || s_[i_] != '"') return false;
        const std::size_t stop = s_.find_first_of("\"\\", i_ + 1);
        if (stop == std::string_view::npos || s_[stop] != '"') return false;
        out = s_.substr(i_ + 1, stop - i_ - 1);
        i_ = stop + 1;
        return true;
    }

    std::string_view s_;
    std::size_t i_ = 0;
    std::vector<std::string_view>& texts_;
    std::vector<Name>& names_;
};

}  // namespace

std::variant<AnyBase, ReadError> parseBaseText(BaseKind kind, std::string_view text, const ReadProgress& progress) {
    const std::vector<Kind>& kinds = kindsOf(kind);
    std::vector<RecordSchema> schemas;
    schemas.reserve(kinds.size());
    for (const auto& k : kinds) schemas.push_back(k.schema);

    // Editors on some systems start a UTF-8 file with a byte-order mark.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);

    AnyBase base = emptyBase(kind);
    RuleBase* rules = std::get_if<RuleBase>(&base);
    if (rules) {
        const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
        rules->rules.reserve(lines);
        Name::reserve(lines);   // about a new name per rule
    }
    std::vector<std::string_view> texts;
    std::vector<Name> names;
    auto err = forEachLine(text, [&](int number, std::string_view line) -> std::optional<ReadError> {
        if (progress && number % 4096 == 0 &&
            !progress(static_cast<std::size_t>(line.data() - text.data()), text.size())) {
            ReadError e;
            e.kind = ReadError::Kind::Cancelled;
            e.line = number;
            e.message = kLoadingCancelled;
            return e;
        }
        if (rules) {
            if (line.starts_with('r')) {
                Rule& r = rules->rules.emplace_back();
                if (PlainLine(line, texts, names).rule(r)) return std::nullopt;
                rules->rules.pop_back();
            } else if (line.starts_with('f')) {
                Fact& f = rules->facts.emplace_back();
                if (PlainLine(line, texts, names).fact(f)) return std::nullopt;
                rules->facts.pop_back();
            }
        }
        auto parsed = parseRecord(line, schemas);
        if (auto* e = std::get_if<ReadError>(&parsed)) {
            e->line = number;
            e->lineText = std::string(line);
            return std::move(*e);
        }
        auto& rec = std::get<ParsedRecord>(parsed);
        const Role role = kinds[rec.schema].role;
        if (role >= Role::Advice && role <= Role::NSounds)
            if (auto refused = checkMediaName(rec, line, number)) return refused;
        addRecord(base, role, kinds[rec.schema].schema.name, line, rec.fields);
        return std::nullopt;
    });
    if (err) return *err;
    return base;
}

std::variant<AnyBase, ReadError> readBaseFile(BaseKind kind, const std::filesystem::path& path,
                                              const ReadProgress& progress) {
    auto whole = readWholeFile(path);
    if (auto* e = std::get_if<ReadError>(&whole)) return *e;
    return parseBaseText(kind, std::get<std::string>(whole), progress);
}

std::optional<BaseKind> baseKindOfFile(std::string_view fileName) {
    static constexpr std::pair<const char*, BaseKind> kPrefixes[] = {
        {"RU*.AEB", BaseKind::Rule},   {"MO*.AEB", BaseKind::Model},    {"CO*.AEB", BaseKind::Constraint},
        {"AD*.AEB", BaseKind::Advice}, {"GR*.AEB", BaseKind::Graphics}, {"SO*.AEB", BaseKind::Sound}};
    for (const auto& [mask, kind] : kPrefixes)
        if (maskMatches(mask, fileName)) return kind;
    return std::nullopt;
}

void storeBase(Store& store, AnyBase&& base) {
    std::visit(
        [&](auto&& b) {
            using T = std::decay_t<decltype(b)>;
            if constexpr (std::is_same_v<T, RuleBase>) store.setRuleBase(std::move(b));
            else if constexpr (std::is_same_v<T, ModelBase>) store.setModelBase(std::move(b));
            else if constexpr (std::is_same_v<T, ConstraintBase>) store.setConstraintBase(std::move(b));
            else if constexpr (std::is_same_v<T, AdviceBase>) store.setAdviceBase(std::move(b));
            else if constexpr (std::is_same_v<T, GraphicsBase>) store.setGraphicsBase(std::move(b));
            else store.setSoundBase(std::move(b));
        },
        std::move(base));
}

}  // namespace torv::kb
