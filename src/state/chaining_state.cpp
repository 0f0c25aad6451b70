// The chaining state and the recording of declared facts.
#include "state/chaining_state.h"

#include <algorithm>

namespace torv::engine {

// ---- RbdTable ----

bool RbdTable::has(std::int32_t numer, kb::Name warunek) const {
    return anyNumber(warunek, [&](std::int32_t m) { return m == numer; });
}

bool RbdTable::hasOther(std::int32_t numer, kb::Name warunek) const {
    return anyNumber(warunek, [&](std::int32_t m) { return m != numer; });
}

void RbdTable::add(std::int32_t numer, kb::Name warunek) {
    const std::uint32_t id = warunek.id();
    if (id >= index_.size()) {
        // Grown to the names there are, with room for those a run adds.
        const std::size_t size = std::max<std::size_t>(kb::Name::count(), id + 1);
        if (size > index_.capacity()) index_.reserve(size + size / 8);
        index_.resize(size);
    }
    Numbers& n = index_[id];
    if (n.count++ == 0) n.first = numer;
    else more_[id].push_back(numer);
    records_.push_back({numer, warunek});
    changed(warunek);
}

bool RbdTable::remove(std::int32_t numer, kb::Name warunek) {
    if (!has(numer, warunek)) return false;
    const std::uint32_t id = warunek.id();
    Numbers& n = index_[id];
    if (n.count > 1) {
        auto& more = more_.at(id);
        if (n.first == numer) {
            n.first = more.front();
            more.erase(more.begin());
        } else {
            more.erase(std::find(more.begin(), more.end(), numer));
        }
        if (more.empty()) more_.erase(id);
    }
    --n.count;
    auto r = std::find_if(records_.begin(), records_.end(),
                          [&](const Rbd& x) { return x.numer == numer && x.warunek == warunek; });
    if (static_cast<std::size_t>(r - records_.begin()) < presented_) --presented_;
    records_.erase(r);
    changed(warunek);
    return true;
}

void RbdTable::removeAll(kb::Name warunek) {
    if (supports(warunek) == 0) return;
    index_[warunek.id()] = {};
    more_.erase(warunek.id());
    const auto presented = records_.begin() + static_cast<std::ptrdiff_t>(std::min(presented_, records_.size()));
    presented_ -= static_cast<std::size_t>(
        std::count_if(records_.begin(), presented, [&](const Rbd& x) { return x.warunek == warunek; }));
    std::erase_if(records_, [&](const Rbd& x) { return x.warunek == warunek; });
    changed(warunek);
}

void RbdTable::clear() {
    records_.clear();
    presented_ = 0;
    index_.clear();
    more_.clear();
}

// ---- ChainingState ----

void ChainingState::prepare(const kb::Store& store, const Names& askables) {
    rbd.clear();
    regula_zastosowana.clear();
    model_stosowany.clear();
    zmienna_ustalona.clear();
    modelsWithoutValue.clear();
    modelIndex = {};
    zanegowany_warunek_z_bazy_ograniczen.clear();
    lista_warunkow_ograniczenia_z_warunkami_faktami.clear();
    lista_warunkow_uwzglednionych_ograniczen.clear();
    // A run ended by "end" never reaches the closing step that clears this;
    // left over, it would hide the next run's facts from its presentations.
    rbd_finalna.clear();
    rbd_wstecz.clear();
    hipoteza.reset();
    backward = {};
    ograniczenia = store.constraints();

    // Counted first, then filled: one array for every rule's conditions.
    const auto& rules = store.rules();
    auto eachCondition = [&](auto&& f) {
        for (std::size_t i = 0; i < rules.size(); ++i) {
            const auto& w = rules[i].warunki;
            for (auto c = w.begin(); c != w.end(); ++c)
                if (std::find(w.begin(), c, *c) == c) f(c->id(), static_cast<std::uint32_t>(i));
        }
    };
    ruleStarts.assign(kb::Name::count() + 1, 0);
    eachCondition([&](std::uint32_t id, std::uint32_t) { ++ruleStarts[id + 1]; });
    for (std::size_t id = 1; id < ruleStarts.size(); ++id) ruleStarts[id] += ruleStarts[id - 1];
    rulePositions.assign(ruleStarts.back(), 0);
    std::vector<std::uint32_t> next(ruleStarts.begin(), ruleStarts.end() - 1);
    eachCondition([&](std::uint32_t id, std::uint32_t i) { rulePositions[next[id]++] = i; });
    askableSet.clear();
    for (const auto& a : askables) askableSet.set(a);
}

const kb::Constraint* ograniczenie_z(const ChainingState& s, std::string_view warunek) {
    for (const auto& c : s.ograniczenia)
        if (std::find(c.warunki.begin(), c.warunki.end(), warunek) != c.warunki.end()) return &c;
    return nullptr;
}

namespace {

bool lists(const kb::Constraint& c, std::string_view warunek) {
    return std::find(c.warunki.begin(), c.warunki.end(), warunek) != c.warunki.end();
}

}  // namespace

void pamietaj(ChainingState& s, const std::string& warunek, bool prawda, bool wszystkieOgraniczenia) {
    const std::string dopelnienie = kb::negacja(warunek);
    if (s.rbd.decided(warunek) || s.rbd.decided(dopelnienie)) return;
    if (!prawda) {
        s.rbd.add(0, dopelnienie);
        return;
    }
    s.rbd.add(0, warunek);
    // Members of its constraints become false.
    bool treated = false;
    for (std::size_t i = 0; i < s.ograniczenia.size(); ++i) {
        if (!lists(s.ograniczenia[i], warunek)) continue;
        Names inne;
        for (const auto& m : s.ograniczenia[i].warunki)
            if (m != warunek) inne.push_back(m);
        pamietaj_warunki_nie_bedace_faktami(s, inne);
        treated = true;
        if (!wszystkieOgraniczenia) break;
    }
    if (treated) return;
    // Its complement is decided now: it no longer competes in its constraints.
    for (auto& c : s.ograniczenia) {
        if (!lists(c, dopelnienie)) continue;
        std::erase(c.warunki, dopelnienie);
        if (!wszystkieOgraniczenia) break;
    }
}

void pamietaj_fakty(ChainingState& s, const Names& lista) {
    // Recording X beside its complement would leave both true for the rest of the run.
    for (const auto& x : lista)
        if (!s.rbd.decided(x) && !s.rbd.decided(kb::negacja(x))) s.rbd.add(0, x);
}

void pamietaj_warunki_nie_bedace_faktami(ChainingState& s, const Names& lista) {
    for (const auto& x : lista) {
        if (s.rbd.decided(x) || s.rbd.decided(kb::negacja(x))) continue;
        const std::string n = kb::negacja(x);
        s.rbd.add(0, n);
        s.zanegowany_warunek_z_bazy_ograniczen.push_back(n);
    }
}

const std::string* prawdziwy_czlonek(const ChainingState& s, const Names& czlonkowie) {
    for (const auto& m : czlonkowie)
        if (s.rbd.decided(m)) return &m;
    return nullptr;
}

bool wszystkie_rozstrzygniete(const ChainingState& s, const Names& czlonkowie) {
    return std::all_of(czlonkowie.begin(), czlonkowie.end(),
                       [&](const std::string& m) { return s.rbd.decided(m) || s.rbd.decided(kb::negacja(m)); });
}

}  // namespace torv::engine
