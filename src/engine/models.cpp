// Model evaluation.
#include "engine/models.h"

#include "shell/app_state.h"

namespace torv::engine {

bool jest_relacja_modelu(std::string_view op) {
    for (std::string_view r : {">", "==", "<", ">=", "<=", "><", "<>"})
        if (op == r) return true;
    return false;
}
bool jest_podwojna_relacja(std::string_view op) {
    for (std::string_view r : {"<,<", "<=,<", "<,<=", "<=,<="})
        if (op == r) return true;
    return false;
}
bool jest_model_b_arytmetyczny(const kb::ModelB& m) {
    return !jest_relacja_modelu(m.operacja) && !jest_podwojna_relacja(m.operacja);
}
bool jest_model_e_arytmetyczny(const kb::ModelE& m) {
    return !jest_relacja_modelu(m.operacja) && !jest_podwojna_relacja(m.operacja);
}
bool jest_model_e_relacyjny(const kb::ModelE& m) {
    return jest_podwojna_relacja(m.operacja) && m.argumenty.size() == 3;
}

std::optional<double> oblicz(AppState&, const std::string&) { return std::nullopt; }
bool sprawdz(AppState&, const std::string& g) { return g == "No condition"; }
std::optional<std::vector<double>> wyznacz_liste(AppState&, const Names&) { return std::nullopt; }
std::vector<double> odwracanie_r(std::vector<double> lista) { return {lista.rbegin(), lista.rend()}; }
bool szukanie_blednych_danych(AppState&) { return false; }
std::optional<double> zastosuj_model_arytmetyczny(AppState&, kb::Store::ModelRef) { return std::nullopt; }
std::optional<bool> ocen_model_relacyjny(AppState&, kb::Store::ModelRef) { return std::nullopt; }
std::optional<std::string> testuj_relacje(AppState&, std::string_view, double, double, const std::string&) {
    return std::nullopt;
}
std::optional<std::string> testuj_relacje_r(AppState&, std::string_view, double, double, double,
                                            const std::string&) {
    return std::nullopt;
}
bool inne_warunki_stosowania_modelu(const AppState&, std::int32_t, const std::string&) { return false; }

}  // namespace torv::engine
