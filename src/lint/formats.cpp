// Text, JSON and SARIF writers of the lint result.
#include "lint/formats.h"

#include <cctype>
#include <cstdio>
#include <map>
#include <ostream>
#include <system_error>

#include "kb/file_io.h"

namespace torv::lint {

namespace fs = std::filesystem;

namespace {

/// Length of the valid UTF-8 sequence at s[i], 0 when it is not one.
std::size_t utf8Length(std::string_view s, std::size_t i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((b(i + k) & 0xC0) != 0x80) return 0;
    if (n == 2 && c < 0xC2) return 0;                                   // overlong
    if (n == 3 && c == 0xE0 && b(i + 1) < 0xA0) return 0;               // overlong
    if (n == 3 && c == 0xED && b(i + 1) >= 0xA0) return 0;              // surrogates
    if (n == 4 && (c > 0xF4 || (c == 0xF0 && b(i + 1) < 0x90) || (c == 0xF4 && b(i + 1) >= 0x90))) return 0;
    return n;
}

const char* sarifLevel(Severity s) {
    switch (s) {
    case Severity::Error: return "error";
    case Severity::Warning: return "warning";
    case Severity::Note: return "note";
    }
    return "error";
}

/// A relative path as a URI reference: unreserved bytes and '/' stay.
std::string uriOf(const std::string& shown) {
    std::string out;
    const bool absolute = !shown.empty() && shown.front() == '/';
    if (absolute) out = "file://";
    for (unsigned char c : shown) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
            out += static_cast<char>(c);
        } else {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        }
    }
    return out;
}

struct Counts {
    std::size_t errors = 0, warnings = 0, notes = 0;
};
Counts count(const CheckResult& r) {
    Counts c;
    for (const auto& f : r.findings)
        (f.severity == Severity::Error ? c.errors : f.severity == Severity::Warning ? c.warnings : c.notes)++;
    return c;
}

}  // namespace

std::string writeWitnesses(const fs::path& dir, const CheckResult& r, const fs::path& root) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) return dir.string() + ": " + ec.message();
    std::map<std::string, int> counts;
    auto save = [&](const fs::path& file, const std::string& text) -> std::string {
        if (fs::exists(fs::symlink_status(file, ec))) return file.string() + " exists already";
        const kb::FileResult saved = kb::saveFileAtomically(file, text);
        return saved.ok ? std::string() : saved.error;
    };
    for (const auto& [rules, w] : r.witnesses) {
        const std::string stem = rules.stem().string() + "-" + w.code + "-" + std::to_string(++counts[rules.stem().string() + w.code]);
        std::string text = w.text;
        if (w.script) {
            text += "Shown by: torv_ae_cli " + shownPath(rules, root) + " < " + stem + ".in\n"
                    "Both rules fire and conclude " + w.conclusion + ".\n";
            if (auto why = save(dir / (stem + ".in"), *w.script); !why.empty()) return why;
        }
        if (auto why = save(dir / (stem + ".txt"), text); !why.empty()) return why;
    }
    return {};
}

std::string jsonString(std::string_view s) {
    std::string out = "\"";
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const std::size_t n = utf8Length(s, i);
        if (n == 0) {
            out += "\\ufffd";
            ++i;
            continue;
        }
        if (n > 1) {
            out.append(s.substr(i, n));
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c < 0x20 || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
        i += n;
    }
    return out + "\"";
}

std::string shownPath(const fs::path& p, const fs::path& root) {
    const fs::path abs = p.is_absolute() ? p.lexically_normal() : (root / p).lexically_normal();
    const fs::path rel = abs.lexically_relative(root.lexically_normal());
    if (!rel.empty() && *rel.begin() != "..") return rel.generic_string();
    return abs.generic_string();
}

void writeText(std::ostream& out, const CheckResult& r, const fs::path& root) {
    for (const auto& u : r.unreadable) out << shownPath(u.first, root) << ": cannot be read: " << u.second << '\n';
    for (const auto& f : r.findings) {
        out << shownPath(f.file, root);
        if (f.line > 0) out << ':' << f.line;
        if (f.column > 0) out << ':' << f.column;
        out << ": " << severityName(f.severity) << ' ' << f.code << ": ";
        // The desktop's text spans lines; the first stays on the finding's line.
        std::string_view rest = f.message;
        bool first = true;
        while (true) {
            const auto nl = rest.find('\n');
            out << (first ? "" : "    ") << rest.substr(0, nl) << '\n';
            first = false;
            if (nl == std::string_view::npos) break;
            rest.remove_prefix(nl + 1);
        }
    }
    const Counts c = count(r);
    out << r.knowledgeBases << (r.knowledgeBases == 1 ? " knowledge base" : " knowledge bases") << " checked: "
        << c.errors << (c.errors == 1 ? " error, " : " errors, ") << c.warnings
        << (c.warnings == 1 ? " warning, " : " warnings, ") << c.notes << (c.notes == 1 ? " note" : " notes");
    if (!r.unreadable.empty()) out << ", " << r.unreadable.size() << " unreadable";
    out << '\n';
}

void writeJson(std::ostream& out, const CheckResult& r, const fs::path& root) {
    out << "{\n  \"version\": 1,\n  \"knowledgeBases\": " << r.knowledgeBases << ",\n  \"exitStatus\": "
        << r.exitStatus() << ",\n  \"findings\": [";
    for (std::size_t i = 0; i < r.findings.size(); ++i) {
        const auto& f = r.findings[i];
        out << (i ? ",\n" : "\n") << "    {\"code\": " << jsonString(f.code)
            << ", \"severity\": " << jsonString(severityName(f.severity))
            << ", \"file\": " << jsonString(shownPath(f.file, root)) << ", \"line\": " << f.line
            << ", \"column\": " << f.column << ", \"message\": " << jsonString(f.message) << '}';
    }
    out << (r.findings.empty() ? "" : "\n  ") << "],\n  \"unreadable\": [";
    for (std::size_t i = 0; i < r.unreadable.size(); ++i)
        out << (i ? ",\n" : "\n") << "    {\"path\": " << jsonString(shownPath(r.unreadable[i].first, root))
            << ", \"reason\": " << jsonString(r.unreadable[i].second) << '}';
    out << (r.unreadable.empty() ? "" : "\n  ") << "]\n}\n";
}

void writeSarif(std::ostream& out, const CheckResult& r, const fs::path& root) {
    const auto& all = codes();
    out << "{\n  \"$schema\": \"https://json.schemastore.org/sarif-2.1.0.json\",\n  \"version\": \"2.1.0\",\n"
        << "  \"runs\": [\n    {\n      \"tool\": {\n        \"driver\": {\n"
        << "          \"name\": \"torv_ae_cli\",\n          \"rules\": [";
    for (std::size_t i = 0; i < all.size(); ++i)
        out << (i ? ",\n" : "\n") << "            {\"id\": " << jsonString(all[i].code)
            << ", \"shortDescription\": {\"text\": " << jsonString(all[i].summary)
            << "}, \"defaultConfiguration\": {\"level\": " << jsonString(sarifLevel(all[i].severity)) << "}}";
    out << "\n          ]\n        }\n      },\n      \"invocations\": [\n        {\"executionSuccessful\": "
        << (r.unreadable.empty() ? "true" : "false") << ", \"toolExecutionNotifications\": [";
    for (std::size_t i = 0; i < r.unreadable.size(); ++i)
        out << (i ? ",\n" : "\n") << "          {\"level\": \"error\", \"message\": {\"text\": "
            << jsonString(r.unreadable[i].second) << "}, \"locations\": [{\"physicalLocation\": "
            << "{\"artifactLocation\": {\"uri\": " << jsonString(uriOf(shownPath(r.unreadable[i].first, root)))
            << "}}}]}";
    out << (r.unreadable.empty() ? "" : "\n        ") << "]}\n      ],\n      \"results\": [";
    for (std::size_t i = 0; i < r.findings.size(); ++i) {
        const auto& f = r.findings[i];
        std::size_t index = 0;
        while (index < all.size() && f.code != all[index].code) ++index;
        out << (i ? ",\n" : "\n") << "        {\"ruleId\": " << jsonString(f.code) << ", \"ruleIndex\": " << index
            << ", \"level\": " << jsonString(sarifLevel(f.severity)) << ", \"message\": {\"text\": "
            << jsonString(f.message) << "}, \"locations\": [{\"physicalLocation\": {\"artifactLocation\": {\"uri\": "
            << jsonString(uriOf(shownPath(f.file, root))) << '}';
        if (f.line > 0) {
            out << ", \"region\": {\"startLine\": " << f.line;
            if (f.column > 0) out << ", \"startColumn\": " << f.column;
            out << '}';
        }
        out << "}}]}";
    }
    out << (r.findings.empty() ? "" : "\n      ") << "]\n    }\n  ]\n}\n";
}

}  // namespace torv::lint
