// The record inspection windows over the store: rules, the four model kinds
// and constraints, each with its layout.
#pragma once

#include <memory>

#include "port/record_source.h"

namespace torv::kb { class Store; }

namespace torv {

enum class RecordKind { Rules, BasicModels, ExtendedModels, LinearModels, PolynomialModels, Constraints };

/// A source over a copy of the store's table: the store may be reloaded
/// while the window is open.
std::shared_ptr<const port::RecordSource> recordSource(RecordKind kind, const kb::Store& store);

}  // namespace torv
