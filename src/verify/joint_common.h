// What the joint rule-constraint diagnoses share: the base names their texts
// quote, message lines, and the refusal to flatten a base with cycles.
#pragma once

#include <initializer_list>
#include <string>

#include "port/user_port.h"
#include "state/app_state.h"
#include "verify/flattening.h"

namespace torv::verify::joint {

inline std::string nazwa_re(const AppState& app) { return app.store.nazwa_re.value_or(""); }
inline std::string nazwa_og(const AppState& app) { return app.store.nazwa_og.value_or(""); }

/// Each line to the message window.
inline void linie(AppState& app, std::initializer_list<std::string> lines) {
    for (const auto& s : lines) app.messages.write(s + "\n");
}

/// True when the test may not run; says why when flattening is refused.
inline bool odmowa(AppState& app) {
    if (app.verdicts.externallyInconsistent()) return true;
    FlatteningBase base(app.store, app.askables);
    if (!flattening_refused(app, base)) return false;
    app.port.note("Attention!", kNoFlatteningText);
    return true;
}

}  // namespace torv::verify::joint
