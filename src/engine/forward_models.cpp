// Models in forward chaining.
#include "engine/forward_models.h"

#include "engine/askables.h"
#include "engine/forward.h"
#include "engine/model_explanations.h"
#include "engine/models.h"
#include "engine/support.h"
#include "state/app_state.h"

namespace torv::engine {

namespace {

using Kind = kb::Store::ModelRef::Kind;

template <class T, class Pred>
bool arytmetyczne(AppState& app, const std::vector<T>& tabela, Kind kind, Pred rodzaj) {
    const ChainingState& s = app.chaining;
    for (std::size_t i = 0; i < tabela.size(); ++i) {
        const T& m = tabela[i];
        if (!rodzaj(m) || !sprawdz(app, m.warunek)) continue;
        if (model_zastosowany(s, m.numer) || wartosc_ustalona(s, m.wynik)) continue;
        if (zastosuj_model_arytmetyczny(app, {kind, i})) return true;
    }
    return false;
}

/// The relational model's result recorded, presented, explained and offered.
bool rozstrzygnij(AppState& app, std::int32_t numer, const std::string& wynik,
                  void (*wyjasnienie)(AppState&, std::int32_t, const std::string&)) {
    if (!zachowaj_wniosek(app, numer, wynik)) return false;
    przedstawienie_faktow(app);
    przedstawienie_zmiennych(app);
    wyjasnienie(app, numer, wynik);
    app.chaining.model_stosowany.push_back(numer);
    udziel_rady(app, numer, wynik);
    wyswietl_grafike(app, numer, wynik);
    przesluchaj_melodie(app, numer, wynik);
    return true;
}

/// Go-ahead condition, not yet decided by this model, not yet applied.
template <class T>
bool do_zastosowania(AppState& app, const T& m) {
    if (!sprawdz(app, m.warunek)) return false;
    return !app.chaining.rbd.has(m.numer, m.wynik) && !model_zastosowany(app.chaining, m.numer);
}

}  // namespace

bool alternatywa_modele_b_arytmetyczne(AppState& app) {
    return arytmetyczne(app, app.store.modelBase().model_b, Kind::Basic, &jest_model_b_arytmetyczny);
}

bool alternatywa_modele_e_arytmetyczne(AppState& app) {
    return arytmetyczne(app, app.store.modelBase().model_e, Kind::Extended, &jest_model_e_arytmetyczny);
}

bool alternatywa_modele_liniowe(AppState& app) {
    return arytmetyczne(app, app.store.modelBase().model_lin, Kind::Linear, [](const kb::ModelLin&) { return true; });
}

bool alternatywa_modele_wielomianowe(AppState& app) {
    return arytmetyczne(app, app.store.modelBase().model_poly, Kind::Polynomial, [](const kb::ModelPoly&) { return true; });
}

bool alternatywa_modele_b_relacyjne(AppState& app) {
    for (const auto& m : app.store.modelBase().model_b) {
        if (!jest_relacja(m.operacja) || !do_zastosowania(app, m)) continue;
        const auto a = oblicz(app, m.arg1);
        if (!a) continue;
        const auto b = oblicz(app, m.arg2);
        if (!b) continue;
        const auto wynik = testuj_relacje(app, m.operacja, *a, *b, m.wynik);
        if (wynik && rozstrzygnij(app, m.numer, *wynik, &wyjasnienie_model_relacyjny)) return true;
    }
    return false;
}

bool alternatywa_modele_e_relacyjne(AppState& app) {
    for (const auto& m : app.store.modelBase().model_e) {
        if (!jest_model_e_relacyjny(m) || !do_zastosowania(app, m)) continue;
        const auto v = wyznacz_liste(app, m.argumenty);   // last argument first
        if (!v) continue;
        const auto wynik = testuj_relacje_r(app, m.operacja, (*v)[2], (*v)[1], (*v)[0], m.wynik);
        if (wynik && rozstrzygnij(app, m.numer, *wynik, &wyjasnienie_model_relacyjny_r)) return true;
    }
    return false;
}

}  // namespace torv::engine
