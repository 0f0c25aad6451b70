// An unattended session over one knowledge base: the application state and
// shell driven through the lint port, loading every base it has.
#pragma once

#include <string>
#include <vector>

#include "lint/knowledge_bases.h"
#include "lint/lint_port.h"
#include "shell/shell.h"
#include "state/app_state.h"

namespace torv::lint {

/// What was shown, and while doing what.
struct Shown {
    int command = 0;            // the command id that showed it
    std::size_t base = 0;       // for loads: index into kPrefixes
    port::Dialog dialog;
};

class Session {
public:
    Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    /// Loads every base file of `kb` in menu order; a load the menu does
    /// not allow (its rule base was refused) is left out.
    void loadAll(const KnowledgeBase& kb);
    /// Runs a command if the menu allows it; false when greyed.
    bool run(int command, std::size_t base = 0);

    AppState& app() { return app_; }
    shell::Shell& shell() { return shell_; }
    LintPort& port() { return port_; }
    const std::vector<Shown>& shown() const { return shown_; }
    /// Bases whose load the menu refused, by kPrefixes index.
    const std::vector<std::size_t>& refused() const { return refused_; }

private:
    void collect(int command, std::size_t base);

    LintPort port_;
    AppState app_;
    shell::Shell shell_;
    std::vector<Shown> shown_;
    std::vector<std::size_t> refused_;
};

/// The load command of each base, in kPrefixes order.
int loadCommand(std::size_t base);

}  // namespace torv::lint
