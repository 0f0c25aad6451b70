// Model-base inconsistencies: the tests, the informing and the report.
#include "verify/model_inconsistency.h"

#include <algorithm>
#include <climits>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "state/lists.h"
#include "kb/store.h"
#include "port/texts.h"
#include "port/user_port.h"
#include "reports/report_commands.h"
#include "state/app_state.h"
#include "verify/flattening.h"

namespace torv::verify {

namespace {

constexpr std::string_view kArytmetyczneB[] = {"+",   "-",   "*", "/", "div",        "mod",
                                               "min", "max", "%", "=", "round_to_N", "A^N"};
constexpr std::string_view kArytmetyczneE[] = {"+", "*", "max_list", "min_list"};
constexpr std::string_view kRelacyjneB[] = {">", "==", "<", ">=", "<=", "><", "<>"};
constexpr std::string_view kRelacyjneE[] = {"<,<", "<=,<", "<,<=", "<=,<="};

template <std::size_t N>
bool jedna_z(const std::string& op, const std::string_view (&lista)[N]) {
    return std::find(std::begin(lista), std::end(lista), op) != std::end(lista);
}

/// Names as small integers, for the graph of the nested search.
class Ids {
public:
    std::int32_t operator()(const std::string& s) {
        auto [it, added] = ids_.emplace(s, static_cast<std::int32_t>(ids_.size()));
        return it->second;
    }
    std::size_t size() const { return ids_.size(); }

private:
    std::unordered_map<std::string, std::int32_t> ids_;
};

/// Names lying on a circle of the graph "result -> argument" (Tarjan's
/// components on an explicit stack); the component of each name.
struct Components {
    std::vector<std::int32_t> of;
    std::vector<bool> cyclic;
};

Components components(const std::vector<std::vector<std::int32_t>>& adj) {
    const std::size_t n = adj.size();
    Components c{std::vector<std::int32_t>(n, -1), std::vector<bool>(n, false)};
    std::vector<int> index(n, -1), low(n, 0);
    std::vector<bool> onStack(n, false);
    std::vector<std::int32_t> open;
    struct Call {
        std::size_t v;
        std::size_t edge;
    };
    std::vector<Call> calls;
    int counter = 0;
    std::int32_t nextComponent = 0;
    for (std::size_t root = 0; root < n; ++root) {
        if (index[root] >= 0) continue;
        calls.push_back({root, 0});
        while (!calls.empty()) {
            Call& call = calls.back();
            const std::size_t v = call.v;
            if (call.edge == 0 && index[v] < 0) {
                index[v] = low[v] = counter++;
                open.push_back(static_cast<std::int32_t>(v));
                onStack[v] = true;
            }
            if (call.edge < adj[v].size()) {
                const auto w = static_cast<std::size_t>(adj[v][call.edge++]);
                if (w == v) c.cyclic[v] = true;
                if (index[w] < 0)
                    calls.push_back({w, 0});
                else if (onStack[w])
                    low[v] = std::min(low[v], index[w]);
                continue;
            }
            if (low[v] == index[v]) {
                std::size_t k = open.size(), size = 0;
                while (true) {
                    const auto w = static_cast<std::size_t>(open[--k]);
                    onStack[w] = false;
                    c.of[w] = nextComponent;
                    ++size;
                    if (w == v) break;
                }
                if (size > 1)
                    for (std::size_t j = k; j < open.size(); ++j) c.cyclic[static_cast<std::size_t>(open[j])] = true;
                open.resize(k);
                ++nextComponent;
            }
            calls.pop_back();
            if (!calls.empty()) low[calls.back().v] = std::min(low[calls.back().v], low[v]);
        }
    }
    return c;
}

}  // namespace

bool model_arytmetyczny(const kb::ModelB& m) { return jedna_z(m.operacja, kArytmetyczneB); }
bool model_arytmetyczny(const kb::ModelE& m) { return jedna_z(m.operacja, kArytmetyczneE); }
bool model_relacyjny(const kb::ModelB& m) { return jedna_z(m.operacja, kRelacyjneB); }
bool model_relacyjny(const kb::ModelE& m) { return jedna_z(m.operacja, kRelacyjneE); }

std::vector<ArgumentList> listy_argumentow(const kb::Store& store) {
    const auto& m = store.modelBase();
    std::vector<ArgumentList> out;
    for (const auto& x : m.model_b)
        if (jedna_z(x.operacja, kArytmetyczneB)) out.push_back({x.numer, x.wynik, {x.arg1, x.arg2}});
    for (const auto& x : m.model_e)
        if (jedna_z(x.operacja, kArytmetyczneE)) out.push_back({x.numer, x.wynik, x.argumenty});
    for (const auto& x : m.model_lin) {
        Names a = x.wspolczynniki;
        a.insert(a.end(), x.zmienne.begin(), x.zmienne.end());
        out.push_back({x.numer, x.wynik, std::move(a)});
    }
    for (const auto& x : m.model_poly) {
        Names a{x.zmienna};
        a.insert(a.end(), x.wspolczynniki.begin(), x.wspolczynniki.end());
        out.push_back({x.numer, x.wynik, std::move(a)});
    }
    return out;
}

ModelSearchStats badaj_modele_arytmetyczne(const kb::Store& store, ModelFindings& out,
                                           const ModelSearchLimits& limits, port::Progress* progress) {
    ModelSearchStats stats;
    const std::vector<ArgumentList> lists = listy_argumentow(store);

    // Direct: the result among the model's own arguments.
    std::vector<bool> direct(lists.size(), false);
    for (std::size_t i = 0; i < lists.size(); ++i) {
        const auto& l = lists[i];
        if (std::find(l.argumenty.begin(), l.argumenty.end(), l.wynik) == l.argumenty.end()) continue;
        direct[i] = true;
        out.model_arytmetyczny_sprzeczny.push_back({l.numer, l.wynik});
    }

    // The graph over names: each model leads from its result to each of its
    // arguments. A constant is a name here too, since a result may be
    // written like one; the search only never expands it.
    Ids ids;
    std::vector<std::int32_t> result(lists.size());
    std::vector<std::vector<std::int32_t>> args(lists.size());
    for (std::size_t i = 0; i < lists.size(); ++i) {
        result[i] = ids(lists[i].wynik);
        for (const auto& a : lists[i].argumenty) args[i].push_back(ids(a));
    }
    std::vector<bool> constant(ids.size(), false);
    for (const auto& l : lists)
        for (const auto& a : l.argumenty)
            if (engine::czy_liczba(a)) constant[static_cast<std::size_t>(ids(a))] = true;
    std::vector<std::vector<std::size_t>> producers(ids.size());
    std::vector<std::vector<std::int32_t>> adj(ids.size());
    for (std::size_t i = 0; i < lists.size(); ++i) {
        producers[static_cast<std::size_t>(result[i])].push_back(i);
        auto& out = adj[static_cast<std::size_t>(result[i])];
        out.insert(out.end(), args[i].begin(), args[i].end());
    }
    // A finding closes a circle through the result, so the search needs only
    // results on a circle and only names of the result's own component.
    const Components comp = components(adj);

    struct Frame {
        std::size_t model;
        std::size_t arg = 0;
        std::int32_t a = -1;      // the argument whose models are being tried
        std::size_t producer = 0;
        std::size_t findingsBefore = 0;
        int low = INT_MAX;        // shallowest visited name a cut met below
    };
    std::vector<Frame> stack;
    std::vector<int> depthOf(ids.size(), -1);   // depth on the visited list, -1 when not on it
    // (argument, result) pairs known to give nothing whatever the visited list above
    std::unordered_set<std::uint64_t> dead;
    auto key = [](std::int32_t a, std::int32_t r) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32) | static_cast<std::uint32_t>(r);
    };
    auto& deep = out.model_arytmetyczny_sprzeczny_gleboko;
    std::size_t chainNumbers = 0;

    for (std::size_t s = 0; s < lists.size() && !out.truncated; ++s) {
        if (progress) progress->check(s);
        const std::int32_t r = result[s];
        if (direct[s] || !comp.cyclic[static_cast<std::size_t>(r)]) continue;
        ++stats.searches;
        const std::int32_t component = comp.of[static_cast<std::size_t>(r)];
        depthOf[static_cast<std::size_t>(r)] = 0;
        stack.push_back({s});
        while (!stack.empty()) {
            if (stats.steps >= limits.steps || deep.size() >= limits.findings || chainNumbers >= limits.chainNumbers) {
                out.truncated = true;
                for (const Frame& f : stack)
                    if (f.a >= 0) depthOf[static_cast<std::size_t>(f.a)] = -1;
                stack.clear();
                break;
            }
            const std::size_t level = stack.size() - 1;
            Frame& f = stack.back();
            if (f.a >= 0) {
                const auto& ps = producers[static_cast<std::size_t>(f.a)];
                if (f.producer < ps.size()) {
                    const std::size_t m = ps[f.producer++];
                    ++stats.steps;
                    const auto& ma = args[m];
                    if (std::find(ma.begin(), ma.end(), r) != ma.end()) {
                        DeepModelFinding x{lists[s].numer, {}, lists[s].wynik};
                        for (const Frame& g : stack) x.chain.push_back(lists[g.model].numer);
                        x.chain.push_back(lists[m].numer);
                        chainNumbers += x.chain.size();
                        deep.push_back(std::move(x));
                    } else {
                        stack.push_back({m});
                    }
                    continue;
                }
                const int depth = static_cast<int>(level) + 1;
                if (deep.size() == f.findingsBefore && f.low >= depth) dead.insert(key(f.a, r));
                depthOf[static_cast<std::size_t>(f.a)] = -1;
                f.a = -1;
                if (level > 0) stack[level - 1].low = std::min(stack[level - 1].low, f.low);
                ++f.arg;
                continue;
            }
            if (f.arg == args[f.model].size()) {
                stack.pop_back();
                continue;
            }
            const std::int32_t a = args[f.model][f.arg];
            if (constant[static_cast<std::size_t>(a)] || comp.of[static_cast<std::size_t>(a)] != component ||
                dead.count(key(a, r))) {
                ++f.arg;
                continue;
            }
            if (const int seen = depthOf[static_cast<std::size_t>(a)]; seen >= 0) {
                // Already on the visited list: the search ends here.
                if (level > 0) stack[level - 1].low = std::min(stack[level - 1].low, seen);
                ++f.arg;
                continue;
            }
            f.a = a;
            f.producer = 0;
            f.findingsBefore = deep.size();
            f.low = INT_MAX;
            depthOf[static_cast<std::size_t>(a)] = static_cast<int>(level) + 1;
        }
        depthOf[static_cast<std::size_t>(r)] = -1;
    }
    return stats;
}

void badaj_modele_relacyjne(const kb::Store& store, ModelFindings& out) {
    auto record = [&](std::int32_t n, const std::string& c) {
        RelationalModelFinding x{n, c};
        auto& found = out.model_relacyjny_sprzeczny;
        if (std::find(found.begin(), found.end(), x) == found.end()) found.push_back(std::move(x));
    };
    const auto& m = store.modelBase();
    for (const auto& x : m.model_b)
        if (jedna_z(x.operacja, kRelacyjneB) && x.warunek == x.wynik) record(x.numer, x.wynik);
    for (const auto& x : m.model_e)
        if (jedna_z(x.operacja, kRelacyjneE) && x.warunek == x.wynik) record(x.numer, x.wynik);
}

ModelSearchStats badaj_sprzecznosc_modeli(AppState& app) {
    ModelFindings& f = app.findings.model;
    f = {};
    f.nazwa = app.store.nazwa_mo.value_or("");
    const kb::ModelBase& m = app.store.modelBase();
    const std::size_t models = m.model_b.size() + m.model_e.size() + m.model_lin.size() + m.model_poly.size();
    port::Progress progress(app.port, port::texts::kModelTestLabel, models);
    const ModelSearchStats stats = badaj_modele_arytmetyczne(app.store, f, {}, &progress);
    badaj_modele_relacyjne(app.store, f);
    auto& v = app.verdicts;
    v.model_aryt_sprzeczny = !f.model_arytmetyczny_sprzeczny.empty();
    v.model_sprzeczny_gleboko = !f.model_arytmetyczny_sprzeczny_gleboko.empty();
    v.model_rela_sprzeczny = !f.model_relacyjny_sprzeczny.empty();
    return stats;
}

bool informuj_sprzecznosc_mz(AppState& app) {
    badaj_sprzecznosc_modeli(app);
    if (!app.verdicts.modelFault()) return true;
    const std::string name = app.findings.model.nazwa;
    app.messages.write(" The loaded model base contains at least one inconsistency. \n"
                       " The loaded model base may be only edited, but not used for chaining.\n"
                       " You may also run a diagnostic check revealing the nature of \n"
                       " inconsistency.\n"
                       " For this proceed to the option: \n"
                       " 'Model Base/Diagnosing Model Base inconsistencies'\n"
                       " where a detailed message highlighting the nature of inconsistencies\n"
                       " is to be found.\n");
    app.port.note("Diagnostic Report on model inconsistencies",
                  "Augmented Exact Model Base\n   " + name +
                      " contains at least one inconsistency.\nThe  base may be only edited,\nbut not used for chaining."
                      "\nYou may also run a diagnostic check revealing\nFor this proceed to the option:"
                      "\n   'Exact Model Base\n     Diagnosing Model Base inconsistencies'"
                      "where a detailed message highlighting the nature of inconsistencies is to be found.");
    app.store.kasowanie_nazwy_mo();
    app.store.nazwa_mo_pelna.reset();
    app.outcomes.push_back(Outcome::ModelInconsistencyFound);
    return false;
}

namespace {

constexpr const char* kTitle = "Diagnostic Report on model inconsistencies";

void porada_edycji(AppState& app, const std::string& notatka) {
    auto& r = app.report;
    r.pisz(" Enter 'Model Base',");
    r.piszcr();
    r.pisz(" choose option 'Model Base Editing', ");
    r.piszcr();
    r.pisz(" choose faulty base and remove the inconsistencies.");
    r.piszcr();
    app.port.note(kTitle, notatka);
    // The model base goes: it may only be edited and loaded again.
    app.store.unloadModelBase();
}

}  // namespace

void pisz_sprzecznosc_modeli_arytmetycznych(AppState& app) {
    const ModelFindings& f = app.findings.model;
    auto& r = app.report;
    if (!f.model_arytmetyczny_sprzeczny.empty()) {
        r.pisz(" The following arithmetical models are directly inconsistent:");
        r.piszcr();
        r.piszcr();
        app.port.note(kTitle, "The following arithmetical models are directly inconsistent:");
        for (const auto& x : f.model_arytmetyczny_sprzeczny) {
            r.pisz(" The result '" + x.r + "' of model ");
            r.piszint(x.n);
            r.piszcr();
            r.pisz(" is the same as its argument.");
            r.piszcr();
            app.port.findingNote(port::Diagnosis::Model, kTitle,
                                 " The result  '" + x.r + "'  of model " + std::to_string(x.n) +
                                     "\nis the same as its argument.");
        }
    }
    if (!f.model_arytmetyczny_sprzeczny_gleboko.empty()) {
        r.pisz(" The following arithmetical models are indirectly inconsistent:");
        r.piszcr();
        r.piszcr();
        app.port.note(kTitle, "The following arithmetical models are indirectly inconsistent:");
        for (const auto& x : f.model_arytmetyczny_sprzeczny_gleboko) {
            const std::string numbers = polacz(x.chain, ",");
            const std::string nesting = polacz(x.chain, " ==> ");
            r.pisz(" The result '" + x.r + "' of model ");
            r.piszint(x.n);
            r.piszcr();
            r.pisz(" is the same as an argument of one of its nested models:");
            r.piszcr();
            r.pisz("      " + numbers);
            r.piszcr();
            r.pisz("  This may be demonstrated by removing the nesting as follows: ");
            r.piszcr();
            r.pisz("      " + nesting);
            r.piszcr();
            app.port.findingNote(port::Diagnosis::Model, kTitle,
                                 " The result  '" + x.r + "'  of model " + std::to_string(x.n) +
                                     "\nis the same as an argument of one of its nested models:" + numbers +
                                     "\nThis may be demonstrated by removing the nesting as follows: \n " + nesting);
        }
    }
    const auto& v = app.verdicts;
    if (v.model_aryt_sprzeczny && !v.model_rela_sprzeczny) {
        porada_edycji(app, " Enter 'Model Base', choose option 'Model Base Editing', "
                           "\nchoose faulty base and remove the inconsistencies.");
    }
    if (!v.model_aryt_sprzeczny) {
        r.pisz(" Model Base " + f.nazwa + " has no inconsistent arithmetical models.");
        r.piszcr();
        app.port.note("Diagnostic Report on arithmetical model inconsistencies",
                      "The Augmented Exact Model Base\n   " + f.nazwa + "\nhas no inconsistent arithmetical models.");
    }
}

void pisz_sprzecznosc_modeli_relacyjnych(AppState& app) {
    const ModelFindings& f = app.findings.model;
    auto& r = app.report;
    if (app.verdicts.model_rela_sprzeczny) {
        r.pisz(" The following relational models are inconsistent:");
        r.piszcr();
        app.port.note(kTitle, "The following relational models  are inconsistent:");
        for (const auto& x : f.model_relacyjny_sprzeczny) {
            r.pisz(" The conclusion '" + x.c + "' of model ");
            r.piszint(x.n);
            r.piszcr();
            r.pisz(" is the same as its go-ahead condition.");
            r.piszcr();
            app.port.findingNote(port::Diagnosis::Model, kTitle,
                                 "The conclusion " + x.c + "\nof model " + std::to_string(x.n) +
                                     "is the same as its go-ahead condition.");
        }
        porada_edycji(app, "Enter 'Model Base',\nchoose option 'Model Base Editing',"
                           "\nchoose faulty base and remove the inconsistencies.");
        return;
    }
    r.pisz(" Model Base " + f.nazwa + " has no inconsistent relational models.");
    r.piszcr();
    app.port.note("Diagnostic Report on relational model inconsistencies",
                  "The Augmented Exact Model Base\n    " + f.nazwa + "\nhas no inconsistent relational models.");
}

void pisz_sprzecznosc_modeli(AppState& app) {
    app.report.kasowanie_tekst_raportu();
    pisz_sprzecznosc_modeli_arytmetycznych(app);
    pisz_sprzecznosc_modeli_relacyjnych(app);
    reports::raport(app);
}

}  // namespace torv::verify
