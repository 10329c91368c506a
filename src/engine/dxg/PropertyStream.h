#pragma once
// The classic binary component stream ("TPF0"): a component is a class name, an object name,
// a list of named properties ended by a zero byte and a list of child components ended by a
// zero byte. Each property value starts with a value-type code. The reader builds a small
// tree of the whole stream (binary values point into the caller's buffer), so that unknown
// properties of any kind are skipped without special cases.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/dxg/ByteReader.h"

namespace kv::dxg {

enum EValueType : uint8_t {
    vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue,
    vaBinary, vaSet, vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString,
    vaInt64, vaUTF8String, vaUString, vaQWord,
    // Not a code of the stream: code 21 (vaUString) where it holds an 8-byte double instead, as
    // one family of writers stores it. The reader tells the two apart by what follows.
    vaDouble = 0x80,
};

struct TProperty;
using TPropertyList = std::vector<TProperty>;

struct TValue {
    uint8_t Type = vaNull;
    size_t Offset = 0;                // of the value-type code, within the file
    int64_t Int = 0;                  // vaInt8 … vaInt64; vaQWord as its bit pattern
    std::string Text;                 // strings (UTF-8) and identifiers
    const uint8_t* Data = nullptr;    // vaBinary: points into the buffer that was read
    uint32_t Size = 0;
    std::vector<TValue> List;         // vaList; vaSet members as identifiers
    std::vector<TPropertyList> Items; // vaCollection

    bool IsInteger() const { return Type == vaInt8 || Type == vaInt16 || Type == vaInt32 || Type == vaInt64; }
    bool IsString() const {
        return Type == vaString || Type == vaLString || Type == vaUTF8String || Type == vaWString || Type == vaUString;
    }
    bool IsBoolean() const { return Type == vaFalse || Type == vaTrue; }
};

struct TProperty {
    std::string Name;
    TValue Value;
};

struct TComponent {
    std::string ClassName, Name;
    size_t Offset = 0;
    TPropertyList Properties;
    std::vector<TComponent> Children;
};

// A readable name of a value-type code for error messages ("an integer", "a binary value", …).
std::string ValueTypeName(uint8_t Type);

// The signature and the root component. Reads exactly one component; the reader is left
// just after it.
TComponent ReadComponentStream(TByteReader& R);

// Text of the stream: short and long 8-bit strings are taken as UTF-8 when they are valid
// UTF-8, else as Shift-JIS (the encoding older files were written in).
bool IsValidUtf8(const std::string& S);

class TPropertyWriter {
public:
    std::vector<uint8_t> Out;

    void Byte(uint8_t B) { Out.push_back(B); }
    void U16(uint16_t V) { Byte(V & 0xFF), Byte(V >> 8); }
    void U32(uint32_t V) {
        for (int i = 0; i < 4; ++i) Byte(static_cast<uint8_t>(V >> (8 * i)));
    }
    void Raw(const uint8_t* P, size_t N) { Out.insert(Out.end(), P, P + N); }
    void ShortStr(const std::string& S);  // length byte and bytes; at most 255 bytes
    void Signature() {
        for (char c : {'T', 'P', 'F', '0'}) Byte(static_cast<uint8_t>(c));
    }
    void BeginComponent(const std::string& ClassName, const std::string& Name) { ShortStr(ClassName), ShortStr(Name); }
    void Property(const std::string& Name) { ShortStr(Name); }
    void Integer(int64_t V);         // the smallest of vaInt8, vaInt16, vaInt32, vaInt64
    void Boolean(bool V) { Byte(V ? vaTrue : vaFalse); }
    void String(const std::string& Utf8);  // vaString for ASCII up to 255 bytes, else vaUTF8String
    void Ident(const std::string& Id) { Byte(vaIdent), ShortStr(Id); }
    void Binary(const std::vector<uint8_t>& Data);
    void BeginCollection() { Byte(vaCollection); }
    void BeginList() { Byte(vaList); }
    void EndList() { Byte(vaNull); }  // ends a list, a collection item or list, properties, children
};

}  // namespace kv::dxg
