// Forward chaining.
#include "engine/forward.h"

#include <unordered_set>

#include "engine/explanations.h"
#include "engine/forward_models.h"
#include "engine/gate.h"
#include "engine/position_set.h"
#include "engine/support.h"
#include "kb/paths.h"
#include "port/long_work.h"
#include "reports/report_commands.h"
#include "reports/summaries.h"
#include "state/app_state.h"

namespace torv::engine {

namespace {

const char* const kEndText = "Rule with 'end' conclusion ends the chaining process.";

/// Which rules a pass has to test, in record order: those not marked, less
/// those set aside. A rule whose test stopped at an undecided derived
/// condition is set aside until a condition it uses is decided, withdrawn or
/// re-opened: tested before that, it would ask nothing and fire nothing, so
/// skipping it leaves every question and firing where a rescan from the first
/// rule puts them.
class PlanRegul {
public:
    explicit PlanRegul(AppState& app)
        : s_(app.chaining), rules_(app.store.rules()), odlozona_(rules_.size(), 0), otwarte_(rules_.size(), true) {
        if (!s_.fullScan) s_.rbd.observer = [this](kb::Name w) { changed(w); };
    }
    ~PlanRegul() { s_.rbd.observer = nullptr; }
    PlanRegul(const PlanRegul&) = delete;
    PlanRegul& operator=(const PlanRegul&) = delete;

    /// The position of the first rule at or after `od` that has to be tested.
    std::optional<std::size_t> nastepna(std::size_t od) {
        const auto& marks = s_.regula_zastosowana;
        if (s_.fullScan) {
            for (std::size_t i = od; i < rules_.size(); ++i)
                if (!marks.count(rules_[i].numer)) return i;
            return std::nullopt;
        }
        for (auto i = otwarte_.next(od); i; i = otwarte_.next(*i + 1)) {
            if (marks.count(rules_[*i].numer) || odlozona_[*i]) {
                otwarte_.erase(*i);   // re-entered when one of its conditions changes
                continue;
            }
            return i;
        }
        return std::nullopt;
    }
    /// The rule's test could not decide it in this pass.
    void odloz(std::size_t i) { odlozona_[i] = 1; }

private:
    void changed(kb::Name warunek) {
        s_.forRulesUsing(warunek, [this](std::size_t i) {
            odlozona_[i] = 0;
            otwarte_.insert(i);
        });
    }

    ChainingState& s_;
    const std::vector<kb::Rule>& rules_;
    std::vector<char> odlozona_;
    PositionSet otwarte_;
};

/// What the alternatives of a pass share.
struct Przebieg {
    AppState& app;
    PlanRegul plan;
    port::Progress progress;   // over each pass's scan of the rules
};

// ---- the alternatives of a pass ----
// Each returns true when it fired; the pass then ends and the next one
// starts again from the first alternative. Models come after the rules.

/// A: the first rule, in record order, that is not marked and whose
/// conditions can be evaluated, fires.
bool alternatywa_reguly(Przebieg& p) {
    AppState& app = p.app;
    ChainingState& s = app.chaining;
    const auto& rules = app.store.rules();
    for (auto i = p.plan.nastepna(0); i; i = p.plan.nastepna(*i + 1)) {
        p.progress.checkPass(*i);
        const kb::Rule& r = rules[*i];
        auto znaczniki = testuj_warunki(app, r.warunki);
        if (!znaczniki) {
            p.plan.odloz(*i);
            continue;
        }
        const kb::Name wynik = generuj_wniosek(*znaczniki, r.wniosek);
        s.regula_zastosowana.insert(r.numer);
        if (!zachowaj_wniosek(app, r.numer, wynik)) continue;
        przedstawienie_faktow(app);
        if (!wyjasnienie_regula(app, r.numer, r.wniosek, r.warunki, wynik)) continue;
        udziel_rady(app, r.numer, wynik);
        wyswietl_grafike(app, r.numer, wynik);
        przesluchaj_melodie(app, r.numer, wynik);
        return true;
    }
    return false;
}

using Alternatywa = bool (*)(Przebieg&);

/// An alternative that needs only the application state.
template <bool (*F)(AppState&)>
bool tylko_stan(Przebieg& p) {
    return F(p.app);
}

/// B to G: the models, each kind in record order (forward_models.h).
constexpr Alternatywa kAlternatywy[] = {
    &alternatywa_reguly,
    &tylko_stan<&alternatywa_modele_b_arytmetyczne>,
    &tylko_stan<&alternatywa_modele_e_arytmetyczne>,
    &tylko_stan<&alternatywa_modele_liniowe>,
    &tylko_stan<&alternatywa_modele_wielomianowe>,
    &tylko_stan<&alternatywa_modele_b_relacyjne>,
    &tylko_stan<&alternatywa_modele_e_relacyjne>,
};

/// H: "end" was derived.
void koniec_przez_end(AppState& app) {
    app.messages.write(std::string(kEndText) + "\n");
    app.port.note("Attention - end!", kEndText);
}

/// I: nothing more can fire.
void zamkniecie(AppState& app) {
    ChainingState& s = app.chaining;
    auto& r = app.report;
    const std::string kb = app.store.wyroznik.value_or("");
    app.port.note("Summary", "Let's have a look at the forward chaining summary!");
    r.piszcr();
    r.pisz("No possibilities of further chaining!");
    r.piszcr();
    r.piszcr();
    s.szczegolowosc = Detail::High;
    przedstawienie_faktow(app);
    r.piszcr();
    przedstawienie_zmiennych(app);
    r.piszcr();
    r.pisz("This is all that may be inferred from the Knowledge Base " + kb + ",");
    r.piszcr();
    r.pisz("from declared facts and declared argument values.");
    r.piszcr();
    r.piszcr();
    app.port.note("End of forward chaining", "This is all that may be inferred \nfrom the Knowledge Base\n   " +
                                                 kb::upperAscii(kb) +
                                                 ",\nfrom declared facts and declared argument values.\n\n"
                                                 "End of forward chaining.");
    r.pisz("End of forward chaining");
    r.piszcr();
    r.piszcr();
    reports::podsumowanie(app);
    s.rbd.clear();
    s.rbd_finalna.clear();
    reports::raport(app);
}

Names czlonkowie_bez(const Names& l, const std::string& x) {
    Names out;
    for (const auto& m : l)
        if (m != x) out.push_back(m);
    return out;
}

bool ma_fakt(const kb::Constraint& k, const Names& fakty) {
    for (const auto& m : k.warunki)
        if (element(m, fakty)) return true;
    return false;
}

/// A selection that would make two members of one constraint true is told
/// to the user, naming them, and refused.
bool odrzuc_wybor_sprzeczny(AppState& app, const Names& wybrane) {
    const ChainingState& s = app.chaining;
    const std::unordered_set<std::string> zbior(wybrane.begin(), wybrane.end());
    for (const auto& k : s.ograniczenia) {
        Names prawdziwe;
        bool wybrany = false;
        for (const auto& m : k.warunki) {
            const bool w = zbior.contains(m);
            if (!w && !s.rbd.decided(m)) continue;
            wybrany = wybrany || w;
            if (!element(m, prawdziwe)) prawdziwe.push_back(m);
        }
        if (!wybrany || prawdziwe.size() < 2) continue;
        std::string tekst = "Only one condition in constraint " + std::to_string(k.numer) + " may be true!";
        for (const auto& m : prawdziwe) tekst += "\n    " + m;
        tekst += "\nPick the facts again.";
        app.port.note(port::titles::kAttention, tekst);
        return true;
    }
    return false;
}

}  // namespace

void wnioskowanie_w_przod(AppState& app) {
    if (!bramka_wnioskowania(app)) return;
    przygotowanie_przebiegu(app, Kierunek::WPrzod);
    // The go-ahead condition "No condition" always holds.
    app.chaining.rbd.add(0, "No condition");
    wybierz_tryb(app, app.port.factDeclarationMode());
}

void wybierz_tryb(AppState& app, int tryb) {
    if (tryb != 1 && tryb != 2) return;
    if (tryb == 1) przygotowanie_listy_faktow(app);   // failing, it goes on as mode 2
    wnioskowanie(app);
}

bool przygotowanie_listy_faktow(AppState& app) {
    ChainingState& s = app.chaining;
    const Names& fakty = app.askables.jest_lista_faktow();
    const std::vector<kb::Constraint> ograniczenia = s.ograniczenia;

    for (const auto& k : ograniczenia) {
        if (ma_fakt(k, fakty)) continue;
        // Constraints sharing members with one picked before may have nothing left to pick.
        const std::string* wybrany = prawdziwy_czlonek(s, k.warunki);
        if (!wybrany && wszystkie_rozstrzygniete(s, k.warunki)) continue;
        if (!wybrany) {
            const std::string n = std::to_string(k.numer);
            auto i = app.port.pickFact("Mutually exclusive conditions for the constraint " + n +
                                           "\nChoose a fact from the list of conditions for the constraint " + n,
                                       k.warunki);
            if (!i) continue;
            wybrany = &k.warunki[*i];
        }
        pamietaj_fakty(s, {*wybrany});
        Names reszta = czlonkowie_bez(k.warunki, *wybrany);
        pamietaj_warunki_nie_bedace_faktami(s, reszta);
        s.lista_warunkow_ograniczenia_z_warunkami_faktami.push_back(std::move(reszta));
    }
    for (const auto& k : ograniczenia)
        if (ma_fakt(k, fakty)) s.lista_warunkow_ograniczenia_z_warunkami_faktami.push_back(k.warunki);
    s.lista_warunkow_uwzglednionych_ograniczen =
        usuniecie_list_wewnetrznych(s.lista_warunkow_ograniczenia_z_warunkami_faktami);

    Names kandydaci = jest_baza_mo(app).empty() ? app.askables.lista_warunkow_dopytywalnych
                                                : app.askables.lista_wszystkich_dopytywalnych_dla_wyswietlania;
    kandydaci = roznica_zbiorow(kandydaci, fakty);
    if (!jest_baza_og(app).empty())
        kandydaci = roznica_zbiorow(kandydaci, s.lista_warunkow_uwzglednionych_ograniczen);

    if (!kandydaci.empty()) {
        // Closed without a choice: nothing is recorded for the list. Confirmed
        // with nothing selected: every candidate is false.
        while (auto wybrane = app.port.pickFacts("Choose facts from askable conditions!", kandydaci)) {
            Names tak;
            for (std::size_t i : *wybrane) tak.push_back(kandydaci[i]);
            if (odrzuc_wybor_sprzeczny(app, tak)) continue;
            pamietaj_fakty(s, tak);
            pamietaj_warunki_nie_bedace_faktami(s, roznica_zbiorow(kandydaci, tak));
            break;
        }
        return true;
    }
    if (jest_fakt(app)) {
        app.messages.write(
            "Logical values for askable conditions have been declared \n"
            "in the rule base using clauses 'fact(_)'. Only values for\n"
            "askable arguments remain to be declared, similarly as for\n"
            "the option 'Query Mode' from the 'FACT DECLARATION MODE MENU'.\n");
        app.port.note(port::titles::kAttention,
                      "Logical values for askable conditions have been declared "
                      "\nin the rule base using clauses 'fact(_)'. Only values for"
                      "\naskable arguments remain to be declared, similarly as for"
                      "the option 'Query Mode' from the 'FACT DECLARATION MODE MENU'.");
    }
    return false;
}

void wnioskowanie(AppState& app) {
    if (jest_fakt(app)) {
        przedstawienie_faktow_pierwotnych(app);
        if (app.chaining.exclusiveFactsFound()) return;
    }
    if (jest_m_fakt(app)) {
        przedstawienie_m_faktow_pierwotnych(app);
        if (app.chaining.exclusiveFactsFound()) return;
    }
    if (jest_argument_znany(app)) przedstawienie_zmiennych_pierwotnych(app);
    wnioskowanie_cd_0(app);
}

void wnioskowanie_cd_0(AppState& app) {
    ChainingState& s = app.chaining;
    for (const auto& f : app.store.facts()) pamietaj(s, f.warunek, true, true);
    for (const auto& f : app.store.modelBase().m_fact) pamietaj(s, f.warunek, true, true);
    for (const auto& a : app.store.modelBase().argument_known) s.zmienna_ustalona.push_back({a.argument, a.wartosc});
    wnioskowanie_cd(app);
}

void wnioskowanie_cd(AppState& app) {
    const auto& work = port::texts::kForwardChaining;
    const auto run = [&] {
        Przebieg p{app, PlanRegul(app), port::Progress(app.port, work.label, app.store.rules().size())};
        while (!app.chaining.endDecided()) {
            bool fired = false;
            for (Alternatywa a : kAlternatywy)
                if (a(p)) {
                    fired = true;
                    break;
                }
            if (!fired) break;
        }
    };
    // Stopped, the run ends at once, as a closed dialog ends it: no closing.
    if (!port::runToEnd(app.port, app.messages, work, run)) return;
    if (app.chaining.endDecided())
        koniec_przez_end(app);
    else
        zamkniecie(app);
}

std::optional<std::vector<char>> testuj_warunki(AppState& app, const kb::NameList& warunki) {
    ChainingState& s = app.chaining;
    std::vector<char> znaczniki;
    for (kb::Name c : warunki) {
        char z;
        if (s.rbd.decided(c)) {
            z = 'y';
        } else if (auto n = c.knownNegation(); n && s.rbd.decided(*n)) {
            z = 'n';
        } else if (s.askableSet.contains(c.isNegation() ? c.negated() : c)) {
            z = pytaj_o_warunek(app, c);
        } else {
            return std::nullopt;   // derived and not decided yet
        }
        znaczniki.push_back(z);
        if (z == 'n') break;
    }
    return znaczniki;
}

kb::Name generuj_wniosek(const std::vector<char>& znaczniki, kb::Name wniosek) {
    for (char z : znaczniki)
        if (z == 'n') return wniosek.negated();
    return wniosek;
}

bool zachowaj_wniosek(AppState& app, std::int32_t numer, kb::Name wynik) {
    ChainingState& s = app.chaining;
    RbdTable& rbd = s.rbd;
    if (wynik.isNegation()) {
        const kb::Name p = wynik.negated();
        if (rbd.has(numer, p) && rbd.supports(p) == 1) {
            rbd.remove(numer, p);
            skasuj_zastosowane_reguly(app, p);
            rbd.add(numer, wynik);
            return true;
        }
        if (rbd.has(numer, wynik)) {
            s.regula_zastosowana.insert(numer);
            return false;
        }
        if (rbd.has(numer, p)) {
            // Another support of p stays: it only loses this one.
            rbd.remove(numer, p);
            skasuj_zastosowane_reguly(app, p);
            return true;
        }
        if (rbd.hasOther(numer, p)) {
            // A negative conclusion never overrides a positive one.
            skasuj_zastosowane_reguly(app, p);
            return true;
        }
        if (!rbd.decided(p) && !rbd.decided(wynik)) {
            skasuj_zastosowane_reguly(app, p);
            rbd.add(numer, wynik);
        }
        return true;
    }
    if (rbd.has(numer, wynik)) {
        s.regula_zastosowana.insert(numer);
        return false;
    }
    const kb::Name n = wynik.negated();
    if (!rbd.decided(n) || rbd.hasOther(numer, wynik)) {
        skasuj_zastosowane_reguly(app, wynik);
        rbd.add(numer, wynik);
        return true;
    }
    // A positive conclusion overrides a recorded negation.
    rbd.removeAll(n);
    skasuj_zastosowane_reguly(app, wynik);
    rbd.add(numer, wynik);
    return true;
}

void skasuj_zastosowane_reguly(AppState& app, kb::Name warunek) {
    ChainingState& s = app.chaining;
    const auto& rules = app.store.rules();
    s.forRulesUsing(warunek, [&](std::size_t i) { s.regula_zastosowana.erase(rules[i].numer); });
    s.rbd.changed(warunek);
}

}  // namespace torv::engine
