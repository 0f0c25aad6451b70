// The knowledge-base lint: every load-time check and every diagnosis of
// each knowledge base found, run unattended, each finding once with a
// stable code, a severity and the record it concerns.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "lint/knowledge_bases.h"
#include "lint/witness.h"

namespace torv::lint {

enum class Severity { Error, Warning, Note };
const char* severityName(Severity s);

struct Finding {
    std::string code;             // "AE101"
    Severity severity = Severity::Error;
    std::filesystem::path file;   // the base file concerned
    int line = 0;                 // 1-based; 0 when the finding concerns the whole file
    int column = 0;               // 1-based; syntax errors only
    std::string message;          // the text the desktop shows for it
    bool operator==(const Finding&) const = default;
};

/// A code with what it stands for, for docs and SARIF rule descriptions.
struct CodeInfo {
    const char* code;
    Severity severity;
    const char* summary;
};
const std::vector<CodeInfo>& codes();
const CodeInfo* findCode(const std::string& code);

struct CheckResult {
    std::vector<Finding> findings;
    /// Paths or base files that could not be read at all, with why.
    std::vector<std::pair<std::string, std::string>> unreadable;
    std::size_t knowledgeBases = 0;
    /// With `withWitnesses`: each knowledge base's rule file and witnesses.
    std::vector<std::pair<std::filesystem::path, Witness>> witnesses;

    /// 0 clean (notes allowed), 1 errors or warnings, 2 something unreadable.
    int exitStatus() const;
};

/// Lints one knowledge base.
CheckResult checkKnowledgeBase(const KnowledgeBase& kb, bool withWitnesses = false);
/// Lints every knowledge base under the paths; relative paths are taken
/// from `root`.
CheckResult check(const std::vector<std::string>& paths, const std::filesystem::path& root,
                  bool withWitnesses = false);

}  // namespace torv::lint
