// The unattended session: loads through the menu commands, as a user would.
#include "lint/session.h"

#include <filesystem>

#include "state/command_ids.h"

namespace torv::lint {

int loadCommand(std::size_t base) {
    static constexpr int kLoads[] = {shell::cmd::kRuleBaseLoading,       shell::cmd::kModelBaseLoading,
                                     shell::cmd::kConstraintBaseLoading, shell::cmd::kAdviceBaseLoading,
                                     shell::cmd::kGraphicsBaseLoading,   shell::cmd::kSoundBaseLoading};
    return kLoads[base];
}

Session::Session() : app_(port_), shell_(app_) { shell_.introClosed(); }

void Session::collect(int command, std::size_t base) {
    for (const auto& d : port_.shown()) shown_.push_back({command, base, d});
    port_.clearShown();
}

bool Session::run(int command, std::size_t base) {
    if (!shell_.menu().enabled(command)) return false;
    try {
        shell_.run(command);
    } catch (...) {
        collect(command, base);
        throw;
    }
    collect(command, base);
    return true;
}

void Session::loadAll(const KnowledgeBase& kb) {
    for (std::size_t i = 0; i < kb.files.size(); ++i) {
        if (kb.files[i].empty()) continue;
        port_.queueFile(std::filesystem::absolute(kb.files[i]).lexically_normal().string());
        if (!run(loadCommand(i), i)) {
            port_.dropQueuedFiles();
            refused_.push_back(i);
        }
    }
}

}  // namespace torv::lint
