// The knowledge-base store: tables, indexes, clear operations, negation.
#include "kb/store.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace torv::kb {

namespace {

template <class T>
void append(std::vector<T>& to, std::vector<T>&& from) {
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}
}  // namespace

// ---- lookups ----

const Rule* Store::ruleByNumber(std::int32_t numer) const {
    if (rulesStale_) indexRules();
    auto it = std::lower_bound(byNumber_.begin(), byNumber_.end(), std::pair{numer, std::uint32_t{0}});
    return it == byNumber_.end() || it->first != numer ? nullptr : &rule_.rules[it->second];
}

std::span<const std::size_t> Store::ruleIndexesByConclusion(Name wniosek) const {
    if (rulesStale_) indexRules();
    if (wniosek.id() + 1 >= conclusionStarts_.size()) return {};
    return std::span(byConclusion_).subspan(conclusionStarts_[wniosek.id()],
                                            conclusionStarts_[wniosek.id() + 1] - conclusionStarts_[wniosek.id()]);
}

std::vector<const Rule*> Store::rulesByConclusion(Name wniosek) const {
    std::vector<const Rule*> out;
    for (std::size_t i : ruleIndexesByConclusion(wniosek)) out.push_back(&rule_.rules[i]);
    return out;
}

const Rule* Store::ruleByNumberConclusionSemaphore(std::int32_t numer, Name wniosek,
                                                   std::int32_t semafor) const {
    for (std::size_t i : ruleIndexesByConclusion(wniosek)) {
        const Rule& r = rule_.rules[i];
        if (r.numer == numer && r.semafor == semafor) return &r;
    }
    return nullptr;
}

std::optional<Store::ModelRef> Store::modelByNumber(std::int32_t numer) const {
    auto it = modelByNumber_.find(numer);
    if (it == modelByNumber_.end()) return std::nullopt;
    return it->second;
}

std::vector<Store::ModelRef> Store::modelsByResult(std::string_view wynik) const {
    auto it = modelsByResult_.find(wynik);
    return it == modelsByResult_.end() ? std::vector<ModelRef>{} : it->second;
}

std::optional<Store::ModelRef> Store::modelByNumberSemaphore(std::int32_t numer,
                                                             std::int32_t semafor) const {
    // Numbers may repeat across kinds in a faulty base: look at every model.
    auto scan = [&](auto const& table, ModelRef::Kind kind) -> std::optional<ModelRef> {
        for (std::size_t i = 0; i < table.size(); ++i)
            if (table[i].numer == numer && table[i].semafor == semafor) return ModelRef{kind, i};
        return std::nullopt;
    };
    if (auto r = scan(model_.model_b, ModelRef::Kind::Basic)) return r;
    if (auto r = scan(model_.model_e, ModelRef::Kind::Extended)) return r;
    if (auto r = scan(model_.model_lin, ModelRef::Kind::Linear)) return r;
    return scan(model_.model_poly, ModelRef::Kind::Polynomial);
}

namespace {
template <class F>
decltype(auto) visitModel(const ModelBase& m, Store::ModelRef ref, F&& f) {
    switch (ref.kind) {
    case Store::ModelRef::Kind::Basic: return f(m.model_b[ref.index]);
    case Store::ModelRef::Kind::Extended: return f(m.model_e[ref.index]);
    case Store::ModelRef::Kind::Linear: return f(m.model_lin[ref.index]);
    case Store::ModelRef::Kind::Polynomial: break;
    }
    return f(m.model_poly[ref.index]);
}
}  // namespace

std::int32_t Store::modelNumber(ModelRef ref) const {
    return visitModel(model_, ref, [](auto const& m) { return m.numer; });
}
const std::string& Store::modelResult(ModelRef ref) const {
    return visitModel(model_, ref, [](auto const& m) -> const std::string& { return m.wynik; });
}
const std::string& Store::modelGoAhead(ModelRef ref) const {
    return visitModel(model_, ref, [](auto const& m) -> const std::string& { return m.warunek; });
}
std::int32_t Store::modelSemaphore(ModelRef ref) const {
    return visitModel(model_, ref, [](auto const& m) { return m.semafor; });
}

std::vector<const MediaRecord*> Store::byNumber(const std::vector<MediaRecord>& table,
                                                std::int32_t numer) {
    std::vector<const MediaRecord*> out;
    for (const auto& r : table)
        if (r.numer == numer) out.push_back(&r);
    return out;
}

// ---- indexes ----

void Store::reindexRules() {
    rulesStale_ = true;
}

void Store::indexRules() const {
    byNumber_.clear();
    byNumber_.reserve(rule_.rules.size());
    for (std::size_t i = 0; i < rule_.rules.size(); ++i) byNumber_.emplace_back(rule_.rules[i].numer, i);
    std::sort(byNumber_.begin(), byNumber_.end());   // by number, then position: the first comes first
    byNumber_.erase(std::unique(byNumber_.begin(), byNumber_.end(),
                                [](const auto& a, const auto& b) { return a.first == b.first; }),
                    byNumber_.end());
    byNumber_.shrink_to_fit();

    // Counted first, then filled in file order.
    conclusionStarts_.assign(Name::count() + 1, 0);
    for (const Rule& r : rule_.rules) ++conclusionStarts_[r.wniosek.id() + 1];
    for (std::size_t id = 1; id < conclusionStarts_.size(); ++id) conclusionStarts_[id] += conclusionStarts_[id - 1];
    byConclusion_.assign(rule_.rules.size(), 0);
    std::vector<std::size_t> next(conclusionStarts_.begin(), conclusionStarts_.end() - 1);
    for (std::size_t i = 0; i < rule_.rules.size(); ++i) byConclusion_[next[rule_.rules[i].wniosek.id()]++] = i;
    rulesStale_ = false;
}

void Store::reindexModels() {
    modelByNumber_.clear();
    modelsByResult_.clear();
    auto add = [&](auto const& table, ModelRef::Kind kind) {
        for (std::size_t i = 0; i < table.size(); ++i) {
            ModelRef ref{kind, i};
            modelByNumber_.try_emplace(table[i].numer, ref);
            modelsByResult_[table[i].wynik].push_back(ref);
        }
    };
    // Kind order first, file order within a kind: the order the engine
    // searches the model tables in.
    add(model_.model_b, ModelRef::Kind::Basic);
    add(model_.model_e, ModelRef::Kind::Extended);
    add(model_.model_lin, ModelRef::Kind::Linear);
    add(model_.model_poly, ModelRef::Kind::Polynomial);
}

// ---- filling ----

void Store::setRuleBase(RuleBase base) {
    rule_ = std::move(base);
    reindexRules();
}

void Store::setModelBase(ModelBase base) {
    // exclusive_models records outlive a model-base reload; they go only with
    // the next rule-base load.
    auto exclusive = std::move(model_.exclusive_models);
    append(exclusive, std::move(base.exclusive_models));
    model_ = std::move(base);
    model_.exclusive_models = std::move(exclusive);
    reindexModels();
}

void Store::setConstraintBase(ConstraintBase base) { constraint_ = std::move(base); }
void Store::setAdviceBase(AdviceBase base) { advice_ = std::move(base); }
void Store::setGraphicsBase(GraphicsBase base) { graphics_ = std::move(base); }
void Store::setSoundBase(SoundBase base) { sound_ = std::move(base); }

void Store::addRule(Rule r) {
    rule_.rules.push_back(std::move(r));
    rulesStale_ = true;
}

void Store::addFact(Fact f) { rule_.facts.push_back(std::move(f)); }
void Store::addArgumentKnown(ArgumentKnown a) { model_.argument_known.push_back(std::move(a)); }

// ---- clear operations ----

void Store::kasowanie_dregula() {
    rule_.rules.clear();
    reindexRules();
}
void Store::kasowanie_fakt() { rule_.facts.clear(); }
void Store::kasowanie_nazwy_re() {
    nazwa_re.reset();
    nazwa_re_pelna.reset();
}
void Store::kasowanie_dmodel() {
    model_.model_b.clear();
    reindexModels();
}
void Store::kasowanie_dmodel_r() {
    model_.model_e.clear();
    reindexModels();
}
void Store::kasowanie_dmodel_liniowy() {
    model_.model_lin.clear();
    reindexModels();
}
void Store::kasowanie_dmodel_wielomianowy() {
    model_.model_poly.clear();
    reindexModels();
}
void Store::kasowanie_m_fakt() { model_.m_fact.clear(); }
void Store::kasowanie_argument_znany() { model_.argument_known.clear(); }
void Store::kasowanie_modele_ekskluzywne() { model_.exclusive_models.clear(); }
void Store::kasowanie_nazwy_mo() { nazwa_mo.reset(); }
void Store::unloadModelBase() {
    kasowanie_dmodel();
    kasowanie_dmodel_r();
    kasowanie_dmodel_liniowy();
    kasowanie_dmodel_wielomianowy();
    kasowanie_argument_znany();
    kasowanie_m_fakt();
    kasowanie_nazwy_mo();
    nazwa_mo_pelna.reset();
}
void Store::kasowanie_dogranicz() { constraint_.constraints.clear(); }
void Store::kasowanie_nazwy_og() { nazwa_og.reset(); }
void Store::kasowanie_drada() {
    advice_.advice.clear();
    advice_.nadvice.clear();
}
void Store::kasowanie_nazwy_ra() {
    nazwa_ra.reset();
    nazwa_ra_pelna.reset();
}
void Store::kasowanie_dgrafika() {
    graphics_.graphics.clear();
    graphics_.ngraphics.clear();
}
void Store::kasowanie_nazwy_gr() {
    nazwa_gr.reset();
    nazwa_gr_pelna.reset();
}
void Store::kasowanie_dmelodie() {
    sound_.sounds.clear();
    sound_.nsounds.clear();
}
void Store::kasowanie_nazwy_me() {
    nazwa_me.reset();
    nazwa_me_pelna.reset();
}
void Store::kasowanie_wyroznik() { wyroznik.reset(); }

void Store::clearAll() { *this = Store{}; }

// ---- condition names ----

std::string negacja(std::string_view name) {
    if (jest_negacja(name)) return std::string(name.substr(1));
    std::string out;
    out.reserve(name.size() + 1);
    out += 'n';
    out += name;
    return out;
}

bool negacja(std::string_view a, std::string_view b) {
    auto isNegOf = [](std::string_view x, std::string_view y) {
        return x.size() == y.size() + 1 && x.front() == 'n' && x.substr(1) == y;
    };
    return isNegOf(a, b) || isNegOf(b, a);
}

StringList usun_negacje(const StringList& names) {
    StringList out;
    out.reserve(names.size());
    for (const auto& n : names) out.push_back(jest_negacja(n) ? n.substr(1) : n);
    return out;
}

}  // namespace torv::kb
