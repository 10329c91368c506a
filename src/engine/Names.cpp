#include "engine/Names.h"

namespace kv {

std::string FoldName(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c >= 'A' && c <= 'Z') {
            out += static_cast<char>(c - 'A' + 'a');
        } else if (c == 0xEF && i + 2 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0xBC) {
            // U+FF21 … U+FF3A (full-width A … Z) fold to U+FF41 … U+FF5A.
            unsigned char c3 = static_cast<unsigned char>(s[i + 2]);
            if (c3 >= 0xA1 && c3 <= 0xBA) {
                unsigned cp = 0xFF21 + (c3 - 0xA1) + 0x20;
                out += static_cast<char>(0xEF);
                out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (cp & 0x3F));
                i += 2;
            } else {
                out += static_cast<char>(c);
            }
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace kv
