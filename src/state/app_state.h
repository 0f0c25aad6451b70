// The application state: one object owned by a front end and passed down to
// every command.
#pragma once

#include <filesystem>

#include "state/askables.h"
#include "state/chaining_kind.h"
#include "state/chaining_state.h"
#include "kb/store.h"
#include "state/verdicts.h"
#include "port/message_window.h"
#include "port/user_port.h"
#include "state/report_buffer.h"
#include "state/menu_state.h"
#include "state/outcomes.h"
#include "state/findings.h"

namespace torv {

struct AppState {
    explicit AppState(port::UserPort& userPort,
                      std::filesystem::path startDirectory = std::filesystem::current_path())
        : port(userPort), currentDir(std::move(startDirectory)) {}
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    port::UserPort& port;
    port::MessageWindow messages;
    reports::ReportBuffer report{messages};
    kb::Store store;
    kb::Verdicts verdicts;
    engine::Askables askables;
    /// Findings of the rule-base diagnoses; the menu reports read them.
    verify::RuleBaseFindings findings;
    /// The tables of the current (or last) chaining run.
    engine::ChainingState chaining;
    /// The menu's enabled and greyed items: only the shell changes it.
    shell::MenuState menu;
    /// What the current command found that the menu has to follow.
    Outcomes outcomes;
    /// jakiewnioskowanie: which chaining runs, if one does.
    std::optional<ChainingKind> jakiewnioskowanie;
    /// The application's current directory: set by loading a base; file
    /// dialogs start here and relative base paths resolve against it. The
    /// process working directory is never changed.
    std::filesystem::path currentDir;

    /// Resolves a path against the current directory.
    std::filesystem::path resolve(const std::filesystem::path& p) const {
        return p.is_absolute() ? p : currentDir / p;
    }

    /// Everything a rule-base load clears: every base, name record, marker,
    /// verdict and working table, and the report text.
    void clearForRuleBase() {
        store.clearAll();
        verdicts = {};
        askables = {};
        findings = {};
        chaining = {};
        report.kasowanie_tekst_raportu();
    }
};

}  // namespace torv
