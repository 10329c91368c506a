#include "engine/dxg/PropertyStream.h"

#include <iconv.h>

#include <cctype>
#include <cerrno>
#include <memory>
#include <optional>

namespace kv::dxg {

namespace {

// Nesting of lists, collections and child components; deeper input is not a real asset file
// and would otherwise exhaust the stack.
constexpr int kMaxDepth = 32;

void AppendUtf8(std::string& Out, uint32_t Cp) {
    if (Cp < 0x80) {
        Out += static_cast<char>(Cp);
    } else if (Cp < 0x800) {
        Out += static_cast<char>(0xC0 | Cp >> 6);
        Out += static_cast<char>(0x80 | (Cp & 0x3F));
    } else if (Cp < 0x10000) {
        Out += static_cast<char>(0xE0 | Cp >> 12);
        Out += static_cast<char>(0x80 | (Cp >> 6 & 0x3F));
        Out += static_cast<char>(0x80 | (Cp & 0x3F));
    } else {
        Out += static_cast<char>(0xF0 | Cp >> 18);
        Out += static_cast<char>(0x80 | (Cp >> 12 & 0x3F));
        Out += static_cast<char>(0x80 | (Cp >> 6 & 0x3F));
        Out += static_cast<char>(0x80 | (Cp & 0x3F));
    }
}

bool ShiftJisToUtf8(const std::string& In, std::string& Out) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::unique_ptr<void, int (*)(iconv_t)> guard(cd, iconv_close);
    std::string buf(In.size() * 3 + 4, '\0');
    char* src = const_cast<char*>(In.data());
    size_t srcLeft = In.size();
    char* dst = buf.data();
    size_t dstLeft = buf.size();
    if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) return false;
    buf.resize(buf.size() - dstLeft);
    Out = std::move(buf);
    return true;
}

// What may come after a value: the next property of a list, or the next element of a list.
enum class EFollows { Property, Element };

class TStreamParser {
public:
    explicit TStreamParser(TByteReader& R) : R_(R) {}

    TComponent Component(int Depth) {
        Deeper(Depth);
        TComponent c;
        c.Offset = R_.Offset();
        if ((R_.Peek("a component") & 0xF0) == 0xF0) {
            const uint8_t flags = R_.U8("component flags");
            if (flags & 0x02) {  // the child position follows as an integer
                const size_t at = R_.Offset();
                const uint8_t t = R_.U8("the child position");
                if (t != vaInt8 && t != vaInt16 && t != vaInt32)
                    R_.Fail("the child position of a component is " + ValueTypeName(t) + ", not an integer", at);
                R_.Skip(t == vaInt8 ? 1 : t == vaInt16 ? 2 : 4, "the child position");
            }
        }
        c.ClassName = ShortStr("a component class name");
        c.Name = ShortStr("a component name");
        c.Properties = Properties(Depth);
        while (R_.Peek("the child components") != vaNull) c.Children.push_back(Component(Depth + 1));
        R_.U8("the end of the child components");
        return c;
    }

private:
    void Deeper(int Depth) const {
        if (Depth > kMaxDepth) R_.Fail("values nested more than " + std::to_string(kMaxDepth) + " levels deep");
    }

    std::string ShortStr(const char* What) {
        const uint8_t n = R_.U8(What);
        const uint8_t* p = R_.Bytes(n, What);
        return std::string(reinterpret_cast<const char*>(p), n);
    }

    TPropertyList Properties(int Depth) {
        TPropertyList list;
        while (R_.Peek("a property name") != vaNull) {
            TProperty p;
            p.Name = ShortStr("a property name");
            p.Value = Value(Depth + 1, EFollows::Property);
            list.push_back(std::move(p));
        }
        R_.U8("the end of a property list");
        return list;
    }

    std::string AnsiText(std::string Raw, size_t At) {
        if (IsValidUtf8(Raw)) return Raw;
        std::string out;
        if (!ShiftJisToUtf8(Raw, out)) R_.Fail("a string is neither UTF-8 nor Shift-JIS text", At);
        return out;
    }

    // UTF-16 text of Count code units at R; false (R moved on) on an unpaired surrogate.
    static bool ReadWide(TByteReader& R, uint32_t Count, std::string& Out) {
        R.Need(static_cast<size_t>(Count) * 2, "a UTF-16 string");
        for (uint32_t i = 0; i < Count; ++i) {
            uint32_t u = R.U16("a UTF-16 string");
            if (u >= 0xD800 && u < 0xDC00 && i + 1 < Count) {
                TByteReader next = R;
                const uint32_t lo = next.U16("a UTF-16 string");
                if (lo >= 0xDC00 && lo < 0xE000) {
                    u = 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00);
                    R = next;
                    ++i;
                }
            }
            if (u >= 0xD800 && u < 0xE000) return false;
            AppendUtf8(Out, u);
        }
        return true;
    }

    std::string WideText(uint32_t Count, size_t At) {
        std::string out;
        if (!ReadWide(R_, Count, out)) R_.Fail("a UTF-16 string holds an unpaired surrogate", At);
        return out;
    }

    // Whether the stream can go on at R after a value: the end of the list, or the next
    // property (a name, then a value type) or list element (a value type).
    static bool GoesOn(TByteReader R, EFollows Follows) {
        if (R.AtEnd()) return false;
        const uint8_t b = R.U8("the next value");
        if (b == vaNull) return true;
        if (Follows == EFollows::Element) return b <= vaQWord;
        if (R.Left() <= b) return false;
        const uint8_t* name = R.Here();
        for (size_t i = 0; i < b; ++i) {
            const unsigned char c = name[i];
            if (!(std::isalpha(c) || c == '_' || (i > 0 && (std::isdigit(c) || c == '.')))) return false;
        }
        return name[b] <= vaQWord;
    }

    // Code 21: a UTF-16 string (count, code units) in one writer family, an 8-byte double in
    // another. A reading counts when its bytes are there, a string's text is printable, and
    // the stream goes on sensibly after it; a double wins over an empty string, which has the
    // same bytes as the low half of every round number.
    void StringOrDouble(TValue& V, EFollows Follows) {
        std::optional<TByteReader> asString;
        std::string text;
        uint32_t count = 0;
        if (R_.Left() >= 4) {
            TByteReader r = R_;
            count = r.U32("a string length");
            bool printable = static_cast<uint64_t>(count) * 2 <= r.Left() && ReadWide(r, count, text);
            for (unsigned char c : text) printable = printable && (c >= 0x20 || c == '\t' || c == '\r' || c == '\n');
            if (printable && GoesOn(r, Follows)) asString = r;
        }
        std::optional<TByteReader> asDouble;
        if (R_.Left() >= 8) {
            TByteReader r = R_;
            r.Skip(8, "a double");
            if (GoesOn(r, Follows)) asDouble = r;
        }
        if (asString && !(asDouble && count == 0)) {
            V.Text = std::move(text);
            R_ = *asString;
        } else if (asDouble) {
            V.Type = vaDouble;
            R_ = *asDouble;
        } else {
            R_.Fail("value type 21 holds neither a UTF-16 string nor a double that the stream can go on after", V.Offset);
        }
    }

    TValue Value(int Depth, EFollows Follows) {
        Deeper(Depth);
        TValue v;
        v.Offset = R_.Offset();
        v.Type = R_.U8("a value type");
        switch (v.Type) {
        case vaNull: case vaFalse: case vaTrue: case vaNil:
            break;
        case vaInt8: v.Int = static_cast<int8_t>(R_.U8("an 8-bit integer")); break;
        case vaInt16: v.Int = static_cast<int16_t>(R_.U16("a 16-bit integer")); break;
        case vaInt32: v.Int = static_cast<int32_t>(R_.U32("a 32-bit integer")); break;
        case vaInt64: case vaQWord: v.Int = static_cast<int64_t>(R_.U64("a 64-bit integer")); break;
        case vaExtended: R_.Skip(10, "an extended float"); break;
        case vaSingle: R_.Skip(4, "a single float"); break;
        case vaCurrency: case vaDate: R_.Skip(8, "an 8-byte value"); break;
        case vaIdent: v.Text = ShortStr("an identifier"); break;
        case vaString: v.Text = AnsiText(ShortStr("a short string"), v.Offset); break;
        case vaLString: case vaUTF8String: {
            const uint32_t n = R_.U32("a string length");
            const uint8_t* p = R_.Bytes(n, "a long string");
            std::string raw(reinterpret_cast<const char*>(p), n);
            if (v.Type == vaUTF8String && !IsValidUtf8(raw)) R_.Fail("a UTF-8 string is not valid UTF-8", v.Offset);
            v.Text = AnsiText(std::move(raw), v.Offset);
            break;
        }
        case vaWString: v.Text = WideText(R_.U32("a string length"), v.Offset); break;
        case vaUString: StringOrDouble(v, Follows); break;
        case vaBinary:
            v.Size = R_.U32("a binary length");
            v.Data = R_.Bytes(v.Size, "a binary value");
            break;
        case vaSet:
            for (std::string m; !(m = ShortStr("a set member")).empty();) {
                TValue id;
                id.Type = vaIdent;
                id.Text = std::move(m);
                v.List.push_back(std::move(id));
            }
            break;
        case vaList:
            while (R_.Peek("a list element") != vaNull) v.List.push_back(Value(Depth + 1, EFollows::Element));
            R_.U8("the end of a list");
            break;
        case vaCollection:
            while (R_.Peek("a collection item") != vaNull) {
                const uint8_t t = R_.Peek("a collection item");
                if (t == vaInt8 || t == vaInt16 || t == vaInt32) Value(Depth + 1, EFollows::Element);  // the item's order: unused
                const size_t at = R_.Offset();
                if (const uint8_t m = R_.U8("a collection item"); m != vaList)
                    R_.Fail("a collection item starts with " + ValueTypeName(m) + " instead of a list marker", at);
                v.Items.push_back(Properties(Depth + 1));
            }
            R_.U8("the end of a collection");
            break;
        default:
            R_.Fail("unknown value type " + std::to_string(v.Type), v.Offset);
        }
        return v;
    }

    TByteReader& R_;
};

}  // namespace

bool IsValidUtf8(const std::string& S) {
    size_t i = 0;
    const size_t n = S.size();
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(S[i]);
        int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + len > n) return false;
        uint32_t cp = len == 1 ? c : c & (0x7F >> len);
        for (int k = 1; k < len; ++k) {
            const unsigned char d = static_cast<unsigned char>(S[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = cp << 6 | (d & 0x3F);
        }
        static const uint32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) return false;
        i += len;
    }
    return true;
}

std::string ValueTypeName(uint8_t Type) {
    switch (Type) {
    case vaNull: return "an end marker";
    case vaList: return "a list";
    case vaInt8: case vaInt16: case vaInt32: case vaInt64: return "an integer";
    case vaQWord: return "an unsigned 64-bit integer";
    case vaExtended: case vaSingle: case vaCurrency: case vaDate: case vaDouble: return "a number with a fraction";
    case vaString: case vaLString: case vaUTF8String: case vaWString: case vaUString: return "a string";
    case vaIdent: return "an identifier";
    case vaFalse: case vaTrue: return "a boolean";
    case vaBinary: return "a binary value";
    case vaSet: return "a set";
    case vaNil: return "nil";
    case vaCollection: return "a collection";
    default: return "value type " + std::to_string(Type);
    }
}

TComponent ReadComponentStream(TByteReader& R) {
    const size_t at = R.Offset();
    const uint8_t* sig = R.Bytes(4, "the component stream signature");
    if (std::string(reinterpret_cast<const char*>(sig), 4) != "TPF0")
        R.Fail("no component stream here (the signature TPF0 is missing)", at);
    return TStreamParser(R).Component(0);
}

void TPropertyWriter::ShortStr(const std::string& S) {
    if (S.size() > 255) throw EStreamError("'" + S.substr(0, 40) + "…' is longer than 255 bytes");
    Byte(static_cast<uint8_t>(S.size()));
    Raw(reinterpret_cast<const uint8_t*>(S.data()), S.size());
}

void TPropertyWriter::Integer(int64_t V) {
    if (V >= -128 && V <= 127) {
        Byte(vaInt8), Byte(static_cast<uint8_t>(V));
    } else if (V >= -32768 && V <= 32767) {
        Byte(vaInt16), U16(static_cast<uint16_t>(V));
    } else if (V >= INT32_MIN && V <= INT32_MAX) {
        Byte(vaInt32), U32(static_cast<uint32_t>(V));
    } else {
        Byte(vaInt64), U32(static_cast<uint32_t>(V)), U32(static_cast<uint32_t>(static_cast<uint64_t>(V) >> 32));
    }
}

void TPropertyWriter::String(const std::string& Utf8) {
    bool ascii = true;
    for (char c : Utf8) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii && Utf8.size() <= 255) {
        Byte(vaString), ShortStr(Utf8);
    } else {
        if (!IsValidUtf8(Utf8)) throw EStreamError("'" + Utf8 + "' is not valid UTF-8");
        Byte(vaUTF8String), U32(static_cast<uint32_t>(Utf8.size()));
        Raw(reinterpret_cast<const uint8_t*>(Utf8.data()), Utf8.size());
    }
}

void TPropertyWriter::Binary(const std::vector<uint8_t>& Data) {
    if (Data.size() > UINT32_MAX) throw EStreamError("a binary value is larger than 4 GiB");
    Byte(vaBinary), U32(static_cast<uint32_t>(Data.size()));
    Raw(Data.data(), Data.size());
}

}  // namespace kv::dxg
