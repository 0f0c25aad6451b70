// Backward chaining.
#include "engine/backward.h"

#include <algorithm>
#include <coroutine>
#include <exception>
#include <optional>
#include <utility>
#include <vector>

#include "engine/askables.h"
#include "engine/explanations.h"
#include "engine/gate.h"
#include "engine/model_explanations.h"
#include "engine/models.h"
#include "engine/support.h"
#include "kb/paths.h"
#include "port/long_work.h"
#include "reports/report_commands.h"
#include "reports/summaries.h"
#include "state/app_state.h"

namespace torv::engine {

namespace {

const char* const kEndText = "Rule with 'end' conclusion ends the chaining process.";
const char* const kOdstep = "                 ";   // before the answer to a question
const char* const kPytanie = "Is the condition true?";
const char* const kFaktyUstalone = "Following facts have been determined:";
const char* const kArgumentyUstalone = "Following arguments have been determined:";

// ---- the search's own stack ----

/// One step of the search: a coroutine that may wait on sub-goals. Steps
/// never resume one another; Step::run resumes them all from one loop,
/// so the depth of a rule chain costs heap frames, not call stack.
class Step {
public:
    struct promise_type;
    using Handle = std::coroutine_handle<promise_type>;

    struct promise_type {
        bool wynik = false;
        std::exception_ptr blad;
        Handle waitingFor;   // the step this one waits for

        Step get_return_object() { return Step(Handle::from_promise(*this)); }
        std::suspend_always initial_suspend() noexcept { return {}; }
        std::suspend_always final_suspend() noexcept { return {}; }
        void return_value(bool w) { wynik = w; }
        void unhandled_exception() { blad = std::current_exception(); }
    };

    Step(Step&& k) noexcept : h_(std::exchange(k.h_, {})) {}
    Step(const Step&) = delete;
    Step& operator=(const Step&) = delete;
    Step& operator=(Step&&) = delete;
    ~Step() {
        if (h_) h_.destroy();
    }

    // co_await on a step: the waiting step hands it to the loop and is
    // resumed when it is done, reading its result (or its exception).
    bool await_ready() const noexcept { return false; }
    void await_suspend(Handle waiting) const noexcept { waiting.promise().waitingFor = h_; }
    bool await_resume() const { return wynik(); }

    /// Runs the step to its end.
    bool run() {
        std::vector<Handle> stos{h_};
        while (!stos.empty()) {
            Handle h = stos.back();
            h.resume();
            if (h.done())
                stos.pop_back();
            else
                stos.push_back(std::exchange(h.promise().waitingFor, {}));
        }
        return wynik();
    }

private:
    explicit Step(Handle h) : h_(h) {}
    bool wynik() const {
        if (h_.promise().blad) std::rethrow_exception(h_.promise().blad);
        return h_.promise().wynik;
    }
    Handle h_;
};

/// Marks a rule or model as under way for as long as it lives.
class InProgress {
public:
    InProgress(std::unordered_set<std::int32_t>& set, std::int32_t numer) : set_(set), numer_(numer) {
        set_.insert(numer_);
    }
    ~InProgress() { set_.erase(numer_); }
    InProgress(const InProgress&) = delete;
    InProgress& operator=(const InProgress&) = delete;

private:
    std::unordered_set<std::int32_t>& set_;
    std::int32_t numer_;
};

/// A basic or extended relational model concluding some condition.
struct RelationalCandidate {
    std::int32_t numer;
    std::string warunek;   // go-ahead condition
    kb::Store::ModelRef ref;
};

bool applied(const ChainingState& s, std::int32_t numer) {
    return std::find(s.model_stosowany.begin(), s.model_stosowany.end(), numer) != s.model_stosowany.end();
}

/// A literal established so far: derived backwards, or declared by an
/// answer to a go-ahead question (which is never asked twice).
bool ustalony(const AppState& app, const std::string& literal) {
    return app.chaining.backward.established.count(literal) || app.chaining.rbd.has(0, literal);
}

const NumberedLiteral* numer_dla(const std::vector<NumberedLiteral>& tabela, const std::string& literal) {
    for (const auto& n : tabela)
        if (n.literal == literal) return &n;
    return nullptr;
}

class Search {
public:
    /// Reports each goal taken up to `progress`, if given.
    explicit Search(AppState& app, port::Progress* progress = nullptr)
        : app_(app), s_(app.chaining), w_(app.chaining.backward), st_(app.store), progress_(progress) {}

    /// weryfikowanie_hipotezy_cd: the alternatives in order; the first that
    /// decides ends the search.
    Step cel(std::string g);
    /// testuj_warunki_wstecz: every condition, left to right, until one
    /// does not hold.
    Step testuj_warunki_wstecz(const kb::NameList* warunki);
    /// The rules concluding "end", until one of them holds.
    Step reguly_end();

private:
    bool koniec() const { return ustalony(app_, "end"); }
    bool dostepna(const kb::Rule& r) const {
        return !w_.regula_wykorzystana.count(r.numer) && !w_.rulesInProgress.count(r.numer);
    }
    /// Actions after a rule decided goal g with the recorded result w.
    void rozstrzygnieta(const kb::Rule& r, const std::string& g, const std::string& w, bool prawda);
    std::optional<bool> modele_arytmetyczne(const std::string& g);
    std::optional<bool> modele_relacyjne(const std::string& g, bool rozszerzone);
    std::vector<RelationalCandidate> relacyjne(const std::string& wniosek, bool rozszerzone) const;

    AppState& app_;
    /// Go-ahead conditions of models are verified by a nested search.
    const ConditionProver prove_ = [this](const std::string& g) { return Search(app_, progress_).cel(g).run(); };
    ChainingState& s_;
    BackwardState& w_;
    const kb::Store& st_;
    port::Progress* progress_;
};

Step Search::testuj_warunki_wstecz(const kb::NameList* warunki) {
    for (const auto& c : *warunki) {
        const bool zachodzi = co_await cel(c);
        if (!zachodzi) co_return false;
    }
    co_return true;
}

Step Search::reguly_end() {
    for (std::size_t i : st_.ruleIndexesByConclusion("end")) {
        if (koniec()) break;
        const kb::Rule& r = st_.rules()[i];
        if (w_.rulesInProgress.count(r.numer)) continue;
        w_.regula_stosowana.push_back(r.numer);
        InProgress t(w_.rulesInProgress, r.numer);
        const bool zachodzi = co_await testuj_warunki_wstecz(&r.warunki);
        if (zachodzi) {
            pamietaj_wstecz(app_, "end");
            co_return true;
        }
    }
    co_return false;
}

void Search::rozstrzygnieta(const kb::Rule& r, const std::string& g, const std::string& w, bool prawda) {
    przedstawienie_faktow(app_);
    komunikat(app_, g);
    wyjasnienie_regula(app_, r.numer, r.wniosek, r.warunki, w);
    (prawda ? w_.numer_prawda : w_.numer_nieprawda).push_back({r.numer, g});
    w_.regula_wykorzystana.insert(r.numer);
}

Step Search::cel(std::string g) {
    // How many rules have decided a goal: the search ends before all have.
    if (progress_) progress_->checkPass(w_.regula_wykorzystana.size());
    const bool neg = kb::jest_negacja(g);
    const std::string p = neg ? g.substr(1) : g;

    // 1-4: decided already.
    if (!neg && ustalony(app_, g)) co_return true;
    if (ustalony(app_, "n" + g)) co_return false;
    if (neg && ustalony(app_, p)) co_return false;
    if (neg && ustalony(app_, g)) co_return true;
    // 5-6: askable; a negated one is asked as written.
    if (s_.askableSet.contains(p)) co_return pytaj(app_, g);

    const auto& reguly = st_.rules();
    const auto& wnioskujace = st_.ruleIndexesByConclusion(p);
    if (!neg) {
        // 7: the first rule whose conditions hold proves g.
        if (!koniec())
            for (std::size_t i : wnioskujace) {
                const kb::Rule& r = reguly[i];
                if (!dostepna(r)) continue;
                w_.regula_stosowana.push_back(r.numer);
                InProgress t(w_.rulesInProgress, r.numer);
                const bool zachodzi = co_await testuj_warunki_wstecz(&r.warunki);
                if (!zachodzi) continue;
                pamietaj_wstecz(app_, g);
                rozstrzygnieta(r, g, g, true);
                co_return true;
            }
        // 8: every rule whose conditions do not hold refutes g; the models
        // may still decide.
        if (!koniec())
            for (std::size_t i : wnioskujace) {
                const kb::Rule& r = reguly[i];
                if (!dostepna(r)) continue;
                InProgress t(w_.rulesInProgress, r.numer);
                const bool zachodzi = co_await testuj_warunki_wstecz(&r.warunki);
                if (zachodzi) continue;
                const std::string ng = "n" + g;
                if (!pamietaj_wstecz(app_, ng)) continue;
                rozstrzygnieta(r, g, ng, false);
            }
    } else {
        // 9: every rule for p whose conditions hold refutes g.
        if (!koniec())
            for (std::size_t i : wnioskujace) {
                const kb::Rule& r = reguly[i];
                if (!dostepna(r)) continue;
                w_.regula_stosowana.push_back(r.numer);
                InProgress t(w_.rulesInProgress, r.numer);
                const bool zachodzi = co_await testuj_warunki_wstecz(&r.warunki);
                if (!zachodzi) continue;
                pamietaj_wstecz(app_, p);
                rozstrzygnieta(r, g, p, false);
            }
        // 10: the first rule for p whose conditions do not hold proves g.
        if (!koniec())
            for (std::size_t i : wnioskujace) {
                const kb::Rule& r = reguly[i];
                if (!dostepna(r)) continue;
                InProgress t(w_.rulesInProgress, r.numer);
                const bool zachodzi = co_await testuj_warunki_wstecz(&r.warunki);
                if (zachodzi) continue;
                if (!pamietaj_wstecz(app_, g)) continue;
                rozstrzygnieta(r, g, g, true);
                co_return true;
            }
    }
    // 11-15: the models.
    if (!koniec())
        if (auto v = modele_arytmetyczne(g)) co_return *v;
    for (bool rozszerzone : {false, true})
        if (!koniec())
            if (auto v = modele_relacyjne(g, rozszerzone)) co_return *v;
    // 16
    if (koniec()) {
        app_.messages.write(std::string(kEndText) + "\n");
        app_.port.note("Attention - end!", kEndText);
        co_return true;
    }
    co_return false;
}

std::optional<bool> Search::modele_arytmetyczne(const std::string& g) {
    using Kind = kb::Store::ModelRef::Kind;
    std::vector<kb::Store::ModelRef> modele;
    for (const auto& ref : st_.modelsByResult(g)) {
        const auto& m = st_.modelBase();
        const bool arytmetyczny = ref.kind == Kind::Basic      ? jest_model_b_arytmetyczny(m.model_b[ref.index])
                                  : ref.kind == Kind::Extended ? jest_model_e_arytmetyczny(m.model_e[ref.index])
                                                               : true;
        if (arytmetyczny) modele.push_back(ref);
    }
    // Basic, extended, linear, polynomial; each kind in record order.
    std::stable_sort(modele.begin(), modele.end(), [](const auto& a, const auto& b) {
        return std::pair(static_cast<int>(a.kind), a.index) < std::pair(static_cast<int>(b.kind), b.index);
    });
    for (const auto& ref : modele) {
        const std::int32_t n = st_.modelNumber(ref);
        if (w_.modelsInProgress.count(n)) continue;
        InProgress t(w_.modelsInProgress, n);
        if (!sprawdz(app_, st_.modelGoAhead(ref), prove_)) continue;
        if (zastosuj_model_arytmetyczny(app_, ref, prove_)) return true;
    }
    return std::nullopt;
}

std::vector<RelationalCandidate> Search::relacyjne(const std::string& wniosek, bool rozszerzone) const {
    using Kind = kb::Store::ModelRef::Kind;
    std::vector<RelationalCandidate> out;
    const auto& m = st_.modelBase();
    if (!rozszerzone) {
        for (std::size_t i = 0; i < m.model_b.size(); ++i)
            if (m.model_b[i].wynik == wniosek && jest_relacja(m.model_b[i].operacja))
                out.push_back({m.model_b[i].numer, m.model_b[i].warunek, {Kind::Basic, i}});
    } else {
        for (std::size_t i = 0; i < m.model_e.size(); ++i)
            if (m.model_e[i].wynik == wniosek && jest_model_e_relacyjny(m.model_e[i]))
                out.push_back({m.model_e[i].numer, m.model_e[i].warunek, {Kind::Extended, i}});
    }
    return out;
}

std::optional<bool> Search::modele_relacyjne(const std::string& g, bool rozszerzone) {
    const bool neg = kb::jest_negacja(g);
    const std::string p = neg ? g.substr(1) : g;
    const std::vector<RelationalCandidate> modele = relacyjne(p, rozszerzone);
    for (const auto& m : modele) {
        if (w_.modelsInProgress.count(m.numer)) continue;
        InProgress t(w_.modelsInProgress, m.numer);
        if (!sprawdz(app_, m.warunek, prove_) || applied(s_, m.numer)) continue;
        const auto zachodzi = ocen_model_relacyjny(app_, m.ref, prove_);
        if (!zachodzi) continue;
        // The relation decides p, and with it g.
        const std::string wynik = *zachodzi ? p : "n" + p;
        if (wynik == g) {
            przedstawienie_faktow(app_);
            przedstawienie_zmiennych(app_);
            komunikat(app_, g);
            if (rozszerzone)
                wyjasnienie_model_relacyjny_r(app_, m.numer, g);
            else
                wyjasnienie_model_relacyjny(app_, m.numer, g);
            pamietaj_wstecz(app_, g);
            w_.numer_prawda.push_back({m.numer, g});
            s_.model_stosowany.push_back(m.numer);
            return true;
        }
        pamietaj_wstecz(app_, wynik);
        w_.numer_nieprawda.push_back({m.numer, g});
        s_.model_stosowany.push_back(m.numer);
        return false;
    }
    // A model that alone could decide p but may not be applied leaves the
    // run without a way on.
    for (const auto& m : modele) {
        if (w_.modelsInProgress.count(m.numer)) continue;
        InProgress t(w_.modelsInProgress, m.numer);
        if (!sprawdz(app_, m.warunek, prove_) && !inne_warunki_stosowania_modelu(app_, m.numer, p))
            blokowanie(app_, m.numer);
    }
    return std::nullopt;
}

// ---- WHY? ----

/// The first basic or extended model whose go-ahead condition is c.
std::optional<kb::Store::ModelRef> model_z_warunkiem(const AppState& app, const std::string& c) {
    using Kind = kb::Store::ModelRef::Kind;
    const auto& m = app.store.modelBase();
    for (std::size_t i = 0; i < m.model_b.size(); ++i)
        if (m.model_b[i].warunek == c) return kb::Store::ModelRef{Kind::Basic, i};
    for (std::size_t i = 0; i < m.model_e.size(); ++i)
        if (m.model_e[i].warunek == c) return kb::Store::ModelRef{Kind::Extended, i};
    return std::nullopt;
}

/// Explains a model not applied yet: a relational model by its conclusion,
/// an arithmetic one only once its result has a value to show.
void wyjasnij_model(AppState& app, kb::Store::ModelRef ref) {
    using Kind = kb::Store::ModelRef::Kind;
    const auto& m = app.store.modelBase();
    const std::int32_t n = app.store.modelNumber(ref);
    const std::string& wynik = app.store.modelResult(ref);
    if (ref.kind == Kind::Basic && jest_relacja(m.model_b[ref.index].operacja)) {
        wyjasnienie_model_relacyjny(app, n, wynik);
        return;
    }
    if (ref.kind == Kind::Extended && jest_model_e_relacyjny(m.model_e[ref.index])) {
        wyjasnienie_model_relacyjny_r(app, n, wynik);
        return;
    }
    for (const auto& z : app.chaining.zmienna_ustalona)
        if (z.argument == wynik) {
            if (ref.kind == Kind::Basic)
                wyjasnienie_model_matematyczny(app, n, wynik, z.wartosc);
            else
                wyjasnienie_model_matematyczny_2(app, n, wynik, z.wartosc);
            return;
        }
}

void uzasadnienie(AppState& app, const std::string& c) {
    const BackwardState& w = app.chaining.backward;
    if (auto model = model_z_warunkiem(app, c)) {
        wyjasnij_model(app, *model);
        przedstawienie_faktow_dla_wyjasnienia(app);
        app.report.piszcr();
        przebieg_wnioskowania_reguly(app);
        przebieg_wnioskowania_modele(app);
        return;
    }
    if (!w.regula_stosowana.empty())
        if (const kb::Rule* r = app.store.ruleByNumber(w.regula_stosowana.back()))
            wyjasnienie_regula(app, r->numer, r->wniosek, r->warunki, r->wniosek);
    przedstawienie_faktow_dla_wyjasnienia(app);
    app.report.piszcr();
    przebieg_wnioskowania_reguly(app);
}

/// wyjasnij: processes the answer to the question just put.
bool wyjasnij(AppState& app) {
    BackwardState& w = app.chaining.backward;
    auto& r = app.report;
    const std::string c = w.warunek_dopytywalny_testowany.value_or("");
    if (w.odpowiedz == 3) {
        r.pisz("    WHY?");
        uzasadnienie(app, c);
        r.pisz("    ");
        r.pisz(c + "?");
        w.odpowiedz = app.port.yesNo("Choose:", c + "?") == port::kYes ? 1 : 2;
    }
    const bool tak = w.odpowiedz == 1;
    r.pisz(kOdstep);
    r.pisz(tak ? "    YES" : "    NO");
    r.piszcr();
    r.piszcr();
    pamietaj_wstecz(app, tak ? c : kb::negacja(c));
    w.odpowiedz.reset();
    w.warunek_dopytywalny_testowany.reset();
    return tak;
}

/// The record of a literal in rbd_wstecz, constraints left out.
enum class Recorded { New, Already, Refused };

Recorded zapisz(ChainingState& s, const std::string& l) {
    BackwardState& w = s.backward;
    auto dodaj = [&](const std::string& x) {
        s.rbd_wstecz.push_back(x);
        w.established.insert(x);
    };
    if (kb::jest_negacja(l)) {
        if (w.established.count(l.substr(1))) return Recorded::Refused;
        if (w.established.count(l)) return Recorded::Already;
        dodaj(l);
        return Recorded::New;
    }
    if (w.established.count(l)) return Recorded::Already;
    const std::string nl = "n" + l;
    if (w.established.erase(nl)) std::erase(s.rbd_wstecz, nl);
    dodaj(l);
    return Recorded::New;
}

/// The literals a newly established one makes true through the constraints,
/// each with whether it is a negation the constraint base produced.
std::vector<std::pair<std::string, bool>> skutki(const AppState& app, const std::string& l) {
    std::vector<std::pair<std::string, bool>> out;
    const bool neg = kb::jest_negacja(l);
    const std::string p = neg ? l.substr(1) : l;
    for (const auto& k : app.store.constraints()) {
        if (!element(p, k.warunki)) continue;
        for (const auto& x : k.warunki) {
            if (x == p) continue;
            if (!neg)
                out.emplace_back(kb::negacja(x), true);
            else if (k.warunki.size() == 2)
                out.emplace_back(x, false);
        }
    }
    return out;
}

}  // namespace

// ---- recording ----

bool pamietaj_wstecz(AppState& app, const std::string& literal) {
    const Recorded z = zapisz(app.chaining, literal);
    if (z == Recorded::New) uzupelnij_ograniczenia(app, literal);
    return z != Recorded::Refused;
}

void uzupelnij_ograniczenia(AppState& app, const std::string& literal) {
    // Each consequence is completed before the next one is taken, as nested
    // calls would do it, but on a stack of our own: constraints may chain
    // far.
    struct Frame {
        std::vector<std::pair<std::string, bool>> skutki;
        std::size_t nastepny = 0;
    };
    ChainingState& s = app.chaining;
    std::vector<Frame> stos{{skutki(app, literal)}};
    while (!stos.empty()) {
        Frame& r = stos.back();
        if (r.nastepny == r.skutki.size()) {
            stos.pop_back();
            continue;
        }
        const auto [l, zanegowany] = r.skutki[r.nastepny++];
        if (zapisz(s, l) != Recorded::New) continue;
        if (zanegowany) s.zanegowany_warunek_z_bazy_ograniczen.push_back(l);
        stos.push_back({skutki(app, l)});
    }
}

// ---- questions and announcements ----

bool pytaj(AppState& app, const std::string& warunek) {
    BackwardState& w = app.chaining.backward;
    const std::string pytanie = warunek + "?";
    app.report.pisz(pytanie);
    w.odpowiedz = app.port.ask(kPytanie, pytanie, {"&YES", "&NO", "&WHY?"});
    w.warunek_dopytywalny_testowany = warunek;
    return wyjasnij(app);
}

void komunikat(AppState& app, const std::string& goal) {
    auto& r = app.report;
    if (app.chaining.hipoteza == goal) {
        r.pisz("The main hypothesis " + goal + " is resolved.");
        r.piszcr();
        app.port.note("Main hypothesis", "The main hypothesis \n    " + goal + "\nis verified.");
        return;
    }
    r.pisz("The auxiliary hypothesis " + goal + " is resolved.");
    app.port.note("Auxiliary hypothesis", "The auxiliary hypothesis \n     " + goal + "\nis verified.");
}

void blokowanie(AppState& app, std::int32_t numer) {
    const std::string n = std::to_string(numer);
    app.report.pisz("The singular relational model  " + n + " with unsatisfied go-ahead condition has been removed.");
    app.report.piszcr();
    app.port.note("Attention - error!", "The singular relational model   " + n +
                                            "\nwith unsatisfied go-ahead condition " + "\nhas been removed." +
                                            "\n\nThe model base contains errors or " +
                                            "\nis processing wrong argument values." +
                                            "\nBackward chaining has been stopped." +
                                            "\n\nLoad the corrected base or provide it" +
                                            "\nwith acceptable argument values.");
    app.outcomes.push_back(Outcome::SingularModelRemoved);
    // Until the model base is loaded again.
    kb::ModelBase bez = app.store.modelBase();
    std::erase_if(bez.model_b, [&](const kb::ModelB& m) { return m.numer == numer && jest_relacja(m.operacja); });
    std::erase_if(bez.model_e, [&](const kb::ModelE& m) { return m.numer == numer && jest_model_e_relacyjny(m); });
    bez.exclusive_models.clear();   // kept by the store as they are
    app.store.setModelBase(std::move(bez));
    throw RunStopped{};
}

// ---- WHY? texts ----

void przebieg_wnioskowania_reguly(AppState& app) {
    const auto& stosowane = app.chaining.backward.regula_stosowana;
    std::vector<std::string> linie;
    for (auto it = stosowane.rbegin(); it != stosowane.rend(); ++it) {
        const kb::Rule* r = app.store.ruleByNumber(*it);
        const std::string wiersz = "From rule " + std::to_string(*it) + " may be deduced: " + (r ? r->wniosek : "");
        app.report.pisz(wiersz + ".");
        app.report.piszcr();
        linie.push_back(wiersz + ". ");
    }
    if (!linie.empty()) app.port.message("", linie);
}

void przebieg_wnioskowania_modele(AppState& app) {
    const auto& stosowane = app.chaining.model_stosowany;
    std::vector<std::string> linie;
    for (auto it = stosowane.rbegin(); it != stosowane.rend(); ++it) {
        const auto ref = app.store.modelByNumber(*it);
        const std::string reszta =
            std::to_string(*it) + " may be deduced: " + (ref ? app.store.modelResult(*ref) : std::string());
        app.report.pisz("From model  " + reszta + ".");
        app.report.piszcr();
        linie.push_back("From model " + reszta + ". ");
    }
    if (!linie.empty()) app.port.message("", linie);
}

void przedstawienie_faktow_dla_wyjasnienia(AppState& app) {
    const ChainingState& s = app.chaining;
    auto& r = app.report;
    std::vector<std::string> linie;
    auto wiersz = [&](const std::string& t) {
        r.pisz(t);
        r.piszcr();
        linie.push_back(t);
    };
    r.pisz(kFaktyUstalone);
    r.piszcr();
    for (const auto& l : s.rbd_wstecz)
        if (l != "end" && l != "nend") wiersz("    " + l);
    wiersz(kArgumentyUstalone);
    for (const auto& z : s.zmienna_ustalona) {
        r.pisz("    " + z.argument + " = ");
        r.piszreal(z.wartosc);
        r.piszcr();
        linie.push_back("    " + z.argument + " = " + reports::formatReal(z.wartosc));
    }
    if (s.highDetail()) app.port.message(kFaktyUstalone, linie);
}

// ---- the search ----

bool weryfikowanie_hipotezy_cd(AppState& app, const std::string& goal) {
    Search w(app);
    return w.cel(goal).run();
}

// ---- the command ----

namespace {

bool waska(const AppState& app) { return app.chaining.backward.opcja == 1; }

void ogloszenie(AppState& app, const std::string& h) {
    auto& r = app.report;
    r.pisz(waska(app) ? "The narrow-sense hypothesis:   " : "The wide-sense hypothesis:   ");
    r.piszcr();
    r.pisz("  " + h);
    r.piszcr();
    r.pisz("is verified.");
    r.piszcr();
    r.piszcr();
    app.port.note(port::titles::kAttention,
                  std::string("\n     ") + (waska(app) ? "The narrow-sense hypothesis:  " : "The wide-sense hypothesis:  ") +
                      h + "\nis verified.");
    app.chaining.hipoteza = h;
}

void oferty(AppState& app, std::int32_t numer, const std::string& wniosek) {
    udziel_rady(app, numer, wniosek);
    wyswietl_grafike(app, numer, wniosek);
    przesluchaj_melodie(app, numer, wniosek);
}

/// The summary note, every fact and value, then (after the caller's closing
/// texts) the summary and report offers.
void podsumowanie_przebiegu(AppState& app) {
    app.port.note("Summary", "A summary of backward chaining follows");
    app.chaining.szczegolowosc = Detail::High;
    przedstawienie_faktow(app);
    przedstawienie_zmiennych(app);
}

void potwierdzona(AppState& app, const std::string& h, std::int32_t numer) {
    auto& r = app.report;
    const bool mo = !jest_baza_mo(app).empty();
    const std::string nazwa = app.store.wyroznik.value_or("");
    const std::string nazwa_duza = kb::upperAscii(nazwa);
    const char* typ = waska(app) ? "The narrow-sense hypothesis:" : "The wide-sense hypothesis:";
    r.pisz(typ);
    r.piszcr();
    r.pisz("  " + h);
    r.piszcr();
    r.pisz(std::string(waska(app) && !mo ? "is true for  the knowledge base " : "is true for the knowledge base ") +
           nazwa + ",");
    r.piszcr();
    r.pisz("declared facts and argument values.");
    r.piszcr();
    r.piszcr();
    app.port.message("Result of backward chaining",
                     {std::string(typ) + "  ", "   " + h, "is true for the knowledge base ", "   " + nazwa,
                      "declared facts and argument values", "on the strength of rule " + std::to_string(numer) + "."});
    oferty(app, numer, h);
    podsumowanie_przebiegu(app);
    r.pisz("This is all that has been inferred from the Knowledge Base " + nazwa_duza);
    r.piszcr();
    r.pisz("from declared facts and argument values");
    r.piszcr();
    r.pisz("while successfully backward chaining for hypothesis:");
    r.piszcr();
    r.pisz(h);
    std::string koniec;
    if (!waska(app))
        koniec = "This is all that has been inferred from the Knowledge Base  " + nazwa_duza +
                 "\nfrom declared facts and argument values\nwhile successfully backward chaining for hypothesis\n    " +
                 h;
    else if (mo)
        koniec = "This is all that has been inferred \nfrom the Knowledge Base\n   " + nazwa_duza +
                 ",\nfrom declared facts and argument values\nwhile successfully backward chaining for "
                 "\nhypothesis\n    " +
                 h;
    else
        koniec = "This is all that has been inferred \nfrom the Knowledge Base\n   " + nazwa_duza +
                 "\nfrom declared facts and argument values\nwhile successfully backward chaining for hypothesis\n    " +
                 h;
    app.port.note("End of backward chaining", koniec);
    reports::podsumowanie(app);
    reports::raport(app);
}

void obalona(AppState& app, const std::string& h, std::int32_t numer) {
    auto& r = app.report;
    const std::string nazwa = app.store.wyroznik.value_or("");
    const std::string nazwa_duza = kb::upperAscii(nazwa);
    r.pisz("The hypothesis:  " + h);
    r.piszcr();
    r.pisz("is false in view of the knowledge base: " + nazwa_duza + ", ");
    r.piszcr();
    r.pisz("declared facts and argument values.");
    r.piszcr();
    r.piszcr();
    app.port.message("End of backward chaining",
                     {"The  hypothesis: ", "    " + h, "is false in view of the knowledge base ", "    " + nazwa,
                      "declared facts and argument values."});
    oferty(app, numer, kb::negacja(h));
    podsumowanie_przebiegu(app);
    r.pisz("Thats all that has been inferred from Knowledge Base " + nazwa_duza);
    r.piszcr();
    r.pisz("from declared facts and argument values while unsuccessfully backward chaining for hypothesis");
    r.piszcr();
    r.pisz("   " + h + ".");
    app.port.note("End of backward chaining",
                  "This is all that has been inferred \nfrom the Knowledge Base\n   " + nazwa_duza +
                      "\nfrom declared facts and argument values\nwhile unsuccessfully backward chaining \nfor "
                      "hypothesis\n   " +
                      h);
    reports::podsumowanie(app);
    reports::raport(app);
}

/// The verdict after the search for h; true when h is verified.
bool werdykt(AppState& app, const std::string& h, bool udowodniona) {
    const BackwardState& w = app.chaining.backward;
    if (udowodniona)
        if (const NumberedLiteral* n = numer_dla(w.numer_prawda, h)) {
            potwierdzona(app, h, n->numer);
            return true;
        }
    if (const NumberedLiteral* n = numer_dla(w.numer_nieprawda, h); n && !app.chaining.exclusiveFactsFound())
        obalona(app, h, n->numer);
    return false;
}

/// weryfikowanie_hipotezy_cd_0: the bases' facts and known values, the
/// rules concluding "end", then the search for h and its verdict.
bool weryfikowanie_hipotezy_cd_0(AppState& app, const std::string& h) {
    ChainingState& s = app.chaining;
    for (const auto& f : app.store.facts()) pamietaj_wstecz(app, f.warunek);
    for (const auto& f : app.store.modelBase().m_fact) pamietaj_wstecz(app, f.warunek);
    for (const auto& a : app.store.modelBase().argument_known) s.zmienna_ustalona.push_back({a.argument, a.wartosc});
    port::Progress progress(app.port, port::texts::kBackwardChaining.label, app.store.rules().size());
    if (h != "end" && !app.store.ruleIndexesByConclusion("end").empty() && !ustalony(app, "end"))
        Search(app, &progress).reguly_end().run();
    const bool udowodniona = Search(app, &progress).cel(h).run();
    progress.finish();
    return werdykt(app, h, udowodniona);
}

}  // namespace

Names wyznacz_liste_hipotez(const AppState& app, int opcja) {
    const Askables& a = app.askables;
    // wyznacz_liste_wnioskow_reguł_i_modeli
    Names lista = kb::texts(a.lista_wnioskow_regul);
    if (!jest_baza_mo(app).empty()) lista = suma_zbiorow(lista, a.lista_wnioskow_modeli.value_or(Names{}));
    // Narrow sense: the final conclusions, which no rule uses as a condition.
    if (opcja == 1) lista = roznica_zbiorow(lista, kb::texts(a.lista_warunkow));
    return sortuj(roznica_zbiorow(lista, {"end"}));
}

bool weryfikowanie_hipotezy(AppState& app, const std::string& hipoteza) {
    if (jest_fakt(app)) {
        przedstawienie_faktow_pierwotnych(app);
        if (app.chaining.exclusiveFactsFound()) return false;
    }
    if (jest_m_fakt(app)) {
        przedstawienie_m_faktow_pierwotnych(app);
        if (app.chaining.exclusiveFactsFound()) return false;
    }
    if (jest_argument_znany(app)) przedstawienie_zmiennych_pierwotnych(app);
    return weryfikowanie_hipotezy_cd_0(app, hipoteza);
}

bool opcja_z_menu_testowania(AppState& app, int opcja) {
    if (opcja != 1 && opcja != 2) return false;
    app.chaining.backward.opcja = opcja;
    const Names lista = wyznacz_liste_hipotez(app, opcja);
    const auto i = app.port.pickFact(opcja == 1 ? "Narrow-sense hypotheses\nChoose a narrow-sense hypothesis!"
                                                : "Wide-sense hypothesis\nChoose a wide-sense hypothesis!",
                                     lista);
    if (!i) return false;
    const std::string h = lista[*i];
    ogloszenie(app, h);
    return weryfikowanie_hipotezy(app, h);
}

void wnioskowanie_wstecz(AppState& app) {
    if (!bramka_wnioskowania(app)) return;
    przygotowanie_przebiegu(app, Kierunek::Wstecz);
    try {
        // Stopped, the run ends at once, as a cancelled dialog ends it.
        port::runToEnd(app.port, app.messages, port::texts::kBackwardChaining,
                       [&] { opcja_z_menu_testowania(app, app.port.typeOfHypothesis()); });
    } catch (const RunStopped&) {
        // blokowanie has told the user.
    }
}

}  // namespace torv::engine
