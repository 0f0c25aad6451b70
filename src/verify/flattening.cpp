// Rule flattening: the generator, its list operations and the two commands.
#include "verify/flattening.h"

#include <algorithm>
#include <utility>
#include <unordered_set>

#include "engine/askables.h"
#include "kb/store.h"
#include "kb/term_reader.h"
#include "port/long_work.h"
#include "state/app_state.h"

namespace torv::verify {

// ---- FlatteningBase ----

FlatteningBase::FlatteningBase(const kb::Store& store, const engine::Askables& askables)
    : store_(store), askables_(askables) {
    for (const auto& r : store.rules()) {
        internOne(r.wniosek);
        for (const auto& c : r.warunki) internOne(c);
    }
    // A path through the base uses each rule at most twice (once for its
    // conclusion, once for its negation) unless it runs in a cycle.
    passLimit_ = 2 * store.rules().size() + 2;
}

NameId FlatteningBase::internOne(std::string_view name) {
    if (auto it = ids_.find(std::string(name)); it != ids_.end()) return it->second;
    const auto id = static_cast<NameId>(entries_.size());
    Entry& e = entries_.emplace_back();
    e.name = std::string(name);
    ids_.emplace(e.name, id);
    auto inTable = [&](std::string_view n) { return askables_.jest_dopytywalny(std::string(n)); };
    auto askableName = [&](std::string_view n) {
        return inTable(n) || (kb::jest_negacja(n) && inTable(n.substr(1)));
    };
    e.askable = askableName(name);
    e.settled = e.askable || (kb::jest_negacja(name) && askableName(name.substr(1)));
    return id;
}

NameId FlatteningBase::negation(NameId id) {
    if (const NameId known = entries_[static_cast<std::size_t>(id)].negation; known >= 0) return known;
    const NameId neg = internOne(kb::negacja(entries_[static_cast<std::size_t>(id)].name));
    entries_[static_cast<std::size_t>(id)].negation = neg;
    return neg;
}

NameId FlatteningBase::intern(std::string_view name) { return internOne(name); }

template <class List>
std::vector<NameId> FlatteningBase::internAll(const List& names) {
    std::vector<NameId> out;
    out.reserve(names.size());
    for (std::string_view n : names) out.push_back(internOne(n));
    return out;
}

std::vector<NameId> FlatteningBase::intern(const Names& names) { return internAll(names); }
std::vector<NameId> FlatteningBase::intern(const kb::NameList& names) { return internAll(names); }

Names FlatteningBase::names(const std::vector<NameId>& ids) const {
    Names out;
    out.reserve(ids.size());
    for (NameId id : ids) out.push_back(name(id));
    return out;
}

const std::vector<Alternative>& FlatteningBase::szukaj_regule(NameId id) {
    Entry* e = &entries_[static_cast<std::size_t>(id)];
    if (e->alternativesKnown) return e->alternatives;
    std::vector<Alternative> alts;
    const std::string c = e->name;
    const auto& rules = store_.rules();
    if (kb::jest_negacja(c)) {
        // The negation of a concluded condition: the negation of any one
        // condition of any one rule that concludes it.
        for (std::size_t i : store_.ruleIndexesByConclusion(std::string_view(c).substr(1)))
            for (const auto& w : rules[i].warunki) alts.push_back({rules[i].numer, {negation(internOne(w))}});
    } else {
        for (std::size_t i : store_.ruleIndexesByConclusion(c)) alts.push_back({rules[i].numer, intern(rules[i].warunki)});
    }
    e = &entries_[static_cast<std::size_t>(id)];
    if (e->askable) alts.push_back({0, {id}});
    e->alternatives = std::move(alts);
    e->alternativesKnown = true;
    return e->alternatives;
}

bool FlatteningBase::sole(NameId start) {
    using S = Entry::Sole;
    auto entry = [&](NameId id) -> Entry& { return entries_[static_cast<std::size_t>(id)]; };
    if (entry(start).sole == S::Yes || entry(start).sole == S::No) return entry(start).sole == S::Yes;
    // Post-order without recursion: chains may be thousands of rules deep.
    struct Frame {
        NameId id;
        std::size_t child;
    };
    std::vector<Frame> stack{{start, 0}};
    entry(start).sole = S::Visiting;
    while (!stack.empty()) {
        Frame& f = stack.back();
        const auto& alts = szukaj_regule(f.id);
        Entry& e = entry(f.id);
        S verdict = S::Unknown;
        if (alts.size() != 1) {
            verdict = S::No;
        } else if (e.askable) {
            verdict = S::Yes;  // kept as it is in every pass (rule numbers may be 0)
            e.height = 0;
        } else if (e.settled) {
            verdict = S::No;   // rewritten only while other names are open
        } else if (f.child == alts[0].zamiana.size()) {
            verdict = S::Yes;
        } else {
            const NameId next = alts[0].zamiana[f.child++];
            Entry& n = entry(next);
            if (n.sole == S::Unknown) {
                n.sole = S::Visiting;
                stack.push_back({next, 0});
            } else if (n.sole != S::Yes) {
                verdict = S::No;  // below a name that has more, or a cycle
            }
            if (verdict == S::Unknown) continue;
        }
        if (verdict == S::Yes && !e.askable) {
            // One pass rewrites it, then its deepest replacement's passes.
            e.height = 1;
            for (NameId c : alts[0].zamiana) e.height = std::max(e.height, entry(c).height + 1);
        }
        e.sole = verdict;
        stack.pop_back();
        if (verdict == S::No)
            // Everything still open lies above a name without one flattening.
            for (const Frame& up : stack) entry(up.id).sole = S::No;
        if (verdict == S::No) break;
    }
    return entry(start).sole == S::Yes;
}

std::optional<std::vector<NameId>> FlatteningBase::soleFlattening(const std::vector<NameId>& warunki,
                                                                  std::uint64_t* passes) {
    std::uint64_t height = 0;
    for (NameId id : warunki) {
        if (!sole(id)) return std::nullopt;
        height = std::max<std::uint64_t>(height, entries_[static_cast<std::size_t>(id)].height);
    }
    if (height >= passLimit_) return std::nullopt;
    // Every pass rewrites each open name by its only alternative and keeps
    // each askable, so the result is the set of askables reached.
    std::vector<NameId> leaves;
    std::vector<NameId> todo;
    std::uint64_t reached = 0;
    const std::uint32_t round = newRound();
    for (NameId id : warunki)
        if (std::exchange(mark(id), round) != round) todo.push_back(id);
    while (!todo.empty()) {
        const NameId id = todo.back();
        todo.pop_back();
        ++reached;
        if (askable(id)) {
            leaves.push_back(id);
            continue;
        }
        const Alternative& a = szukaj_regule(id)[0];
        for (NameId c : a.zamiana)
            if (std::exchange(mark(c), round) != round) todo.push_back(c);
    }
    // No pass holds more than the names reached: within this bound the
    // generator's own limit on kept choices cannot cut the flattening.
    if (warunki.size() + height * reached > Splaszcz::kMaxChoices) return std::nullopt;
    if (passes) *passes = std::max<std::uint64_t>(1, height);
    return leaves;
}

bool FlatteningBase::cyclic() {
    if (cyclic_) return *cyclic_;
    // Depth-first search with an explicit stack over the replacements that
    // come from rules; a name met again while still open closes a cycle.
    enum : std::uint8_t { White, Open, Closed };
    const std::size_t n = entries_.size();
    std::vector<std::uint8_t> colour(n, White);
    struct Frame {
        NameId id;
        std::size_t alt;
        std::size_t elem;
    };
    std::vector<Frame> stack;
    bool found = false;
    for (std::size_t start = 0; start < n && !found; ++start) {
        if (colour[start] != White) continue;
        colour[start] = Open;
        stack.push_back({static_cast<NameId>(start), 0, 0});
        while (!stack.empty() && !found) {
            Frame& f = stack.back();
            const auto& alts = szukaj_regule(f.id);
            if (f.alt == alts.size()) {
                colour[static_cast<std::size_t>(f.id)] = Closed;
                stack.pop_back();
                continue;
            }
            const Alternative& a = alts[f.alt];
            if (a.numer == 0 || f.elem == a.zamiana.size()) {
                ++f.alt;
                f.elem = 0;
                continue;
            }
            const NameId next = a.zamiana[f.elem++];
            const auto k = static_cast<std::size_t>(next);
            if (k >= colour.size()) colour.resize(entries_.size(), White);
            if (colour[k] == Open) {
                found = true;
            } else if (colour[k] == White) {
                colour[k] = Open;
                stack.push_back({next, 0, 0});
            }
        }
        stack.clear();
    }
    cyclic_ = found;
    return found;
}

std::uint32_t FlatteningBase::newRound() {
    if (++round_ == 0) {  // wrapped: forget every old mark
        for (auto& e : entries_) e.mark = 0;
        round_ = 1;
    }
    return round_;
}

// ---- Splaszcz ----

Splaszcz::Splaszcz(FlatteningBase& base, const std::vector<NameId>& warunki) : base_(base), initial_(warunki) {}

Splaszcz::Splaszcz(FlatteningBase& base, const kb::Rule& rule) : Splaszcz(base, base.intern(rule.warunki)) {}

bool Splaszcz::open(const std::vector<NameId>& warunki) {
    // A condition without alternatives makes every choice in the pass fail.
    for (NameId c : warunki)
        if (base_.szukaj_regule(c).empty()) return false;
    passStart_.push_back(choices_.size());
    for (NameId c : warunki) choices_.push_back({c, 0});
    return true;
}

bool Splaszcz::advance() {
    // The most recent choice that still has an alternative: the last
    // condition of the last pass first; the choices after it start over.
    while (!passStart_.empty()) {
        const std::size_t start = passStart_.back();
        for (std::size_t i = choices_.size(); i-- > start;) {
            Choice& c = choices_[i];
            if (c.alt + 1 < alternatives(c).size()) {
                ++c.alt;
                for (std::size_t j = i + 1; j < choices_.size(); ++j) choices_[j].alt = 0;
                return true;
            }
        }
        choices_.resize(start);
        passStart_.pop_back();
    }
    return false;
}

bool Splaszcz::next() {
    if (done_) return false;
    bool ready = started_ ? advance() : open(initial_);
    started_ = true;
    while (ready) {
        if (passBudget_ != 0 && passCount_ >= passBudget_) {
            limitHit_ = true;
            break;
        }
        // The replacements, last condition's first, with each name kept at
        // its last occurrence.
        ++passCount_;
        const std::uint32_t round = base_.newRound();
        scratch_.clear();
        bool settled = true;
        for (std::size_t j = passStart_.back(); j < choices_.size(); ++j) {
            const auto& z = chosen(choices_[j]).zamiana;
            for (auto it = z.rbegin(); it != z.rend(); ++it) {
                std::uint32_t& m = base_.mark(*it);
                if (m == round) continue;
                m = round;
                scratch_.push_back(*it);
                settled = settled && base_.settled(*it);
            }
        }
        std::reverse(scratch_.begin(), scratch_.end());
        if (settled) {
            flat_.swap(scratch_);
            return true;
        }
        if (passStart_.size() < base_.passLimit() && choices_.size() + scratch_.size() <= kMaxChoices) {
            if (open(scratch_)) continue;
        } else {
            limitHit_ = true;
        }
        ready = advance();
    }
    done_ = true;
    return false;
}

namespace {

/// The numbers of the chosen alternatives, each once, in order of choice.
/// Paths are short in real bases: a linear scan beats a hash set there.
Numbers firstUses(const std::vector<std::int32_t>& numbers, bool keepZero) {
    Numbers out;
    if (numbers.size() <= 64) {
        for (auto n : numbers)
            if ((keepZero || n != 0) && std::find(out.begin(), out.end(), n) == out.end()) out.push_back(n);
        return out;
    }
    std::unordered_set<std::int32_t> seen;
    for (auto n : numbers)
        if ((keepZero || n != 0) && seen.insert(n).second) out.push_back(n);
    return out;
}

}  // namespace

Numbers Splaszcz::usedNormalised() const {
    std::vector<std::int32_t> numbers;
    numbers.reserve(choices_.size());
    for (const Choice& c : choices_) numbers.push_back(chosen(c).numer);
    return firstUses(numbers, false);
}

Numbers Splaszcz::used() const {
    std::vector<std::int32_t> numbers;
    numbers.reserve(choices_.size());
    for (const Choice& c : choices_) numbers.push_back(chosen(c).numer);
    Numbers out = firstUses(numbers, true);
    std::reverse(out.begin(), out.end());
    return out;
}

// ---- list operations ----

Names neguj_liste(const Names& l) {
    Names out;
    out.reserve(l.size());
    for (const auto& x : l) out.push_back(kb::negacja(x));
    return out;
}

Names odwracanie(Names l) {
    std::reverse(l.begin(), l.end());
    return l;
}

Numbers usun(std::int32_t x, const Numbers& l) {
    Numbers out;
    for (auto n : l)
        if (n != x) out.push_back(n);
    return out;
}

Numbers redukuj_i(const Numbers& l) {
    std::unordered_set<std::int32_t> seen;
    Numbers out;
    for (auto it = l.rbegin(); it != l.rend(); ++it)
        if (seen.insert(*it).second) out.push_back(*it);
    std::reverse(out.begin(), out.end());
    return out;
}

Numbers normalizuj_uzyte(const Numbers& used) {
    Numbers out = usun(0, used);
    std::reverse(out.begin(), out.end());
    return out;
}

std::vector<std::pair<std::int32_t, Names>> szukaj_regule(const kb::Store& store, const engine::Askables& askables,
                                                          const std::string& warunek) {
    FlatteningBase base(store, askables);
    std::vector<std::pair<std::int32_t, Names>> out;
    for (const auto& a : base.szukaj_regule(base.intern(warunek))) out.emplace_back(a.numer, base.names(a.zamiana));
    return out;
}

bool ma_warunki_niedopyt(const kb::Store& store, const engine::Askables& askables, const Names& warunki, bool tryb) {
    if (!tryb) return true;
    FlatteningBase base(store, askables);
    for (const auto& w : warunki)
        if (!base.settled(base.intern(w))) return true;
    return false;
}

// ---- texts ----

std::string lista_w_nawiasach(const Names& l) {
    std::string out = "[";
    for (std::size_t i = 0; i < l.size(); ++i) {
        if (i) out += ',';
        out += kb::quoteString(l[i]);
    }
    return out + "]";
}

std::string lista_w_nawiasach(const Numbers& l) { return "[" + polacz(l, ",") + "]"; }

std::string polacz(const Names& l, std::string_view sep) {
    std::string out;
    for (std::size_t i = 0; i < l.size(); ++i) {
        if (i) out += sep;
        out += l[i];
    }
    return out;
}

std::string polacz(const Numbers& l, std::string_view sep) {
    std::string out;
    for (std::size_t i = 0; i < l.size(); ++i) {
        if (i) out += sep;
        out += std::to_string(l[i]);
    }
    return out;
}

bool flattening_refused(AppState& app, FlatteningBase& base) {
    // The cycle check costs linear time and covers a declined external test.
    return app.verdicts.externallyInconsistent() || base.cyclic();
}

// ---- commands ----

namespace {

const char* const kAttention = "Attention!";
const char* const kNoMore = "There are no more flattened rules!";

}  // namespace

void splaszcz_wszystkie(AppState& app) {
    FlatteningBase base(app.store, app.askables);
    if (flattening_refused(app, base)) {
        app.port.note(kAttention, kNoFlatteningText);
        return;
    }
    app.messages.write("Results of flattening rule " + app.store.nazwa_re.value_or("") + "\n\n");
    app.report.pisz("Nr  Conclusion  List of askable conditions  Rules used for flattening");
    app.report.piszcr();
    app.report.piszcr();
    bool more = true;
    const auto flattenAll = [&] {
        const auto& rules = app.store.rules();
        port::Progress progress(app.port, port::texts::kFlatteningAll.label, rules.size());
        for (std::size_t i = 0; i < rules.size() && more; ++i) {
            progress.check(i);
            const kb::Rule& rule = rules[i];
            Splaszcz gen(base, rule);
            while (more && gen.next()) {
                const std::string flat = lista_w_nawiasach(gen.flatNames());
                const std::string used = lista_w_nawiasach(gen.usedNormalised());
                const std::string nr = std::to_string(rule.numer);
                app.messages.write(nr + " " + rule.wniosek + " " + flat + " " + used);
                const std::string text = nr + ". " + rule.wniosek + " " + flat + " " + used + "\n\nNext flattened rule?";
                more = app.port.yesNo("Flattened rules: Number, Conclusion, List of askable condition, "
                                      "Rules used for flattening",
                                      text) == port::kYes;
            }
        }
    };
    if (port::runToEnd(app.port, app.messages, port::texts::kFlatteningAll, flattenAll) && more)
        app.port.note(kAttention, kNoMore);
}

void splaszcz_wybrana(AppState& app) {
    FlatteningBase base(app.store, app.askables);
    if (flattening_refused(app, base)) {
        // The dialog stays closed; say why rather than do nothing.
        app.port.note(kAttention, kNoFlatteningText);
        return;
    }
    std::vector<std::string> entries;
    for (const auto& r : app.store.rules()) entries.push_back(std::to_string(r.numer) + "  " + r.wniosek);
    std::sort(entries.begin(), entries.end());
    entries.erase(std::unique(entries.begin(), entries.end()), entries.end());

    // tok: the chosen number, held until the command ends.
    std::optional<std::string> tok;
    if (auto chosen = app.port.pickRuleForFlattening(entries)) {
        const auto from = chosen->find_first_not_of(' ');
        if (from != std::string::npos) tok = chosen->substr(from, chosen->find(' ', from) - from);
    }
    const kb::Rule* rule = nullptr;
    if (tok) {
        app.report.pisz("Results of flattening rule  " + *tok + ":");
        app.report.piszcr();
        app.report.piszcr();
        app.report.pisz("Nr  Conclusion     List of askable conditions          Rules used for flattening");
        app.report.piszcr();
        app.report.piszcr();
        for (const auto& r : app.store.rules())
            if (std::to_string(r.numer) == *tok) {
                rule = &r;
                break;
            }
    }
    if (rule) {
        Splaszcz gen(base, *rule);
        while (gen.next()) {
            const std::string flat = lista_w_nawiasach(gen.flatNames());
            const std::string used = lista_w_nawiasach(gen.usedNormalised());
            app.messages.write(*tok + " " + rule->wniosek + " " + flat + " " + used + "\n");
            if (app.port.yesNo("Flattened rule: Nr, Conclusion, List of askable conditions, Rules used for flattening",
                               *tok + ". " + rule->wniosek + " " + flat + " " + used +
                                   "\n\nDo you wish to see the next flattened rule?") != port::kYes)
                return;
        }
    }
    app.port.note(kAttention, kNoMore);
}

}  // namespace torv::verify
