// Joint model-rule inconsistencies: a relational model whose go-ahead
// condition is needed, through rules and relational models, to derive that
// same go-ahead condition. The test, the informing and the report.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "state/findings.h"

namespace torv { struct AppState; }
namespace torv::kb { class Store; }
namespace torv::port { class Progress; }

namespace torv::verify {

class FlatteningBase;

/// What the expansion of a flattened rule through the relational models met.
struct ModelExpansion {
    Names warunki;   // go-ahead conditions, in the order met
    Numbers modele;  // the models followed, in the order met
};

/// splaszcz_modele: follows every condition of `flat` that a relational
/// model concludes (directly or negated) back through the go-ahead
/// conditions of the relational models concluding it, repeatedly
/// (testuj_modele). A condition met a second time is not followed again; a
/// go-ahead condition no relational model concludes ends its chain.
class RelationalExpansion {
public:
    explicit RelationalExpansion(const kb::Store& store);
    ModelExpansion splaszcz_modele(const Names& flat);
    /// testowalny: a relational model concludes the condition or its negation.
    bool testowalny(const std::string& warunek) const;

private:
    struct Model {
        std::int32_t numer;
        std::string warunek;
    };
    /// The expansion of one condition on its own, worked out once.
    const ModelExpansion& closure(const std::string& warunek);

    /// conclusion -> relational models (basic, then extended, record order)
    std::unordered_map<std::string, std::vector<Model>> byConclusion_;
    std::unordered_map<std::string, ModelExpansion> closures_;
    std::size_t remembered_ = 0;   // models over all remembered closures
    static constexpr std::size_t kMaxRemembered = 4'000'000;
};

struct JointSearchLimits {
    std::uint64_t flatteningsPerRule = 10'000;
    std::uint64_t flattenings = 1'000'000;
    std::size_t findings = 100'000;
};

struct JointSearchStats {
    std::uint64_t flattenings = 0;
};

/// badaj_sprzecznosc_mr without the state: every finding in discovery order;
/// reports to `progress`, if given (port::Cancelled when stopped).
JointSearchStats badaj_mr(const kb::Store& store, FlatteningBase& base, JointModelRuleFindings& out,
                          const JointSearchLimits& limits = {}, port::Progress* progress = nullptr);

/// badaj_sprzecznosc_mr: fills the findings; wyznacz_sprzecznosc_mr also
/// records the verdict and is true when it is "NO". Run while a model base
/// loads, they throw port::Cancelled when the user stops them.
JointSearchStats badaj_sprzecznosc_mr(AppState& app);
bool wyznacz_sprzecznosc_mr(AppState& app);
/// informuj_sprzecznosc_mr: false, after informing, when the bases are
/// jointly inconsistent.
bool informuj_sprzecznosc_mr(AppState& app);

/// test_dla_tekstu: the chain text of one finding, as the report writes it
/// and as its note shows it; the lists are normalised (0 removed, reversed).
struct ChainText {
    std::string report;
    std::string note;
};
ChainText test_dla_tekstu(const Numbers& reguly, const Numbers& modele);

/// "Diagnosing joint Model- and Rule Base inconsistencies" (10089).
void pisz_sprzecznosc_mr(AppState& app);

}  // namespace torv::verify
