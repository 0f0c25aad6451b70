// The inspection commands of the rule, model and constraint bases: the
// existence checks, the record windows and the whole base files as text.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "state/record_sources.h"

namespace torv { struct AppState; }

namespace torv::shell {

/// The whole file for an inspection window, or nullopt after a note that
/// names `what` ("The rule base RUcar.AEB") and says why it was not read.
std::optional<std::string> readForInspection(AppState& app, const std::filesystem::path& file,
                                             const std::string& what);

// Existence checks made before a window opens. Each is given the number of
// records the window would show; with none it shows its note (when it has
// one) and the caller opens nothing.
bool sprawdz_istnienie_regul(AppState& app, std::size_t count);
bool sprawdz_istnienie_regul1(AppState& app, std::size_t count);
bool sprawdz_istnienie_ograniczen(AppState& app, std::size_t count);
/// Silent: the single-constraint command notes an empty base itself.
bool sprawdz_istnienie_ograniczen1(std::size_t count);
bool sprawdz_istnienie_rad(AppState& app, std::size_t count);
bool sprawdz_istnienie_grafiki(AppState& app, std::size_t count);
bool sprawdz_istnienie_dzwieku(AppState& app, std::size_t count);
/// `count` is the number of models of all four kinds together.
bool sprawdz_istnienie_modeli(AppState& app, std::size_t count);
bool sprawdz_istnienie_modeli_elementarnych(AppState& app, std::size_t count);
bool sprawdz_istnienie_modeli_rozwinietych(AppState& app, std::size_t count);
bool sprawdz_istnienie_modeli_liniowych(AppState& app, std::size_t count);
bool sprawdz_istnienie_modeli_wielomianowych(AppState& app, std::size_t count);

/// dzialanie_w_bazie_regul: action 1 shows the rule-base file as text,
/// action 2 the askable conditions.
enum class RuleBaseAction { InspectAll = 1, Askables = 2 };
void dzialanie_w_bazie_regul(AppState& app, RuleBaseAction action);

/// dzialanie_w_bazie_modeli: action 1 shows the model-base file as text,
/// 2 the model base's askables, 3 the joint askables of both bases.
enum class ModelBaseAction { InspectAll = 1, Askables = 2, JointAskables = 3 };
void dzialanie_w_bazie_modeli(AppState& app, ModelBaseAction action);

/// dzialanie_w_bazie_ograniczen action 1: the constraint-base file as text.
void dzialanie_w_bazie_ograniczen(AppState& app);

/// The record windows of "Inspecting a single rule", the four model kinds
/// and "Inspecting a single constraint".
void inspectRecords(AppState& app, RecordKind kind);

}  // namespace torv::shell
