// Explanations of applied models: the fixed-form texts written to the
// report and shown in the "Message" dialog when a model's display semaphore
// is 1. A model with semaphore 0 is applied silently.
#pragma once

#include <cstdint>
#include <string>

namespace torv { struct AppState; }

namespace torv::engine {

/// Basic arithmetic model N with result R and computed value V.
void wyjasnienie_model_matematyczny(AppState& app, std::int32_t numer, const std::string& wynik, double wartosc);
/// Extended arithmetic model.
void wyjasnienie_model_matematyczny_2(AppState& app, std::int32_t numer, const std::string& wynik, double wartosc);
void wyjasnienie_model_matematyczny_liniowy(AppState& app, std::int32_t numer, const std::string& wynik,
                                            double wartosc);
void wyjasnienie_model_matematyczny_wielomianowy(AppState& app, std::int32_t numer, const std::string& wynik,
                                                 double wartosc);
/// Basic and extended relational model N; W is the decided conclusion or its
/// complement.
void wyjasnienie_model_relacyjny(AppState& app, std::int32_t numer, const std::string& w);
void wyjasnienie_model_relacyjny_r(AppState& app, std::int32_t numer, const std::string& w);

/// sprv: a real as text, in the report's real format.
std::string sprv(double v);

}  // namespace torv::engine
