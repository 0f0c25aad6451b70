// Model evaluation.
#include "engine/models.h"

#include <deque>
#include <unordered_set>
#include <variant>

#include "engine/arithmetic.h"
#include "engine/askables.h"
#include "engine/model_explanations.h"
#include "engine/support.h"
#include "state/report_buffer.h"
#include "state/app_state.h"

namespace torv::engine {

namespace {

using ModelRef = kb::Store::ModelRef;
using Kind = ModelRef::Kind;

const char* const kErrorInData = "Error in data";

/// Removes the first determined value of the argument.
void usun_ustalona(ChainingState& s, std::string_view argument) {
    for (auto it = s.zmienna_ustalona.begin(); it != s.zmienna_ustalona.end(); ++it)
        if (it->argument == argument) {
            s.zmienna_ustalona.erase(it);
            s.modelIndex.valueRemoved();
            return;
        }
}

bool arytmetyczny(const kb::Store& st, ModelRef ref) {
    const auto& m = st.modelBase();
    switch (ref.kind) {
    case Kind::Basic: return jest_model_b_arytmetyczny(m.model_b[ref.index]);
    case Kind::Extended: return jest_model_e_arytmetyczny(m.model_e[ref.index]);
    case Kind::Linear:
    case Kind::Polynomial: return true;
    }
    return false;
}

/// The argument names of an arithmetic model, in the order they are
/// evaluated: both arguments; the list; the coefficients, then the
/// variables; the coefficients, then the variable.
Names nazwy_argumentow(const kb::Store& st, ModelRef ref) {
    const auto& m = st.modelBase();
    switch (ref.kind) {
    case Kind::Basic: return {m.model_b[ref.index].arg1, m.model_b[ref.index].arg2};
    case Kind::Extended: return m.model_e[ref.index].argumenty;
    case Kind::Linear: {
        const auto& l = m.model_lin[ref.index];
        Names n = l.wspolczynniki;
        n.insert(n.end(), l.zmienne.begin(), l.zmienne.end());
        return n;
    }
    case Kind::Polynomial: {
        const auto& p = m.model_poly[ref.index];
        Names n = p.wspolczynniki;
        n.push_back(p.zmienna);
        return n;
    }
    }
    return {};
}

/// What the model's operation is called in the note about a value that is
/// not defined.
std::string nazwa_operacji(const kb::Store& st, ModelRef ref) {
    const auto& m = st.modelBase();
    switch (ref.kind) {
    case Kind::Basic: return "the operation '" + m.model_b[ref.index].operacja + "'";
    case Kind::Extended: return "the operation '" + m.model_e[ref.index].operacja + "'";
    case Kind::Linear: return "the linear sum";
    case Kind::Polynomial: return "the polynomial";
    }
    return {};
}

/// The values evaluated first to last, as wyznacz_liste hands them on:
/// last name first.
std::vector<double> odwrocone(std::vector<double>::const_iterator b, std::vector<double>::const_iterator e) {
    return {std::make_reverse_iterator(e), std::make_reverse_iterator(b)};
}

/// Computes the model from its argument values (in evaluation order).
Wynik policz(const kb::Store& st, ModelRef ref, const std::vector<double>& v) {
    const auto& m = st.modelBase();
    switch (ref.kind) {
    case Kind::Basic: return wykonaj(v[0], v[1], m.model_b[ref.index].operacja);
    case Kind::Extended: return wykonaj_r(odwrocone(v.begin(), v.end()), m.model_e[ref.index].operacja);
    case Kind::Linear: {
        const std::size_t k = m.model_lin[ref.index].wspolczynniki.size();
        return wykonaj_liniowy(odwrocone(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(k)),
                               odwrocone(v.begin() + static_cast<std::ptrdiff_t>(k), v.end()));
    }
    case Kind::Polynomial: {
        const auto& p = m.model_poly[ref.index];
        // Reversed by wyznacz_liste and back by odwracanie_r: the i-th
        // coefficient as written meets the i-th power as written.
        std::vector<double> wsp = odwracanie_r(odwrocone(v.begin(), v.end() - 1));
        return wykonaj_wielomianowy(p.potegi, wsp, v.back());
    }
    }
    return {};
}

/// The division and square-root faults are told every time; a value that is
/// not defined is told once per model and run, so that passes retrying the
/// model do not repeat it.
void zglos(AppState& app, ModelRef ref, const Wynik& w) {
    if (w.fault == Wynik::Fault::DivisionByZero) {
        app.messages.write("Attempt to divide by 0!\n");
        app.port.note(port::titles::kAttention, "Attempt to divide by 0!!");
    } else if (w.fault == Wynik::Fault::NegativeSqrt) {
        app.port.note(port::titles::kAttention, "Square root from negative real!");
    }
    if (w.value || w.undefined.empty()) return;
    const std::int32_t n = app.store.modelNumber(ref);
    if (!app.chaining.modelsWithoutValue.insert(n).second) return;
    app.port.note(port::titles::kAttention, "Model " + std::to_string(n) + " not applied: " +
                                                nazwa_operacji(app.store, ref) + " has no value here (" +
                                                w.undefined + ").");
}

void wyjasnij(AppState& app, ModelRef ref, double v) {
    const std::int32_t n = app.store.modelNumber(ref);
    const std::string& r = app.store.modelResult(ref);
    switch (ref.kind) {
    case Kind::Basic: wyjasnienie_model_matematyczny(app, n, r, v); break;
    case Kind::Extended: wyjasnienie_model_matematyczny_2(app, n, r, v); break;
    case Kind::Linear: wyjasnienie_model_matematyczny_liniowy(app, n, r, v); break;
    case Kind::Polynomial: wyjasnienie_model_matematyczny_wielomianowy(app, n, r, v); break;
    }
}

/// Demand-driven evaluation without recursion on the call stack: a model
/// that needs an argument computed by another model applies that model
/// first, however long the chain. Frames are taken in the order a recursive
/// descent would take them, so questions and results come in the same order.
class Evaluation {
public:
    Evaluation(AppState& app, const ConditionProver& prove)
        : app_(app), prove_(prove), s_(app.chaining), st_(app.store) {}

    std::optional<double> wartosc(const std::string& argument) { return uruchom(Goal{argument}); }
    std::optional<double> zastosuj(ModelRef ref) { return uruchom(Application{ref}); }

    bool szukanie_blednych_danych();

private:
    /// An argument whose value is sought (oblicz).
    struct Goal {
        explicit Goal(std::string a) : argument(std::move(a)) {}
        std::string argument;
        bool rozpoczety = false;
        std::vector<ModelRef> kandydaci;   // arithmetic models computing it
        std::size_t nastepny = 0;
    };
    /// An arithmetic model being applied: its arguments in evaluation order.
    struct Application {
        explicit Application(ModelRef r) : ref(r) {}
        ModelRef ref;
        bool rozpoczete = false;
        bool w_toku = false;               // this frame marked the model in progress
        Names nazwy;
        std::vector<double> wartosci;
    };
    using Frame = std::variant<Goal, Application>;

    /// Runs frames until the one pushed here returns. Re-entered (from the
    /// erroneous-data check) on the same stack, so models in progress stay
    /// known to the nested evaluation.
    std::optional<double> uruchom(Frame start) {
        const std::size_t dno = stos_.size();
        stos_.push_back(std::move(start));
        std::optional<double> wynik;
        bool powrot = false;   // `wynik` holds what the frame above returned
        while (stos_.size() > dno) {
            const std::size_t gora = stos_.size() - 1;
            std::optional<Frame> nowa;
            std::optional<std::optional<double>> koniec;
            if (auto* c = std::get_if<Goal>(&stos_[gora]))
                krok(*c, powrot, wynik, nowa, koniec);
            else
                krok(std::get<Application>(stos_[gora]), powrot, wynik, nowa, koniec);
            powrot = false;
            if (nowa) {
                stos_.push_back(std::move(*nowa));
            } else if (koniec) {
                if (auto* z = std::get_if<Application>(&stos_.back()); z && z->w_toku)
                    w_toku_.erase(st_.modelNumber(z->ref));
                stos_.pop_back();
                wynik = *koniec;
                powrot = true;
            }
        }
        return wynik;
    }

    void krok(Goal& c, bool powrot, const std::optional<double>& wynik, std::optional<Frame>& nowa,
              std::optional<std::optional<double>>& koniec) {
        if (!c.rozpoczety) {
            c.rozpoczety = true;
            if (auto v = bez_modelu(c.argument); v.index() != 0) {
                koniec = v.index() == 1 ? std::optional<double>(std::get<1>(v)) : std::nullopt;
                return;
            }
            for (ModelRef ref : st_.modelsByResult(c.argument))
                if (arytmetyczny(st_, ref)) c.kandydaci.push_back(ref);
        } else if (powrot && wynik) {
            koniec = wynik;
            return;
        }
        while (c.nastepny < c.kandydaci.size()) {
            const ModelRef ref = c.kandydaci[c.nastepny++];
            if (!sprawdz(app_, st_.modelGoAhead(ref), prove_)) continue;
            // A model further down computed the argument after all.
            if (const auto* z = wartosc_ustalona(s_, c.argument)) {
                koniec = z->wartosc;
                return;
            }
            const std::int32_t n = st_.modelNumber(ref);
            // A model already being applied lower on the stack needs this
            // argument: applying it again would never end.
            if (model_zastosowany(s_, n) || w_toku_.count(n)) continue;
            nowa = Application{ref};
            return;
        }
        koniec = std::optional<double>();
    }

    void krok(Application& z, bool powrot, const std::optional<double>& wynik, std::optional<Frame>& nowa,
              std::optional<std::optional<double>>& koniec) {
        if (!z.rozpoczete) {
            z.rozpoczete = true;
            const std::int32_t n = st_.modelNumber(z.ref);
            if (model_zastosowany(s_, n) || w_toku_.count(n) || wartosc_ustalona(s_, st_.modelResult(z.ref))) {
                koniec = std::optional<double>();
                return;
            }
            w_toku_.insert(n);
            z.w_toku = true;
            z.nazwy = nazwy_argumentow(st_, z.ref);
        } else if (powrot) {
            if (!wynik) {
                koniec = std::optional<double>();
                return;
            }
            z.wartosci.push_back(*wynik);
        }
        if (z.wartosci.size() < z.nazwy.size()) {
            nowa = Goal{z.nazwy[z.wartosci.size()]};
            return;
        }
        koniec = zakoncz(z);
    }

    /// Computes the model from its values, then presents, explains and
    /// records it.
    std::optional<double> zakoncz(const Application& z) {
        const Wynik w = policz(st_, z.ref, z.wartosci);
        zglos(app_, z.ref, w);
        if (!w.value) return std::nullopt;
        if (z.ref.kind != Kind::Basic) app_.report.piszcr();
        przedstawienie_zmiennych(app_);
        wyjasnij(app_, z.ref, *w.value);
        const std::int32_t n = st_.modelNumber(z.ref);
        s_.model_stosowany.push_back(n);
        s_.zmienna_ustalona.push_back({st_.modelResult(z.ref), *w.value});
        return w.value;
    }

    /// The alternatives that need no model: a literal, a typed value, a
    /// determined value. monostate when the models are to be tried; false
    /// when no value can be had now.
    std::variant<std::monostate, double, bool> bez_modelu(const std::string& a) {
        const bool wynik_modelu = !st_.modelsByResult(a).empty();
        const ZmiennaUstalona* z = wartosc_ustalona(s_, a);
        if (!wynik_modelu && !z) {
            if (czy_liczba(a)) {
                // A literal too large for a real has no value.
                const auto v = wartosc_z_tekstu(a);
                if (!v) return false;
                s_.zmienna_ustalona.push_back({a, *v});
                return *v;
            }
            if (auto v = zapytaj(a)) return *v;
            return false;
        }
        if (z) return z->wartosc;
        return std::monostate{};
    }

    /// The "Argument value" dialog. A text that is not a number records
    /// nothing; so does a value that an "Error in data" model rejects.
    std::optional<double> zapytaj(const std::string& a) {
        auto& r = app_.report;
        r.pisz("Declare value of argument:");
        r.pisz(a);
        r.piszcr();
        const auto tekst = app_.port.argumentValue(a);
        if (!tekst) return std::nullopt;
        const auto v = wartosc_z_tekstu(*tekst);
        if (!v) return std::nullopt;
        r.pisz(a);
        r.pisz("=");
        r.piszreal(*v);
        r.piszcr();
        r.piszcr();
        s_.zmienna_ustalona.push_back({a, *v});
        if (szukanie_blednych_danych()) return std::nullopt;
        return v;
    }

    AppState& app_;
    const ConditionProver& prove_;
    ChainingState& s_;
    const kb::Store& st_;
    std::deque<Frame> stos_;   // a deque: frames stay put while nested runs push
    std::unordered_set<std::int32_t> w_toku_;   // models on the stack
};

bool Evaluation::szukanie_blednych_danych() {
    const auto& m = st_.modelBase();
    for (const auto& x : m.model_b) {
        if (x.wynik != kErrorInData || !jest_relacja(x.operacja)) continue;
        if (!sprawdz(app_, x.warunek, prove_) || model_zastosowany(s_, x.numer)) continue;
        const auto a = wartosc(x.arg1);
        if (!a) continue;
        const auto b = wartosc(x.arg2);
        // A value asked on the way may have been rejected by this very model.
        if (!b || model_zastosowany(s_, x.numer) || !relacja(x.operacja, *a, *b)) continue;
        przedstawienie_faktow(app_);
        przedstawienie_zmiennych(app_);
        wyjasnienie_model_relacyjny(app_, x.numer, kErrorInData);
        usun_ustalona(s_, x.arg1);
        usun_ustalona(s_, x.arg2);
        s_.model_stosowany.push_back(x.numer);
        app_.port.note("Error in data!", "Erroneous data is removed. Continue chaining and input corrected data when asked.");
        return true;
    }
    for (const auto& x : m.model_e) {
        if (x.wynik != kErrorInData || !jest_model_e_relacyjny(x)) continue;
        if (!sprawdz(app_, x.warunek, prove_) || model_zastosowany(s_, x.numer)) continue;
        std::vector<double> v;
        for (const auto& a : x.argumenty) {
            auto w = wartosc(a);
            if (!w) break;
            v.push_back(*w);
        }
        if (v.size() != 3 || model_zastosowany(s_, x.numer) || !relacja_r(x.operacja, v[0], v[1], v[2])) continue;
        przedstawienie_faktow(app_);
        przedstawienie_zmiennych(app_);
        wyjasnienie_model_relacyjny_r(app_, x.numer, kErrorInData);
        usun_ustalona(s_, x.argumenty[0]);
        usun_ustalona(s_, x.argumenty[2]);
        s_.model_stosowany.push_back(x.numer);
        app_.port.note("Error in data!",
                       "Erroneous data is removed. Continue chaining and declare corrected data when asked.");
        return true;
    }
    return false;
}

}  // namespace

const ZmiennaUstalona* wartosc_ustalona(const ChainingState& s, std::string_view argument) {
    return s.modelIndex.determined(s.zmienna_ustalona, argument);
}

bool model_zastosowany(const ChainingState& s, std::int32_t numer) {
    return s.modelIndex.applied(s.model_stosowany, numer);
}

bool ModelIndex::applied(const std::vector<std::int32_t>& stosowane, std::int32_t numer) {
    if (stosowane.size() < stosowane_) {
        stosowane_ = 0;
        zastosowane_.clear();
    }
    for (; stosowane_ < stosowane.size(); ++stosowane_) zastosowane_.insert(stosowane[stosowane_]);
    return zastosowane_.count(numer) != 0;
}

const ZmiennaUstalona* ModelIndex::determined(const std::vector<ZmiennaUstalona>& ustalone,
                                              std::string_view argument) {
    if (ustalone.size() < ustalone_) valueRemoved();
    for (; ustalone_ < ustalone.size(); ++ustalone_) pierwsza_.try_emplace(ustalone[ustalone_].argument, ustalone_);
    auto it = pierwsza_.find(argument);
    if (it == pierwsza_.end()) return nullptr;
    return &ustalone[it->second];
}

bool jest_model_b_arytmetyczny(const kb::ModelB& m) {
    return !jest_relacja(m.operacja) && !jest_relacja_podwojna(m.operacja);
}
bool jest_model_e_arytmetyczny(const kb::ModelE& m) {
    return !jest_relacja(m.operacja) && !jest_relacja_podwojna(m.operacja);
}
bool jest_model_e_relacyjny(const kb::ModelE& m) {
    return jest_relacja_podwojna(m.operacja) && m.argumenty.size() == 3;
}

std::optional<double> oblicz(AppState& app, const std::string& argument, const ConditionProver& prove) {
    return Evaluation(app, prove).wartosc(argument);
}

bool sprawdz(AppState& app, const std::string& g, const ConditionProver& prove) {
    const ChainingState& s = app.chaining;
    if (g == "No condition") return true;
    const bool hipoteza = s.hipoteza.has_value();
    if (!hipoteza && s.rbd.decided(g)) return true;
    if (s.rbd.has(0, g)) return true;
    if (element(g, s.rbd_wstecz)) return true;
    const std::string dopelnienie = kb::negacja(g);
    if (!hipoteza && s.rbd.decided(dopelnienie)) return false;
    if (element(dopelnienie, s.rbd_wstecz)) return false;
    if (s.askableSet.contains(g) || s.askableSet.contains(dopelnienie)) return pytaj_o_warunek_stosowania(app, g);
    if (hipoteza && prove) return prove(g);
    return false;
}

std::optional<std::vector<double>> wyznacz_liste(AppState& app, const Names& argumenty,
                                                const ConditionProver& prove) {
    Evaluation o(app, prove);
    std::vector<double> v;
    for (const auto& a : argumenty) {
        auto w = o.wartosc(a);
        if (!w) return std::nullopt;
        v.push_back(*w);
    }
    return odwracanie_r(std::move(v));
}

std::vector<double> odwracanie_r(std::vector<double> lista) { return {lista.rbegin(), lista.rend()}; }

bool szukanie_blednych_danych(AppState& app, const ConditionProver& prove) {
    return Evaluation(app, prove).szukanie_blednych_danych();
}

std::optional<double> zastosuj_model_arytmetyczny(AppState& app, kb::Store::ModelRef model,
                                                 const ConditionProver& prove) {
    if (!arytmetyczny(app.store, model)) return std::nullopt;
    return Evaluation(app, prove).zastosuj(model);
}

std::optional<bool> ocen_model_relacyjny(AppState& app, kb::Store::ModelRef model, const ConditionProver& prove) {
    const auto& m = app.store.modelBase();
    Evaluation o(app, prove);
    if (model.kind == Kind::Basic) {
        const auto& x = m.model_b[model.index];
        if (!jest_relacja(x.operacja)) return std::nullopt;
        const auto a = o.wartosc(x.arg1);
        if (!a) return std::nullopt;
        const auto b = o.wartosc(x.arg2);
        if (!b) return std::nullopt;
        return relacja(x.operacja, *a, *b);
    }
    if (model.kind == Kind::Extended) {
        const auto& x = m.model_e[model.index];
        if (!jest_model_e_relacyjny(x)) return std::nullopt;
        std::vector<double> v;
        for (const auto& a : x.argumenty) {
            auto w = o.wartosc(a);
            if (!w) return std::nullopt;
            v.push_back(*w);
        }
        return relacja_r(x.operacja, v[0], v[1], v[2]);
    }
    return std::nullopt;
}

namespace {
std::optional<std::string> wynik_relacji(const AppState& app, bool zachodzi, const std::string& wniosek) {
    if (zachodzi) return wniosek;
    if (app.chaining.rbd.decided(wniosek)) return std::nullopt;
    return kb::negacja(wniosek);
}
}  // namespace

std::optional<std::string> testuj_relacje(AppState& app, std::string_view r, double a, double b,
                                          const std::string& wniosek) {
    return wynik_relacji(app, relacja(r, a, b), wniosek);
}

std::optional<std::string> testuj_relacje_r(AppState& app, std::string_view r, double a, double b, double c,
                                            const std::string& wniosek) {
    return wynik_relacji(app, relacja_r(r, a, b, c), wniosek);
}

bool inne_warunki_stosowania_modelu(const AppState& app, std::int32_t numer, const std::string& wniosek) {
    const auto& m = app.store.modelBase();
    for (const auto& x : m.model_b)
        if (x.numer != numer && x.wynik == wniosek && jest_relacja(x.operacja)) return true;
    for (const auto& x : m.model_e)
        if (x.numer != numer && x.wynik == wniosek && jest_relacja_podwojna(x.operacja)) return true;
    return false;
}

}  // namespace torv::engine
