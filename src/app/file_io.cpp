#include "app/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::string reason(int error) {
    return std::strerror(error);
}

// The folder part of a path, "." when it names none; "/" for the root itself.
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The path with its symbolic links, if it is one, followed to the end (the end may not exist
// yet). false with why when the chain is broken by an error or loops.
bool followLinks(const std::string& path, std::string& target, std::string& why) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (lstat(target.c_str(), &st) != 0) {
            if (errno == ENOENT) return true;  // a new file, or a link to one
            why = reason(errno);
            return false;
        }
        if (!S_ISLNK(st.st_mode)) return true;
        std::string link(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : 4096, '\0');
        const ssize_t n = readlink(target.c_str(), link.data(), link.size());
        if (n < 0) {
            why = reason(errno);
            return false;
        }
        link.resize(static_cast<std::size_t>(n));
        target = !link.empty() && link[0] == '/' ? link : folderOf(target) + "/" + link;
    }
    why = reason(ELOOP);
    return false;
}

// A new, empty file in folder with a short name of its own; -1 with why on failure.
int createTemporary(const std::string& folder, std::string& name, std::string& why) {
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        char tail[40];
        std::snprintf(tail, sizeof tail, "/.kaleidra-%x-%lx-%x", static_cast<unsigned>(getpid()),
                      static_cast<unsigned long>(now.tv_nsec), serial++);
        name = folder + tail;
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) break;
    }
    why = reason(errno);
    return -1;
}

bool writeAll(int fd, std::string_view data, std::string& why) {
    for (std::size_t done = 0; done < data.size();) {
        const ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            why = reason(n < 0 ? errno : EIO);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool readRegularFile(const std::string& path, std::size_t maxBytes, std::string& out,
                     std::string& why) {
    // Without O_NONBLOCK opening a FIFO waits for a writer; with it, fstat refuses it at once.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        why = reason(errno);
        return false;
    }
    struct stat st {};
    bool ok = fstat(fd, &st) == 0;
    if (!ok) why = reason(errno);
    if (ok && !S_ISREG(st.st_mode)) {
        why = S_ISDIR(st.st_mode) ? reason(EISDIR) : "not a regular file";
        ok = false;
    }
    if (ok && static_cast<unsigned long long>(st.st_size) > maxBytes) {
        why = "too large";
        ok = false;
    }
    if (ok) {
        out.assign(static_cast<std::size_t>(st.st_size), '\0');
        std::size_t done = 0;
        for (;;) {
            // One byte of room beyond the end shows a file that grew meanwhile.
            if (done == out.size()) out.resize(done + 1);
            const ssize_t n = read(fd, out.data() + done, out.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                why = reason(errno);
                ok = false;
                break;
            }
            if (n == 0) break;
            done += static_cast<std::size_t>(n);
            if (done > maxBytes) {
                why = "too large";
                ok = false;
                break;
            }
        }
        out.resize(ok ? done : 0);
    }
    close(fd);
    return ok;
}

bool replaceFile(const std::string& path, std::string_view data, std::string& why) {
    std::string target;
    if (!followLinks(path, target, why)) return false;
    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        why = reason(errno);
        return false;
    }
    if (exists && !S_ISREG(old.st_mode)) {
        why = S_ISDIR(old.st_mode) ? reason(EISDIR) : "not a regular file";
        return false;
    }
    std::string temporary;
    const int fd = createTemporary(folderOf(target), temporary, why);
    if (fd < 0) return false;
    bool ok = true;
    if (exists) {
        // The owner first: a change of owner clears the set-id bits that the mode then restores.
        if (fchown(fd, old.st_uid, old.st_gid) != 0 &&
            fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
            // Not allowed to give it away: the file stays ours, with the old permissions.
        }
        if (fchmod(fd, old.st_mode & 07777) != 0) {
            why = reason(errno);
            ok = false;
        }
    }
    ok = ok && writeAll(fd, data, why);
    if (ok && fsync(fd) != 0) {
        why = reason(errno);
        ok = false;
    }
    if (close(fd) != 0 && ok) {
        why = reason(errno);
        ok = false;
    }
    if (ok && rename(temporary.c_str(), target.c_str()) != 0) {
        why = reason(errno);
        ok = false;
    }
    if (!ok) unlink(temporary.c_str());
    return ok;
}
