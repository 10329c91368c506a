#include "engine/FileReplace.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <vector>

namespace kv {

namespace {

std::string FolderOf(const std::string& Path) {
    const size_t slash = Path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : Path.substr(0, slash);
}

// Temporary files of a write are named after the file they replace, with this and six random
// characters after it. A write holds a lock on its temporary file until it is closed.
const char* const kSavingInfix = ".saving-";

// Temporaries older than this are not of a write still under way, whatever their lock says.
constexpr time_t kLeftoverAge = 60;

bool IsSavingName(const std::string& Entry, const std::string& Base) {
    const std::string prefix = Base + kSavingInfix;
    if (Entry.size() != prefix.size() + 6 || Entry.compare(0, prefix.size(), prefix) != 0) return false;
    for (size_t i = prefix.size(); i < Entry.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(Entry[i]))) return false;
    return true;
}

// Removes the temporaries that writes killed before their rename left beside Path. One is taken
// only when it is a regular file, a minute old and no live write holds its lock; the file
// itself was never touched by such a write, so nothing the player saved goes with it.
void RemoveLeftovers(const std::string& Path) {
    const size_t slash = Path.find_last_of('/');
    const std::string base = slash == std::string::npos ? Path : Path.substr(slash + 1);
    DIR* dir = ::opendir(FolderOf(Path).c_str());
    if (!dir) return;
    const time_t now = ::time(nullptr);
    while (const dirent* e = ::readdir(dir)) {
        const std::string entry = e->d_name;
        if (!IsSavingName(entry, base)) continue;
        const int fd = ::openat(::dirfd(dir), entry.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st{};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && now - st.st_mtime >= kLeftoverAge &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(::dirfd(dir), entry.c_str(), 0);
        ::close(fd);
    }
    ::closedir(dir);
}

}  // namespace

void ReplaceFileAtomically(const std::string& Path, const std::string& Bytes) {
    RemoveLeftovers(Path);
    std::string tmp = Path + kSavingInfix + "XXXXXX";
    std::vector<char> name(tmp.begin(), tmp.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) throw EFileReplaceError(Path, std::strerror(errno));
    tmp = name.data();
    auto fail = [&](int Err) {
        ::close(fd);
        ::unlink(tmp.c_str());
        throw EFileReplaceError(Path, std::strerror(Err));
    };
    if (::flock(fd, LOCK_EX) != 0) fail(errno);
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat st{};
    mode_t mode;
    if (::stat(Path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0) fail(errno);
    for (size_t done = 0; done < Bytes.size();) {
        const ssize_t n = ::write(fd, Bytes.data() + done, Bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail(errno);
        done += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0) fail(errno);
    if (::close(fd) != 0 || ::rename(tmp.c_str(), Path.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        throw EFileReplaceError(Path, std::strerror(err));
    }
    // The rename itself reaches the disk with its folder.
    const int dir = ::open(FolderOf(Path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

std::string ReadPlayerFile(const std::string& Path, size_t MaxBytes, std::string& Bytes) {
    Bytes.clear();
    auto failed = [](int Err) { return std::string("cannot be read: ") + std::strerror(Err); };
    // Opened without waiting, and looked at again once open: a pipe put there meanwhile would
    // otherwise wait for a writer.
    const int fd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return failed(errno);
    struct stat st {};
    std::string problem;
    if (::fstat(fd, &st) != 0)
        problem = failed(errno);
    else if (S_ISDIR(st.st_mode))
        problem = "is a folder, not a file";
    else if (!S_ISREG(st.st_mode))
        problem = "is not a plain file (a device, a pipe or a socket)";
    else if (static_cast<uint64_t>(st.st_size) > MaxBytes)
        problem = "is " + std::to_string(st.st_size) + " bytes, more than the " + std::to_string(MaxBytes) +
                  " such a file may have";
    char buf[65536];
    while (problem.empty()) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            problem = failed(errno);
        } else if (Bytes.size() + static_cast<size_t>(n) > MaxBytes) {
            problem = "grew past the " + std::to_string(MaxBytes) + " bytes such a file may have while it was read";
        } else {
            Bytes.append(buf, static_cast<size_t>(n));
        }
    }
    ::close(fd);
    if (!problem.empty()) Bytes.clear();
    return problem;
}

bool ReadWholeFile(const std::string& Path, std::string& Bytes) {
    return ReadPlayerFile(Path, Bytes.max_size(), Bytes).empty();
}

}  // namespace kv
