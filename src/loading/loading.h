// The loading commands of the six bases (opcja_z_menu_glownego 1-4, 16, 17).
#pragma once

#include <optional>
#include <string>

namespace torv { struct AppState; }

namespace torv::kb {

enum class LoadOption : int {
    RuleBase = 1,
    ModelBase = 2,
    ConstraintBase = 3,
    AdviceBase = 4,
    GraphicsBase = 16,
    SoundBase = 17,
};

/// opcja_z_menu_glownego for the loading options. The result is the chosen
/// file name (without directory) when the base was loaded and the menu may be
/// updated; "" when the command ended with nothing to act on; nullopt when it
/// ended after a fault that a check reported.
std::optional<std::string> opcja_z_menu_glownego(AppState& app, LoadOption option);

/// Loads a rule base from a known path, skipping the file dialog (start-up
/// argument of the front ends). Same outcomes as the menu command.
std::optional<std::string> loadRuleBaseFrom(AppState& app, const std::string& path);

}  // namespace torv::kb
