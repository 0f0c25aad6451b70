// Which chaining a command runs.
#pragma once

namespace torv {

enum class ChainingKind { Forward, Backward };

}  // namespace torv
