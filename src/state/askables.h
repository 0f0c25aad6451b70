// The askables tables: what the chaining must ask because nothing in the
// bases infers it. Computed when bases are loaded.
#pragma once

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "kb/name.h"
#include "state/lists.h"

namespace torv::engine {

/// The derived lists of the knowledge base; a rule-base load clears them.
struct Askables {
    // Held as names: a million rules make a million of each.
    kb::NameList lista_warunkow;                  // rule conditions, positive, last occurrence
    kb::NameList lista_wnioskow_regul;            // rule conclusions
    Names lista_warunkow_dopytywalnych;           // askable conditions of the rule base, sorted
    std::unordered_set<std::string> dopytywalny;  // membership of the list above

    // Present once a model base has been loaded.
    std::optional<Names> lista_wnioskow_modeli;   // conclusions of relational models
    Names lista_argumentow_modeli;                // arguments of arithmetic models
    Names lista_warunkow_stosowania;              // go-ahead conditions of all models
    Names lista_wynikow_modeli;                   // results of arithmetic models
    Names argumenty_zredukowane;                  // every model variable
    Names wyniki_zredukowane;                     // every model result
    Names lista_wszystkich_dopytywalnych_dla_wyswietlania;
    Names lista_argumentow_dopytywalnych;
    Names lista_warunkow_i_argumentow_dopytywalnych;

    std::vector<Names> lista_faktow;              // one list per computation, never cleared by it
    std::optional<Names> lista_dopytywalnych_uznanych_za_fakty;

    /// dopytywalny: an askable condition of the rule base.
    bool jest_dopytywalny(const std::string& name) const { return dopytywalny.count(name) != 0; }
    /// jest_lista_faktow: the askables counted as facts, or empty.
    const Names& jest_lista_faktow() const;
};

}  // namespace torv::engine
