// Times whole forward-chaining runs over generated model bases: chains of
// arithmetic models of all four kinds, each model computing its result from
// the one before it, relational models deciding conclusions from the chain
// ends, and rules over those conclusions. The chain starts are known
// arguments of the model base; nothing is asked. Low detail, display
// semaphore 0, a port that prints nothing.
//   bench_models [--order=roots|leaves] [models...]      default: 1000
//   bench_models --chain=N                                one chain of N basic models
// roots: a chain's last model is written first, so the first model scanned
// applies the whole chain on demand; leaves: the first link first, so each
// pass of the main loop applies one model.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/askables.h"
#include "engine/forward.h"
#include "port/text_port.h"
#include "state/app_state.h"

namespace {

class QuietPort : public torv::port::TextPort {
protected:
    void present(const torv::port::Dialog&) override {}
    std::optional<std::string> answer(const torv::port::Dialog& d) override {
        if (d.title == "Level of detail") return "1";
        if (d.title == "Fact declaration mode") return "2";
        return "no";
    }
};

std::string x(int chain, int link) { return "x" + std::to_string(chain) + "_" + std::to_string(link); }

struct Generated {
    torv::kb::RuleBase rules;
    torv::kb::ModelBase models;
};

/// `arithmetic` models in chains of 20 (rounded up to whole chains), one
/// relational model per chain but at least 100, one rule per relational model.
Generated generate(int arithmetic, bool rootsFirst) {
    constexpr int kLength = 20;
    const int chains = (arithmetic + kLength - 1) / kLength;
    Generated g;
    std::int32_t numer = 1;
    for (int c = 0; c < chains; ++c) {
        g.models.argument_known.push_back({x(c, 0), 1.0 + c % 7});
        std::vector<int> links;
        for (int i = 1; i <= kLength; ++i) links.push_back(i);
        if (rootsFirst) std::reverse(links.begin(), links.end());
        for (int i : links) {
            const std::string prev = x(c, i - 1), out = x(c, i);
            // Go-ahead conditions: mostly none, some an m_fact.
            const std::string g0 = i % 4 == 0 ? "go" : "No condition";
            switch (i % 4) {
            case 0: g.models.model_b.push_back({numer, g0, out, prev, "+", "1.5", 0}); break;
            case 1: g.models.model_e.push_back({numer, g0, out, "+", {prev, "1", "0.5"}, 0}); break;
            case 2: g.models.model_lin.push_back({numer, g0, out, {"0.5", "0.25"}, {prev, prev}, 0}); break;
            case 3: g.models.model_poly.push_back({numer, g0, out, prev, {"1", "0.9", "0.0001"}, {0, 1, 2}, 0}); break;
            }
            ++numer;
        }
    }
    const int relational = std::max(100, chains);
    for (int k = 0; k < relational; ++k) {
        const std::string end = x(k % chains, kLength);
        const std::string w = "r" + std::to_string(k);
        if (k % 3 == 2)
            g.models.model_e.push_back({numer++, "No condition", w, "<=,<", {"0", end, std::to_string(20 + k % 40)}, 0});
        else
            g.models.model_b.push_back({numer++, "No condition", w, end, k % 2 ? ">" : "<=", std::to_string(15 + k % 30), 0});
        g.rules.rules.push_back({static_cast<std::int32_t>(k + 1), "d" + std::to_string(k), {w, "go"}, 0});
    }
    g.models.m_fact.push_back({"go"});
    return g;
}

/// One chain of basic models, its end written first: the whole chain is
/// evaluated on demand from the first model scanned.
Generated chain(int n) {
    Generated g;
    for (int i = 0; i < n; ++i)
        g.models.model_b.push_back({i + 1, "No condition", "y" + std::to_string(i), "y" + std::to_string(i + 1), "+", "1", 0});
    g.models.argument_known.push_back({"y" + std::to_string(n), 0.5});
    g.rules.rules.push_back({1, "done", {"never"}, 0});
    return g;
}

void run(const char* what, Generated g) {
    const std::size_t models = g.models.model_b.size() + g.models.model_e.size() + g.models.model_lin.size() +
                               g.models.model_poly.size();
    QuietPort port;
    torv::AppState app(port);
    app.store.setRuleBase(std::move(g.rules));
    app.store.setModelBase(std::move(g.models));
    app.store.nazwa_re = "RUbench.AEB";
    app.store.nazwa_mo = "MObench.AEB";
    app.store.wyroznik = "bench";
    torv::engine::pamietaj_dopytywalne_regul(app);
    torv::engine::pamietaj_dopytywalne_modeli(app);

    const auto t0 = std::chrono::steady_clock::now();
    torv::engine::wnioskowanie_w_przod(app);
    const auto t1 = std::chrono::steady_clock::now();
    std::printf("%-28s %6zu models: %8.3f s, %zu applied, %zu values, %zu rules fired\n", what, models,
                std::chrono::duration<double>(t1 - t0).count(), app.chaining.model_stosowany.size(),
                app.chaining.zmienna_ustalona.size(), app.chaining.regula_zastosowana.size());
}

}  // namespace

int main(int argc, char** argv) {
    bool rootsFirst = true;
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--order=roots") rootsFirst = true;
        else if (a == "--order=leaves") rootsFirst = false;
        else if (a.rfind("--chain=", 0) == 0) {
            const int n = std::atoi(a.c_str() + 8);
            run(("one chain of " + std::to_string(n)).c_str(), chain(n));
            return 0;
        } else sizes.push_back(std::atoi(argv[i]));
    }
    if (sizes.empty()) sizes = {1000};
    for (int n : sizes)
        run(rootsFirst ? "chains, roots first" : "chains, leaves first", generate(n, rootsFirst));
    return 0;
}
