// Conclusion exclusivity analysis: announcement, picking, states and result.
#include "verify/exclusivity.h"

#include "kb/store.h"
#include "port/long_work.h"
#include "state/app_state.h"
#include "verify/flattening.h"

namespace torv::verify {

namespace {

const char* const kAttention = "Attention!";

/// Step one: the announcement of the question asked.
void ogloszenie(AppState& app, Exclusion opcja) {
    switch (opcja) {
    case Exclusion::ToOne:
        app.messages.write(" An 'exclusive to one' test will be performed for selected conclusion. \n");
        app.messages.write(" This test discovers whether always one and only one conclusion is true. \n");
        app.port.note(kAttention, app.store.nazwa_mo
                                      ? "An 'exclusive to one' test will be performed for selected conclusion. "
                                        "\nThis test discovers whether always one and only one conclusion is true."
                                      : "An 'exclusive to one' test will be performed for selected conclusion.  "
                                        "\nThis test discovers whether always one and only one conclusion is true. ");
        break;
    case Exclusion::ToNone:
        // Its states count exactly as those of "to one" do, so it keeps that wording.
        app.port.note(kAttention, "An 'exclusive to one' test will be performed for selected conclusion."
                                  "\nThis test discovers whether always one and only one conclusion is true.");
        break;
    case Exclusion::NonExclusion:
        app.port.note(kAttention, "A 'non-exclusive' test will be performed for selected conclusion. "
                                  "\nThis test discovers whether more than one of the  conclusion may be true.");
        break;
    }
}

/// pisz_wnioski.
void pisz_wnioski(AppState& app, Exclusion opcja, const ExclusivityRun& run) {
    const auto row = wiersz_wnioskow(opcja, run.outcome.no(opcja), testowanie_obecnosci_wspolnych_warunkow(run.reguly),
                                     testowanie_roznej_liczby_warunkow(run.reguly));
    if (!row) return;
    app.messages.write(row->naglowek);
    app.messages.write("\n");
    for (const auto& r : run.reguly) {
        const std::string n = std::to_string(r.numer);
        if (row->doJednego) {
            app.messages.write("Rule number: " + n + "    Conclusion:   " + r.wniosek + "\n");
            app.port.note(std::string(row->tytul), "Rule number:  " + n + "    Conclusion:   " + r.wniosek);
        } else {
            app.messages.write("Rule number:  " + n + "    Conclusion:  " + r.wniosek + "\n");
            app.port.note(std::string(row->tytul), "Rule number:  " + n + "    Conclusion: " + r.wniosek);
        }
    }
}

}  // namespace

ExclusivityRun wyznacz_wykluczenie(FlatteningBase& base, Exclusion opcja, const std::vector<std::size_t>& wybrane,
                                   std::uint64_t passBudget, port::Progress* progress) {
    ExclusivityRun out;
    const auto& rules = base.store().rules();
    std::uint64_t spent = 0;
    for (std::size_t k = 0; k < wybrane.size(); ++k) {
        if (progress) progress->check(k);
        const kb::Rule& rule = rules.at(wybrane[k]);
        // Not knowing whether a rule can fire, the states would answer wrongly.
        if (spent >= passBudget) {
            out.przerwana = rule.numer;
            return out;
        }
        // Only the first flattening takes part: the generator is never asked for more.
        Splaszcz gen(base, rule);
        gen.setPassBudget(passBudget - spent);
        const bool found = gen.next();
        spent += gen.passes();
        if (found) {
            out.reguly.push_back({rule.numer, rule.wniosek, gen.flatNames()});
        } else if (gen.limitHit()) {
            out.przerwana = rule.numer;
            return out;
        } else {
            out.bez_splaszczenia.push_back(rule.numer);
        }
    }
    std::vector<Names> generujace;
    generujace.reserve(out.reguly.size());
    for (const auto& r : out.reguly) generujace.push_back(r.flat);
    out.outcome = StateTest(base.store()).testuj(opcja, out.reguly, generujace);
    return out;
}

std::optional<WierszWnioskow> wiersz_wnioskow(Exclusion opcja, bool no, bool common, bool diff) {
    static constexpr WierszWnioskow toOne{"\nThe following rules have conclusions exclusive to one:",
                                          "The following rules have conclusions exclusive to one:", true};
    static constexpr WierszWnioskow notToOne{"\nThe following rules have no conclusions exclusive to one:",
                                             "The following rules have no conclusions exclusive to one:", false};
    static constexpr WierszWnioskow toNone{"\nThe following rules have conclusions exclusive to none:",
                                           "The following rules have conclusions exclusive to none:", false};
    static constexpr WierszWnioskow noneExclusive{"\nThe following rules have no  exclusive conclusion:",
                                                  "The following rules have no exclusive conclusions:", false};
    static constexpr WierszWnioskow notExclusive{"\nThe following rules have no exclusive conclusions: ",
                                                 "The following rules have no exclusive conclusions:", false};
    static constexpr WierszWnioskow exclusiveCommon{"\nThe following rules have exclusive conclusions: ",
                                                    "The following rules have exclusive conclusions:", false};
    static constexpr WierszWnioskow exclusive{"\nThe following rules have exclusive conclusions: ",
                                              "The following rules have  exclusive conclusions:", false};
    switch (opcja) {
    case Exclusion::ToOne:
        return !no && !common && !diff ? toOne : notToOne;
    case Exclusion::ToNone:
        if (!no && diff) return toNone;
        if (!common && !diff) return noneExclusive;
        return std::nullopt;
    case Exclusion::NonExclusion:
        if (no) return notExclusive;
        if (common) return exclusiveCommon;
        if (diff) return notExclusive;
        return exclusive;
    }
    return std::nullopt;
}

std::vector<std::string> tworz_numer_wniosek(const kb::Store& store) {
    std::vector<std::string> out;
    out.reserve(store.rules().size());
    for (const auto& r : store.rules()) out.push_back(std::to_string(r.numer) + "  " + r.wniosek);
    return out;
}

void analiza_bazy_wiedzy(AppState& app, Exclusion opcja, std::uint64_t passBudget) {
    FlatteningBase base(app.store, app.askables);
    if (flattening_refused(app, base)) {
        app.port.note(kAttention, kNoFlatteningText);
        return;
    }
    ogloszenie(app, opcja);
    // nr_wniosek: rebuilt on every run. The entry's position names the rule,
    // so that rules sharing a number stay apart.
    const auto wybrane = app.port.pickFacts("Pick conclusions tested for exclusivity!"
                                            "\nPick conclusions tested for exclusivity",
                                            tworz_numer_wniosek(app.store));
    if (!wybrane || wybrane->empty()) return;

    ExclusivityRun run;
    const auto test = [&] {
        port::Progress progress(app.port, port::texts::kExclusivityTest.label, wybrane->size());
        run = wyznacz_wykluczenie(base, opcja, *wybrane, passBudget, &progress);
    };
    if (!port::runToEnd(app.port, app.messages, port::texts::kExclusivityTest, test)) return;
    for (std::int32_t n : run.bez_splaszczenia)
        app.messages.write("Rule number:  " + std::to_string(n) + " cannot be flattened and takes no part in the test.\n");
    if (run.przerwana) {
        const std::string text = "Flattening rule " + std::to_string(*run.przerwana) +
                                 " needs more work than this test allows.\nThe test has not been performed.";
        app.messages.write(text + "\n");
        app.port.note(kAttention, text);
        return;
    }
    if (run.reguly.empty()) return;
    pisz_wnioski(app, opcja, run);
}

}  // namespace torv::verify
