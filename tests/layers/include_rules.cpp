#include "layers/include_rules.h"

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>

namespace torv::layers {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line.substr(0, line.find('#')));
    std::vector<std::string> w;
    for (std::string s; in >> s;) w.push_back(s);
    return w;
}

std::string firstComponent(const std::string& path) {
    const auto slash = path.find('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

Layers parseLayers(const std::string& text) {
    Layers l;
    std::istringstream in(text);
    int next = 0;
    int lineNo = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNo;
        const auto w = words(line);
        if (w.empty()) continue;
        if (w[0] == "exception") {
            if (w.size() != 3) {
                l.errors.push_back("layers:" + std::to_string(lineNo) + ": exception needs a file and a header");
                continue;
            }
            l.exceptions.emplace(w[1], w[2]);
            continue;
        }
        for (const auto& folder : w) {
            if (!l.level.emplace(folder, next).second)
                l.errors.push_back("layers:" + std::to_string(lineNo) + ": folder " + folder + " declared twice");
        }
        ++next;
    }
    return l;
}

std::vector<std::string> checkIncludes(const fs::path& srcRoot, const Layers& layers) {
    std::vector<std::string> faults = layers.errors;
    std::set<std::pair<std::string, std::string>> usedExceptions;
    static const std::regex includeLine(R"(^\s*#\s*include\s*"([^"]+)\")");

    std::vector<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(srcRoot)) {
        const auto ext = e.path().extension();
        if (e.is_regular_file() && (ext == ".h" || ext == ".cpp")) files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());

    for (const auto& file : files) {
        const std::string rel = file.lexically_relative(srcRoot).generic_string();
        const std::string folder = firstComponent(rel);
        const auto from = layers.level.find(folder);
        if (from == layers.level.end()) {
            faults.push_back(rel + ": folder '" + folder + "' is not declared in layers.txt");
            continue;
        }
        std::ifstream in(file);
        int lineNo = 0;
        for (std::string line; std::getline(in, line);) {
            ++lineNo;
            std::smatch m;
            if (!std::regex_search(line, m, includeLine)) continue;
            const std::string header = m[1];
            const std::string where = rel + ":" + std::to_string(lineNo) + ": ";
            const std::string target = firstComponent(header);
            if (target.empty() || target == folder) continue;   // own folder
            const auto to = layers.level.find(target);
            if (to == layers.level.end()) {
                faults.push_back(where + "includes \"" + header + "\" of an undeclared folder");
                continue;
            }
            if (to->second < from->second) continue;
            if (layers.exceptions.count({rel, header})) {
                usedExceptions.emplace(rel, header);
                continue;
            }
            faults.push_back(where + folder + " may not include \"" + header + "\" (" + target +
                             (to->second == from->second ? " is beside it)" : " is above it)"));
        }
    }
    for (const auto& e : layers.exceptions) {
        if (!usedExceptions.count(e))
            faults.push_back("layers.txt: exception " + e.first + " " + e.second + " matches no upward include; remove it");
    }
    return faults;
}

}  // namespace torv::layers
