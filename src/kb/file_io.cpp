// Atomic saves and checked reads.
#include "kb/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace torv::kb {

namespace fs = std::filesystem;

FileResult saveFileAtomically(const fs::path& file, std::string_view bytes) {
    auto failed = [&](const char* step, int error) {
        return FileResult{false, file.string() + ": " + step + ": " + std::strerror(error)};
    };
    std::string tmp = (file.parent_path() / ("." + file.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) return failed("cannot create", errno);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int e = errno;
            ::close(fd);
            ::unlink(tmp.c_str());
            return failed("cannot write", e);
        }
        done += static_cast<std::size_t>(n);
    }
    ::fchmod(fd, 0644);
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        const int e = errno;
        ::unlink(tmp.c_str());
        return failed("cannot write", e);
    }
    if (::rename(tmp.c_str(), file.c_str()) != 0) {
        const int e = errno;
        ::unlink(tmp.c_str());
        return failed("cannot replace", e);
    }
    return {true, {}};
}

ReadResult readRegularFile(const fs::path& file, std::uintmax_t maxBytes) {
    std::error_code ec;
    const auto status = fs::status(file, ec);
    if (!fs::exists(status)) return {ReadResult::Fault::Missing, {}, file.string() + ": no such file"};
    if (fs::is_directory(status)) return {ReadResult::Fault::Directory, {}, file.string() + ": it is a directory"};
    if (!fs::is_regular_file(status)) return {ReadResult::Fault::NotRegular, {}, file.string() + ": not a regular file"};
    if (fs::file_size(file, ec) > maxBytes) return {ReadResult::Fault::TooLarge, {}, file.string() + ": too large"};
    std::ifstream in(file, std::ios::binary);
    if (!in) return {ReadResult::Fault::Unreadable, {}, file.string() + ": cannot be read"};
    std::ostringstream s;
    s << in.rdbuf();
    return {ReadResult::Fault::None, s.str(), {}};
}

}  // namespace torv::kb
