// Questions, presentations, offers and labels shared by both chainings.
#include "engine/support.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "engine/askables.h"
#include "kb/file_io.h"
#include "kb/media.h"
#include "state/app_state.h"

namespace torv::engine {

namespace {

const char* const kChoose = "Choose:";
const char* const kDeterminedFacts = "Following facts have been determined:";
const char* const kDeterminedValues = "Following values of arguments have been determined:";

std::string nazwa(const std::optional<std::string>& n) { return n.value_or(""); }

/// Question texts are written left-aligned in 55 columns.
std::string wyrownaj(std::string s) {
    if (s.size() < 55) s.append(55 - s.size(), ' ');
    return s;
}

std::string dodatni(const std::string& warunek) {
    return kb::jest_negacja(warunek) ? warunek.substr(1) : warunek;
}

bool istnieje(const std::filesystem::path& p) {
    std::error_code ec;
    return std::filesystem::is_regular_file(p, ec);
}

/// A literal argument: its name is the written form of its own value.
bool literal(const ZmiennaUstalona& z) {
    return czy_liczba(z.argument) && std::strtod(z.argument.c_str(), nullptr) == z.wartosc;
}

/// Asks which member of a constraint is true; nullopt when closed without a choice.
std::optional<std::string> wybierz_z_ograniczenia(AppState& app, const Names& czlonkowie,
                                                  const std::string& podpis) {
    auto i = app.port.pickFact(podpis, czlonkowie);
    if (!i) return std::nullopt;
    return czlonkowie[*i];
}

template <class Fakty>
void testuj_wykluczajace_z(AppState& app, const std::string& fakt, const Fakty& fakty) {
    auto jest = [&](const std::string& g) {
        return std::any_of(fakty.begin(), fakty.end(), [&](const auto& f) { return f.warunek == g; });
    };
    for (const auto& k : app.store.constraints()) {
        if (!element(fakt, k.warunki)) continue;
        for (const auto& g : k.warunki) {
            if (g == fakt || !jest(g)) continue;
            ChainingState& s = app.chaining;
            s.blad_wykluczajacych = true;
            // Chaining stays refused until the bases are loaded again.
            app.outcomes.push_back(Outcome::ExclusiveFactsDeclared);
            auto& r = app.report;
            const std::string numer = std::to_string(k.numer);
            // Texts go to the report as they are; the line breaks only to
            // the message window.
            for (const std::string& t :
                 {std::string("Two mutually exclusive conditions:"), "     " + fakt, "     " + g,
                  "from constraint " + numer + " haved been declared in the rule base as facts.", std::string(),
                  std::string("Chaining is not possible! To correct the rule base, enter the option:"),
                  std::string("      'Exact Rule Base/Rule Base Editing' "),
                  std::string("and remove the superflous fact.")}) {
                r.pisz(t);
                app.messages.write("\n");
            }
            app.port.note("Rule base error! ",
                          "Two mutually exclusive conditions:\n    " + fakt + "\n    " + g + "\nfrom constraint " +
                              numer + " haved been declared in the rule base as facts." +
                              "Chaining is not possible! To correct the rule base, enter the option:" +
                              "\n     'Exact Rule Base/Rule Base Editing'" + "and remove the superflous fact.");
            return;
        }
    }
}

Names fakty_regul(const AppState& app) {
    Names out;
    for (const auto& f : app.store.facts()) out.push_back(f.warunek);
    return out;
}

Names m_fakty(const AppState& app) {
    Names out;
    for (const auto& f : app.store.modelBase().m_fact) out.push_back(f.warunek);
    return out;
}

void pierwotne(AppState& app, const Names& fakty, const char* naglowek, const char* tytul,
               void (*test)(AppState&, const std::string&)) {
    auto& r = app.report;
    r.pisz(naglowek);
    r.piszcr();
    std::vector<std::string> linie;
    for (const auto& f : fakty) {
        if (app.chaining.exclusiveFactsFound()) continue;
        test(app, f);
        r.pisz("    " + f);
        r.piszcr();
        linie.push_back("    " + f);
    }
    if (!app.chaining.exclusiveFactsFound()) app.port.message(tytul, linie);
}

/// The media record offered for conclusion W of rule or relational model N:
/// the positive table for W itself, the negative one for a negated W.
const kb::MediaRecord* rekord_oferty(const AppState& app, std::int32_t numer, kb::Name w,
                                     const std::vector<kb::MediaRecord>& dla_prawdy,
                                     const std::vector<kb::MediaRecord>& dla_falszu) {
    if (dla_prawdy.empty() && dla_falszu.empty()) return nullptr;   // no lookups when there is nothing to offer
    auto pierwszy = [&](const std::vector<kb::MediaRecord>& t) -> const kb::MediaRecord* {
        auto l = kb::Store::byNumber(t, numer);
        return l.empty() ? nullptr : l.front();
    };
    const bool neg = w.isNegation();
    const kb::Name p = neg ? w.negated() : w;
    if (!neg && app.store.ruleByNumberConclusionSemaphore(numer, w, 1))
        if (auto* r = pierwszy(dla_prawdy)) return r;
    if (neg && app.store.ruleByNumberConclusionSemaphore(numer, p, 1))
        if (auto* r = pierwszy(dla_falszu)) return r;
    if (!neg && jest_model_relacyjny(app, numer, w))
        if (auto* r = pierwszy(dla_prawdy)) return r;
    if (neg && jest_model_relacyjny(app, numer, p))
        if (auto* r = pierwszy(dla_falszu)) return r;
    return nullptr;
}

/// A media name that is not a plain file name never reaches a path, even
/// when the store got it some other way than a checked load.
bool nazwa_bezpieczna(AppState& app, const kb::MediaRecord& rec) {
    const auto why = kb::mediaNameFault(rec.plik);
    if (!why) return true;
    const std::string text = "The media file name of record " + std::to_string(rec.numer) + " is refused: " + *why;
    app.messages.write(text + "\n");
    app.port.note("Attention error!", text);
    return false;
}

}  // namespace

// ---- small queries ----

bool jest_fakt(const AppState& app) { return !app.store.facts().empty(); }
bool jest_m_fakt(const AppState& app) { return !app.store.modelBase().m_fact.empty(); }
bool jest_argument_znany(const AppState& app) { return !app.store.modelBase().argument_known.empty(); }
std::string jest_baza_re(const AppState& app) { return nazwa(app.store.nazwa_re); }
std::string jest_baza_mo(const AppState& app) { return nazwa(app.store.nazwa_mo); }
std::string jest_baza_og(const AppState& app) { return nazwa(app.store.nazwa_og); }
std::string jest_baza_ra(const AppState& app) { return nazwa(app.store.nazwa_ra); }
std::string jest_baza_gr(const AppState& app) { return nazwa(app.store.nazwa_gr); }
std::string jest_baza_me(const AppState& app) { return nazwa(app.store.nazwa_me); }

const Names& ogolna_lista_dopytywalnych(const AppState& app) {
    if (!jest_baza_mo(app).empty()) return app.askables.lista_warunkow_i_argumentow_dopytywalnych;
    return app.askables.lista_warunkow_dopytywalnych;
}

bool jest_model_relacyjny(const AppState& app, std::int32_t numer, std::string_view wniosek) {
    const auto& m = app.store.modelBase();
    for (const auto& x : m.model_b)
        if (x.numer == numer && x.wynik == wniosek && jest_relacja(x.operacja)) return true;
    for (const auto& x : m.model_e)
        if (x.numer == numer && x.wynik == wniosek && jest_relacja_podwojna(x.operacja)) return true;
    return false;
}

// ---- questions ----

char pamietaj_wybor(AppState& app, const Names& czlonkowie, const std::string& warunek,
                    const std::string& wybrany) {
    ChainingState& s = app.chaining;
    // A member the user already made false (closing an earlier pick) stays false.
    pamietaj_fakty(s, {wybrany});
    Names inne;
    for (const auto& m : czlonkowie)
        if (m != wybrany) inne.push_back(m);
    pamietaj_warunki_nie_bedace_faktami(s, inne);
    if (wybrany == warunek) return 'y';
    if (kb::jest_negacja(warunek) && wybrany != warunek.substr(1)) return 'y';
    return 'n';
}

bool pamietaj_wybor_warunku_stosowania(AppState& app, const Names& czlonkowie, const std::string& warunek,
                                       const std::string& wybrany) {
    pamietaj_wybor(app, czlonkowie, warunek, wybrany);
    return wybrany == warunek;
}

char pytaj_o_warunek(AppState& app, const std::string& warunek) {
    ChainingState& s = app.chaining;
    const std::string dopelnienie = kb::negacja(warunek);
    if (s.rbd.decided(warunek)) return 'y';
    if (s.rbd.decided(dopelnienie)) return 'n';
    const bool neg = kb::jest_negacja(warunek);
    if (const kb::Constraint* k = ograniczenie_z(s, dodatni(warunek))) {
        const Names czlonkowie = k->warunki;   // the run's copy may change below
        // Settled by a member already true: there is nothing left to pick.
        if (const std::string* p = prawdziwy_czlonek(s, czlonkowie))
            return pamietaj_wybor(app, czlonkowie, warunek, *p);
        auto wybrany = wybierz_z_ograniczenia(
            app, czlonkowie,
            "Pick the true condition\nOnly one condition in constraint " + std::to_string(k->numer) +
                " may be true!");
        if (wybrany) return pamietaj_wybor(app, czlonkowie, warunek, *wybrany);
        // Closed without a choice: the condition counts as false.
        pamietaj(s, warunek, false, false);
        return 'n';
    }
    const std::string pytanie = warunek + "?";
    const std::string wiersz = wyrownaj(pytanie);
    app.messages.write(wiersz);
    app.report.lista_dla_raportu({wiersz});
    if (app.port.yesNo("Is the condition true?", pytanie) == port::kYes) {
        app.report.pisz("  YES");
        app.report.piszcr();
        pamietaj(s, warunek, true, false);
        return 'y';
    }
    app.report.pisz(neg ? "  NO" : "    NO");
    app.report.piszcr();
    pamietaj(s, warunek, false, false);
    return 'n';
}

bool pytaj_o_warunek_stosowania(AppState& app, const std::string& warunek) {
    ChainingState& s = app.chaining;
    const std::string dopelnienie = kb::negacja(warunek);
    if (s.rbd.decided(warunek)) return true;
    if (s.rbd.decided(dopelnienie)) return false;
    const bool neg = kb::jest_negacja(warunek);
    const kb::Constraint* k = ograniczenie_z(s, dodatni(warunek));
    if (!neg && k) {
        const Names czlonkowie = k->warunki;
        if (const std::string* p = prawdziwy_czlonek(s, czlonkowie))
            return pamietaj_wybor_warunku_stosowania(app, czlonkowie, warunek, *p);
        auto wybrany = wybierz_z_ograniczenia(app, czlonkowie,
                                              "Pick the true condition\n Only one condition in the constraint\n   " +
                                                  std::to_string(k->numer) + "may be true!");
        if (wybrany) return pamietaj_wybor_warunku_stosowania(app, czlonkowie, warunek, *wybrany);
        s.rbd.add(0, dopelnienie);
        return false;
    }
    // A negated go-ahead condition whose positive form is in a constraint is
    // not asked: it does not hold.
    if (neg && k) return false;
    const std::string pytanie = warunek + "?";
    const std::string wiersz = wyrownaj(pytanie);
    app.messages.write(wiersz);
    app.report.lista_dla_raportu({wiersz});
    const char* tytul = neg ? "Is the go-ahead condition true??" : "Is the go-ahead condition true?";
    if (app.port.yesNo(tytul, pytanie) == port::kYes) {
        app.report.pisz("  YES");
        app.report.piszcr();
        s.rbd.add(0, warunek);
        return true;
    }
    s.rbd.add(0, dopelnienie);
    return false;
}

// ---- presentations ----

void przedstawienie_faktow(AppState& app) {
    ChainingState& s = app.chaining;
    if (!s.highDetail()) return;
    auto& r = app.report;
    r.piszcr();
    r.pisz(kDeterminedFacts);
    r.piszcr();
    std::vector<std::string> linie;
    auto pokaz = [&](const std::string& w) {
        r.pisz("    " + w);
        r.piszcr();
        linie.push_back("    " + w);
    };
    // Records before the mark were presented by an earlier call.
    const auto& records = s.rbd.records();
    const kb::Name placeholder("No condition"), nend("nend");
    for (std::size_t i = s.rbd.presentedUpTo(); i < records.size(); ++i) {
        const kb::Name w = records[i].warunek;
        if (w == placeholder || w == nend) continue;
        if (!s.rbd_finalna.set(w)) continue;
        pokaz(w);
    }
    s.rbd.setPresentedUpTo(records.size());
    for (const auto& w : s.rbd_wstecz)
        if (w != "No condition" && w != "nend") pokaz(w);
    if (!linie.empty()) app.port.message(kDeterminedFacts, linie);
}

void przedstawienie_zmiennych(AppState& app) {
    ChainingState& s = app.chaining;
    if (!s.highDetail()) return;
    auto& r = app.report;
    r.pisz(kDeterminedValues);
    r.piszcr();
    std::vector<std::string> linie;
    for (const auto& z : s.zmienna_ustalona) {
        if (literal(z)) continue;
        r.pisz("    " + z.argument + "=");
        r.piszreal(z.wartosc);
        r.piszcr();
        linie.push_back("    " + z.argument + "=" + reports::formatReal(z.wartosc));
    }
    r.piszcr();
    if (!linie.empty()) app.port.message(kDeterminedValues, linie);
}

void testuj_wykluczajace(AppState& app, const std::string& fakt) {
    testuj_wykluczajace_z(app, fakt, app.store.facts());
}

void testuj_m_wykluczajace(AppState& app, const std::string& fakt) {
    testuj_wykluczajace_z(app, fakt, app.store.modelBase().m_fact);
}

void przedstawienie_faktow_pierwotnych(AppState& app) {
    pierwotne(app, fakty_regul(app), "The rule base contains following facts:",
              "The rule base contains following facts:", &testuj_wykluczajace);
}

void przedstawienie_m_faktow_pierwotnych(AppState& app) {
    if (!jest_m_fakt(app)) return;
    pierwotne(app, m_fakty(app), "The model base contains following m_facts:",
              "The model base contains following m_facts", &testuj_m_wykluczajace);
}

void przedstawienie_zmiennych_pierwotnych(AppState& app) {
    const char* naglowek = "The model base contains values of the following askable arguments:";
    auto& r = app.report;
    r.pisz(naglowek);
    r.piszcr();
    std::vector<std::string> linie;
    for (const auto& a : app.store.modelBase().argument_known) {
        r.pisz("    " + a.argument + "=");
        r.piszreal(a.wartosc);
        r.piszcr();
        linie.push_back("    " + a.argument + "=" + reports::formatReal(a.wartosc));
    }
    r.piszcr();
    app.port.message(naglowek, linie);
}

// ---- offers ----

void udziel_rady(AppState& app, std::int32_t numer, kb::Name wniosek) {
    const auto& b = app.store.adviceBase();
    const kb::MediaRecord* rec = rekord_oferty(app, numer, wniosek, b.advice, b.nadvice);
    if (!rec || !nazwa_bezpieczna(app, *rec)) return;
    app.messages.write(" Do you wish to be advised?  ");
    if (app.port.yesNo(kChoose, "Do you wish to be advised?") == port::kYes) {
        const auto plik = kb::nazwa_pelna_rady(app.store, app.currentDir, rec->plik);
        kb::ReadResult tekst = kb::readRegularFile(plik, kb::kMaxTextFileBytes);
        if (tekst.ok()) {
            app.port.showAdvice("Expert advice:", tekst.bytes);
            return;
        }
        if (tekst.fault != kb::ReadResult::Fault::Missing) {
            app.messages.write("The advice file has not been read: " + tekst.error + "\n");
            app.port.note("Attention error!", "The advice file has not been read!\n" + tekst.error);
        }
    }
    app.messages.write("    NO\n\n");
}

void wyswietl_grafike(AppState& app, std::int32_t numer, kb::Name wniosek) {
    const auto& b = app.store.graphicsBase();
    const kb::MediaRecord* rec = rekord_oferty(app, numer, wniosek, b.graphics, b.ngraphics);
    if (!rec || !nazwa_bezpieczna(app, *rec)) return;
    if (app.port.yesNo(kChoose, "Do you wish to  see the graphics?") != port::kYes) return;
    const auto plik = kb::nazwa_pelna_grafiki(app.store, app.currentDir, rec->plik);
    if (istnieje(plik)) app.port.showGraphics(plik);
}

void przesluchaj_melodie(AppState& app, std::int32_t numer, kb::Name wniosek) {
    const auto& b = app.store.soundBase();
    const kb::MediaRecord* rec = rekord_oferty(app, numer, wniosek, b.sounds, b.nsounds);
    if (!rec || !nazwa_bezpieczna(app, *rec)) return;
    if (app.port.yesNo(kChoose, "Do you wish to listen to the sound?") != port::kYes) return;
    const auto plik = kb::nazwa_pelna_melodii(app.store, app.currentDir, rec->plik);
    if (istnieje(plik)) app.port.playSound(plik);
}

// ---- labels ----

void generuj_etykiety(AppState& app) {
    const std::vector<std::string> yesNo{"&YES", "&NO"};
    if (app.port.ask("Generating labels", "Save summary labels?", yesNo) != 1) return;
    while (true) {
        auto label = app.port.inputString("Generating labels", "Write label:", "");
        if (!label) return;
        app.chaining.etykieta.push_back(*label);
        if (app.port.ask("Next label?", "Next label?", yesNo) != 1) return;
    }
}

}  // namespace torv::engine
