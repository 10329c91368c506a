#include "platform/sdl/SdlFont.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "engine/Errors.h"

namespace kv {

namespace fs = std::filesystem;

namespace {

constexpr const char* FontFile = "ipagp.ttf";

bool IsFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

// Depth-first search for the file under Root; unreadable folders are skipped.
std::string SearchTree(const fs::path& Root) {
    std::error_code ec;
    if (!fs::is_directory(Root, ec)) return {};
    fs::recursive_directory_iterator it(Root, fs::directory_options::skip_permission_denied, ec), end;
    for (; !ec && it != end; it.increment(ec))
        if (it->path().filename() == FontFile && IsFile(it->path())) return it->path().string();
    return {};
}

}  // namespace

std::string FindGothicFont() {
    if (const char* env = std::getenv("KALVENTO_FONT"); env && *env) {
        if (IsFile(env)) return env;
        throw EFOpenError(std::string("KALVENTO_FONT names the font file '") + env + "', which does not exist");
    }
    const std::vector<fs::path> known = {
        "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf",
        "/usr/share/fonts/truetype/ipafont-gothic/ipagp.ttf",
        "/usr/share/fonts/opentype/ipafont/ipagp.ttf",
        "/usr/share/fonts/truetype/ipafont/ipagp.ttf",
    };
    for (const auto& p : known)
        if (IsFile(p)) return p.string();
    std::vector<fs::path> roots = {"/usr/share/fonts", "/usr/local/share/fonts"};
    if (const char* home = std::getenv("HOME"); home && *home) {
        roots.push_back(fs::path(home) / ".local/share/fonts");
        roots.push_back(fs::path(home) / ".fonts");
    }
    std::string looked;
    for (const auto& r : roots) {
        if (std::string found = SearchTree(r); !found.empty()) return found;
        looked += (looked.empty() ? "" : ", ") + r.string();
    }
    throw EFOpenError(std::string("The font IPA P Gothic (") + FontFile + ") was not found in " + looked +
                      "; install the package fonts-ipafont-gothic or set KALVENTO_FONT to the file");
}

}  // namespace kv
