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

/// Writes `bytes` to a temporary file beside `file`, flushes and syncs it,
/// then renames it over `file`. On any failure the temporary file is removed
/// and an existing `file` is left untouched. A symbolic link is followed, so
/// the file it names is replaced and the link stays. Existing permissions are
/// kept. Does not ask before replacing: the caller has done that.
FileResult saveFileAtomically(const std::filesystem::path& file, std::string_view bytes);

/// The outcome of a checked read: the bytes, or what went wrong in words.
struct ReadResult {
    enum class Fault {
        None,
        Missing,     // no such file (or a dangling link)
        Directory,
        NotRegular,  // device, pipe, socket
        TooLarge,
        Unreadable,  // permission, link loop, I/O error, ...
    };
    Fault fault = Fault::None;
    std::string bytes;
    std::string error;  // empty when fault is None
    bool ok() const { return fault == Fault::None; }
};

/// Reads a whole regular file of at most `maxBytes` bytes. Never blocks on a
/// pipe and never reads a device: those are refused before any byte is read.
ReadResult readRegularFile(const std::filesystem::path& file, std::uintmax_t maxBytes);

/// Size limits of the files the program reads. Generous for real files, small
/// enough that a stray huge file cannot exhaust memory.
inline constexpr std::uintmax_t kMaxBaseFileBytes = 512u * 1024u * 1024u;
inline constexpr std::uintmax_t kMaxTextFileBytes = 64u * 1024u * 1024u;  // advice, abstracts, summaries

/// Test seam: makes the next saves fail at one step with the given errno,
/// as a full disk or a failing device would. Restores on destruction.
class InjectedSaveFault {
public:
    enum class Step { Create, Write, Sync, Rename };
    InjectedSaveFault(Step step, int error);
    ~InjectedSaveFault();
    InjectedSaveFault(const InjectedSaveFault&) = delete;
    InjectedSaveFault& operator=(const InjectedSaveFault&) = delete;
};

}  // namespace torv::kb
