// Joint rule-constraint redundancies: the test, its offer, informing and report.
#include "verify/joint_redundancy.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <unordered_map>

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

const char* const kReportTitle = "Diagnosing joint redundancies";

std::string tekst_ciecia() {
    return " The report is incomplete: conclusions with more than " + std::to_string(kMaxGroupFlattenings) +
           " flattenings through a constraint were not examined.";
}

/// "None found" must not hide the groups left unexamined.
void powiedz_o_cieciu(AppState& app) {
    if (app.findings.jointRedundancy.truncated) app.messages.write(tekst_ciecia() + "\n");
}

std::string typ(const AppState& app) {
    return nazwa_nadmiaru_2(app.store.rozszerzenie.value_or("")).value_or("RAE2");
}

/// regula_splaszczona_dopuszczalna: the flattening holds a member of the constraint.
bool dopuszczalna(const std::vector<NameId>& flat, const std::set<NameId>& czlonkowie) {
    return std::any_of(flat.begin(), flat.end(), [&](NameId id) { return czlonkowie.count(id) != 0; });
}

struct Kandydat {
    std::int32_t numer;
    std::vector<NameId> flat;
    Numbers uzyte;
};

/// Whether the flattenings differ only in which member of the constraint
/// they require, each member once: common part removed (usun_wspolne_2),
/// repeated differences counted once (redukuj_lista), none empty
/// (nietrywialna), each one member and all members used (przeciwne_2).
bool nadmiarowa(const std::vector<Kandydat>& grupa, const std::set<NameId>& czlonkowie) {
    std::set<NameId> wspolne(grupa.front().flat.begin(), grupa.front().flat.end());
    for (const auto& k : grupa) {
        const std::set<NameId> f(k.flat.begin(), k.flat.end());
        std::erase_if(wspolne, [&](NameId id) { return f.count(id) == 0; });
    }
    // Equal differences count once, so every difference must be one member
    // and the members met must be all of them.
    std::set<NameId> uzyte;
    for (const auto& k : grupa) {
        std::set<NameId> r;
        for (NameId id : k.flat)
            if (!wspolne.count(id)) r.insert(id);
        if (r.size() != 1 || !czlonkowie.count(*r.begin())) return false;
        uzyte.insert(*r.begin());
    }
    return uzyte == czlonkowie;
}

}  // namespace

std::optional<std::string> nazwa_nadmiaru_2(std::string_view rozszerzenie) {
    if (kb::upperAscii(rozszerzenie) == ".AEB") return "RAE2";
    return std::nullopt;
}

bool wyznacz_nadmiar_2(AppState& app) {
    JointRedundancyFindings& out = app.findings.jointRedundancy;
    out = {};
    FlatteningBase base(app.store, app.askables);
    const auto& rules = app.store.rules();
    const auto& constraints = app.store.constraints();
    std::unordered_map<NameId, std::vector<std::size_t>> wg_czlonka;   // constraint positions by member
    for (std::size_t k = 0; k < constraints.size(); ++k)
        for (NameId id : base.intern(constraints[k].warunki)) wg_czlonka[id].push_back(k);
    // How many flattenings of each rule are admissible for each constraint,
    // in rule order: each rule is flattened once here, not once per
    // constraint, and a group too large is known before it is collected.
    std::vector<std::unordered_map<std::size_t, std::uint64_t>> dopuszczalne(constraints.size());
    std::vector<std::vector<std::size_t>> kolejnosc(constraints.size());
    // A flattening with two members of a constraint leaves one of them in
    // its difference beside the other or in the common part: its group can
    // never be redundant.
    std::vector<std::set<std::size_t>> dwa_czlonki(constraints.size());
    std::vector<std::uint64_t> runda(constraints.size(), 0);
    std::vector<NameId> pierwszy(constraints.size(), -1);
    std::uint64_t nr = 0;   // flattenings met so far
    // Each rule is flattened, then each constraint's groups are examined.
    port::Progress progress(app.port, port::texts::kJointRedundancyTest.label, rules.size() + constraints.size());
    for (std::size_t i = 0; i < rules.size() && !constraints.empty(); ++i) {
        progress.check(i);
        for (Splaszcz gen(base, rules[i]); gen.next();) {
            ++nr;
            for (NameId id : gen.flat())
                if (auto it = wg_czlonka.find(id); it != wg_czlonka.end())
                    for (std::size_t k : it->second) {
                        if (runda[k] == nr) {   // each flattening counts once
                            if (pierwszy[k] != id) dwa_czlonki[k].insert(i);
                            continue;
                        }
                        runda[k] = nr;
                        pierwszy[k] = id;
                        if (dopuszczalne[k][i]++ == 0) kolejnosc[k].push_back(i);
                    }
        }
    }
    for (std::size_t kp = 0; kp < constraints.size(); ++kp) {
        progress.check(rules.size() + kp);
        const kb::Constraint& k = constraints[kp];
        const std::vector<NameId> ids = base.intern(k.warunki);
        const std::set<NameId> czlonkowie(ids.begin(), ids.end());
        // A conclusion is examined once per constraint, whatever the result.
        std::set<std::string> zbadane;
        for (std::size_t i : kolejnosc[kp]) {
            const kb::Rule& rule = rules[i];
            if (zbadane.count(rule.wniosek)) continue;
            zbadane.insert(rule.wniosek);

            std::uint64_t rozmiar = 0;
            bool mozliwa = true;
            for (std::size_t j : app.store.ruleIndexesByConclusion(rule.wniosek)) {
                if (auto it = dopuszczalne[kp].find(j); it != dopuszczalne[kp].end()) rozmiar += it->second;
                if (dwa_czlonki[kp].count(j)) mozliwa = false;
            }
            if (!mozliwa) continue;
            if (rozmiar > kMaxGroupFlattenings) {
                out.truncated = true;
                continue;
            }
            std::vector<Kandydat> grupa;
            for (std::size_t j : app.store.ruleIndexesByConclusion(rule.wniosek)) {
                auto it = dopuszczalne[kp].find(j);
                if (it == dopuszczalne[kp].end()) continue;
                std::uint64_t zostalo = it->second;
                for (Splaszcz gen(base, rules[j]); zostalo > 0 && gen.next();) {
                    if (!dopuszczalna(gen.flat(), czlonkowie)) continue;
                    grupa.push_back({rules[j].numer, gen.flat(), gen.usedNormalised()});
                    --zostalo;
                }
            }
            if (!nadmiarowa(grupa, czlonkowie)) continue;
            JointRedundancy r;
            r.k = k.numer;
            for (const auto& g : grupa) {
                if (std::find(r.reguly.begin(), r.reguly.end(), g.numer) == r.reguly.end()) r.reguly.push_back(g.numer);
                r.splaszczone.push_back({g.numer, rule.wniosek, base.names(g.flat), g.uzyte});
            }
            const bool juz = std::any_of(out.reguly_nadmiarowe_n2.begin(), out.reguly_nadmiarowe_n2.end(),
                                         [&](const JointRedundancy& x) { return x.reguly == r.reguly && x.k == r.k; });
            if (juz) continue;
            out.reguly_nadmiarowe_n2.push_back(std::move(r));
            out.zbadany_wniosek.emplace_back(rule.wniosek, k.numer);
        }
    }
    return out.reguly_nadmiarowe_n2.empty();
}

void informuj_nadmiar_2(AppState& app) {
    if (odmowa(app)) return;
    const std::string re = nazwa_re(app), og = nazwa_og(app), type = typ(app);
    linie(app, {"  Rule base:           " + re, "  and Constraint Base: " + og, "  are tested for  joint redundancies."});
    JointRedundancyFindings& f = app.findings.jointRedundancy;
    bool none = false;
    const auto test = [&] { none = f.reguly_nadmiarowe_n2.empty() && wyznacz_nadmiar_2(app); };
    if (!port::runToEnd(app.port, app.messages, port::texts::kJointRedundancyTest, test, f)) return;
    if (none) {
        linie(app, {"  Rule Base:           " + re, "  and Constraint Base: " + og,
                    "  have no joint redundancies of type " + type + "."});
        powiedz_o_cieciu(app);
        app.port.note("Result of testing joint redundancies",
                      "Augmented Exact Rule Base\n     " + re + "\nand Augmented Exact Constraint Base\n     " + og +
                          "\nhave no joint redundancies of type " + type + ".");
        return;
    }
    linie(app, {" Rule Base:           " + re, " and Constraint Base: " + og,
                " contain redundancy of type " + type + ".",
                " You may use the loaded bases for chaining, because redundant",
                " rules do not cause chaining to break down. However, it may increase",
                " the time necessary for performing the chaining and - what's perhaps",
                " more important - make conclusions depend upon an unnecessarily large", " number of conditions.",
                " Therefore it is advised to remove redundancies.", " For this  proceed to the option:",
                " 'Constraint Base/Diagnosing Joint Redundancies'",
                " where a detailed message highlighting the nature of redundancies", " is to be found."});
    app.port.note("Joint redundancies found",
                  "Augmented Exact Rule Base\n   " + re + "\nand Augmented Exact Constraint Base\n   " + og +
                      "\ncontain redundancy of type " + type +
                      ". \n\nYou may use the loaded bases for chaining, because \n" +
                      "redundant rules do not cause chaining to break down.\n" +
                      "However, it may increase the time necessary for" +
                      "\nperforming the chaining and - what's perhaps" +
                      "\nmore important - make conclusions depend upon an " +
                      "\nunnecessarily large number of conditions. \n\nTherefore it is advised to remove redundancies." +
                      "\nFor this  proceed  to the option:" +
                      "\n   'Exact Constraint Base\n     Diagnosing Joint Redundancies'" +
                      "\nwhere a detailed message highlighting the nature \nof redundancies is to be found.");
    app.menu.enable({shell::cmd::kDiagnosingJointRuleConstraintRedundancies});
}

bool testuj_nadmiar_2(AppState& app) {
    linie(app, {"The Rule Base and Constraint Base may be tested forjoint  redundancies.",
                "This test may take a lot of time for large and heavily nested ", "rule bases. ",
                "This test should be used while developing or modifying rule bases.",
                "For routine uses of the rule- and constraint bases the test should", "be bypassed."});
    const int answer = app.port.yesNo(
        "Choose", "Augmented Exact Rule Base\n     " + nazwa_re(app) + "\nand Augmented Exact Constraint Base\n     " +
                      nazwa_og(app) +
                      "\nmay be tested for joint redundancies. \n\nThis test may take a lot of time for large and "
                      "\nheavily nested rule bases." +
                      "\nTherefore it should be applied while developing or \nmodifying rule bases." +
                      "\nFor routine uses of the rule- and constraint bases \nthe test should be bypassed." +
                      "\n\nDo you wish to diagnose the rule and constraint base \nfor joint redundancies?");
    if (answer == port::kYes) informuj_nadmiar_2(app);
    return true;
}

void pisz_nadmiar_2(AppState& app) {
    JointRedundancyFindings& f = app.findings.jointRedundancy;
    const std::string re = nazwa_re(app), og = nazwa_og(app), type = typ(app);
    if (f.reguly_nadmiarowe_n2.empty()) {
        if (odmowa(app)) return;
        bool none = false;
        const auto test = [&] { none = wyznacz_nadmiar_2(app); };
        if (!port::runToEnd(app.port, app.messages, port::texts::kJointRedundancyTest, test, f)) return;
        if (none) {
            linie(app, {" Rule Base:           " + re, "  and Constraint Base: " + og,
                        "  have no joint redundancies of type " + type + "."});
            powiedz_o_cieciu(app);
            app.port.note(kReportTitle, "Augmented Exact Rule Base\n    " + re +
                                            "\nand Augmented Exact Constraint Base\n    " + og +
                                            "\nhave no joint redundancies of type " + type + ".");
            return;
        }
    }
    auto& rep = app.report;
    rep.kasowanie_tekst_raportu();
    auto wiersz = [&](const std::string& s) {
        rep.pisz(s);
        rep.piszcr();
    };
    wiersz(" Diagnostic report on joint rule-constraint redundancies between:");
    wiersz("Rule Base:            " + re);
    wiersz(" and Constraint Base:  " + og);
    app.port.note(kReportTitle, "Diagnostic report on joint rule-constraint redundancies between:\n"
                                "Augmented Exact Rule Base\n   " +
                                    re + "\nand Augmented Exact Constraint Base\n   " + og + ".");
    wiersz(" Joint redundancies of type  " + type + " are detected");
    wiersz(" by flattening rules and comparing their list of conditions");
    wiersz(" with those in the constraint base: ");
    app.port.note(kReportTitle, "Joint redundancies of type  " + type + " are detected" +
                                    "\nby flattening rules and comparing their list of conditions" +
                                    "\nwith those in the constraint base:");
    const auto& cs = app.store.constraints();
    for (const JointRedundancy& r : f.reguly_nadmiarowe_n2) {
        for (const FlattenedRule& s : r.splaszczone) {
            const std::string n = std::to_string(s.numer);
            wiersz(" The result of flattening rule " + n + " is: ");
            wiersz("   rule_flattened(" + n + ", " + s.wniosek + ", [" + polacz(s.warunki, ",") + "])");
            wiersz(" The flattening has been done using rules:  " + polacz(s.reguly, ","));
            app.port.findingNote(port::Diagnosis::JointRuleConstraintRedundancy, kReportTitle,
                                 "The result of flattening rule  " + n + "is:\n\nrule_flattened(" + n + ", " +
                                     s.wniosek + ", " + lista_w_nawiasach(s.warunki) +
                                     ")\n\nThe flattening has been done using rules: " + polacz(s.reguly, ","));
        }
        const auto k = std::find_if(cs.begin(), cs.end(), [&](const kb::Constraint& c) { return c.numer == r.k; });
        const Names czlonkowie = k == cs.end() ? Names{} : k->warunki;
        const std::string ks = std::to_string(r.k);
        wiersz(" The quoted rules and the constraint " + ks + " o postaci");
        wiersz("   constraint(" + ks + ", [" + polacz(czlonkowie, ",") + "])");
        wiersz(" contain redundancy of type " + type + ".");
        app.port.findingNote(port::Diagnosis::JointRuleConstraintRedundancy, kReportTitle,
                             "The quoted rules and the constrainte \nconstraint(" + ks + ", " +
                                 lista_w_nawiasach(czlonkowie) + ")\ncontain redundancy of type  " + type + ".");
    }
    if (f.truncated) wiersz(tekst_ciecia());
    // kasowanie_nadmiar_n2: the report consumes what the test found.
    f = {};
    wiersz(" End of diagnostic report of joint rule-constraint redundancies between");
    wiersz("Augmented Exact Rule Base  " + re);
    wiersz("and Augmented Exact Constraint Base: " + og);
    app.port.note(kReportTitle, "End of diagnostic report of joint rule-constraint redundancies between\n"
                                "Augmented Exact Rule Base\n" +
                                    re + "\nand Augmented Exact Constraint Base\n    " + og + ".");
    reports::raport(app);
}

}  // namespace torv::verify
