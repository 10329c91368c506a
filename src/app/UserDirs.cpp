#include "app/UserDirs.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

namespace kv::app {

namespace fs = std::filesystem;

namespace {

fs::path Home() {
    if (const char* h = std::getenv("HOME"); h && *h == '/') return h;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && *pw->pw_dir == '/') return pw->pw_dir;
    return {};
}

// An XDG variable counts only when it holds an absolute path.
fs::path XdgVariable(const char* Name) {
    const char* v = std::getenv(Name);
    return v && *v == '/' ? fs::path(v) : fs::path();
}

fs::path BaseDir(const char* Variable, const char* UnderHome) {
    fs::path p = XdgVariable(Variable);
    if (!p.empty()) return p;
    const fs::path home = Home();
    return home.empty() ? fs::path() : home / UnderHome;
}

// XDG_PICTURES_DIR="$HOME/Pictures" in user-dirs.dirs, as xdg-user-dirs writes it. "$HOME/"
// alone means the folder is switched off.
fs::path UserDirsPictures() {
    const fs::path config = BaseDir("XDG_CONFIG_HOME", ".config");
    if (config.empty()) return {};
    std::ifstream in(config / "user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_PICTURES_DIR=";
    while (std::getline(in, line)) {
        if (line.compare(0, key.size(), key) != 0) continue;
        std::string v = line.substr(key.size());
        if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
        if (v.compare(0, 5, "$HOME") == 0) {
            const std::string rest = v.substr(5);
            if (rest.empty() || rest == "/") return {};
            const fs::path home = Home();
            return home.empty() ? fs::path() : fs::path(home.string() + rest);
        }
        return v.size() > 1 && v.front() == '/' ? fs::path(v) : fs::path();
    }
    return {};
}

}  // namespace

fs::path ConfigDir() {
    const fs::path base = BaseDir("XDG_CONFIG_HOME", ".config");
    return base.empty() ? fs::path() : base / "kalvento";
}

fs::path DataHomeDir() {
    const fs::path base = BaseDir("XDG_DATA_HOME", ".local/share");
    return base.empty() ? fs::path() : base / "kalvento";
}

fs::path PicturesDir() {
    fs::path dir = XdgVariable("XDG_PICTURES_DIR");
    if (dir.empty()) dir = UserDirsPictures();
    if (dir.empty()) {
        std::error_code ec;
        const fs::path home = Home();
        if (!home.empty() && fs::is_directory(home / "Pictures", ec)) dir = home / "Pictures";
    }
    if (dir.empty()) {
        const fs::path data = BaseDir("XDG_DATA_HOME", ".local/share");
        if (data.empty()) throw std::runtime_error("no folder for screenshots: set HOME or XDG_PICTURES_DIR");
        dir = data / "kalvento" / "screenshots";
    }
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) throw std::runtime_error("cannot make the folder " + dir.string() + ": " + ec.message());
    return dir;
}

}  // namespace kv::app
