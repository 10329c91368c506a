#include "Manifest.h"

#include <charconv>
#include <cstdio>
#include <set>
#include <sstream>

#include "Media.h"
#include "engine/Names.h"
#include "engine/dxg/PropertyStream.h"

namespace dxgtool {

namespace {

std::string Trim(const std::string& S) {
    const size_t a = S.find_first_not_of(" \t\r");
    if (a == std::string::npos) return "";
    return S.substr(a, S.find_last_not_of(" \t\r") - a + 1);
}

class TParser {
public:
    TParser(const std::string& Source) : Source_(Source) {}

    [[noreturn]] void Fail(const std::string& What) const {
        throw ToolError(Source_ + ":" + std::to_string(Line_) + ": " + What);
    }

    TManifest Parse(const std::string& Text) {
        TManifest m;
        bool haveKind = false;
        std::set<std::string> names, keys;
        std::istringstream in(Text);
        std::string raw;
        auto finish = [&] {
            if (!m.Entries.empty() && m.Entries.back().File.empty()) {
                Line_ = m.Entries.back().Line;
                Fail("[" + m.Entries.back().Name + "] has no file");
            }
        };
        while (std::getline(in, raw)) {
            ++Line_;
            if (Line_ == 1 && raw.rfind("\xEF\xBB\xBF", 0) == 0) raw.erase(0, 3);
            if (!kv::dxg::IsValidUtf8(raw)) Fail("the line is not UTF-8 text");
            const std::string line = Trim(raw);
            if (line.empty() || line[0] == '#') continue;
            if (!haveKind) {
                if (line == "kind pictures") m.Kind = kv::dxg::EKind::Pictures;
                else if (line == "kind sounds") m.Kind = kv::dxg::EKind::Sounds;
                else Fail("the first line that is not a comment must be 'kind pictures' or 'kind sounds'");
                haveKind = true;
                continue;
            }
            if (line.front() == '[') {
                if (line.back() != ']' || line.size() < 3) Fail("an item line is [Name]");
                finish();
                TEntry e;
                e.Name = line.substr(1, line.size() - 2);
                e.Line = Line_;
                if (!names.insert(kv::FoldName(e.Name)).second) Fail("the name '" + e.Name + "' is used twice");
                m.Entries.push_back(std::move(e));
                keys.clear();
                continue;
            }
            const size_t eq = line.find('=');
            if (eq == std::string::npos) Fail("expected [Name] or key = value, found '" + line + "'");
            if (m.Entries.empty()) Fail("a key before the first [Name]");
            const std::string key = Trim(line.substr(0, eq)), value = Trim(line.substr(eq + 1));
            if (!keys.insert(kv::FoldName(key)).second) Fail("the key " + key + " is given twice");
            Set(m.Kind, m.Entries.back(), key, value);
        }
        if (!haveKind) Fail("the manifest is empty: the first line must be 'kind pictures' or 'kind sounds'");
        finish();
        return m;
    }

private:
    int64_t Number(const std::string& Key, const std::string& V, int64_t Min, int64_t Max) const {
        int64_t n = 0;
        const bool hex = V.size() > 2 && V[0] == '0' && (V[1] == 'x' || V[1] == 'X');
        const char* b = V.data() + (hex ? 2 : 0);
        const char* e = V.data() + V.size();
        const auto r = std::from_chars(b, e, n, hex ? 16 : 10);
        if (V.empty() || r.ec != std::errc() || r.ptr != e || (hex && *b == '-'))
            Fail(Key + " must be a number, not '" + V + "'");
        if (n < Min || n > Max) Fail(Key + " = " + V + " is out of range");
        return n;
    }
    int32_t Int(const std::string& Key, const std::string& V) const {
        return static_cast<int32_t>(Number(Key, V, INT32_MIN, INT32_MAX));
    }
    bool Flag(const std::string& Key, const std::string& V) const {
        if (V != "0" && V != "1") Fail(Key + " must be 0 or 1, not '" + V + "'");
        return V == "1";
    }
    uint32_t Color(const std::string& Key, const std::string& V) const {
        uint32_t c = 0;
        if (kv::dxg::ColorFromIdent(V, c)) return c;
        if (!V.empty() && ((V[0] >= '0' && V[0] <= '9') || V[0] == '-'))
            return static_cast<uint32_t>(Number(Key, V, INT32_MIN, UINT32_MAX));
        Fail(Key + ": unknown colour '" + V + "'");
    }

    void Set(kv::dxg::EKind Kind, TEntry& E, const std::string& Key, const std::string& V) const {
        const std::string k = kv::FoldName(Key);
        if (k == "file") {
            if (V.empty()) Fail("file is empty");
            E.File = V;
        } else if (Kind == kv::dxg::EKind::Pictures) {
            if (k == "patternwidth") E.PatternWidth = Int(Key, V);
            else if (k == "patternheight") E.PatternHeight = Int(Key, V);
            else if (k == "skipwidth") E.SkipWidth = Int(Key, V);
            else if (k == "skipheight") E.SkipHeight = Int(Key, V);
            else if (k == "transparent") E.Transparent = Flag(Key, V);
            else if (k == "transparentcolor") E.TransparentColor = Color(Key, V);
            else if (k == "systemmemory") E.SystemMemory = Flag(Key, V);
            else Fail("unknown key '" + Key + "' (a picture has file, PatternWidth, PatternHeight, SkipWidth, "
                      "SkipHeight, Transparent, TransparentColor, SystemMemory)");
        } else {
            if (k == "looped") E.Looped = Flag(Key, V);
            else if (k == "maxplayingcount") E.MaxPlayingCount = Int(Key, V);
            else Fail("unknown key '" + Key + "' (a sound has file, Looped, MaxPlayingCount)");
        }
    }

    const std::string& Source_;
    int Line_ = 0;
};

}  // namespace

TManifest ParseManifest(const std::string& Text, const std::string& Source) { return TParser(Source).Parse(Text); }

std::string FormatManifest(const TManifest& M, const std::string& Comment) {
    std::ostringstream o;
    if (!Comment.empty()) o << "# " << Comment << "\n";
    const bool pictures = M.Kind == kv::dxg::EKind::Pictures;
    o << (pictures ? "kind pictures\n" : "kind sounds\n");
    for (const TEntry& e : M.Entries) {
        o << "\n[" << e.Name << "]\nfile = " << e.File << "\n";
        if (pictures) {
            std::string color = kv::dxg::ColorIdent(e.TransparentColor);
            if (color.empty()) {
                char hex[16];
                std::snprintf(hex, sizeof hex, "0x%06X", e.TransparentColor);
                color = hex;
            }
            o << "PatternWidth = " << e.PatternWidth << "\nPatternHeight = " << e.PatternHeight
              << "\nSkipWidth = " << e.SkipWidth << "\nSkipHeight = " << e.SkipHeight
              << "\nTransparent = " << e.Transparent << "\nTransparentColor = " << color
              << "\nSystemMemory = " << e.SystemMemory << "\n";
        } else {
            o << "Looped = " << e.Looped << "\nMaxPlayingCount = " << e.MaxPlayingCount << "\n";
        }
    }
    return o.str();
}

}  // namespace dxgtool
