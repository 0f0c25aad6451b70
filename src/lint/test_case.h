// Consultation test cases: the answers given in a consultation and the
// conclusions it reached, kept as plain text, and their replay against the
// bases as they are now.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "port/text_port.h"

namespace torv { struct AppState; }

namespace torv::lint {

/// One answer, keyed by the box it answered.
struct RecordedAnswer {
    std::string kind, title, text;
    std::string choices;                 // caption and items of a list, one a line
    std::optional<std::string> answer;   // nullopt: closed without an answer
    bool operator==(const RecordedAnswer&) const = default;
};

/// One chaining command and what it concluded.
struct RecordedRun {
    int command = 0;
    std::vector<std::string> conclusions;   // sorted, each once
    bool operator==(const RecordedRun&) const = default;
};

struct TestCase {
    /// Base files in load order: prefix index and path relative to the case file.
    std::vector<std::pair<std::size_t, std::string>> bases;
    std::vector<RecordedAnswer> answers;
    std::vector<RecordedRun> runs;
    bool operator==(const TestCase&) const = default;
};

std::string writeCase(const TestCase& c);
/// The case, or why the text is not one (with its line).
std::variant<TestCase, std::string> readCase(std::string_view text);

/// What the chaining run in progress has concluded, sorted, each once: the
/// conditions derived forwards (by a rule or a relational model) or
/// established backwards, and the argument values determined ("x = 3").
std::vector<std::string> conclusionsOf(const AppState& app);
/// The box that closes a chaining run, while its conclusions still stand.
bool endsChaining(const port::Dialog& d);

/// Builds a case while a front end runs a consultation.
class CaseRecorder {
public:
    CaseRecorder(std::filesystem::path caseFile, const AppState& app) : file_(std::move(caseFile)), app_(app) {}
    /// Every box shown (answer null) and every answer read for one.
    void observe(const port::Dialog& d, const std::optional<std::string>* answer);
    void beforeCommand(int command, const AppState& app);
    void afterCommand(int command, const AppState& app);
    const TestCase& recorded() const { return case_; }
    /// Writes the case; why it failed, or empty.
    std::string save() const;

private:
    std::filesystem::path file_;
    const AppState& app_;
    TestCase case_;
    std::optional<std::vector<std::string>> concluded_;
    bool inRun_ = false;
};

/// What changed in one run of a replayed case.
struct RunDiff {
    int command = 0;
    bool refused = false;                    // the command was greyed
    std::vector<std::string> gained, lost;
    std::vector<std::string> unanswered;     // boxes without a recorded answer
    /// A recorded answer the box no longer takes (what it takes instead);
    /// the run stopped there.
    std::optional<std::string> notTaken;
};

struct ReplayResult {
    std::vector<RunDiff> runs;
    std::vector<std::string> missingBases;
    bool changed() const;
};

/// Loads the case's bases and runs its commands, answering from the record.
ReplayResult replay(const TestCase& c, const std::filesystem::path& caseDirectory);

/// Whether a command is a chaining run that a case records.
bool isChainingCommand(int command);

}  // namespace torv::lint
