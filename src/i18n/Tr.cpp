#include "i18n/Tr.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <unordered_map>
#include <vector>

namespace kv::i18n {

namespace {

struct TCatalogue {
    std::unordered_map<std::string, std::string> Texts;
    std::vector<std::pair<std::string, std::string>> Formats;  // ids with directives
};

std::string LocaleDir_;
std::string Language_ = "ja";
TCatalogue Shown_;

bool HasDirective(const std::string& S) {
    for (size_t i = 0; i + 1 < S.size(); ++i) {
        if (S[i] != '%') continue;
        if (S[i + 1] == '%') {
            ++i;
            continue;
        }
        return true;
    }
    return false;
}

// A compiled catalogue (.mo), either byte order. Returns "" or the problem.
std::string ReadMo(const std::string& Path, TCatalogue& Out) {
    std::ifstream in(Path, std::ios::binary);
    if (!in) return Path + ": cannot be opened";
    const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto word = [&](size_t At, bool Swap, uint32_t& V) {
        if (At + 4 > b.size()) return false;
        const auto* p = reinterpret_cast<const unsigned char*>(b.data() + At);
        V = Swap ? (p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3]) : (p[3] << 24 | p[2] << 16 | p[1] << 8 | p[0]);
        return true;
    };
    uint32_t magic = 0;
    if (!word(0, false, magic)) return Path + ": not a message catalogue";
    const bool swap = magic == 0xde120495u;
    if (!swap && magic != 0x950412deu) return Path + ": not a message catalogue";
    uint32_t n = 0, ids = 0, strs = 0;
    if (!word(8, swap, n) || !word(12, swap, ids) || !word(16, swap, strs)) return Path + ": truncated";
    auto text = [&](uint32_t Table, uint32_t I, std::string& S) {
        uint32_t len = 0, off = 0;
        if (!word(Table + 8ull * I, swap, len) || !word(Table + 8ull * I + 4, swap, off)) return false;
        if (uint64_t(off) + len > b.size()) return false;
        S.assign(b, off, len);
        return true;
    };
    for (uint32_t i = 0; i < n; ++i) {
        std::string id, str;
        if (!text(ids, i, id) || !text(strs, i, str)) return Path + ": truncated";
        if (id.empty()) continue;  // the header
        // Plural forms are not used: the singular stands.
        id = id.substr(0, id.find('\0'));
        str = str.substr(0, str.find('\0'));
        if (str.empty()) continue;
        if (HasDirective(id)) Out.Formats.emplace_back(id, str);
        Out.Texts[id] = str;
    }
    return "";
}

// Whether Text reads as the format Fmt, collecting what its directives stand for.
bool Match(std::string_view Fmt, std::string_view Text, std::vector<std::string>& Args) {
    if (Fmt.empty()) return Text.empty();
    if (Fmt[0] != '%' || Fmt.size() < 2) return !Text.empty() && Fmt[0] == Text[0] && Match(Fmt.substr(1), Text.substr(1), Args);
    if (Fmt[1] == '%') return !Text.empty() && Text[0] == '%' && Match(Fmt.substr(2), Text.substr(1), Args);
    size_t k = 1;
    while (k < Fmt.size() && Fmt[k] == 'l') ++k;
    if (k >= Fmt.size()) return false;
    const char conv = Fmt[k];
    const std::string_view rest = Fmt.substr(k + 1);
    for (size_t n = conv == 'd' ? 1 : 0; n <= Text.size(); ++n) {
        if (conv == 'd') {
            const char c = Text[n - 1];
            const bool digit = c >= '0' && c <= '9';
            if (!(digit || (n == 1 && c == '-'))) break;
            if (!digit) continue;
        }
        Args.emplace_back(Text.substr(0, n));
        if (Match(rest, Text.substr(n), Args)) return true;
        Args.pop_back();
    }
    return false;
}

std::string Fill(std::string_view Fmt, const std::vector<std::string>& Args) {
    std::string out;
    size_t next = 0;
    for (size_t i = 0; i < Fmt.size(); ++i) {
        if (Fmt[i] != '%' || i + 1 >= Fmt.size()) {
            out += Fmt[i];
            continue;
        }
        if (Fmt[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        size_t k = i + 1, arg = next;
        if (Fmt[k] >= '1' && Fmt[k] <= '9') {
            size_t n = 0, j = k;
            while (j < Fmt.size() && Fmt[j] >= '0' && Fmt[j] <= '9') n = n * 10 + (Fmt[j++] - '0');
            if (j < Fmt.size() && Fmt[j] == '$') {
                arg = n - 1;
                k = j + 1;
            }
        }
        if (k == i + 1) ++next;
        while (k < Fmt.size() && Fmt[k] == 'l') ++k;
        if (k < Fmt.size() && arg < Args.size()) out += Args[arg];
        i = k;
    }
    return out;
}

std::string LanguageOf(const std::string& Value) {
    // "ja_JP.UTF-8@mod" → "ja"; "C", "POSIX", "C.UTF-8" → "C".
    std::string l = Value.substr(0, Value.find_first_of("_.@"));
    if (l == "POSIX") l = "C";
    return l;
}

}  // namespace

bool KnownLanguage(const std::string& Code) {
    if (Code == "ja" || Code == "C") return true;
    if (Code.empty() || Code.find('/') != std::string::npos || Code.find("..") != std::string::npos) return false;
    return std::ifstream(LocaleDir_ + "/" + Code + "/LC_MESSAGES/kalvento.mo").good();
}

std::string DesktopLanguage(const std::function<const char*(const char*)>& Getenv) {
    auto get = [&](const char* Name) {
        const char* v = Getenv(Name);
        return std::string(v ? v : "");
    };
    std::string locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (locale.empty()) locale = get(name);
    // LANGUAGE lists languages in order of preference; the first this build knows wins.
    const std::string list = get("LANGUAGE");
    size_t at = 0;
    while (at <= list.size() && !list.empty()) {
        const size_t end = std::min(list.find(':', at), list.size());
        const std::string l = LanguageOf(list.substr(at, end - at));
        if (!l.empty() && KnownLanguage(l)) return l == "C" ? "ja" : l;
        at = end + 1;
    }
    if (!list.empty()) return "en";
    const std::string l = LanguageOf(locale);
    if (l.empty() || l == "C" || l == "ja") return "ja";
    return KnownLanguage(l) ? l : "en";
}

void SetLocaleDir(const std::string& Dir) { LocaleDir_ = Dir; }

std::string SetLanguage(const std::string& Code) {
    const std::string code = Code == "auto" ? DesktopLanguage(&std::getenv) : Code;
    Language_ = code;
    Shown_ = {};
    if (code == "ja") return "";
    const std::string path = LocaleDir_ + "/" + code + "/LC_MESSAGES/kalvento.mo";
    std::string problem = ReadMo(path, Shown_);
    if (!problem.empty()) {
        Language_ = "ja";
        Shown_ = {};
    }
    return problem;
}

const std::string& Language() { return Language_; }

std::string Tr(std::string_view Id) {
    if (Shown_.Texts.empty() || Id.empty()) return std::string(Id);
    const auto it = Shown_.Texts.find(std::string(Id));
    if (it != Shown_.Texts.end()) return it->second;
    std::vector<std::string> args;
    for (const auto& [fmt, text] : Shown_.Formats) {
        args.clear();
        if (Match(fmt, Id, args)) return Fill(text, args);
    }
    return std::string(Id);
}

std::string Format(std::string_view Fmt, std::initializer_list<std::string> Args) {
    return Fill(Fmt, std::vector<std::string>(Args));
}

}  // namespace kv::i18n
