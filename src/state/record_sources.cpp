#include "state/record_sources.h"

#include <functional>
#include <utility>

#include "kb/store.h"

namespace torv {

namespace {

using port::RecordEntry;
using port::RecordLayout;

template <class T>
class TableSource : public port::RecordSource {
public:
    TableSource(RecordLayout layout, std::vector<T> table, std::function<RecordEntry(const T&)> show)
        : layout_(std::move(layout)), table_(std::move(table)), show_(std::move(show)) {}

    const RecordLayout& layout() const override { return layout_; }
    std::size_t count() const override { return table_.size(); }
    std::int32_t number(std::size_t i) const override { return table_[i].numer; }
    RecordEntry entry(std::size_t i) const override { return show_(table_[i]); }

private:
    RecordLayout layout_;
    std::vector<T> table_;
    std::function<RecordEntry(const T&)> show_;
};

template <class T>
std::shared_ptr<const port::RecordSource> source(RecordLayout layout, const std::vector<T>& table,
                                                 std::function<RecordEntry(const T&)> show) {
    return std::make_shared<TableSource<T>>(std::move(layout), table, std::move(show));
}

std::string num(std::int32_t n) { return std::to_string(n); }

std::vector<std::string> ints(const kb::IntList& l) {
    std::vector<std::string> out;
    for (auto v : l) out.push_back(num(v));
    return out;
}

std::vector<std::pair<std::string, std::size_t>> modelCounts(const kb::ModelBase& m) {
    return {{"Number of basic models", m.model_b.size()},
            {"Number of extended models", m.model_e.size()},
            {"Number of linear models", m.model_lin.size()},
            {"Number of polynomial models", m.model_poly.size()}};
}

}  // namespace

std::shared_ptr<const port::RecordSource> recordSource(RecordKind kind, const kb::Store& store) {
    const auto& m = store.modelBase();
    RecordLayout l;
    switch (kind) {
    case RecordKind::Rules:
        l.title = "Inspection of rules";
        l.numberLabel = "Rule number";
        l.counts = {{"Overall number of rules", store.rules().size()}};
        l.fields = {"Rule conclusion"};
        l.groups = {" List of conditions "};
        return source<kb::Rule>(l, store.rules(), [](const kb::Rule& r) -> RecordEntry {
            return {{r.wniosek}, {kb::texts(r.warunki)}};
        });
    case RecordKind::BasicModels:
        l.title = "Inspection of basic models";
        l.heading = "BASIC MODELS";
        l.counts = modelCounts(m);
        l.fields = {"Model number", "Go-ahead condition", "Result/Conclusion", "Argument 1",
                    "Operation/Relation", "Argument 2", "Display semaphor"};
        return source<kb::ModelB>(l, m.model_b, [](const kb::ModelB& x) -> RecordEntry {
            return {{num(x.numer), x.warunek, x.wynik, x.arg1, x.operacja, x.arg2, num(x.semafor)}, {}};
        });
    case RecordKind::ExtendedModels:
        l.title = "Inspection of extended models";
        l.heading = "EXTENDED MODEL";
        l.counts = modelCounts(m);
        l.fields = {"Model number", "Go-ahead condition", "Result/Conclusion", "Operation/Relation",
                    "Display semaphor"};
        l.groups = {" List of arguments "};
        return source<kb::ModelE>(l, m.model_e, [](const kb::ModelE& x) -> RecordEntry {
            return {{num(x.numer), x.warunek, x.wynik, x.operacja, num(x.semafor)}, {x.argumenty}};
        });
    case RecordKind::LinearModels:
        l.title = "Inspection of linear models";
        l.heading = "LINEAR MODEL";
        l.formula = "y=a1*x1+a2*x2+...+an*xn";
        l.counts = modelCounts(m);
        l.fields = {"Model number", "Go-ahead condition", "Value of :inear form", "Display semaphor"};
        l.groups = {" List of coefficients ", " List of variables "};
        return source<kb::ModelLin>(l, m.model_lin, [](const kb::ModelLin& x) -> RecordEntry {
            return {{num(x.numer), x.warunek, x.wynik, num(x.semafor)}, {x.wspolczynniki, x.zmienne}};
        });
    case RecordKind::PolynomialModels:
        l.title = "Inspection of polynomial models";
        l.heading = "POLYNOMIAL MODEL";
        l.formula = "y=a0+a1*x+a2*x^2+...+an*x^n";
        l.counts = modelCounts(m);
        l.fields = {"Model number", "Go-ahead condition", "Polynomial value", "Value of variable",
                    "Display semaphor"};
        l.groups = {" List of coefficients ", " List of powers "};
        return source<kb::ModelPoly>(l, m.model_poly, [](const kb::ModelPoly& x) -> RecordEntry {
            return {{num(x.numer), x.warunek, x.wynik, x.zmienna, num(x.semafor)}, {x.wspolczynniki, ints(x.potegi)}};
        });
    case RecordKind::Constraints:
        l.title = "Inspection of constraints";
        l.closeLabel = "&Closej";
        l.numberLabel = "Constraint number";
        l.counts = {{"Number of constraints", store.constraints().size()}};
        l.groups = {" Mutually exclusive conditions "};
        return source<kb::Constraint>(l, store.constraints(), [](const kb::Constraint& c) -> RecordEntry {
            return {{}, {c.warunki}};
        });
    }
    return nullptr;
}

}  // namespace torv
