// Reading and writing the user's files: only regular files are read, and only up to a bound, so a
// FIFO or a device never blocks or floods the model; every write goes to a temporary file in the
// same folder, which is flushed to disk and then renamed over the target in one step.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "zorvel/model.h"

namespace zorvel {

namespace {

struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

std::string sizeText(std::uint64_t bytes) {
    return bytes >= 1024 * 1024 ? std::to_string(bytes / (1024 * 1024)) + " MiB"
                                : std::to_string(bytes) + " bytes";
}

}  // namespace

std::string readBoundedFile(const std::filesystem::path& path, const std::string& what,
                            std::uint64_t maxBytes) {
    const std::string name = what + " '" + path.string() + "'";
    Fd f;
    // Non-blocking, so that opening a FIFO without a writer returns at once.
    f.fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (f.fd < 0) {
        if (errno == ENOENT) throw Error(name + " does not exist");
        throw Error(name + " cannot be opened for reading: " + std::strerror(errno));
    }
    struct stat st {};
    if (::fstat(f.fd, &st) != 0) throw Error(name + " cannot be read: " + std::strerror(errno));
    if (S_ISDIR(st.st_mode)) throw Error(name + " is a folder, not a file");
    if (!S_ISREG(st.st_mode))
        throw Error(name + " is not a regular file (a device, a pipe or a socket)");
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes)
        throw Error(name + " is too large (" + sizeText(static_cast<std::uint64_t>(st.st_size)) +
                    "; the limit is " + sizeText(maxBytes) + ")");
    std::string text;
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(f.fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw Error(name + " cannot be read: " + std::strerror(errno));
        if (n == 0) break;
        text.append(buf, static_cast<std::size_t>(n));
        if (text.size() > maxBytes)  // the file grew while it was read
            throw Error(name + " is too large (the limit is " + sizeText(maxBytes) + ")");
    }
    return text;
}

void writeFileAtomically(const std::filesystem::path& path, const std::string& text,
                         const std::string& op) {
    const std::string fail = op + ": cannot write '" + path.string() + "'";
    struct stat st {};
    mode_t mode = 0644;
    if (::stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode))
            throw Error(fail + ": it is " +
                        (S_ISDIR(st.st_mode) ? "a folder" : "not a regular file"));
        mode = st.st_mode & 07777;  // a file replaced keeps its permissions
    }
    std::string tmpl = path.string() + ".XXXXXX";
    Fd f;
    f.fd = ::mkstemp(tmpl.data());
    if (f.fd < 0) throw Error(fail + ": " + std::strerror(errno));
    const std::filesystem::path tmp = tmpl;
    auto abandon = [&](const std::string& why) {
        if (f.fd >= 0) ::close(f.fd);
        f.fd = -1;
        std::error_code ec;
        std::filesystem::remove(tmp, ec);
        throw Error(fail + ": " + why);
    };
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(f.fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) abandon(std::strerror(errno));
        done += static_cast<std::size_t>(n);
    }
    if (::fchmod(f.fd, mode) != 0 || ::fsync(f.fd) != 0) abandon(std::strerror(errno));
    int closed = ::close(f.fd);
    f.fd = -1;
    if (closed != 0) abandon(std::strerror(errno));
    std::error_code ec;
    std::filesystem::rename(tmp, path, ec);
    if (ec) {
        std::filesystem::remove(tmp, ec);
        throw Error(fail + ": " + ec.message());
    }
}

}  // namespace zorvel
