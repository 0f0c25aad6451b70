// Internal inconsistencies: the test, its offer, informing and report.
#include "verify/internal.h"

#include <unordered_set>

#include "kb/store.h"
#include "port/long_work.h"
#include "reports/report_commands.h"
#include "state/app_state.h"
#include "verify/external.h"
#include "verify/flattening.h"
#include "verify/load_offers.h"

namespace torv::verify {

bool testuj_sprzecznosc(FlatteningBase& base, const std::vector<NameId>& flat) {
    // Negation is its own inverse, so "a negation follows some element" is
    // the same as "some element's negation is in the list".
    const std::uint32_t round = base.newRound();
    for (NameId id : flat) base.mark(id) = round;
    for (NameId id : flat)
        if (base.mark(base.negation(id)) == round) return true;
    return false;
}

bool testuj_sprzecznosc(const Names& flat) {
    for (std::size_t i = 0; i < flat.size(); ++i)
        for (std::size_t j = i + 1; j < flat.size(); ++j)
            if (flat[j] == kb::negacja(flat[i])) return true;
    return false;
}

namespace {

/// A flattening of a rule as one string of numbers, for finding repeats.
std::string keyOf(std::int32_t numer, NameId wniosek, const std::vector<NameId>& flat, const Numbers& used) {
    std::string k;
    k.reserve((flat.size() + used.size() + 3) * sizeof(std::int32_t));
    auto put = [&](std::int32_t v) { k.append(reinterpret_cast<const char*>(&v), sizeof v); };
    put(numer);
    put(wniosek);
    for (NameId id : flat) put(id);
    put(-1);
    for (auto n : used) put(n);
    return k;
}

}  // namespace

InternalTestStats wyznacz_sprzecznosc_1w(AppState& app, bool shortcuts) {
    InternalFindings& out = app.findings.internal;
    out = {};
    InternalTestStats stats;
    FlatteningBase base(app.store, app.askables);
    const auto& rules = app.store.rules();

    // First which conclusions have a flattening free of contradiction: one
    // such flattening clears every rule concluding it, so the search for a
    // conclusion stops there and nothing needs keeping.
    // Both rounds go over the rules: the second is often empty.
    port::Progress progress(app.port, port::texts::kInternalTest.label, 2 * rules.size());
    std::unordered_set<NameId> consistent;
    for (std::size_t i = 0; i < rules.size(); ++i) {
        progress.check(i);
        const auto& rule = rules[i];
        const NameId c = base.intern(rule.wniosek);
        if (consistent.count(c)) continue;
        const std::vector<NameId> warunki = base.intern(rule.warunki);
        std::uint64_t passes = 0;
        if (const auto only = shortcuts ? base.soleFlattening(warunki, &passes) : std::nullopt) {
            ++stats.flattenings;
            stats.passes += passes;
            if (!testuj_sprzecznosc(base, *only)) consistent.insert(c);
            continue;
        }
        Splaszcz gen(base, warunki);
        while (gen.next()) {
            ++stats.flattenings;
            if (!testuj_sprzecznosc(base, gen.flat())) {
                consistent.insert(c);
                break;
            }
        }
        stats.passes += gen.passes();
    }
    // Then the rules of the other conclusions once more: each distinct
    // flattening is a contradiction the report shows.
    std::unordered_set<std::string> kept;
    for (std::size_t i = 0; i < rules.size(); ++i) {
        progress.check(rules.size() + i);
        const auto& rule = rules[i];
        const NameId c = base.intern(rule.wniosek);
        if (consistent.count(c)) continue;
        Splaszcz gen(base, rule);
        while (gen.next()) {
            ++stats.flattenings;
            const Numbers used = gen.usedNormalised();
            if (!kept.insert(keyOf(rule.numer, c, gen.flat(), used)).second) continue;
            if (out.regula_splaszczona_1w.size() >= kMaxKeptFlattenings) {
                out.truncated = true;
                break;
            }
            out.regula_splaszczona_1w.push_back({rule.numer, rule.wniosek, gen.flatNames(), used});
            out.sprzecznosc_1w.push_back({rule.numer, rule.wniosek, true});
        }
        stats.passes += gen.passes();
    }
    if (!out.sprzecznosc_1w.empty()) out.sprzecznosc_1_w = true;
    return stats;
}

void informuj_sprzecznosc_1w(AppState& app) {
    const std::string type = typ_sprzecznosci(app);
    const std::string name = app.store.nazwa_re.value_or("");
    if (!app.verdicts.externallyInconsistent()) {
        FlatteningBase base(app.store, app.askables);
        if (flattening_refused(app, base)) {
            app.port.note("Attention!", kNoFlatteningText);
            return;
        }
        const auto test = [&] { wyznacz_sprzecznosc_1w(app); };
        if (!port::runToEnd(app.port, app.messages, port::texts::kInternalTest, test, app.findings.internal)) return;
    }
    if (!app.verdicts.externallyInconsistent() && app.findings.internal.sprzecznosc_1_w) {
        app.messages.write("The loaded rule base contains at least one internal inconsistency");
        app.report.piszcr();
        app.messages.write("of type " + type + ".");
        app.report.piszcr();
        app.report.piszcr();
        app.messages.write("However, the rule base may be used for chaining.");
        app.report.piszcr();
        app.report.piszcr();
        app.messages.write(
            "Internally inconsistent rules do not result in infinite loops but are simply omitted in the\n"
            "chaining process. This may result in faulty conclusions. \n"
            "Therefore you are advised to diagnose the causes of internal inconsistencies.\n"
            "To achieve this proceed with the loaded Rule Base and enter the Main Menu\n"
            "option:\n"
            "\n"
            "'Rule Base /Diagnosing Internal Inconsistencies'\n"
            "\n"
            "where a detailed message highlighting the nature of inconsistencies\n"
            "is to be found.\n"
            "\n");
        app.port.note("Information on inconsistency",
                      "Augmented Exact Rule Base\n     " + name +
                          "\ncontains at least one internal inconsistency of type " + type +
                          "\nHowever, the rule base may be used for chaining."
                          "\nInternally inconsistent rules do not result in infinite \nloops, but are simply omitted "
                          "in the chaining process. "
                          "\nThis may result in faulty conclusions. "
                          "\nTherefore you are advised to diagnose the causes of internal inconsistencies. "
                          "\n\nTo achieve this  enter the option"
                          "\n   'Rule Base\n     Diagnosing Internal Inconsistencies'"
                          "\nwhere a detailed message highlighting the nature of"
                          "\n inconsistencies is to be found."
                          "\nProceed to the option 'Rule Base /Rule Base editing'  and remove the inconsistency.");
        app.outcomes.push_back(Outcome::InternalInconsistencyFound);
        return;
    }
    app.messages.write(" The Rule Base " + name + "\n is not internally " + type + "-inconsistent.");
    app.port.note("Information on inconsistency",
                  "Augmented Exact Rule Base\n   " + name + "\nis not internally " + type + "-inconsistent.");
}

bool testuj_sprzecznosc_1w(AppState& app) {
    const std::string name = app.store.nazwa_re.value_or("");
    app.messages.write("\n"
                       "The rule base may be tested for internal inconsistencies.\n"
                       "This test may take a lot of time for large and heavily nested \n"
                       "rule bases. \n"
                       "\n"
                       "This test should be performed while developing or modifying rule bases.\n"
                       "For routine uses of a much used rule base the test should be bypassed.\n"
                       "\n"
                       "Keep in mind that internal rule inconsistencies\n"
                       "do not lead to infinite loops; however, rules internally inconsistent \n"
                       "are omitted in the chaining process and this is perhaps not what the \n"
                       "rule base designer intended to achieve.\n"
                       "\n");
    const int answer = app.port.yesNo(
        "Choose", "Augmented Exact Rule Base\n     " + name +
                      "\nmay be tested for internal inconsistencies. \n\nThis test may take a lot of time for large "
                      "and heavily "
                      "\nnested rule bases, because the rules need to be flattened."
                      "\nIt should be performed while developing or modifying "
                      "\nrule bases."
                      "\nFor routine uses of often used rule bases the test should  "
                      "\nbe bypassed."
                      "\n\nKeep in mind that internal rule inconsistencies do not lead"
                      "\nto infinite loops; rules internally inconsistent are just "
                      "\nomitted in the chaining process and this is perhaps not "
                      "\nwhat the rule base designer intended to achieve. "
                      "\nDo you wish to test the rule base for internal inconsistencies?");
    if (answer == port::kYes) informuj_sprzecznosc_1w(app);
    return true;
}

void pisz_sprzecznosc_1w(AppState& app) {
    const std::string type = typ_sprzecznosci(app);
    const std::string name = app.store.nazwa_re.value_or("");
    const char* const title = "Information on inconsistency";
    InternalFindings& f = app.findings.internal;
    if (!f.sprzecznosc_1_w) {
        app.port.note(title, "Augmented Exact Rule Base\n   " + name + "\nis not internally " + type + "-inconsistent.");
        return;
    }
    auto& rep = app.report;
    rep.kasowanie_tekst_raportu();
    rep.pisz(" Diagnostic report on internal inconsistencies of rule base: \n " + name + "\n\n");
    app.port.note(title, "Diagnostic report on internal inconsistencies of \nAugmented Exact Rule Base\n" + name);
    rep.pisz(" Internal inconsistencies of type  " + type + " are detected\n by flattening rules:\n\n");
    app.port.note(title, "Internal inconsistencies of type " + type + " are detected by flattening rules:");

    auto flattened = [&](const FlattenedRule& r) {
        const std::string n = std::to_string(r.numer);
        rep.pisz(" The result of flattening rule " + n + " is: \n");
        // An empty list is cut short after its bracket.
        rep.pisz("   rule_flattened(" + n + ", " + r.wniosek + ", " +
                 (r.warunki.empty() ? std::string("[\n") : "[" + polacz(r.warunki, ",") + "])\n"));
    };
    const auto verdicts = f.sprzecznosc_1w;
    for (const auto& v : verdicts) {
        if (!v.contradictory) continue;
        for (const auto& r : f.regula_splaszczona_1w) {
            if (r.numer != v.numer || r.wniosek != v.wniosek || !r.reguly.empty()) continue;
            const std::string n = std::to_string(r.numer);
            flattened(r);
            rep.pisz(" Rule  " + n + " is internally " + type + "-selfinconsistent. \n\n");
            app.port.findingNote(port::Diagnosis::Internal, title,
                                 "The result of flattening rule " + n + " is:\n\nrule_flattened(" + n + ", " +
                                     r.wniosek + ", " + lista_w_nawiasach(r.warunki) + ")\n\nRule " + n +
                                     " is internally " + type + " self-inconsistent.");
        }
    }
    for (const auto& v : verdicts) {
        if (!v.contradictory) continue;
        for (auto it = f.regula_splaszczona_1w.begin(); it != f.regula_splaszczona_1w.end();) {
            const FlattenedRule& r = *it;
            if (r.numer != v.numer || r.wniosek != v.wniosek || r.reguly.empty()) {
                ++it;
                continue;
            }
            const std::string n = std::to_string(r.numer);
            flattened(r);
            rep.pisz(" The flattening has been done using rules: " + polacz(r.reguly, ",") + "\n");
            rep.pisz(" Rule " + n + "  is internally undirectly " + type + "-inconsistent. \n\n");
            std::string used;
            for (auto u : r.reguly) used += std::to_string(u) + ", ";
            app.port.findingNote(port::Diagnosis::Internal, title,
                                 "The result of flattening rule " + n + " is:\n\nrule_flattened((" + n + ", " +
                                     r.wniosek + ", " + lista_w_nawiasach(r.warunki) +
                                     ")\n\nThe flattening has been done using rules: " + used + "\nRule " + n +
                                     " is internally undirectly " + type + "-inconsistent.");
            it = f.regula_splaszczona_1w.erase(it);   // reported once
        }
    }
    rep.pisz(" End of diagnostic report on internal inconsistencies of Rule Base: \n " + name + ".");
    app.port.note(title, "End of diagnostic report on internal inconsistencies of \nAugmented Exact Rule Base\n" +
                             name + ".");
    reports::raport(app);
}

}  // namespace torv::verify
