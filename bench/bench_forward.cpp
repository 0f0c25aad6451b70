// Times a whole forward-chaining run over generated layered rule bases:
// every askable condition is a declared fact, every rule has 4 conditions,
// one condition in five is negated. The run is at low detail, without media
// bases and without explanations (display semaphore 0), answered by a port
// that prints nothing.
//   bench_forward [rules...]            default: 1000 10000
//   bench_forward [--order=asc|desc|shuffled] [--full-scan] [rules...]
// asc writes the rules layer by layer from the bottom (the order that suits
// a rescan from the first rule), desc from the top, shuffled at random.
// --full-scan tests every unmarked rule in every pass instead of only those
// whose conditions changed since they were last tested.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "engine/askables.h"
#include "engine/forward.h"
#include "port/text_port.h"
#include "state/app_state.h"

namespace {

using torv::kb::Rule;

/// Answers the run's dialogs: low detail, no labels, querying mode, no
/// summary, no report. Shows nothing.
class QuietPort : public torv::port::TextPort {
protected:
    void present(const torv::port::Dialog&) override {}
    std::optional<std::string> answer(const torv::port::Dialog& d) override {
        if (d.title == "Level of detail") return "1";
        if (d.title == "Fact declaration mode") return "2";
        return "no";
    }
};

enum class Order { Asc, Desc, Shuffled };

struct Generated {
    torv::kb::RuleBase base;
    std::size_t askables = 0;
};

Generated generate(int rules, Order order) {
    constexpr int kLayers = 5;
    std::mt19937 rng(12345);
    const int askables = std::max(40, rules / 5);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    auto maybeNegated = [&](std::string name) { return pick(5) == 0 ? "n" + name : name; };

    std::vector<std::vector<Rule>> layers(kLayers);
    int numer = 1;
    for (int layer = 0; layer < kLayers; ++layer) {
        const int count = rules / kLayers + (layer < rules % kLayers ? 1 : 0);
        for (int i = 0; i < count; ++i) {
            Rule r;
            r.numer = numer++;
            r.wniosek = "c" + std::to_string(layer) + "_" + std::to_string(i);
            r.semafor = 0;
            while (r.warunki.size() < 4) {
                std::string c;
                // Above the bottom layer, the first condition comes from the
                // layer just below; the others from anywhere below.
                const bool derived = layer > 0 && (r.warunki.empty() || pick(2) == 0);
                if (derived) {
                    const int from = r.warunki.empty() ? layer - 1 : pick(layer);
                    const auto& below = layers[static_cast<std::size_t>(from)];
                    c = below[static_cast<std::size_t>(pick(static_cast<int>(below.size())))].wniosek;
                } else {
                    c = "a" + std::to_string(pick(askables));
                }
                c = maybeNegated(c);
                if (std::find(r.warunki.begin(), r.warunki.end(), c) == r.warunki.end() &&
                    std::find(r.warunki.begin(), r.warunki.end(), torv::kb::negacja(c)) == r.warunki.end())
                    r.warunki.push_back(c);
            }
            layers[static_cast<std::size_t>(layer)].push_back(std::move(r));
        }
    }
    Generated g;
    for (const auto& l : layers) g.base.rules.insert(g.base.rules.end(), l.begin(), l.end());
    if (order == Order::Desc)
        for (int layer = kLayers - 1, at = 0; layer >= 0; --layer)
            for (const auto& r : layers[static_cast<std::size_t>(layer)]) g.base.rules[static_cast<std::size_t>(at++)] = r;
    if (order == Order::Shuffled) std::shuffle(g.base.rules.begin(), g.base.rules.end(), rng);
    for (int a = 0; a < askables; ++a) g.base.facts.push_back({"a" + std::to_string(a)});
    g.askables = static_cast<std::size_t>(askables);
    return g;
}

void run(int rules, Order order, bool fullScan) {
    Generated g = generate(rules, order);
    QuietPort port;
    torv::AppState app(port);
    app.store.setRuleBase(std::move(g.base));
    app.store.nazwa_re = "RUbench.AEB";
    app.store.wyroznik = "bench";
    torv::engine::pamietaj_dopytywalne_regul(app);
    app.chaining.fullScan = fullScan;

    const auto t0 = std::chrono::steady_clock::now();
    torv::engine::wnioskowanie_w_przod(app);
    const auto t1 = std::chrono::steady_clock::now();

    std::printf("%6d rules, %5zu declared facts: %8.3f s, %zu rules fired\n", rules, g.askables,
                std::chrono::duration<double>(t1 - t0).count(), app.chaining.regula_zastosowana.size());
}

}  // namespace

int main(int argc, char** argv) {
    Order order = Order::Asc;
    bool fullScan = false;
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--order=asc") order = Order::Asc;
        else if (a == "--order=desc") order = Order::Desc;
        else if (a == "--order=shuffled") order = Order::Shuffled;
        else if (a == "--full-scan") fullScan = true;
        else sizes.push_back(std::atoi(argv[i]));
    }
    if (sizes.empty()) sizes = {1000, 10000};
    std::printf("rule order: %s, %s\n", order == Order::Asc ? "asc" : order == Order::Desc ? "desc" : "shuffled",
                fullScan ? "full scan in every pass" : "changed rules only");
    for (int n : sizes) run(n, order, fullScan);
    return 0;
}
