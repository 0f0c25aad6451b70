// Times the model-base tests on generated model bases of three shapes:
//   chain   x_i = x_(i-1) + 1, a long nesting with no circle;
//   fan-in  N models computing one result, go-ahead conditions from N rules
//           (and a/na for the test without a constraint base);
//   circle  x_i = x_(i+1) + 1 closing on itself: every model indirectly
//           inconsistent, the nested search runs to its bounds;
//   relational chain  relational models each guarded by the next one's
//           conclusion, the last by a condition that a rule derives from
//           the first conclusion: one joint inconsistency N models long.
// For each: the arithmetic and relational tests, the joint model-rule test,
// and the same-results tests without and with a constraint base; time and
// peak memory.
//   bench_model_tests [models ...]        (default: 1000 10000)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <variant>
#include <vector>

#include "engine/askables.h"
#include "engine/same_results.h"
#include "kb/base_file.h"
#include "port/text_port.h"
#include "state/app_state.h"
#include "verify/flattening.h"
#include "verify/joint_model_rule.h"
#include "verify/model_inconsistency.h"
#include "verify/same_results_constraints.h"

namespace {

using namespace torv;

class SilentPort : public port::TextPort {
protected:
    void present(const port::Dialog&) override {}
    std::optional<std::string> answer(const port::Dialog&) override { return std::nullopt; }
};

long peakMiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

double seconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

std::string basic(int n, const std::string& g, const std::string& r, const std::string& a, const std::string& op,
                  const std::string& b) {
    return "model_b(" + std::to_string(n) + ",\"" + g + "\",\"" + r + "\",\"" + a + "\",\"" + op + "\",\"" + b +
           "\",1)\n";
}

struct Shape {
    const char* name;
    std::string rules, models;
};

std::vector<Shape> shapes(int n) {
    std::vector<Shape> out;
    {
        Shape s{"chain", "rule(1,\"p\",[\"q\",\"r\"],1)\n", ""};
        for (int i = 1; i <= n; ++i)
            s.models += basic(i, "No condition", "x" + std::to_string(i), "x" + std::to_string(i - 1), "+", "1");
        out.push_back(std::move(s));
    }
    {
        Shape s{"fan-in", "", ""};
        for (int i = 1; i <= n; ++i) {
            const std::string k = std::to_string(i);
            s.rules += "rule(" + k + ",\"g" + k + "\",[\"u" + k + "\",\"w" + k + "\"],1)\n";
            s.models += basic(i, i % 2 ? "a" : "na", "y", "x" + k, "*", "2");
            s.models += basic(n + i, "g" + k, "z", "x" + k, "*", "3");
        }
        out.push_back(std::move(s));
    }
    {
        Shape s{"circle", "rule(1,\"p\",[\"q\",\"r\"],1)\n", ""};
        for (int i = 0; i < n; ++i)
            s.models += basic(i + 1, "No condition", "x" + std::to_string(i), "x" + std::to_string((i + 1) % n), "+",
                              "1");
        out.push_back(std::move(s));
    }
    {
        Shape s{"relational chain", "rule(1,\"g\",[\"c1\",\"k\"],1)\n", ""};
        for (int i = 1; i <= n; ++i)
            s.models += basic(i, i < n ? "c" + std::to_string(i + 1) : "g", "c" + std::to_string(i), "t", ">",
                              std::to_string(i));
        out.push_back(std::move(s));
    }
    return out;
}

void store(AppState& app, kb::BaseKind kind, const std::string& text) {
    auto read = kb::parseBaseText(kind, text);
    if (!std::holds_alternative<kb::AnyBase>(read)) {
        std::fprintf(stderr, "generated base does not read\n");
        std::exit(1);
    }
    kb::storeBase(app.store, std::move(std::get<kb::AnyBase>(read)));
}

void run(const Shape& shape, int n) {
    SilentPort port;
    AppState app(port);
    store(app, kb::BaseKind::Rule, shape.rules);
    app.store.nazwa_re = "RUbench.AEB";
    engine::pamietaj_dopytywalne_regul(app);
    store(app, kb::BaseKind::Model, shape.models);
    app.store.nazwa_mo = "MObench.AEB";
    std::printf("%d models, %s\n", n, shape.name);

    auto t = std::chrono::steady_clock::now();
    const auto stats = verify::badaj_sprzecznosc_modeli(app);
    const auto& f = app.findings.model;
    std::printf("  model tests          %.3f s  searches %llu, models examined %llu, direct %zu, indirect %zu%s\n",
                seconds(t), static_cast<unsigned long long>(stats.searches),
                static_cast<unsigned long long>(stats.steps), f.model_arytmetyczny_sprzeczny.size(),
                f.model_arytmetyczny_sprzeczny_gleboko.size(), f.truncated ? " (bounded)" : "");

    t = std::chrono::steady_clock::now();
    const auto joint = verify::badaj_sprzecznosc_mr(app);
    std::printf("  joint model-rule     %.3f s  flattenings %llu, findings %zu\n", seconds(t),
                static_cast<unsigned long long>(joint.flattenings),
                app.findings.jointModelRule.modele_i_reguly_sprzeczne.size());

    t = std::chrono::steady_clock::now();
    const bool without = !engine::find_same_results_fault(app.store);
    std::printf("  same results         %.3f s  %s\n", seconds(t), without ? "passed" : "failed");

    store(app, kb::BaseKind::Constraint, "constraint(1,[\"q\",\"r\"])\n");
    app.store.nazwa_og = "CObench.AEB";
    t = std::chrono::steady_clock::now();
    verify::FlatteningBase base(app.store, app.askables);
    const bool with = !verify::znajdz_reguly_niewykluczajace(app.store, base);
    std::printf("  with constraints     %.3f s  %s\n", seconds(t), with ? "passed" : "failed");
    std::printf("  peak memory %ld MiB\n", peakMiB());
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {1000, 10000};
    for (int n : sizes)
        for (const auto& s : shapes(n)) run(s, n);
    return 0;
}
