#include "engine/dxg/DxgFile.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>

#include "engine/Errors.h"
#include "engine/dxg/Dib.h"
#include "engine/dxg/PropertyStream.h"

namespace kv::dxg {

namespace {

const char* const kPictureClass = "TPictureCollectionComponent";
const char* const kWaveClass = "TWaveCollectionComponent";

struct TNamedColor {
    const char* Name;
    uint32_t Color;
};
// The first name of a colour is the one written.
const TNamedColor kColors[] = {
    {"clBlack", 0x000000},   {"clMaroon", 0x000080},     {"clGreen", 0x008000},   {"clOlive", 0x008080},
    {"clNavy", 0x800000},    {"clPurple", 0x800080},     {"clTeal", 0x808000},    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},  {"clRed", 0x0000FF},        {"clLime", 0x00FF00},    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},    {"clFuchsia", 0xFF00FF},    {"clAqua", 0xFFFF00},    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6}, {"clCream", 0xF0FBFF},   {"clMedGray", 0xA4A0A0},
    {"clNone", 0x1FFFFFFF},  {"clDefault", 0x20000000},  {"clLtGray", 0xC0C0C0},  {"clDkGray", 0x808080},
};

bool SameText(const std::string& A, const std::string& B) {
    if (A.size() != B.size()) return false;
    for (size_t i = 0; i < A.size(); ++i) {
        char a = A[i], b = B[i];
        if (a >= 'A' && a <= 'Z') a += 'a' - 'A';
        if (b >= 'A' && b <= 'Z') b += 'a' - 'A';
        if (a != b) return false;
    }
    return true;
}

bool StartsWithText(const std::string& S, const std::string& Prefix) {
    return S.size() >= Prefix.size() && SameText(S.substr(0, Prefix.size()), Prefix);
}

// The component stream of a .dxg image, after its resource header has been checked.
TByteReader OpenResource(const std::vector<uint8_t>& Data, const std::string& Source) {
    if (Data.size() < 3 || Data[0] != 0xFF || (Data[1] | Data[2] << 8) != 10)
        throw EStreamError(Source + ": 不正なストリーム フォーマット");
    TByteReader r(Data.data(), Data.size(), Source);
    r.Skip(3, "the resource header");
    while (r.U8("the resource name") != 0) {
    }
    r.U16("the resource flags");
    const uint32_t size = r.U32("the resource size");
    if (size > r.Left())
        r.Fail("the resource size " + std::to_string(size) + " goes past the end of the file (" +
               std::to_string(r.Left()) + " bytes follow the header)");
    return TByteReader(r.Here(), size, Source, r.Offset());
}

TComponent ReadRoot(const std::vector<uint8_t>& Data, const std::string& Source, const char* WantClass) {
    TByteReader r = OpenResource(Data, Source);
    TComponent c = ReadComponentStream(r);
    if (WantClass && !SameText(c.ClassName, WantClass))
        throw EStreamError(Source + ": the file holds a " + c.ClassName + ", not a " + WantClass);
    return c;
}

// Reads the properties of one collection item; errors name the item.
class TItemReader {
public:
    TItemReader(const std::string& Source, size_t Index, const TPropertyList& Props) : Source_(Source), Props_(Props) {
        Where_ = "item " + std::to_string(Index + 1);
        for (const TProperty& p : Props)
            if (SameText(p.Name, "Name")) Name = Text(p);
        if (!Name.empty()) Where_ += " ('" + Name + "')";
    }

    std::string Name;

    // "Pictures.dxg: item 3 ('Ziki')", the start of every message about the item.
    std::string Context() const { return Source_ + ": " + Where_; }
    [[noreturn]] void Fail(const std::string& What, size_t At) const {
        throw EStreamError(Context() + ": " + What + " (offset " + std::to_string(At) + ")");
    }
    [[noreturn]] void Fail(const std::string& What) const { throw EStreamError(Context() + ": " + What); }

    // Calls F for every property that is not Name.
    void Each(const std::function<void(const TProperty&)>& F) const {
        for (const TProperty& p : Props_)
            if (!SameText(p.Name, "Name")) F(p);
    }

    [[noreturn]] void WrongType(const TProperty& P, const char* Wanted) const {
        Fail(P.Name + " is " + ValueTypeName(P.Value.Type) + ", not " + Wanted, P.Value.Offset);
    }
    std::string Text(const TProperty& P) const {
        if (!P.Value.IsString()) WrongType(P, "a string");
        return P.Value.Text;
    }
    int32_t Int(const TProperty& P) const {
        const TValue& v = P.Value;
        if (v.Type != vaQWord && !v.IsInteger()) WrongType(P, "an integer");
        if ((v.Type == vaQWord && (v.Int < 0 || v.Int > INT32_MAX)) || v.Int < INT32_MIN || v.Int > INT32_MAX)
            Fail(P.Name + " is out of range", v.Offset);
        return static_cast<int32_t>(v.Int);
    }
    bool Bool(const TProperty& P) const {
        const TValue& v = P.Value;
        if (v.IsBoolean()) return v.Type == vaTrue;
        if (v.IsInteger()) return v.Int != 0;
        if (v.Type == vaIdent && (SameText(v.Text, "True") || SameText(v.Text, "False"))) return SameText(v.Text, "True");
        WrongType(P, "a boolean");
    }
    uint32_t Color(const TProperty& P) const {
        const TValue& v = P.Value;
        if (v.Type == vaIdent) {
            uint32_t c;
            if (!ColorFromIdent(v.Text, c)) Fail(P.Name + ": unknown colour identifier '" + v.Text + "'", v.Offset);
            return c;
        }
        if (v.IsInteger() && v.Int >= INT32_MIN && v.Int <= UINT32_MAX) return static_cast<uint32_t>(v.Int);
        WrongType(P, "a colour");
    }

private:
    const std::string& Source_;
    const TPropertyList& Props_;
    std::string Where_;
};

// Skips a leading graphic class name (a short string like "TBitmap") of a binary value.
size_t ClassNameLength(const uint8_t* P, size_t N) {
    if (N < 2 || P[0] == 0 || P[0] >= 64 || P[0] >= N || P[1] != 'T') return 0;
    for (size_t i = 1; i <= P[0]; ++i)
        if (!(std::isalnum(P[i]) || P[i] == '_')) return 0;
    return 1 + P[0];
}

// Skips a u32 byte count in front of data that starts with Magic, when the count fits.
size_t CountLength(const uint8_t* P, size_t N, const char* Magic) {
    if (N < 8 || std::memcmp(P + 4, Magic, std::strlen(Magic)) != 0) return 0;
    const uint32_t count = P[0] | P[1] << 8 | P[2] << 16 | static_cast<uint32_t>(P[3]) << 24;
    return count <= N - 4 ? 4 : 0;
}

TBitmap PictureFromBinary(const TItemReader& It, const TValue& V) {
    const uint8_t* p = V.Data;
    size_t n = V.Size;
    size_t at = V.Offset + 5;
    if (const size_t cls = ClassNameLength(p, n)) {
        const std::string name(reinterpret_cast<const char*>(p + 1), cls - 1);
        if (name != "TBitmap") It.Fail("the picture is a " + name + "; only bitmaps can be read", at);
        p += cls, n -= cls, at += cls;
    }
    // A count is followed by the file image ("BM") or by a bare info header.
    size_t count = CountLength(p, n, "BM");
    if (!count && n >= 8 && p[0] != 'B') {
        const uint32_t c = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
        const uint32_t h = p[4] | p[5] << 8 | p[6] << 16 | static_cast<uint32_t>(p[7]) << 24;
        if (c == n - 4 && (h == 12 || h == 40 || h == 52 || h == 56 || h == 64 || h == 108 || h == 124)) count = 4;
    }
    if (count) {
        const uint32_t c = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
        p += 4, at += 4, n = c;
    }
    if (n == 0) It.Fail("the picture data is empty", at);
    return DecodeDib(p, n, It.Context(), at);
}

// The length of the RIFF WAVE image at P (its declared size plus the 8-byte chunk header), or 0
// when P holds none or the declared size goes past N.
uint64_t RiffLength(const uint8_t* P, size_t N) {
    if (N < 12 || std::memcmp(P, "RIFF", 4) != 0 || std::memcmp(P + 8, "WAVE", 4) != 0) return 0;
    const uint64_t len = (P[4] | P[5] << 8 | P[6] << 16 | static_cast<uint64_t>(P[7]) << 24) + 8;
    return len <= N ? len : 0;
}

std::vector<uint8_t> WaveFromBinary(const TItemReader& It, const TValue& V) {
    const uint8_t* p = V.Data;
    size_t n = V.Size;
    size_t at = V.Offset + 5;
    if (const size_t cls = ClassNameLength(p, n)) p += cls, n -= cls, at += cls;
    if (CountLength(p, n, "RIFF")) {
        const uint32_t c = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
        p += 4, at += 4, n = c;
    }
    if (n < 12 || std::memcmp(p, "RIFF", 4) != 0 || std::memcmp(p + 8, "WAVE", 4) != 0)
        It.Fail("the sound data is not a RIFF WAVE image", at);
    const uint64_t riff = RiffLength(p, n);
    if (!riff) It.Fail("the RIFF WAVE image is longer than the " + std::to_string(n) + " bytes of sound data", at);
    return std::vector<uint8_t>(p, p + riff);
}

template <class F>
void EachItem(const TComponent& C, const std::string& Source, F&& Fn) {
    for (const TProperty& p : C.Properties) {
        if (!SameText(p.Name, "List")) continue;
        if (p.Value.Type != vaCollection)
            throw EStreamError(Source + ": the property List is " + ValueTypeName(p.Value.Type) +
                               ", not a collection (offset " + std::to_string(p.Value.Offset) + ")");
        for (size_t i = 0; i < p.Value.Items.size(); ++i) Fn(TItemReader(Source, i, p.Value.Items[i]));
        return;  // a second List would be a stream no writer makes: the first one counts
    }
}

std::vector<uint8_t> WithResourceHeader(const std::string& ClassName, const std::vector<uint8_t>& Stream) {
    TPropertyWriter w;
    w.Byte(0xFF), w.U16(10);
    for (char c : ClassName) w.Byte(static_cast<uint8_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
    w.Byte(0);
    w.U16(0x1030);
    w.U32(static_cast<uint32_t>(Stream.size()));
    w.Raw(Stream.data(), Stream.size());
    return std::move(w.Out);
}

// Writes the component around the items; Item writes one item's properties.
template <class T, class F>
std::vector<uint8_t> WriteList(const char* ClassName, const char* ObjectName, const std::vector<const T*>& Items,
                               F&& Item) {
    TPropertyWriter w;
    w.Signature();
    w.BeginComponent(ClassName, ObjectName);
    w.Property("List");
    w.BeginCollection();
    for (size_t i = 0; i < Items.size(); ++i) {
        w.BeginList();
        try {
            w.Property("Name");
            w.String(Items[i]->Name);
            Item(w, *Items[i]);
        } catch (const EStreamError& e) {
            throw EStreamError("item " + std::to_string(i + 1) + " ('" + Items[i]->Name + "'): " + e.what());
        }
        w.EndList();
    }
    w.EndList();  // the collection
    w.EndList();  // the component's properties
    w.EndList();  // its children
    return WithResourceHeader(ClassName, w.Out);
}

void WriteFileBytes(const std::string& Path, const std::vector<uint8_t>& Data) {
    const std::string tmp = Path + ".tmp";
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) throw EFOpenError("ファイル " + Path + " を作成できません (" + std::strerror(errno) + ")");
    const bool ok = std::fwrite(Data.data(), 1, Data.size(), f) == Data.size();
    const int err = errno;
    if (std::fclose(f) != 0 || !ok || std::rename(tmp.c_str(), Path.c_str()) != 0) {
        const int e = ok ? errno : err;
        std::remove(tmp.c_str());
        throw EFOpenError("ファイル " + Path + " に書き込めません (" + std::strerror(e) + ")");
    }
}

}  // namespace

bool ColorFromIdent(const std::string& Ident, uint32_t& Color) {
    for (const TNamedColor& c : kColors)
        if (SameText(Ident, c.Name)) return Color = c.Color, true;
    return false;
}

std::string ColorIdent(uint32_t Color) {
    for (const TNamedColor& c : kColors)
        if (c.Color == Color) return c.Name;
    return "";
}

std::vector<uint8_t> ReadFileBytes(const std::string& Path) {
    std::FILE* f = std::fopen(Path.c_str(), "rb");
    if (!f) throw EFOpenError("ファイル " + Path + " を開けません (" + std::strerror(errno) + ")");
    std::vector<uint8_t> data;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.insert(data.end(), buf, buf + n);
    const bool failed = std::ferror(f);
    const int err = errno;
    std::fclose(f);
    if (failed) throw EFOpenError("ファイル " + Path + " を読めません (" + std::strerror(err) + ")");
    return data;
}

EKind ProbeKind(const std::vector<uint8_t>& Data, const std::string& Source) {
    const TComponent c = ReadRoot(Data, Source, nullptr);
    if (SameText(c.ClassName, kPictureClass)) return EKind::Pictures;
    if (SameText(c.ClassName, kWaveClass)) return EKind::Sounds;
    throw EStreamError(Source + ": the file holds a " + c.ClassName + ", neither a " + kPictureClass + " nor a " +
                       kWaveClass);
}

std::vector<std::unique_ptr<TPictureCollectionItem>> ReadPictures(const std::vector<uint8_t>& Data,
                                                                  const std::string& Source) {
    const TComponent c = ReadRoot(Data, Source, kPictureClass);
    std::vector<std::unique_ptr<TPictureCollectionItem>> out;
    EachItem(c, Source, [&](const TItemReader& it) {
        auto pic = std::make_unique<TPictureCollectionItem>();
        pic->Name = it.Name;
        bool havePicture = false;
        it.Each([&](const TProperty& p) {
            const std::string& n = p.Name;
            if (SameText(n, "PatternWidth")) pic->PatternWidth = it.Int(p);
            else if (SameText(n, "PatternHeight")) pic->PatternHeight = it.Int(p);
            else if (SameText(n, "SkipWidth")) pic->SkipWidth = it.Int(p);
            else if (SameText(n, "SkipHeight")) pic->SkipHeight = it.Int(p);
            else if (SameText(n, "Transparent")) pic->Transparent = it.Bool(p);
            else if (SameText(n, "TransparentColor")) pic->TransparentColor = it.Color(p);
            else if (SameText(n, "SystemMemory")) pic->SystemMemory = it.Bool(p);
            else if (StartsWithText(n, "Picture") && p.Value.Type == vaBinary && !havePicture) {
                pic->Picture = PictureFromBinary(it, p.Value);
                havePicture = true;
            }
        });
        if (!havePicture) it.Fail("no picture data");
        out.push_back(std::move(pic));
    });
    return out;
}

std::vector<std::unique_ptr<TWaveCollectionItem>> ReadWaves(const std::vector<uint8_t>& Data,
                                                            const std::string& Source) {
    const TComponent c = ReadRoot(Data, Source, kWaveClass);
    std::vector<std::unique_ptr<TWaveCollectionItem>> out;
    EachItem(c, Source, [&](const TItemReader& it) {
        auto wave = std::make_unique<TWaveCollectionItem>();
        wave->Name = it.Name;
        bool haveWave = false;
        it.Each([&](const TProperty& p) {
            if (SameText(p.Name, "Looped")) wave->Looped = it.Bool(p);
            else if (SameText(p.Name, "MaxPlayingCount")) wave->MaxPlayingCount = it.Int(p);
            else if (StartsWithText(p.Name, "Wave") && p.Value.Type == vaBinary && !haveWave) {
                wave->Wave = WaveFromBinary(it, p.Value);
                haveWave = true;
            }
        });
        if (!haveWave) it.Fail("no sound data");
        out.push_back(std::move(wave));
    });
    return out;
}

std::vector<std::unique_ptr<TPictureCollectionItem>> LoadPictures(const std::string& Path) {
    return ReadPictures(ReadFileBytes(Path), Path);
}

std::vector<std::unique_ptr<TWaveCollectionItem>> LoadWaves(const std::string& Path) {
    return ReadWaves(ReadFileBytes(Path), Path);
}

std::vector<uint8_t> WritePictures(const std::vector<const TPictureCollectionItem*>& Items) {
    return WriteList(kPictureClass, "Pictures", Items, [](TPropertyWriter& w, const TPictureCollectionItem& it) {
        const std::vector<uint8_t> bmp = EncodeBmp(it.Picture);
        std::vector<uint8_t> data = {7, 'T', 'B', 'i', 't', 'm', 'a', 'p'};
        for (int i = 0; i < 4; ++i) data.push_back(static_cast<uint8_t>(bmp.size() >> (8 * i)));
        data.insert(data.end(), bmp.begin(), bmp.end());
        w.Property("Picture.Data"), w.Binary(data);
        w.Property("PatternWidth"), w.Integer(it.PatternWidth);
        w.Property("PatternHeight"), w.Integer(it.PatternHeight);
        w.Property("SkipWidth"), w.Integer(it.SkipWidth);
        w.Property("SkipHeight"), w.Integer(it.SkipHeight);
        w.Property("SystemMemory"), w.Boolean(it.SystemMemory);
        w.Property("Transparent"), w.Boolean(it.Transparent);
        w.Property("TransparentColor");
        if (const std::string id = ColorIdent(it.TransparentColor); !id.empty())
            w.Ident(id);
        else
            w.Integer(static_cast<int32_t>(it.TransparentColor));
    });
}

std::vector<uint8_t> WriteWaves(const std::vector<const TWaveCollectionItem*>& Items) {
    return WriteList(kWaveClass, "Sounds", Items, [](TPropertyWriter& w, const TWaveCollectionItem& it) {
        const uint64_t riff = RiffLength(it.Wave.data(), it.Wave.size());
        if (!riff) throw EStreamError("the sound data is not a complete RIFF WAVE image");
        w.Property("Wave.Data"), w.Binary(std::vector<uint8_t>(it.Wave.begin(), it.Wave.begin() + riff));
        w.Property("Looped"), w.Boolean(it.Looped);
        w.Property("MaxPlayingCount"), w.Integer(it.MaxPlayingCount);
    });
}

void SavePictures(const std::string& Path, const std::vector<const TPictureCollectionItem*>& Items) {
    WriteFileBytes(Path, WritePictures(Items));
}

void SaveWaves(const std::string& Path, const std::vector<const TWaveCollectionItem*>& Items) {
    WriteFileBytes(Path, WriteWaves(Items));
}

}  // namespace kv::dxg
