// Askable conditions and arguments of the rule and model bases.
#include "engine/askables.h"

#include <algorithm>

#include "state/app_state.h"

namespace torv::engine {

namespace {

const std::string kNoCondition = "No condition";

Names without(Names l, const std::string& x) { return roznica_zbiorow(l, {x}); }

/// Variables of one model family: deduplicated, without numbers, the
/// placeholder condition and negated names.
Names zmienne(Names l) { return usun_zanegowane(without(usun_stale(redukuj(l)), kNoCondition)); }

bool arithmeticB(const kb::ModelB& m) { return !jest_relacja(m.operacja); }
bool arithmeticE(const kb::ModelE& m) { return !jest_relacja_podwojna(m.operacja); }

void append(Names& to, const Names& from) { to.insert(to.end(), from.begin(), from.end()); }

}  // namespace

const Names& Askables::jest_lista_faktow() const {
    static const Names kEmpty;
    return lista_dopytywalnych_uznanych_za_fakty ? *lista_dopytywalnych_uznanych_za_fakty : kEmpty;
}

bool jest_relacja(const std::string& op) {
    return op == ">" || op == "==" || op == "<" || op == ">=" || op == "<=" || op == "><" || op == "<>";
}

bool jest_relacja_podwojna(const std::string& op) {
    return op == "<,<" || op == "<=,<" || op == "<,<=" || op == "<=,<=";
}

Names wyznacz_warunki_dopytywalne(const kb::Store& store, Askables& a) {
    // redukuj of every condition (positive) and of every conclusion, taken
    // walking backwards so that nothing is copied before it is known to be
    // the last occurrence: a million rules hold four million conditions.
    kb::NameFlags seenConditions, seenConclusions;
    kb::NameList conditions, conclusions;
    const auto& rules = store.rules();
    for (auto r = rules.rbegin(); r != rules.rend(); ++r) {
        for (auto c = r->warunki.rbegin(); c != r->warunki.rend(); ++c) {
            const kb::Name p = c->isNegation() ? c->negated() : *c;
            if (seenConditions.set(p)) conditions.push_back(p);
        }
        if (seenConclusions.set(r->wniosek)) conclusions.push_back(r->wniosek);
    }
    std::reverse(conditions.begin(), conditions.end());
    std::reverse(conclusions.begin(), conclusions.end());
    // roznica_zbiorow(conditions, conclusions) without the placeholder
    const kb::Name placeholder(kNoCondition);
    Names askable;
    for (kb::Name c : conditions)
        if (!seenConclusions.contains(c) && c != placeholder) askable.push_back(c);
    a.lista_warunkow = std::move(conditions);
    a.lista_wnioskow_regul = std::move(conclusions);
    return askable;
}

bool pamietaj_dopytywalne_regul(AppState& app) {
    Askables& a = app.askables;
    Names askable = wyznacz_warunki_dopytywalne(app.store, a);
    a.lista_warunkow_dopytywalnych = sortuj(askable);
    a.dopytywalny = {askable.begin(), askable.end()};
    return true;
}

bool pamietaj_dopytywalne_modeli(AppState& app) {
    Askables& a = app.askables;
    const kb::ModelBase& m = app.store.modelBase();

    // wyznacz_i_pamietaj_argumenty_modeli, _wnioski_modeli, _warunki_stosowania_modeli, _wyniki_modeli
    Names arguments, conclusions, goAhead, results;
    for (const auto& x : m.model_b) {
        goAhead.push_back(x.warunek);
        if (arithmeticB(x)) {
            arguments.insert(arguments.end(), {x.arg1, x.arg2});
            results.push_back(x.wynik);
        } else {
            conclusions.push_back(x.wynik);
        }
    }
    for (const auto& x : m.model_e) {
        goAhead.push_back(x.warunek);
        if (arithmeticE(x)) {
            append(arguments, x.argumenty);
            results.push_back(x.wynik);
        } else {
            conclusions.push_back(x.wynik);
        }
    }
    for (const auto& x : m.model_lin) {
        goAhead.push_back(x.warunek);
        append(arguments, x.wspolczynniki);
        append(arguments, x.zmienne);
        results.push_back(x.wynik);
    }
    for (const auto& x : m.model_poly) {
        goAhead.push_back(x.warunek);
        arguments.push_back(x.zmienna);
        append(arguments, x.wspolczynniki);
        results.push_back(x.wynik);
    }
    a.lista_argumentow_modeli = redukuj(arguments);
    a.lista_wnioskow_modeli = redukuj(conclusions);
    a.lista_warunkow_stosowania = redukuj(goAhead);
    a.lista_wynikow_modeli = redukuj(results);

    // redukuj_warunki_dopytywalne
    a.lista_wszystkich_dopytywalnych_dla_wyswietlania =
        roznica_zbiorow(a.lista_warunkow_dopytywalnych, *a.lista_wnioskow_modeli);

    // wyznacz_dopytywalne_zmienne: variables and results family by family.
    std::vector<Names> variables, modelResults;
    auto family = [&](const auto& table, auto variablesOf) {
        Names v, r;
        for (const auto& x : table) {
            append(v, variablesOf(x));
            v.push_back(x.warunek);
            r.push_back(x.wynik);
        }
        variables.push_back(zmienne(v));
        modelResults.push_back(r);
    };
    family(m.model_b, [](const kb::ModelB& x) { return Names{x.arg1, x.arg2}; });
    family(m.model_e, [](const kb::ModelE& x) { return x.argumenty; });
    family(m.model_lin, [](const kb::ModelLin& x) {
        Names v = x.wspolczynniki;
        append(v, x.zmienne);
        return v;
    });
    family(m.model_poly, [](const kb::ModelPoly& x) {
        Names v = x.wspolczynniki;
        v.push_back(x.zmienna);
        return v;
    });
    a.argumenty_zredukowane = redukuj(usuniecie_list_wewnetrznych(variables));
    a.wyniki_zredukowane = redukuj(usuniecie_list_wewnetrznych(modelResults));
    Names askable = roznica_zbiorow(a.argumenty_zredukowane, a.wyniki_zredukowane);
    askable = usun_zanegowane(roznica_zbiorow(askable, kb::texts(a.lista_wnioskow_regul)));

    // wyznacz_warunki_i_argumenty_dopytywalne
    a.lista_argumentow_dopytywalnych = sortuj(redukuj(askable));
    a.lista_wszystkich_dopytywalnych_dla_wyswietlania =
        sortuj(redukuj(a.lista_wszystkich_dopytywalnych_dla_wyswietlania));
    Names joint = a.lista_wszystkich_dopytywalnych_dla_wyswietlania;
    append(joint, a.lista_argumentow_dopytywalnych);
    a.lista_warunkow_i_argumentow_dopytywalnych = sortuj(redukuj(joint));
    return true;
}

bool wyznacz_liste_faktow(AppState& app) {
    Askables& a = app.askables;
    const auto& constraints = app.store.constraints();
    auto withConstraints = [&](const std::string& fact) {
        for (const auto& c : constraints)
            if (element(fact, c.warunki)) a.lista_faktow.push_back(c.warunki);
    };
    Names declared;
    for (const auto& f : app.store.facts()) {
        withConstraints(f.warunek);
        declared.push_back(f.warunek);
    }
    for (const auto& f : app.store.modelBase().m_fact) {
        withConstraints(f.warunek);
        declared.push_back(f.warunek);
    }
    a.lista_faktow.push_back(declared);
    a.lista_dopytywalnych_uznanych_za_fakty = redukuj(usuniecie_list_wewnetrznych(a.lista_faktow));
    return true;
}

void pokaz_dopytywalne_regul(AppState& app) {
    const std::string rules = app.store.nazwa_re.value_or("");
    if (app.store.nazwa_mo) {
        app.messages.write("     Askable conditions for rule base   " + rules + "\n" +
                           "      while accounting for  model base " + *app.store.nazwa_mo + "\n");
        app.port.askablesWindow("Askable conditions for rule base  while accounting for  model base",
                                app.askables.lista_wszystkich_dopytywalnych_dla_wyswietlania);
        return;
    }
    app.messages.write("Askable conditions for rule base   " + rules + "\n");
    app.port.askablesWindow("Askable conditions for rule base  " + rules,
                            app.askables.lista_warunkow_dopytywalnych);
}

void pokaz_dopytywalne_modeli(AppState& app) {
    app.port.askablesWindow("Askable conditions and arguments for model base " + app.store.nazwa_mo.value_or(""),
                            app.askables.lista_argumentow_dopytywalnych);
}

void pokaz_dopytywalne_wspolne(AppState& app) {
    app.port.askablesWindow("Joint askable conditions and arguments for  rule- and model base " +
                                app.store.wyroznik.value_or(""),
                            app.askables.lista_warunkow_i_argumentow_dopytywalnych);
}

}  // namespace torv::engine
