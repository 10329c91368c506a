#include "engine/FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace kv {

void ReplaceFileAtomically(const std::string& Path, const std::string& Bytes) {
    std::vector<char> name(Path.begin(), Path.end());
    for (char c : std::string(".XXXXXX")) name.push_back(c);
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    auto fail = [&](int Err) {
        throw std::runtime_error("cannot write " + Path + ": " + std::strerror(Err));
    };
    if (fd < 0) fail(errno);
    const std::string tmp = name.data();
    auto failClosing = [&](int Err) {
        ::close(fd);
        ::unlink(tmp.c_str());
        fail(Err);
    };
    struct stat st{};
    mode_t mode;
    if (::stat(Path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0) failClosing(errno);
    for (size_t done = 0; done < Bytes.size();) {
        const ssize_t n = ::write(fd, Bytes.data() + done, Bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) failClosing(errno);
        done += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0) failClosing(errno);
    if (::close(fd) != 0 || ::rename(tmp.c_str(), Path.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        fail(err);
    }
}

bool ReadWholeFile(const std::string& Path, std::string& Bytes) {
    std::ifstream in(Path, std::ios::binary);
    if (!in) return false;
    Bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace kv
