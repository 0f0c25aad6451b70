// Rule explanations.
#include "engine/explanations.h"

#include "state/app_state.h"

namespace torv::engine {

bool wyjasnienie_regula(AppState& app, std::int32_t numer, kb::Name wniosek, const kb::NameList& warunki,
                        const std::string& wynik) {
    if (wynik == "nend") return false;
    if (!app.store.ruleByNumberConclusionSemaphore(numer, wniosek, 1)) return true;
    auto& r = app.report;
    const std::string n = std::to_string(numer);
    std::vector<std::string> linie{"Rule " + n + " is resolved. The rule states:", "If"};
    r.pisz("Rule  " + n + " is resolved." + "The rule states:");
    r.piszcr();
    r.pisz("If");
    r.piszcr();
    for (const auto& c : warunki) {
        r.pisz("    " + c);
        r.piszcr();
        linie.push_back("    " + c);
    }
    r.pisz("then  ");
    r.piszcr();
    r.pisz("    " + wniosek);
    r.piszcr();
    r.pisz("It follows: ");
    r.piszcr();
    r.pisz("    " + wynik);
    r.piszcr();
    r.piszcr();
    linie.insert(linie.end(), {"then ", "    " + wniosek, "It follows:", "    " + wynik});
    app.port.message("Rule explanation", linie);
    return true;
}

}  // namespace torv::engine
