// Knowledge bases for chaining tests.
#include "support/chaining_fixture.h"

#include <variant>

#include "engine/askables.h"
#include "engine/support.h"
#include "kb/base_file.h"
#include "kb/media.h"
#include "loading/load_checks.h"

namespace torv::test {

void ChainingTest::base(kb::BaseKind kind, const std::string& name, const std::string& text) {
    const auto path = dir.write("BASES/" + name, text).string();
    auto read = kb::parseBaseText(kind, text);
    ASSERT_TRUE(std::holds_alternative<kb::AnyBase>(read)) << name;
    kb::storeBase(app.store, std::move(std::get<kb::AnyBase>(read)));
    kb::Store& s = app.store;
    switch (kind) {
    case kb::BaseKind::Rule:
        s.nazwa_re = name;
        s.nazwa_re_pelna = path;
        kb::pamietaj_wyroznik_nazwy(app.store, path);
        kb::wyznacz_nazwe_opisu(app);
        engine::pamietaj_dopytywalne_regul(app);
        break;
    case kb::BaseKind::Model:
        s.nazwa_mo = name;
        s.nazwa_mo_pelna = path;
        engine::pamietaj_dopytywalne_modeli(app);
        break;
    case kb::BaseKind::Constraint: s.nazwa_og = name; break;
    case kb::BaseKind::Advice: s.nazwa_ra = name; break;
    case kb::BaseKind::Graphics: s.nazwa_gr = name; break;
    case kb::BaseKind::Sound: s.nazwa_me = name; break;
    }
    engine::wyznacz_liste_faktow(app);
}

void ChainingTest::prepare(bool high) {
    app.chaining.szczegolowosc = high ? engine::Detail::High : engine::Detail::Low;
    app.report.kasowanie_tekst_raportu();
    app.chaining.prepare(app.store, engine::ogolna_lista_dopytywalnych(app));
    app.chaining.rbd.add(0, "No condition");
}

std::vector<std::string> ChainingTest::rbd() const {
    std::vector<std::string> out;
    for (const auto& r : app.chaining.rbd.records())
        if (r.warunek != "No condition") out.push_back(std::to_string(r.numer) + ":" + r.warunek);
    return out;
}

}  // namespace torv::test
