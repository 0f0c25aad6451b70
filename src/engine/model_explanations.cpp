// Model explanations.
#include "engine/model_explanations.h"

#include "shell/app_state.h"

namespace torv::engine {

void wyjasnienie_model_matematyczny(AppState&, std::int32_t, const std::string&, double) {}
void wyjasnienie_model_matematyczny_2(AppState&, std::int32_t, const std::string&, double) {}
void wyjasnienie_model_matematyczny_liniowy(AppState&, std::int32_t, const std::string&, double) {}
void wyjasnienie_model_matematyczny_wielomianowy(AppState&, std::int32_t, const std::string&, double) {}
void wyjasnienie_model_relacyjny(AppState&, std::int32_t, const std::string&) {}
void wyjasnienie_model_relacyjny_r(AppState&, std::int32_t, const std::string&) {}
std::string sprv(double) { return {}; }

}  // namespace torv::engine
