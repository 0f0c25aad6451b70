// Rule redundancies: two rules with the same conclusion where the askable
// conditions of one, after flattening, are a subset of the other's. The
// test, the informing after loading and the report.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "state/findings.h"

namespace torv { struct AppState; }

namespace torv::verify {

/// nazwa_nadmiaru: "RAE1" for the extension ".AEB" in any case.
std::optional<std::string> nazwa_nadmiaru(std::string_view rozszerzenie);

/// podzbiór: every element of `a` occurs in `b`.
bool podzbior(const Names& a, const Names& b);
/// podzbiór_ogólny: either list is a subset of the other.
bool podzbior_ogolny(const Names& a, const Names& b);

struct RedundancyTestStats {
    std::uint64_t pairs = 0;         // rule pairs examined
    std::uint64_t comparisons = 0;   // flattening pairs compared
};

/// wyznacz_nadmiar: the test; true when no redundancy was found. A pair is
/// examined until its first matching flattenings, which are the ones the
/// report shows, and only from its earlier rule, since the relation is
/// symmetric; a rule that no flattening of the earlier one can match is not
/// looked at, and a flattening that none of the other rule's can match is
/// not compared with each of them. Memory stays linear in the base.
bool wyznacz_nadmiar(AppState& app, RedundancyTestStats* stats = nullptr);
/// informuj_nadmiar: runs the test and informs; false only for an
/// externally inconsistent base.
bool informuj_nadmiar(AppState& app);
/// pisz_nadmiar: "Diagnosing redundancies" (10073).
void pisz_nadmiar(AppState& app);

}  // namespace torv::verify
