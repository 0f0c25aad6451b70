// File-name helpers: masks and media files matched without regard to case,
// since knowledge bases come from case-insensitive file systems.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace torv::kb {

/// Glob match of a file name against a mask ("RU*.AEB", "*.hlp", "a?c"),
/// ignoring ASCII letter case.
bool maskMatches(std::string_view mask, std::string_view fileName);

/// True when some regular file in `dir` matches `mask`.
bool anyFileMatches(const std::filesystem::path& dir, std::string_view mask);

/// The file `name` in `dir`: exactly when it exists, otherwise the first
/// entry whose name differs only in letter case; nullopt when neither.
std::optional<std::filesystem::path> findFileNoCase(const std::filesystem::path& dir, std::string_view name);

/// Upper-case ASCII letters; other bytes stay.
std::string upperAscii(std::string_view s);

/// Joins a path written with back or forward slashes ("..\\ADVICES\\x\\")
/// onto a directory, as this platform's path.
std::filesystem::path platformPath(const std::filesystem::path& base, std::string_view written);

}  // namespace torv::kb
