// Explanations of the chaining steps: the fixed-form texts written to the
// report and shown in the "Message" dialog when a display semaphore is 1.
#pragma once

#include <cstdint>
#include <string>

#include "kb/name.h"
#include "state/lists.h"

namespace torv { struct AppState; }

namespace torv::engine {

/// wyjasnienie_regula: explains rule N (conclusion C as written, its
/// conditions, the recorded result W). Silent and successful for a rule with
/// display semaphore 0; fails for the result "nend", which is never explained.
bool wyjasnienie_regula(AppState& app, std::int32_t numer, kb::Name wniosek, const kb::NameList& warunki,
                        const std::string& wynik);

}  // namespace torv::engine
