// Base files: which records each of the six bases accepts, and reading a
// whole file into that base's tables.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <variant>

#include "kb/store.h"
#include "kb/term_reader.h"

namespace torv::kb {

/// Every base read as a whole; the store is filled only from a clean read.
using AnyBase = std::variant<RuleBase, ModelBase, ConstraintBase, AdviceBase, GraphicsBase, SoundBase>;

/// The message of a read the user stopped, and of a load stopped later.
inline constexpr const char* kLoadingCancelled = "The loading was cancelled.";

/// Told how many bytes of the text have been read, of how many; false stops
/// the read with a Cancelled error.
using ReadProgress = std::function<bool(std::size_t done, std::size_t total)>;

/// Reads a base file of the given kind. Stops at the first error.
std::variant<AnyBase, ReadError> readBaseFile(BaseKind kind, const std::filesystem::path& path,
                                              const ReadProgress& progress = {});

/// Parses a base file's text (as read from disk) of the given kind.
std::variant<AnyBase, ReadError> parseBaseText(BaseKind kind, std::string_view text,
                                               const ReadProgress& progress = {});

/// The base a file name belongs to by its prefix ("RUgarden.AEB", any
/// letter case, extension .AEB); nullopt for any other file.
std::optional<BaseKind> baseKindOfFile(std::string_view fileName);

/// Moves a base that was read into the store, replacing that base's records.
void storeBase(Store& store, AnyBase&& base);

}  // namespace torv::kb
