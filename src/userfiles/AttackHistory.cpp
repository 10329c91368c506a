#include "userfiles/AttackHistory.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "engine/FileReplace.h"

namespace kv::userfiles {

namespace fs = std::filesystem;

namespace {

const char* const kHeader =
    "# Kalvento attack history: how often each boss attack was reached and how often it was\n"
    "# ended without losing HP, in normal games (Extra Stage included) and in practice games.\n"
    "# phase\tattack\tnormal reached\tnormal unhurt\tpractice reached\tpractice unhurt\n";

std::vector<std::string> SplitTabs(const std::string& Line) {
    std::vector<std::string> fields;
    size_t start = 0;
    while (true) {
        const size_t tab = Line.find('\t', start);
        fields.push_back(Line.substr(start, tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

void AddCounts(TAttackCounts& To, const TAttackCounts& More) {
    To.Reached = std::min(To.Reached + More.Reached, MaxAttackCount);
    To.Unhurt = std::min(To.Unhurt + More.Unhurt, MaxAttackCount);
}

}  // namespace

TAttackRecord& TAttackHistory::Of(const std::string& Phase, const std::string& Attack) {
    for (TAttackRecord& r : Attacks)
        if (r.Phase == Phase && r.Attack == Attack) return r;
    Attacks.push_back(TAttackRecord{Phase, Attack, {}, {}});
    return Attacks.back();
}

const TAttackRecord* TAttackHistory::Find(const std::string& Phase) const {
    for (const TAttackRecord& r : Attacks)
        if (r.Phase == Phase) return &r;
    return nullptr;
}

void TAttackHistory::Add(const TAttackHistory& More) {
    for (const TAttackRecord& m : More.Attacks) {
        TAttackRecord& r = Of(m.Phase, m.Attack);
        AddCounts(r.Normal, m.Normal);
        AddCounts(r.Practice, m.Practice);
    }
}

fs::path AttackHistoryFile(const fs::path& DataHome) { return DataHome / "attacks.txt"; }

TAttackHistory LoadAttackHistory(const fs::path& File) {
    std::error_code ec;
    if (!fs::exists(File, ec)) return {};
    std::string bytes;
    if (const std::string problem = ReadPlayerFile(File.string(), MaxAttackHistoryBytes, bytes); !problem.empty())
        throw std::runtime_error(File.string() + ": " + problem);
    return ParseAttackHistory(bytes, File.string());
}

TAttackHistory ParseAttackHistory(const std::string& Text, const std::string& Source) {
    TAttackHistory h;
    std::istringstream in(Text);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        auto fail = [&](const std::string& Why) {
            throw std::runtime_error(Source + ":" + std::to_string(lineNo) + ": " + Why);
        };
        const std::vector<std::string> f = SplitTabs(line);
        if (f.size() != 6) fail("an attack's line has 6 fields between tabs, this one " + std::to_string(f.size()));
        if (f[0].empty() || f[1].empty()) fail("the phase or the attack name is empty");
        int64_t n[4];
        for (int i = 0; i < 4; ++i) {
            const std::string& t = f[2 + i];
            if (t.empty() || t.size() > 15 || t.find_first_not_of("0123456789") != std::string::npos)
                fail("'" + t + "' is no count");
            n[i] = std::stoll(t);
        }
        if (n[1] > n[0] || n[3] > n[2]) fail("an attack cannot be ended unhurt more often than it was reached");
        TAttackRecord& r = h.Of(f[0], f[1]);
        AddCounts(r.Normal, {n[0], n[1]});
        AddCounts(r.Practice, {n[2], n[3]});
    }
    return h;
}

std::string FormatAttackHistory(const TAttackHistory& H) {
    std::string out = kHeader;
    for (const TAttackRecord& r : H.Attacks)
        out += r.Phase + "\t" + r.Attack + "\t" + std::to_string(r.Normal.Reached) + "\t" + std::to_string(r.Normal.Unhurt) +
               "\t" + std::to_string(r.Practice.Reached) + "\t" + std::to_string(r.Practice.Unhurt) + "\n";
    return out;
}

void AddToAttackHistory(const fs::path& File, const TAttackHistory& Game) {
    if (Game.Empty()) return;
    TAttackHistory h;
    try {
        h = LoadAttackHistory(File);
    } catch (const std::exception& e) {
        throw std::runtime_error(std::string(e.what()) + "; the attack history is left as it is and this game is not counted");
    }
    h.Add(Game);
    std::error_code ec;
    fs::create_directories(File.parent_path(), ec);
    if (ec) throw std::runtime_error("cannot make the folder " + File.parent_path().string() + ": " + ec.message());
    ReplaceFileAtomically(File.string(), FormatAttackHistory(h));
}

}  // namespace kv::userfiles
