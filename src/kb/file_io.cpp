// Atomic saves and checked reads over POSIX calls: the stream classes cannot
// sync, cannot refuse a FIFO before blocking on it, and lose errno.
#include "kb/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <vector>

namespace torv::kb {

namespace fs = std::filesystem;

namespace {

struct Injection {
    bool active = false;
    InjectedSaveFault::Step step = InjectedSaveFault::Step::Write;
    int error = 0;
};
Injection injected;  // only ever set by tests, through InjectedSaveFault

/// True (with errno set) when a test asked this step to fail.
bool injectedFailure(InjectedSaveFault::Step step) {
    if (!injected.active || injected.step != step) return false;
    errno = injected.error;
    return true;
}

std::string reason(int err) { return err ? std::strerror(err) : "unknown error"; }

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() { close(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    /// Closes now; -1 with errno on failure (NFS reports write errors here).
    int close() {
        if (fd_ < 0) return 0;
        const int r = ::close(fd_);
        fd_ = -1;
        return r;
    }

private:
    int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
    if (injectedFailure(InjectedSaveFault::Step::Write)) return false;
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

/// The file a save replaces: a symbolic link is followed so that the link
/// itself survives the rename.
fs::path saveTarget(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(file, ec))) return file;
    fs::path target = fs::canonical(file, ec);
    return ec ? file : target;
}

mode_t defaultMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

void syncDirectory(const fs::path& dir) {
    Fd d(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (d) ::fsync(d.get());  // best effort: not every file system syncs directories
}

}  // namespace

InjectedSaveFault::InjectedSaveFault(Step step, int error) { injected = {true, step, error}; }
InjectedSaveFault::~InjectedSaveFault() { injected = {}; }

FileResult saveFileAtomically(const fs::path& file, std::string_view bytes) {
    auto failed = [&](int err) { return FileResult{false, "cannot write " + file.string() + ": " + reason(err)}; };
    const fs::path target = saveTarget(file);

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) return {false, file.string() + " is a directory"};
    if (exists && !S_ISREG(old.st_mode)) return {false, file.string() + " is not a regular file"};

    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    std::string temp = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
    if (injectedFailure(InjectedSaveFault::Step::Create)) return failed(errno);
    Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (!fd) return failed(errno);

    auto abandon = [&](int err) {
        fd.close();
        ::unlink(temp.c_str());
        return failed(err);
    };
    if (!writeAll(fd.get(), bytes)) return abandon(errno);
    if (injectedFailure(InjectedSaveFault::Step::Sync) || ::fsync(fd.get()) != 0) return abandon(errno);
    // mkstemp creates the file private; give it the old file's mode, or the usual one.
    ::fchmod(fd.get(), exists ? (old.st_mode & 07777) : defaultMode());
    if (fd.close() != 0) return abandon(errno);
    if (injectedFailure(InjectedSaveFault::Step::Rename) || ::rename(temp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return failed(err);
    }
    syncDirectory(dir);
    return {true, {}};
}

ReadResult readRegularFile(const fs::path& file, std::uintmax_t maxBytes) {
    using Fault = ReadResult::Fault;
    const std::string name = file.string();
    auto fault = [](Fault f, std::string error) {
        ReadResult r;
        r.fault = f;
        r.error = std::move(error);
        return r;
    };
    // O_NONBLOCK: opening a FIFO with no writer would otherwise wait for ever.
    Fd fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd) {
        const int err = errno;
        return fault(err == ENOENT ? Fault::Missing : Fault::Unreadable, "cannot open " + name + ": " + reason(err));
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return fault(Fault::Unreadable, "cannot read " + name + ": " + reason(errno));
    if (S_ISDIR(st.st_mode)) return fault(Fault::Directory, name + " is a directory");
    if (!S_ISREG(st.st_mode)) return fault(Fault::NotRegular, name + " is not a regular file");
    const auto size = static_cast<std::uintmax_t>(st.st_size);
    auto tooLarge = [&](std::uintmax_t bytes) {
        return fault(Fault::TooLarge, name + " is too large (" + std::to_string(bytes) + " bytes; the limit is " +
                                          std::to_string(maxBytes) + ")");
    };
    if (size > maxBytes) return tooLarge(size);

    ReadResult r;
    r.bytes.reserve(static_cast<std::size_t>(size));
    std::vector<char> buf(64 * 1024);
    while (true) {
        const ssize_t n = ::read(fd.get(), buf.data(), buf.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return fault(Fault::Unreadable, "cannot read " + name + ": " + reason(errno));
        }
        if (n == 0) break;
        // The file may grow while it is read.
        if (r.bytes.size() + static_cast<std::size_t>(n) > maxBytes)
            return tooLarge(r.bytes.size() + static_cast<std::size_t>(n));
        r.bytes.append(buf.data(), static_cast<std::size_t>(n));
    }
    return r;
}

}  // namespace torv::kb
