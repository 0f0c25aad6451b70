// Long work the user may stop: how a command runs it and says it was stopped.
#pragma once

#include "port/message_window.h"
#include "port/texts.h"
#include "port/user_port.h"

namespace torv::port {

/// Runs `work`, which reports through a Progress under `what.label`. False
/// when the user stopped it: what the work keeps in `kept` is then emptied,
/// and the message window and a note say that it was cancelled.
template <class Work, class... Kept>
bool runToEnd(UserPort& port, MessageWindow& messages, const texts::LongWork& what, Work&& work, Kept&... kept) {
    try {
        work();
        return true;
    } catch (const Cancelled&) {
        ((kept = {}), ...);
        messages.write(what.cancelled);
        port.note(titles::kAttention, what.cancelled);
        return false;
    }
}

}  // namespace torv::port
