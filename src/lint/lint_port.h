// LintPort: the port of the unattended runs (lint, graph, test cases). It
// answers every offer yes, declines saving, and hands the file dialogs the
// paths queued for them; every box it shows is kept for the caller.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "port/text_port.h"

namespace torv::lint {

class LintPort : public port::TextPort {
public:
    /// The answer of the next open-file dialog.
    void queueFile(std::string path) { files_.push_back(std::move(path)); }
    void dropQueuedFiles() { files_.clear(); }
    /// Answers for the dialogs that take a typed answer (argument values,
    /// fact picks), by dialog title; used by the test-case replays.
    void setAnswerer(std::function<std::optional<std::string>(const port::Dialog&)> f) { answerer_ = std::move(f); }

    const std::vector<port::Dialog>& shown() const { return shown_; }
    void clearShown() { shown_.clear(); }

protected:
    void present(const port::Dialog& d) override;
    std::optional<std::string> answer(const port::Dialog& d) override;

private:
    std::deque<std::string> files_;
    std::vector<port::Dialog> shown_;
    std::function<std::optional<std::string>(const port::Dialog&)> answerer_;
};

}  // namespace torv::lint
