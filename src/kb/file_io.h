// Every file the program writes or reads goes through these two functions:
// a save that never leaves a half-written or lost file, and a read that
// refuses devices, pipes, directories and files too large to hold.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace torv::kb {

/// The outcome of a save; `error` names the file and the system's reason.
struct FileResult {
    bool ok = false;
    std::string error;
};

/// Writes `bytes` to a temporary file beside `file`, syncs it and renames it
/// over `file`; on failure an existing `file` is left untouched.
FileResult saveFileAtomically(const std::filesystem::path& file, std::string_view bytes);

/// The outcome of a checked read: the bytes, or what went wrong in words.
struct ReadResult {
    enum class Fault { None, Missing, Directory, NotRegular, TooLarge, Unreadable };
    Fault fault = Fault::None;
    std::string bytes;
    std::string error;
    bool ok() const { return fault == Fault::None; }
};

/// Reads a whole regular file of at most `maxBytes` bytes.
ReadResult readRegularFile(const std::filesystem::path& file, std::uintmax_t maxBytes);

inline constexpr std::uintmax_t kMaxTextFileBytes = 64u * 1024u * 1024u;

}  // namespace torv::kb
