#include "shell/ShiftJis.h"

#include <cstdint>

#include <cerrno>
#include <iconv.h>

namespace kv {

namespace {

// One conversion descriptor per direction and call; iconv keeps shift state in it.
class TConverter {
public:
    TConverter(const char* To, const char* From) : Cd_(iconv_open(To, From)) {}
    ~TConverter() {
        if (Ok()) iconv_close(Cd_);
    }
    TConverter(const TConverter&) = delete;
    TConverter& operator=(const TConverter&) = delete;
    bool Ok() const { return Cd_ != reinterpret_cast<iconv_t>(-1); }

    std::optional<std::string> Convert(const std::string& In) {
        if (!Ok()) return std::nullopt;
        iconv(Cd_, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        char* src = const_cast<char*>(In.data());
        size_t srcLeft = In.size();
        char buf[256];
        while (srcLeft > 0) {
            char* dst = buf;
            size_t dstLeft = sizeof buf;
            size_t r = iconv(Cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buf, static_cast<size_t>(dst - buf));
            if (r == static_cast<size_t>(-1) && errno != E2BIG) return std::nullopt;
        }
        char* dst = buf;
        size_t dstLeft = sizeof buf;
        if (iconv(Cd_, nullptr, nullptr, &dst, &dstLeft) == static_cast<size_t>(-1)) return std::nullopt;
        out.append(buf, static_cast<size_t>(dst - buf));
        return out;
    }

private:
    iconv_t Cd_;
};

// Length of the UTF-8 sequence that starts with byte B, 0 for a byte that cannot start one.
size_t SequenceLength(unsigned char B) {
    if (B < 0x80) return 1;
    if (B >= 0xC2 && B <= 0xDF) return 2;
    if (B >= 0xE0 && B <= 0xEF) return 3;
    if (B >= 0xF0 && B <= 0xF4) return 4;
    return 0;
}

}  // namespace

std::optional<std::string> ShiftJisToUtf8(const std::string& Sjis) {
    TConverter c("UTF-8", "CP932");
    return c.Convert(Sjis);
}

std::string ShiftJisToUtf8Lossy(const std::string& Sjis) {
    if (std::optional<std::string> whole = ShiftJisToUtf8(Sjis)) return *whole;
    TConverter c("UTF-8", "CP932");
    std::string out;
    size_t i = 0;
    while (i < Sjis.size()) {
        const unsigned char b = static_cast<unsigned char>(Sjis[i]);
        // Lead bytes of double-byte characters; everything else (ASCII, half-width kana) is one.
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        if (lead && i + 1 < Sjis.size()) {
            if (std::optional<std::string> ch = c.Convert(Sjis.substr(i, 2))) {
                out += *ch;
                i += 2;
                continue;
            }
        }
        std::optional<std::string> ch = c.Convert(Sjis.substr(i, 1));
        out += ch && !ch->empty() ? *ch : "\xEF\xBF\xBD";
        ++i;
    }
    return out;
}

std::optional<std::string> Utf8ToShiftJis(const std::string& Utf8) {
    TConverter c("CP932", "UTF-8");
    return c.Convert(Utf8);
}

namespace {

// The plain letters of U+00C0 … U+017F, for the Latin letters code page 932 cannot hold
// ("" for the signs among them).
const char* const kPlainLatin[] = {
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
    "D", "N", "O", "O", "O", "O", "O", "", "O", "U", "U", "U", "U", "Y", "Th", "ss",
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    "d", "n", "o", "o", "o", "o", "o", "", "o", "u", "u", "u", "u", "y", "th", "y",
    "A", "a", "A", "a", "A", "a", "C", "c", "C", "c", "C", "c", "C", "c", "D", "d",
    "D", "d", "E", "e", "E", "e", "E", "e", "E", "e", "E", "e", "G", "g", "G", "g",
    "G", "g", "G", "g", "H", "h", "H", "h", "I", "i", "I", "i", "I", "i", "I", "i",
    "I", "i", "IJ", "ij", "J", "j", "K", "k", "k", "L", "l", "L", "l", "L", "l", "L",
    "l", "L", "l", "N", "n", "N", "n", "N", "n", "n", "N", "n", "O", "o", "O", "o",
    "O", "o", "OE", "oe", "R", "r", "R", "r", "R", "r", "S", "s", "S", "s", "S", "s",
    "S", "s", "T", "t", "T", "t", "T", "t", "U", "u", "U", "u", "U", "u", "U", "u",
    "U", "u", "U", "u", "W", "w", "Y", "y", "Y", "Z", "z", "Z", "z", "Z", "z", "s",
};

uint32_t CodePoint(const std::string& Ch) {
    const auto* b = reinterpret_cast<const unsigned char*>(Ch.data());
    if (Ch.size() == 2) return (b[0] & 0x1Fu) << 6 | (b[1] & 0x3Fu);
    return Ch.size() == 1 ? b[0] : 0;
}

}  // namespace

std::string KeepShiftJisText(const std::string& Utf8, std::string* Refused) {
    TConverter to("CP932", "UTF-8"), back("UTF-8", "CP932");
    std::string out;
    size_t i = 0;
    while (i < Utf8.size()) {
        unsigned char b = static_cast<unsigned char>(Utf8[i]);
        size_t n = SequenceLength(b);
        if (n == 0 || i + n > Utf8.size()) {
            ++i;  // a stray byte: not text
            continue;
        }
        std::string ch = Utf8.substr(i, n);
        i += n;
        if (n == 1 && (b < 0x20 || b == 0x7F)) continue;  // line breaks, NUL and other controls
        std::optional<std::string> sjis = to.Convert(ch);
        std::optional<std::string> kept = sjis && !sjis->empty() ? back.Convert(*sjis) : std::nullopt;
        if (kept) {
            out += *kept;
            continue;
        }
        const uint32_t cp = CodePoint(ch);
        if (cp >= 0xC0 && cp < 0x180 && *kPlainLatin[cp - 0xC0]) out += kPlainLatin[cp - 0xC0];
        else if (Refused) *Refused += ch;
    }
    return out;
}

}  // namespace kv
