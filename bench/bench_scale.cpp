// The scale benchmarks that bench/run-all drives:
//   bench_scale generate RULES DIR   writes DIR/BASES/RUscale.AEB, a layered
//                                    rule base (see below), and prints its size
//   bench_scale read FILE [REPEAT]   reads a rule base file into the store,
//                                    prints the best time and MB/s
//   bench_scale chain RULES          the internal-inconsistency test on a
//                                    chain of RULES rules, an askable each
//   bench_scale diagnoses RULES      load with every offer "yes" (every
//                                    diagnosis) of a real-shaped base
// The layered base: five layers of rules with 4 conditions each, the first
// from the layer below, the others askable or from any lower layer; one
// condition in five negated; one askable per ten rules, each declared a fact.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "engine/askables.h"
#include "kb/base_file.h"
#include "loading/loading.h"
#include "port/text_port.h"
#include "state/app_state.h"
#include "verify/internal.h"

namespace {

using namespace torv;
namespace fs = std::filesystem;

double since(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

/// CPU seconds of this process: steadier than wall time on a shared machine.
double cpuNow() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

std::string layered(int rules) {
    constexpr int kLayers = 5;
    std::mt19937 rng(20240611u);
    const int askables = std::max(10, rules / 10);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    std::vector<std::vector<std::string>> layers(kLayers);
    std::string text;
    text.reserve(static_cast<std::size_t>(rules) * 70);
    int numer = 0;
    for (int layer = 0; layer < kLayers; ++layer) {
        const int count = rules / kLayers + (layer < rules % kLayers ? 1 : 0);
        for (int i = 0; i < count; ++i) {
            std::vector<std::string> conds;
            while (conds.size() < 4) {
                std::string c;
                const bool derived = layer > 0 && (conds.empty() || pick(2) == 0);
                if (derived) {
                    const auto& below = layers[static_cast<std::size_t>(conds.empty() ? layer - 1 : pick(layer))];
                    c = below[static_cast<std::size_t>(pick(static_cast<int>(below.size())))];
                } else {
                    c = "a" + std::to_string(pick(askables));
                }
                if (pick(5) == 0) c = "n" + c;
                const std::string other = c[0] == 'n' ? c.substr(1) : "n" + c;
                if (std::find(conds.begin(), conds.end(), c) == conds.end() &&
                    std::find(conds.begin(), conds.end(), other) == conds.end())
                    conds.push_back(c);
            }
            std::string conclusion = "c" + std::to_string(layer) + "_" + std::to_string(i);
            text += "rule(" + std::to_string(++numer) + ",\"" + conclusion + "\",[";
            for (std::size_t k = 0; k < conds.size(); ++k) text += (k ? ",\"" : "\"") + conds[k] + "\"";
            text += "],0)\n";
            layers[static_cast<std::size_t>(layer)].push_back(std::move(conclusion));
        }
    }
    for (int a = 0; a < askables; ++a) text += "fact(\"a" + std::to_string(a) + "\")\n";
    return text;
}

/// Answers "yes" to every box and shows nothing.
class YesPort : public port::TextPort {
protected:
    void present(const port::Dialog&) override {}
    std::optional<std::string> answer(const port::Dialog&) override { return "yes"; }
};

int generate(int rules, const fs::path& dir) {
    fs::create_directories(dir / "BASES");
    const fs::path file = dir / "BASES" / "RUscale.AEB";
    const std::string text = layered(rules);
    std::ofstream(file, std::ios::binary) << text;
    std::printf("%s %.1f MB\n", file.c_str(), static_cast<double>(text.size()) / 1e6);
    return 0;
}

int read(const fs::path& file, int repeat) {
    const double mb = static_cast<double>(fs::file_size(file)) / 1e6;
    double best = 1e9;
    std::size_t rules = 0;
    for (int k = 0; k < repeat; ++k) {
        const auto t = std::chrono::steady_clock::now();
        auto result = kb::readBaseFile(kb::BaseKind::Rule, file);
        kb::Store store;
        if (auto* base = std::get_if<kb::AnyBase>(&result)) kb::storeBase(store, std::move(*base));
        best = std::min(best, since(t));
        rules = store.rules().size();
        if (std::holds_alternative<kb::ReadError>(result)) {
            std::printf("read failed: %s\n", std::get<kb::ReadError>(result).message.c_str());
            return 1;
        }
    }
    std::printf("read %zu rules, %.1f MB in %.3f s: %.0f MB/s\n", rules, mb, best, mb / best);
    return 0;
}

int chain(int rules) {
    // Rule k concludes c_k from c_(k-1) and an askable of its own.
    kb::RuleBase base;
    base.rules.push_back({1, "c1", {"a1"}, 1});
    for (int k = 2; k <= rules; ++k)
        base.rules.push_back({k, "c" + std::to_string(k), {"c" + std::to_string(k - 1), "a" + std::to_string(k)}, 1});
    YesPort port;
    AppState app(port);
    app.store.setRuleBase(std::move(base));
    engine::pamietaj_dopytywalne_regul(app);
    const auto t = std::chrono::steady_clock::now();
    const double c = cpuNow();
    const auto stats = verify::wyznacz_sprzecznosc_1w(app);
    std::printf("internal test of a %d-rule chain: %.3f s (cpu %.3f s; flattenings %llu, passes %llu, %s)\n", rules,
                since(t), cpuNow() - c,
                static_cast<unsigned long long>(stats.flattenings), static_cast<unsigned long long>(stats.passes),
                app.findings.internal.sprzecznosc_1_w ? "inconsistent" : "consistent");
    return 0;
}

/// Levels 1 to 5 of conclusions over as many askables as rules; a rule of
/// level L takes one condition of level L-1 and two more, half askable;
/// one conclusion in ten has a second rule.
std::string realShaped(int rules) {
    std::mt19937 rng(2024u + static_cast<unsigned>(rules));
    auto chance = [&](double p) { return std::uniform_real_distribution<double>(0, 1)(rng) < p; };
    const int depth = 5;
    std::vector<std::vector<std::string>> level(depth + 1);
    for (int i = 0; i < std::max(10, rules); ++i) level[0].push_back("a" + std::to_string(i));
    for (int i = 0; i < std::max(depth, static_cast<int>(rules / 1.1)); ++i)
        level[static_cast<std::size_t>(1 + i % depth)].push_back("c" + std::to_string(1 + i % depth) + "_" +
                                                                 std::to_string(i));
    auto pick = [&](int l) { return level[static_cast<std::size_t>(l)][rng() % level[static_cast<std::size_t>(l)].size()]; };
    std::string text;
    int numer = 0;
    auto rule = [&](int l, const std::string& conclusion) {
        std::vector<std::string> conds{pick(l - 1)};
        while (conds.size() < 3) {
            std::string c = pick(chance(0.5) ? 0 : static_cast<int>(rng() % static_cast<unsigned>(l)));
            if (std::find(conds.begin(), conds.end(), c) == conds.end()) conds.push_back(c);
        }
        text += "rule(" + std::to_string(++numer) + ",\"" + conclusion + "\",[";
        for (std::size_t k = 0; k < conds.size(); ++k)
            text += (k ? ",\"" : "\"") + std::string(chance(0.2) ? "n" : "") + conds[k] + "\"";
        text += "],1)\n";
    };
    for (int l = 1; l <= depth && numer < rules; ++l)
        for (const auto& c : level[static_cast<std::size_t>(l)]) {
            if (numer >= rules) break;
            rule(l, c);
            if (numer < rules && chance(0.1)) rule(l, c);
        }
    while (numer < rules) {
        const int l = 1 + static_cast<int>(rng() % depth);
        rule(l, pick(l));
    }
    return text;
}

int diagnoses(int rules) {
    const fs::path dir = fs::temp_directory_path() / ("scale_bench_" + std::to_string(::getpid()));
    fs::create_directories(dir / "BASES");
    const fs::path file = dir / "BASES" / "RUshaped.AEB";
    std::ofstream(file, std::ios::binary) << realShaped(rules);
    YesPort port;
    AppState app(port, dir);
    const auto t = std::chrono::steady_clock::now();
    const double c = cpuNow();
    const auto loaded = kb::loadRuleBaseFrom(app, file.string());
    std::printf("load of a real-shaped %d-rule base with every diagnosis: %.3f s (cpu %.3f s; %s)\n", rules,
                since(t), cpuNow() - c,
                loaded && !loaded->empty() ? "loaded" : "refused");
    fs::remove_all(dir);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "generate" && argc == 4) return generate(std::atoi(argv[2]), argv[3]);
    if (what == "read" && argc >= 3) return read(argv[2], argc > 3 ? std::max(1, std::atoi(argv[3])) : 3);
    if (what == "chain" && argc == 3) return chain(std::atoi(argv[2]));
    if (what == "diagnoses" && argc == 3) return diagnoses(std::atoi(argv[2]));
    std::fprintf(stderr, "usage: bench_scale generate RULES DIR | read FILE [REPEAT] | chain RULES | diagnoses RULES\n");
    return 2;
}
