#include "userfiles/KeysConf.h"

#include <stdexcept>

#include "engine/FileReplace.h"

namespace kv::userfiles {

namespace fs = std::filesystem;

void WriteKeyBindings(const fs::path& File, const std::vector<TKeyBinding>& Bindings, bool Rewrite) {
    std::error_code ec;
    const bool existed = fs::exists(File, ec);
    std::string old;
    if (existed)
        if (const std::string problem = ReadPlayerFile(File.string(), MaxKeyConfigBytes, old); !problem.empty())
            throw std::runtime_error(File.string() + ": " + problem + "; nothing was changed");
    auto apply = [&](std::string text) {
        for (const TKeyBinding& b : Bindings) text = RebindKeyConfig(text, File.string(), b);
        return text;
    };
    std::string text;
    try {
        text = apply(existed ? old : FormatKeyConfig(DefaultKeyAssignment()));
    } catch (const EKeyConfigError&) {
        if (!Rewrite) throw;
        TKeyAssignment table = DefaultKeyAssignment();
        for (const TKeyBinding& b : Bindings) table[static_cast<size_t>(b.State)] = b.Keys;
        text = FormatKeyConfig(table);
    }
    if (!File.parent_path().empty()) fs::create_directories(File.parent_path());
    if (existed) ReplaceFileAtomically(File.string() + ".bak", old);
    ReplaceFileAtomically(File.string(), text);
}

}  // namespace kv::userfiles
