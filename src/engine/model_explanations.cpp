// Model explanations.
#include "engine/model_explanations.h"

#include <algorithm>
#include <optional>

#include "engine/arithmetic.h"
#include "state/lists.h"
#include "state/report_buffer.h"
#include "state/app_state.h"

namespace torv::engine {

namespace {

/// The record with this number and display semaphore 1 in one model table.
/// Numbers are unique in a base that passed its checks: the store's index
/// finds the record at once; the table is searched only when the number
/// belongs to a model of another kind too.
template <class T>
const T* z_semaforem(const AppState& app, const std::vector<T>& tabela, kb::Store::ModelRef::Kind kind,
                     std::int32_t numer) {
    if (auto ref = app.store.modelByNumber(numer); ref && ref->kind == kind) {
        const T& m = tabela[ref->index];
        return m.semafor == 1 ? &m : nullptr;
    }
    for (const T& m : tabela)
        if (m.numer == numer && m.semafor == 1) return &m;
    return nullptr;
}

/// Report lines and dialog lines of one explanation, written together.
class Wyjasnienie {
public:
    explicit Wyjasnienie(AppState& app) : r_(app.report) {}
    /// A report line (text, then a line break).
    Wyjasnienie& raport(const std::string& s) {
        r_.pisz(s);
        r_.piszcr();
        return *this;
    }
    Wyjasnienie& cr() {
        r_.piszcr();
        return *this;
    }
    Wyjasnienie& dialog(std::string s) {
        linie_.push_back(std::move(s));
        return *this;
    }
    reports::ReportBuffer& bufor() { return r_; }
    void pokaz(AppState& app, const char* tytul) { app.port.message(tytul, linie_); }

private:
    reports::ReportBuffer& r_;
    std::vector<std::string> linie_;
};

/// An argument written as 0: its text reads as the real number 0.
bool zero(const std::string& a) {
    if (!czy_liczba(a)) return false;
    const auto v = wartosc_z_tekstu(a);
    return v && *v == 0.0;
}

}  // namespace

std::string sprv(double v) { return reports::formatReal(v); }

void wyjasnienie_model_matematyczny(AppState& app, std::int32_t numer, const std::string& wynik, double wartosc) {
    const kb::ModelB* m = z_semaforem(app, app.store.modelBase().model_b, kb::Store::ModelRef::Kind::Basic, numer);
    if (!m) return;
    // The one-argument operations hide their second argument, 0.
    const bool jeden = zero(m->arg2) && m->operacja != "round_to_N";
    const bool przypisanie = jeden && m->operacja == "=";
    const bool zaokraglenie = m->operacja == "round_to_N";
    const std::string naglowek = przypisanie ? "The model states: if the go_ahead condition"
                                             : "The model states: if the go_ahead condition ";
    const std::string wzor = jeden ? "    " + wynik + " = " + m->arg1
                                   : "    " + wynik + " = " + m->arg1 + " " + m->operacja + " " + m->arg2;
    const std::string wniosek = (przypisanie || zaokraglenie) ? "It follows: " : "It follows that: ";
    const std::string wartoscTxt = "    " + wynik + " = " + sprv(wartosc);
    const std::string n = std::to_string(numer);
    Wyjasnienie w(app);
    w.cr()
        .raport("The basic arithmetical model " + n + " is resolved.")
        .raport(naglowek)
        .raport("    " + m->warunek)
        .raport("is true, then")
        .raport(wzor)
        .raport(wniosek)
        .raport(wartoscTxt)
        .cr();
    w.dialog("The basic arithmetical model " + n + " is resolved.")
        .dialog(jeden ? "The model states: if the go_ahead condition " : "The model states: if the go_ahead condition")
        .dialog("    " + m->warunek)
        .dialog("is true, then ")
        .dialog(wzor)
        .dialog(wniosek)
        .dialog(wartoscTxt);
    w.pokaz(app, "Basic arithmetical model explanation");
}

void wyjasnienie_model_matematyczny_2(AppState& app, std::int32_t numer, const std::string& wynik,
                                      double wartosc) {
    const kb::ModelE* m = z_semaforem(app, app.store.modelBase().model_e, kb::Store::ModelRef::Kind::Extended, numer);
    if (!m) return;
    const std::string& op = m->operacja;
    Wyjasnienie w(app);
    w.cr()
        .raport("The extended arithmetical model " + std::to_string(numer) + " is resolved.")
        .raport("The model states: if the go_ahead condition ")
        .raport("    " + m->warunek)
        .raport("is true, then")
        .raport("    " + wynik + " = ");
    w.dialog("The extended arithmetical model " + std::to_string(numer) + " is resolved.")
        .dialog("The model states: ")
        .dialog("if the go_ahead condition: ")
        .dialog("    " + m->warunek)
        .dialog("is true, then ")
        .dialog("    " + wynik + " = ");
    // pisz_dzialania
    if (op == "min_list" || op == "max_list") {
        w.bufor().pisz("      " + op + "  ");
        // The arguments go to the message window only.
        for (const auto& a : m->argumenty) app.messages.write("\n   " + a);
        w.cr();
        w.dialog("       " + op + "  ");
        for (const auto& a : m->argumenty) w.dialog("   " + a);
    } else {
        for (std::size_t i = 0; i < m->argumenty.size(); ++i) {
            const bool ostatni = i + 1 == m->argumenty.size();
            const std::string t = m->argumenty[i] + (ostatni ? "" : "  " + op);
            w.raport("      " + t).dialog("       " + t);
        }
    }
    w.raport("It follows: ").raport("  " + wynik + " = " + sprv(wartosc)).cr();
    w.dialog("It follows:").dialog("    " + wynik + " = " + sprv(wartosc));
    w.pokaz(app, "Extended arithmetical model explanation");
}

namespace {

/// The linear and polynomial explanations differ only in their first lines,
/// their term lines and a few dialog pieces.
struct Wielomian {
    std::string raportPierwszy;
    std::optional<std::string> dialogPierwszy;
    std::string dialogWarunek, dialogPrawda;
    const char* tytul;
};

void wyjasnienie_sumy(AppState& app, const std::string& warunek, const std::string& wynik, double wartosc,
                      const std::vector<std::string>& wyrazy, const Wielomian& p) {
    Wyjasnienie w(app);
    w.cr()
        .raport(p.raportPierwszy)
        .raport("The model states: if the go_ahead condition ")
        .raport("    " + warunek)
        .raport("is true, then")
        .raport("    " + wynik + " = ");
    if (p.dialogPierwszy) w.dialog(*p.dialogPierwszy);
    w.dialog("The model states: ")
        .dialog(p.dialogWarunek)
        .dialog("    " + warunek)
        .dialog(p.dialogPrawda)
        .dialog("    " + wynik + " = ");
    for (std::size_t i = 0; i < wyrazy.size(); ++i) {
        const std::string t = "      " + wyrazy[i] + (i + 1 == wyrazy.size() ? "" : " + ");
        w.raport(t).dialog(t);
    }
    const std::string koniec = "    " + wynik + " = " + sprv(wartosc);
    w.raport("It follows: ").raport(koniec).cr();
    w.dialog("It follows: ").dialog(koniec);
    w.pokaz(app, p.tytul);
}

}  // namespace

void wyjasnienie_model_matematyczny_liniowy(AppState& app, std::int32_t numer, const std::string& wynik,
                                            double wartosc) {
    const kb::ModelLin* m = z_semaforem(app, app.store.modelBase().model_lin, kb::Store::ModelRef::Kind::Linear, numer);
    if (!m) return;
    std::vector<std::string> wyrazy;
    for (std::size_t i = 0; i < std::min(m->wspolczynniki.size(), m->zmienne.size()); ++i)
        wyrazy.push_back(m->wspolczynniki[i] + " * " + m->zmienne[i]);
    wyjasnienie_sumy(app, m->warunek, wynik, wartosc, wyrazy,
                     {"The linear model " + std::to_string(numer) + " is resolved.", std::nullopt,
                      "if the go_ahead condition: ", "is true, then ", "Linear model explanation"});
}

void wyjasnienie_model_matematyczny_wielomianowy(AppState& app, std::int32_t numer, const std::string& wynik,
                                                 double wartosc) {
    const kb::ModelPoly* m = z_semaforem(app, app.store.modelBase().model_poly, kb::Store::ModelRef::Kind::Polynomial, numer);
    if (!m) return;
    std::vector<std::string> wyrazy;
    for (std::size_t i = 0; i < std::min(m->wspolczynniki.size(), m->potegi.size()); ++i)
        wyrazy.push_back(m->wspolczynniki[i] + " * " + m->zmienna + "^" + std::to_string(m->potegi[i]));
    const std::string n = std::to_string(numer);
    wyjasnienie_sumy(app, m->warunek, wynik, wartosc, wyrazy,
                     {"The polynomial model " + n + " is resolved.", "The polynomial model  " + n + " is resolved.",
                      "if the go_ahead_condition:", "true, then ", "Polynomial model explanation"});
}

void wyjasnienie_model_relacyjny(AppState& app, std::int32_t numer, const std::string& wynik) {
    const kb::ModelB* m = z_semaforem(app, app.store.modelBase().model_b, kb::Store::ModelRef::Kind::Basic, numer);
    if (!m) return;
    const std::string pierwszy = "The basic relational model  " + std::to_string(numer) + " is resolved.";
    const std::string relacja = "    " + m->arg1 + " " + m->operacja + " " + m->arg2;
    Wyjasnienie w(app);
    w.raport(pierwszy)
        .raport("The model states: if the go_ahead condition ")
        .raport("    " + m->warunek)
        .raport(wynik == m->wynik ? "is true, then follows" : " is true, then follows")
        .raport("    " + m->wynik)
        .raport("provided that: ")
        .raport(relacja)
        .raport("It follows:")
        .raport("    " + wynik)
        .cr();
    w.dialog(pierwszy)
        .dialog("The model states:  if the go_ahead_condition ")
        .dialog("    " + m->warunek)
        .dialog("is true, then follows")
        .dialog("    " + m->wynik)
        .dialog("provided that:")
        .dialog(relacja)
        .dialog("It follows:")
        .dialog("    " + wynik);
    w.pokaz(app, "Basic relational model explanation");
}

void wyjasnienie_model_relacyjny_r(AppState& app, std::int32_t numer, const std::string& wynik) {
    const kb::ModelE* m = z_semaforem(app, app.store.modelBase().model_e, kb::Store::ModelRef::Kind::Extended, numer);
    if (!m || m->argumenty.size() != 3) return;
    const auto r = wyznacz_parametry_relacji(m->operacja);
    if (!r) return;
    const auto& a = m->argumenty;
    const std::string relacja = a[0] + " " + r->first + " " + a[1] + " " + r->second + " " + a[2];
    const std::string pierwszy = "The extended relational model " + std::to_string(numer) + " is resolved.";
    Wyjasnienie w(app);
    w.cr()
        .raport(pierwszy)
        .raport("The model states: if the go_ahead condition ")
        .raport("    " + m->warunek)
        .raport("is true, then follows")
        .raport("    " + m->wynik)
        .raport("provided that:")
        .raport(relacja)
        .raport("It follows: ")
        .raport("  " + wynik)
        .cr();
    w.dialog(pierwszy)
        .dialog("The model states: if the go_ahead_condition ")
        .dialog("    " + m->warunek)
        .dialog("is true, then follows")
        .dialog("    " + m->wynik)
        .dialog("provided that:")
        .dialog(relacja)
        .dialog("It follows: ")
        .dialog("  " + wynik);
    w.pokaz(app, "Extended relational model explanation");
}

}  // namespace torv::engine
