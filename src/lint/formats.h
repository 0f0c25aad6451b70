// The lint's three outputs: text for people, JSON for scripts, SARIF 2.1.0
// for code-hosting sites that show findings on the lines of a change.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>

#include "lint/check.h"

namespace torv::lint {

enum class Format { Text, Json, Sarif };

/// Writes the result; file paths are shown relative to `root` when below it.
void writeText(std::ostream& out, const CheckResult& r, const std::filesystem::path& root);
void writeJson(std::ostream& out, const CheckResult& r, const std::filesystem::path& root);
void writeSarif(std::ostream& out, const CheckResult& r, const std::filesystem::path& root);

/// Writes one text file per witness into `dir` (made when missing), and
/// beside a redundancy's the terminal input that shows it. Never writes over
/// a file; why it stopped, or empty.
std::string writeWitnesses(const std::filesystem::path& dir, const CheckResult& r, const std::filesystem::path& root);

/// A JSON string literal; bytes that are not UTF-8 become U+FFFD.
std::string jsonString(std::string_view s);
/// A path as shown: relative to root when below it, with forward slashes.
std::string shownPath(const std::filesystem::path& p, const std::filesystem::path& root);

}  // namespace torv::lint
