// Joint rule-constraint inconsistencies: the test, its offer, informing and report.
#include "verify/joint_inconsistency.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "kb/paths.h"
#include "kb/store.h"
#include "port/long_work.h"
#include "reports/report_commands.h"
#include "state/app_state.h"
#include "state/command_ids.h"
#include "verify/flattening.h"
#include "verify/joint_common.h"
#include "verify/load_offers.h"

namespace torv::verify {

namespace {

using joint::linie;
using joint::nazwa_og;
using joint::nazwa_re;
using joint::odmowa;

const char* const kTitle = "Diagnostic Report on joint rule-constraint inconsistencies";

std::string typ(const AppState& app) {
    return nazwa_sprzecznosci_2(app.store.rozszerzenie.value_or("")).value_or("IAE2");
}


/// Two members of the constraint in the flattened list.
bool dwa_czlonki(const Names& flat, const Names& czlonkowie) {
    int n = 0;
    for (const auto& c : flat)
        if (std::find(czlonkowie.begin(), czlonkowie.end(), c) != czlonkowie.end() && ++n == 2) return true;
    return false;
}

}  // namespace

std::optional<std::string> nazwa_sprzecznosci_2(std::string_view rozszerzenie) {
    if (kb::upperAscii(rozszerzenie) == ".AEB") return "IAE2";
    return std::nullopt;
}

bool wyznacz_sprzecznosc_2(AppState& app) {
    JointInconsistencyFindings& out = app.findings.jointInconsistency;
    out = {};
    out.tested = true;
    const auto& constraints = app.store.constraints();
    FlatteningBase base(app.store, app.askables);
    // Constraint positions by member, in constraint-base order.
    std::unordered_map<NameId, std::vector<std::size_t>> wg_czlonka;
    std::vector<std::vector<NameId>> czlonkowie;
    for (std::size_t k = 0; k < constraints.size(); ++k) {
        czlonkowie.push_back(base.intern(constraints[k].warunki));
        for (NameId id : czlonkowie.back()) {
            auto& v = wg_czlonka[id];
            if (v.empty() || v.back() != k) v.push_back(k);
        }
    }
    const auto& rules = app.store.rules();
    port::Progress progress(app.port, port::texts::kJointInconsistencyTest.label, rules.size());
    for (std::size_t i = 0; i < rules.size(); ++i) {
        progress.check(i);
        const kb::Rule& rule = rules[i];
        Splaszcz gen(base, rule);
        while (gen.next()) {
            const std::vector<NameId>& flat = gen.flat();
            bool found = false;
            for (std::size_t i = 0; i < flat.size(); ++i) {
                auto it = wg_czlonka.find(flat[i]);
                if (it == wg_czlonka.end()) continue;
                for (std::size_t k : it->second) {
                    const auto& l = czlonkowie[k];
                    const bool wspolny = std::any_of(flat.begin() + static_cast<std::ptrdiff_t>(i) + 1, flat.end(),
                                                     [&](NameId y) { return std::find(l.begin(), l.end(), y) != l.end(); });
                    if (!wspolny) continue;
                    out.sprzecznosc_2.push_back({rule.numer, constraints[k].numer});
                    found = true;
                }
            }
            if (!found) continue;
            FlattenedRule f{rule.numer, rule.wniosek, gen.flatNames(), gen.usedNormalised()};
            if (std::find(out.regula_splaszczona_s2.begin(), out.regula_splaszczona_s2.end(), f) !=
                out.regula_splaszczona_s2.end())
                continue;
            if (out.regula_splaszczona_s2.size() >= kMaxJointFlattenings) {
                out.truncated = true;
                return false;
            }
            out.regula_splaszczona_s2.push_back(std::move(f));
        }
    }
    return out.sprzecznosc_2.empty();
}

bool informuj_sprzecznosc_2(AppState& app) {
    if (odmowa(app)) return true;
    const std::string re = nazwa_re(app), og = nazwa_og(app), type = typ(app);
    linie(app, {"  Rule Bbase:           " + re, "  and Constraint Base: " + og, "  are tested for joint inconsistencies"});
    bool none = false;
    const auto test = [&] { none = wyznacz_sprzecznosc_2(app); };
    if (!port::runToEnd(app.port, app.messages, port::texts::kJointInconsistencyTest, test,
                        app.findings.jointInconsistency))
        return true;
    if (none) {
        linie(app, {"  Rule Base:           " + re, "  and Constraint Base: " + og, "  are not jointly inconsistent."});
        app.port.note(kTitle, "Augmented Exact Rule Base\n   " + re + "\nand Augmented Exact Constraint Base\n   " + og +
                                  "\nare not jointly inconsistent!");
        return true;
    }
    linie(app, {" Rule Base:           " + re, " and Constraint Base: " + og, " are " + type + "-inconsistent.",
                " You may run a diagnostic check revealing the nature of ", " inconsistency.",
                " For this enter the option: ", " 'Constraint Base/Diagnosing Joint Inconsistencies'",
                " where a detailed message highlighting the nature ", " of inconsistencies is to be found."});
    app.port.note(kTitle, "Augmented Exact Rule Base\n    " + re + "\nand Augmented Exact Constraint Base\n    " + og +
                              "\nare " + type + "-inconsistent.\n" + "\nYou may run a diagnostic check revealing" +
                              "\nthe nature of inconsistency." + "For this enter the option:" +
                              "\n   'Exact Constraint Base\n     Diagnosing Joint Inconsistencies'" +
                              " where a detailed message highlighting the nature " +
                              " of inconsistencies is to be found.");
    app.menu.enable({shell::cmd::kDiagnosingJointRuleConstraintInconsistencies});
    return false;
}

bool testuj_sprzecznosc_2(AppState& app) {
    linie(app, {"The Rule Base and Constraint Base may be tested for ", "joint inconsistencies.",
                "This test may take a lot of time for large and heavily nested ", "rule bases. ", "",
                "This test should be used while developing or modifying rule bases.",
                "For routine uses of the rule- and constraint bases the test should", "be bypassed.", "",
                "Keep in mind that joint rule- and constraint base inconsistencies",
                "do not lead to infinite loops; however, rules jointly inconsistent",
                "are just bypassed in the chaining process and this is perhaps not",
                "what the rule base designer intended to achieve.", ""});
    const int answer = app.port.yesNo(
        "Choose", "The Augmented  Exact Rule Base\n    " + nazwa_re(app) + "\nand Augmented Exact Constraint Base\n    " +
                      nazwa_og(app) + "\nmay be tested for joint inconsistencies.\n" +
                      "\nThis test may take a lot of time for large and \nheavily nested rule bases." +
                      "\nFor routine uses of the rule- and constraint bases \nthe test should be bypassed." +
                      "\nKeep in mind that joint rule- and constraint base \ninconsistencies do not lead to infinite loops;" +
                      "\nrules jointly inconsistent are just bypassed in the " +
                      "\nchaining process and this is perhaps not what the \nrule base designer intended to achieve." +
                      "\n\nDo you wish to test for joint inconsistencies?");
    if (answer != port::kYes) return true;
    return informuj_sprzecznosc_2(app);
}

void pisz_sprzecznosc_2(AppState& app) {
    JointInconsistencyFindings& f = app.findings.jointInconsistency;
    const std::string re = nazwa_re(app), og = nazwa_og(app), type = typ(app);
    if (f.sprzecznosc_2.empty()) {
        if (odmowa(app)) return;
        bool none = false;
        const auto test = [&] { none = wyznacz_sprzecznosc_2(app); };
        if (!port::runToEnd(app.port, app.messages, port::texts::kJointInconsistencyTest, test, f)) return;
        if (none) {
            linie(app, {" No inconsistencies of type " + type + " have been detected in ", " Rule Base:           " + re,
                        " and Constraint base: " + og});
            app.port.note(kTitle, " No inconsistencies of type " + type + "\nhave been detected in " +
                                      " \nAugmented Exact Rule Base\n    " + re +
                                      " \nand Augmented Exact Constraint Base\n    " + og);
            return;
        }
    }
    auto& rep = app.report;
    rep.kasowanie_tekst_raportu();
    auto wiersz = [&](const std::string& s) {
        rep.pisz(s);
        rep.piszcr();
    };
    wiersz("  Diagnostic Report on joint rule-constraint inconsistencies between: ");
    wiersz(" Rule Base:        " + re);
    wiersz(" and Constraint Base:" + og);
    rep.piszcr();
    app.port.note(kTitle, "Diagnostic Report on joint rule-constraint inconsistencies between: " +
                              std::string("\nAugmented Exact Rule Base:   ") + re +
                              "\nand Augmented Exact Constraint Base:  " + og + ".");
    wiersz(" Detection of joint inconsistencies of type " + type + " is done by by flattening rules:");
    rep.piszcr();
    app.port.note(kTitle, "Detection of joint inconsistencies of type " + type + " is done by by flattening rules:");

    // Each rule and constraint once, with the flattenings that need two of
    // that constraint's members.
    std::vector<JointInconsistency> pary;
    for (const auto& p : f.sprzecznosc_2)
        if (std::find(pary.begin(), pary.end(), p) == pary.end()) pary.push_back(p);
    for (const JointInconsistency& para : pary) {
        const std::int32_t n = para.n, k = para.k;
        const auto& cs = app.store.constraints();
        const auto lk = std::find_if(cs.begin(), cs.end(), [&](const kb::Constraint& c) { return c.numer == k; });
        if (lk == cs.end()) continue;
        const Names& czlonkowie = lk->warunki;
        const std::string ns = std::to_string(n), ks = std::to_string(k);
        for (const FlattenedRule& s : f.regula_splaszczona_s2) {
            if (s.numer != n || !dwa_czlonki(s.warunki, czlonkowie)) continue;
            const std::string zapis = "   rule_flattened(" + ns + ", " + s.wniosek + ", [" + polacz(s.warunki, ",") + "])";
            const std::string ograniczenie = "   constraint(" + ks + ", [" + polacz(czlonkowie, ",") + "])";
            if (s.reguly.empty()) {
                rep.pisz(" The result of flattening rule  " + ns + " is: ");
                rep.piszcr();
                wiersz(zapis);
                rep.pisz("Flattening has been done using rules: ");
                wiersz(" Rule " + ns + " is directly " + type + "-inconsistent with constraint  " + ks + ":");
                wiersz(ograniczenie);
                rep.piszcr();
                app.port.findingNote(port::Diagnosis::JointRuleConstraintInconsistency, kTitle,
                                     "The result of flattening rule " + ns + "is:\n\nrule_flattened(" + ns + ", " +
                                         s.wniosek + ", " + lista_w_nawiasach(s.warunki) +
                                         "\nFlattening has been done using rules: )\n\nRule " + ns +
                                         ". is directly " + type + "-inconsistent with constraint " + ks +
                                         ":\n\nconstraint(" + ks + ", " + lista_w_nawiasach(czlonkowie) + ")");
            } else {
                std::string kazdy;
                for (auto u : s.reguly) kazdy += std::to_string(u) + ", ";
                rep.pisz(" The result of flattening rule " + ns + " is: ");
                rep.piszcr();
                wiersz(zapis);
                rep.pisz(" Flattening has been done using rules: " + polacz(s.reguly, ","));
                wiersz(" Rule " + ns + " is indirectly " + type + "-inconsistent with constraint" + ks + ":");
                wiersz(ograniczenie);
                rep.piszcr();
                app.port.findingNote(port::Diagnosis::JointRuleConstraintInconsistency, kTitle,
                                     "The result of flattening rule " + ns + " is:\n\nrule_flattened(" + ns + ", " +
                                         s.wniosek + ", " + lista_w_nawiasach(s.warunki) +
                                         ")\n\nFlattening has been done using rules: " + kazdy + "\n\nRule " + ns +
                                         "is indirectly" + type + "-inconsistent with constraint " + ks +
                                         ":\n\nconstraint(" + ks + ", " + lista_w_nawiasach(czlonkowie) + ")");
            }
        }
    }
    if (f.truncated)
        wiersz(" The report is cut short: only the first " + std::to_string(kMaxJointFlattenings) +
               " flattenings showing joint inconsistencies are kept.");
    rep.piszcr();
    wiersz(" End of diagnostic report of joint rule-constraint inconsistencies between");
    wiersz(" Rule Base:          " + re);
    wiersz(" and Constraint Base:   " + og);
    app.port.note(kTitle, "End of diagnostic report of joint rule-constraint inconsistencies between\n"
                          "Augmented Exact Rule Base\n    " +
                              re + "\nand Augmented Exact Constraint Base\n    " + og + ".");
    reports::raport(app);
}

}  // namespace torv::verify
