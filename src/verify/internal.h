// Internal inconsistencies: rules that can never fire because every
// flattening of their conclusion holds a condition together with its
// negation. The test, the informing after loading and the report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "state/findings.h"

namespace torv { struct AppState; }

namespace torv::verify {

class FlatteningBase;
using NameId = std::int32_t;

/// testuj_sprzecznosc: some element's negation follows it in the list.
bool testuj_sprzecznosc(FlatteningBase& base, const std::vector<NameId>& flat);
bool testuj_sprzecznosc(const Names& flat);

struct InternalTestStats {
    std::uint64_t flattenings = 0;
    std::uint64_t passes = 0;
};

/// How many contradictory flattenings the test keeps for the report.
inline constexpr std::size_t kMaxKeptFlattenings = 100'000;

/// wyznacz_sprzecznosc_1w: the test, reporting its progress to the port
/// (port::Cancelled when the user stops it).
/// Only what the report can show is kept:
/// the flattenings of conclusions that have none free of contradiction;
/// a conclusion's rules are no longer flattened once one such is found.
/// `shortcuts` false enumerates every rule through the generator, as the
/// reference the shortcut of rules with a single flattening is checked by.
InternalTestStats wyznacz_sprzecznosc_1w(AppState& app, bool shortcuts = true);
/// informuj_sprzecznosc_1w: runs the test and informs (or says that it
/// was cancelled, keeping no findings).
void informuj_sprzecznosc_1w(AppState& app);
/// pisz_sprzecznosc_1w: "Diagnosing internal inconsistencies" (10072).
void pisz_sprzecznosc_1w(AppState& app);

}  // namespace torv::verify
