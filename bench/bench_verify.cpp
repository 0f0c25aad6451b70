// Times the rule-base diagnoses on generated acyclic bases shaped like real
// ones: three conditions per rule, derivations up to five rules deep, one
// derived conclusion in ten concluded by a second rule, one condition in
// five negated. Prints the load with every offer answered "yes", then each
// test on its own with its counts. With --deep, one rule in a hundred also
// concludes a level-1 name from a level-5 one: derivations get much deeper
// and may close cycles (the external test then blocks the base).
//   bench_verify [--deep] [rules ...]        (default: 200 2000)
// Each size also times the joint rule-constraint tests over one constraint
// per ten rules, and the exclusivity analysis of every rule against them.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "engine/askables.h"
#include "loading/loading.h"
#include "port/text_port.h"
#include "state/app_state.h"
#include "verify/exclusivity.h"
#include "verify/external.h"
#include "verify/flattening.h"
#include "verify/internal.h"
#include "verify/joint_inconsistency.h"
#include "verify/joint_redundancy.h"
#include "verify/redundancy.h"

namespace {

using namespace torv;

/// Answers "yes" to every box and shows nothing.
class YesPort : public port::TextPort {
protected:
    void present(const port::Dialog&) override {}
    std::optional<std::string> answer(const port::Dialog&) override { return "yes"; }
};

/// A rule base of `rules` rules over conclusions of levels 1 to 5; a rule of
/// level L takes one condition of level L-1 and two more from the askables
/// or lower levels.
enum class Shape { Shaped, Deep, SameConclusion };

std::string generate(int rules, unsigned seed, Shape shape) {
    const bool deep = shape == Shape::Deep;
    if (shape == Shape::SameConclusion) {
        std::string text;
        for (int i = 1; i <= rules; ++i) {
            const std::string n = std::to_string(i);
            text += "rule(" + n + ",\"goal\",[\"c" + n + "\",\"d" + n + "\"],1)\n";
        }
        return text;
    }
    std::mt19937 rng(seed);
    auto chance = [&](double p) { return std::uniform_real_distribution<double>(0, 1)(rng) < p; };
    const int depth = 5;
    const int conclusions = std::max(depth, static_cast<int>(rules / 1.1));
    const int askables = std::max(10, rules);
    std::vector<std::vector<std::string>> level(depth + 1);
    for (int i = 0; i < askables; ++i) level[0].push_back("a" + std::to_string(i));
    for (int i = 0; i < conclusions; ++i) {
        const int l = 1 + i % depth;
        level[l].push_back("c" + std::to_string(l) + "_" + std::to_string(i));
    }
    auto pick = [&](int l) { return level[l][rng() % level[l].size()]; };
    std::string text;
    int numer = 0;
    auto rule = [&](int l, const std::string& conclusion) {
        std::vector<std::string> conds{pick(l - 1)};
        while (conds.size() < 3) {
            // Real bases ask much: half the other conditions are askable.
            const int from = chance(0.5) ? 0 : static_cast<int>(rng() % l);
            std::string c = pick(from);
            if (std::find(conds.begin(), conds.end(), c) == conds.end()) conds.push_back(c);
        }
        text += "rule(" + std::to_string(++numer) + ",\"" + conclusion + "\",[";
        for (std::size_t k = 0; k < conds.size(); ++k)
            text += (k ? ",\"" : "\"") + std::string(chance(0.2) ? "n" : "") + conds[k] + "\"";
        text += "],1)\n";
    };
    for (int l = 1; l <= depth && numer < rules; ++l)
        for (const auto& c : level[l]) {
            if (numer >= rules) break;
            rule(l, c);
            if (numer < rules && chance(0.1)) rule(l, c);
        }
    while (numer < rules) {  // the second rules that did not fit above
        const int l = 1 + static_cast<int>(rng() % depth);
        rule(l, pick(l));
    }
    if (deep)
        for (int i = 0; i < rules / 100; ++i)
            text += "rule(" + std::to_string(++numer) + ",\"" + pick(1) + "\",[\"" + pick(depth) + "\",\"" +
                    pick(0) + "\"],1)\n";
    return text;
}

double seconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

long peakMiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

void run(int rules, Shape shape) {
    const auto dir = std::filesystem::temp_directory_path() / ("verify_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "BASES");
    const auto file = dir / "BASES" / "RUbench.AEB";
    std::ofstream(file, std::ios::binary) << generate(rules, 2024u + static_cast<unsigned>(rules), shape);

    YesPort port;
    AppState app(port, dir);
    auto t = std::chrono::steady_clock::now();
    const auto loaded = kb::loadRuleBaseFrom(app, file.string());
    const double load = seconds(t);
    std::printf("%d rules: load with every offer \"yes\" %.3f s (%s; external %s, internal %s, redundant %s)\n",
                static_cast<int>(app.store.rules().size()), load, loaded && !loaded->empty() ? "loaded" : "refused",
                !app.verdicts.sprzecznosc_1z ? "-" : *app.verdicts.sprzecznosc_1z ? "YES" : "NO",
                app.findings.internal.sprzecznosc_1_w ? "YES" : "NO",
                app.findings.redundancy.jest_nadmiar ? "YES" : "NO");

    t = std::chrono::steady_clock::now();
    const auto ext = verify::badaj(app.store);
    std::printf("  external search      %.3f s  search paths %llu, conditions examined %llu, findings %zu%s\n",
                seconds(t), static_cast<unsigned long long>(ext.paths),
                static_cast<unsigned long long>(ext.steps), ext.findings.reguly_sprzeczne.size(),
                ext.findings.truncated ? " (cut at the work limits)" : "");
    if (!ext.findings.reguly_sprzeczne.empty()) {
        // Cyclic: the flattening diagnoses refuse such a base.
        std::printf("  peak memory %ld MiB\n", peakMiB());
        std::filesystem::remove_all(dir);
        return;
    }

    t = std::chrono::steady_clock::now();
    const auto in = verify::wyznacz_sprzecznosc_1w(app);
    std::printf("  internal test        %.3f s  flattenings %llu, passes %llu, kept for the report %zu\n",
                seconds(t), static_cast<unsigned long long>(in.flattenings),
                static_cast<unsigned long long>(in.passes), app.findings.internal.regula_splaszczona_1w.size());

    app.findings.redundancy = {};
    verify::RedundancyTestStats red;
    t = std::chrono::steady_clock::now();
    verify::wyznacz_nadmiar(app, &red);
    std::printf("  redundancy test      %.3f s  rule pairs %llu, flattening pairs compared %llu\n", seconds(t),
                static_cast<unsigned long long>(red.pairs), static_cast<unsigned long long>(red.comparisons));

    // A constraint base of one constraint per ten rules, each of two to four
    // askable conditions, none shared.
    {
        std::mt19937 rng(7u + static_cast<unsigned>(rules));
        kb::ConstraintBase cb;
        const int askables = std::max(10, rules);
        std::vector<int> free(static_cast<std::size_t>(askables));
        for (int i = 0; i < askables; ++i) free[static_cast<std::size_t>(i)] = i;
        std::shuffle(free.begin(), free.end(), rng);
        std::size_t next = 0;
        for (int k = 1; k <= rules / 10 && next + 4 <= free.size(); ++k) {
            kb::Constraint c{k, {}};
            for (std::size_t m = 0, n = 2 + rng() % 3; m < n; ++m) c.warunki.push_back("a" + std::to_string(free[next++]));
            cb.constraints.push_back(std::move(c));
        }
        const std::size_t count = cb.constraints.size();
        app.store.setConstraintBase(std::move(cb));
        t = std::chrono::steady_clock::now();
        const bool consistent = verify::wyznacz_sprzecznosc_2(app);
        std::printf("  joint inconsistency  %.3f s  %zu constraints, %s, flattenings kept %zu\n", seconds(t), count,
                    consistent ? "none" : "found", app.findings.jointInconsistency.regula_splaszczona_s2.size());
        t = std::chrono::steady_clock::now();
        verify::wyznacz_nadmiar_2(app);
        std::printf("  joint redundancy     %.3f s  groups found %zu%s\n", seconds(t),
                    app.findings.jointRedundancy.reguly_nadmiarowe_n2.size(),
                    app.findings.jointRedundancy.truncated ? " (a group was too large)" : "");

        // Every rule picked, as the exclusivity commands would run them.
        std::vector<std::size_t> all(app.store.rules().size());
        for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
        const std::pair<verify::Exclusion, const char*> questions[] = {{verify::Exclusion::ToOne, "to one "},
                                                                       {verify::Exclusion::NonExclusion, "non-excl"}};
        for (const auto& [opcja, label] : questions) {
            verify::FlatteningBase fb(app.store, app.askables);
            t = std::chrono::steady_clock::now();
            const auto ex = verify::wyznacz_wykluczenie(fb, opcja, all);
            std::printf("  exclusivity %s    %.3f s  rules %zu, states run %llu, %s%s\n", label, seconds(t),
                        ex.reguly.size(), static_cast<unsigned long long>(ex.outcome.states),
                        ex.outcome.no(opcja) ? "\"NO\"" : "no \"NO\"", ex.przerwana ? " (work limit hit)" : "");
        }
    }

    // Every flattening of every rule, as "Flattening all rules" would show
    // them, counted but never kept; their number grows as a product, so
    // the count stops somewhere.
    constexpr std::uint64_t kCountLimit = 50'000'000;
    t = std::chrono::steady_clock::now();
    verify::FlatteningBase base(app.store, app.askables);
    std::uint64_t flattenings = 0, passes = 0, largest = 0;
    for (const auto& r : app.store.rules()) {
        verify::Splaszcz gen(base, r);
        std::uint64_t here = 0;
        while (flattenings + here < kCountLimit && gen.next()) ++here;
        flattenings += here;
        passes += gen.passes();
        largest = std::max(largest, here);
        if (flattenings >= kCountLimit) break;
    }
    std::printf("  all flattenings      %.3f s  flattenings %llu%s (at most %llu for one rule), passes %llu\n",
                seconds(t), static_cast<unsigned long long>(flattenings),
                flattenings >= kCountLimit ? " (count stopped)" : "", static_cast<unsigned long long>(largest),
                static_cast<unsigned long long>(passes));
    std::printf("  peak memory %ld MiB\n", peakMiB());
    std::filesystem::remove_all(dir);
}

/// The exclusivity analysis where every state has to be run (rules over
/// distinct askables never fire together), and on a rule whose first
/// flattening lies behind 2^24 dead ends, where the work limit stops it.
void exclusivityExtremes(int rules) {
    YesPort port;
    AppState app(port);
    {
        std::vector<verify::RuleToTest> reguly;
        std::vector<verify::Names> states;
        for (int i = 0; i < rules; ++i) {
            const std::string n = std::to_string(i);
            reguly.push_back({i + 1, "g" + n, {"x" + n, "y" + n, "nz" + n}});
            states.push_back(reguly.back().flat);
        }
        const auto t = std::chrono::steady_clock::now();
        const auto out = verify::StateTest(app.store).testuj(verify::Exclusion::NonExclusion, reguly, states);
        std::printf("%d disjoint rules: exclusivity non-excl %.3f s  states run %llu, %s\n", rules, seconds(t),
                    static_cast<unsigned long long>(out.states), out.wykluczenie_no ? "\"NO\"" : "no \"NO\"");
    }
    kb::RuleBase base;
    base.rules.push_back({1, "v", {}, 1});
    std::vector<std::string> goal{"z"};
    std::int32_t n = 1;
    for (int i = 0; i < 24; ++i) {
        const std::string c = "c" + std::to_string(i);
        base.rules.push_back({++n, c, {"d" + std::to_string(i)}, 1});
        base.rules.push_back({++n, c, {"e" + std::to_string(i)}, 1});
        goal.push_back(c);
    }
    base.rules.push_back({++n, "z", {"nv"}, 1});
    base.rules.push_back({++n, "z", {"w"}, 1});
    base.rules.push_back({++n, "goal", kb::names(goal), 1});
    app.store.setRuleBase(std::move(base));
    engine::pamietaj_dopytywalne_regul(app);
    verify::FlatteningBase fb(app.store, app.askables);
    const auto t = std::chrono::steady_clock::now();
    const auto ex = verify::wyznacz_wykluczenie(fb, verify::Exclusion::ToOne, {app.store.rules().size() - 1});
    std::printf("dead-end rule: exclusivity to one %.3f s  %s\n", seconds(t),
                ex.przerwana ? "stopped at the work limit" : "finished");
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    Shape shape = Shape::Shaped;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--deep") shape = Shape::Deep;
        else if (a == "--same-conclusion") shape = Shape::SameConclusion;
        else sizes.push_back(std::atoi(argv[i]));
    }
    if (sizes.empty()) sizes = {200, 2000};
    for (int n : sizes) run(n, shape);
    if (shape == Shape::Shaped) exclusivityExtremes(sizes.back());
}
