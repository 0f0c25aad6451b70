// The chaining gate and the preparation of a run.
#include "engine/gate.h"

#include "engine/same_results.h"
#include "engine/support.h"
#include "reports/abstracts.h"
#include "state/app_state.h"

namespace torv::engine {

namespace {

struct Naglowek {
    const char* tytulNotatki;
    const char* poczatekNotatki;
    const char* pierwszyWiersz;
    const char* wiersze[5];   // model, constraint, advice, graphics, sound base
};

// The report lines stand right-aligned under the first one.
const Naglowek kWPrzod{
    "Augmented Exact Forward Chaining",
    "Augmented Exact Forward Chaining for \n\nAugmented Exact Rule Base\n   ",
    "Augmented Exact Forward Chaining for Rule Base ",
    {"                                                      Model Base ",
     "                                                Constraint Base ",
     "                                                     Advice Base ",
     "                                                  Graphics Base ",
     "                                                    Sound Base "}};
const Naglowek kWstecz{
    "Augmented exact backward chaining",
    "Augmented Exact Backward Chaining for \n\nAugmented Exact Rule Base\n   ",
    "Augmented Exact Backward Chaining for Rule Base ",
    {"                                                         Model Base ",
     "                                                   Constraint Base ",
     "                                                        Advice Base ",
     "                                                     Graphics Base ",
     "                                                        Sound Base "}};

}  // namespace

bool bramka_wnioskowania(AppState& app) {
    if (!app.store.nazwa_re || app.store.nazwa_re->empty()) {
        app.port.note(port::titles::kAttention, "Load Rule Base first!");
        return false;
    }
    // Each of these faults was reported when it was found.
    const auto& v = app.verdicts;
    if (v.numberingFault()) return false;
    if (!testuj_wyniki_wszystkich_modeli_bez_ograniczen(app)) return false;
    if (app.chaining.exclusiveFactsFound()) return false;
    if (v.externallyInconsistent()) return false;
    if (v.modelFault() || v.jointModelRuleFault()) return false;
    return true;
}

void przygotowanie_przebiegu(AppState& app, Kierunek kierunek) {
    ChainingState& s = app.chaining;
    reports::czytaj_opis(app);

    s.szczegolowosc.reset();
    s.szczegolowosc = app.port.levelOfDetail() == 2 ? Detail::High : Detail::Low;

    s.etykieta.clear();
    generuj_etykiety(app);
    app.report.kasowanie_tekst_raportu();
    s.prepare(app.store, ogolna_lista_dopytywalnych(app));

    const Naglowek& h = kierunek == Kierunek::WPrzod ? kWPrzod : kWstecz;
    const std::string nazwy[6] = {jest_baza_re(app), jest_baza_mo(app), jest_baza_og(app),
                                  jest_baza_ra(app), jest_baza_gr(app), jest_baza_me(app)};
    app.port.note(h.tytulNotatki, h.poczatekNotatki + nazwy[0] + "\n\nAugmented Exact Model Base\n   " + nazwy[1] +
                                      "\n\nAugmented Exact Constraint Base\n   " + nazwy[2] +
                                      "\n\nAugmented Exact Advice Base\n   " + nazwy[3] +
                                      "\n\nAugmented Exact Graphics Base\n   " + nazwy[4] +
                                      "\n\nAugmented Exact Sound Base\n   " + nazwy[5]);
    auto& r = app.report;
    r.pisz(h.pierwszyWiersz + nazwy[0]);
    r.piszcr();
    for (int i = 0; i < 5; ++i) {
        r.pisz(h.wiersze[i] + nazwy[i + 1]);
        r.piszcr();
    }
    r.piszcr();
}

}  // namespace torv::engine
