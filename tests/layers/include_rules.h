// The folders of src/ form a stack: a file may include headers of its own
// folder and of folders lower in the stack, nothing else. The stack and any
// temporary exceptions are declared in src/layers.txt.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace torv::layers {

struct Layers {
    std::map<std::string, int> level;                            // folder -> position, lowest 0
    std::set<std::pair<std::string, std::string>> exceptions;    // (file, included header)
    std::vector<std::string> errors;                             // faults of the declaration itself
};

/// Reads the declaration: one line per level, lowest first, sibling folders
/// on one line; "exception <file> <header>" lines; "#" starts a comment.
Layers parseLayers(const std::string& text);

/// Every include under `srcRoot` that breaks the stack, as
/// "file:line: message", and every exception that no longer matches an
/// include.
std::vector<std::string> checkIncludes(const std::filesystem::path& srcRoot, const Layers& layers);

}  // namespace torv::layers
