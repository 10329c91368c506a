#include "engine/dxg/DxgFile.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>

#include "engine/Errors.h"
#include "engine/FileReplace.h"
#include "engine/dxg/Colors.h"
#include "engine/dxg/Dib.h"
#include "engine/dxg/PropertyStream.h"
#include "i18n/Tr.h"

namespace kv::dxg {

namespace {

const char* const kPictureClass = "TPictureCollectionComponent";
const char* const kWaveClass = "TWaveCollectionComponent";

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

// The component stream of a .dxg image, after its resource header has been checked. The stream
// marks its own end, and writers disagree on the header's size field (some leave it 0, some
// get it wrong), so the stream is read up to the end of the file whatever the field says.
TByteReader OpenResource(const std::vector<uint8_t>& Data, const std::string& Source) {
    TByteReader r(Data.data(), Data.size(), Source);
    if (Data.size() < 3 || r.U8("the resource header") != 0xFF || r.U16("the resource header") != 10)
        throw EStreamError(i18n::Format(N_("%s: 不正なストリーム フォーマット"), {Source}));
    while (r.U8("the resource name") != 0) {
    }
    r.U16("the resource flags");
    r.U32("the resource size");
    return TByteReader(r.Here(), r.Left(), Source, r.Offset());
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
        if (v.IsInteger() && v.Int >= INT32_MIN && v.Int <= UINT32_MAX)
            return ResolveSystemColor(static_cast<uint32_t>(v.Int));
        WrongType(P, "a colour");
    }

private:
    const std::string& Source_;
    const TPropertyList& Props_;
    std::string Where_;
};

// Takes a leading graphic class name (a short string like "TBitmap") of a binary value; "" when
// the value has none.
std::string TakeClassName(TByteReader& R) {
    const uint8_t* p = R.Here();
    const size_t n = R.Left();
    if (n < 2 || p[0] == 0 || p[0] >= 64 || p[0] >= n || p[1] != 'T') return "";
    for (size_t i = 1; i <= p[0]; ++i)
        if (!(std::isalnum(p[i]) || p[i] == '_')) return "";
    R.Skip(1 + p[0], "a graphic class name");
    return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
}

// Takes a u32 byte count in front of the data when Follows(data after it, count) accepts it, and
// narrows R to the counted bytes.
template <class F>
void TakeCount(TByteReader& R, F&& Follows) {
    if (R.Left() < 4) return;
    TByteReader after = R;
    const uint32_t count = after.U32("a byte count");
    if (count <= after.Left() && Follows(after, count)) R = TByteReader(after.Here(), count, after.Source(), after.Offset());
}

bool StartsWith(const TByteReader& R, const char* Magic) {
    const size_t n = std::strlen(Magic);
    return R.Left() >= n && std::memcmp(R.Here(), Magic, n) == 0;
}

// Where the picture lies in a binary value: after an optional class name and an optional count.
// Empty when the value holds no picture (an empty graphic writes its class name and a count of 0).
TBitmap PictureFromBinary(const TItemReader& It, const TValue& V, std::optional<uint32_t> KeyRgb) {
    TByteReader r(V.Data, V.Size, It.Context(), V.Offset + 5);
    const std::string cls = TakeClassName(r);
    // A count is followed by the file image ("BM") or by a bare info header that fills it.
    TakeCount(r, [](const TByteReader& After, uint32_t Count) {
        if (Count == After.Left() && (Count == 0 || (Count >= 4 && !StartsWith(After, "B") &&
                                                     IsDibHeaderSize(TByteReader(After).U32("an info header")))))
            return true;
        return StartsWith(After, "BM");
    });
    if (r.AtEnd()) return TBitmap{};
    const bool dib = StartsWith(r, "BM") || (r.Left() >= 4 && IsDibHeaderSize(TByteReader(r).U32("an info header")));
    // Other graphic classes (a DIB class of their own, say) hold the same bitmaps; only their name differs.
    if (!dib && !cls.empty() && cls != "TBitmap") It.Fail("the picture is a " + cls + ", which holds no bitmap", r.Offset());
    return DecodeDib(r.Here(), r.Left(), It.Context(), r.Offset(), KeyRgb);
}

// The length of the RIFF WAVE image at the reader (its declared size plus the 8-byte chunk
// header), or 0 when it holds none or the declared size goes past its end.
uint64_t RiffLength(TByteReader R) {
    if (R.Left() < 12 || !StartsWith(R, "RIFF") || std::memcmp(R.Here() + 8, "WAVE", 4) != 0) return 0;
    R.Skip(4, "the RIFF header");
    const uint64_t len = uint64_t{R.U32("the RIFF size")} + 8;
    return len <= R.Left() + 8 ? len : 0;
}

// The RIFF WAVE image of a binary value, after an optional class name and count; empty when the
// value holds no sound.
std::vector<uint8_t> WaveFromBinary(const TItemReader& It, const TValue& V) {
    TByteReader r(V.Data, V.Size, It.Context(), V.Offset + 5);
    TakeClassName(r);
    TakeCount(r, [](const TByteReader& After, uint32_t Count) {
        return (Count == 0 && After.AtEnd()) || StartsWith(After, "RIFF");
    });
    if (r.AtEnd()) return {};
    if (r.Left() < 12 || !StartsWith(r, "RIFF") || std::memcmp(r.Here() + 8, "WAVE", 4) != 0)
        It.Fail("the sound data is not a RIFF WAVE image", r.Offset());
    const uint64_t riff = RiffLength(r);
    if (!riff)
        It.Fail("the RIFF WAVE image is longer than the " + std::to_string(r.Left()) + " bytes of sound data", r.Offset());
    return std::vector<uint8_t>(r.Here(), r.Here() + riff);
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
    try {
        ReplaceFileAtomically(Path, std::string(Data.begin(), Data.end()));
    } catch (const std::runtime_error& e) {
        throw EFOpenError(e.what());
    }
}

}  // namespace

std::vector<uint8_t> ReadFileBytes(const std::string& Path) {
    std::FILE* f = std::fopen(Path.c_str(), "rb");
    if (!f) throw EFOpenError(i18n::Format(N_("ファイル %s を開けません (%s)"), {Path, std::strerror(errno)}));
    std::vector<uint8_t> data;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.insert(data.end(), buf, buf + n);
    const bool failed = std::ferror(f);
    const int err = errno;
    std::fclose(f);
    if (failed) throw EFOpenError(i18n::Format(N_("ファイル %s を読めません (%s)"), {Path, std::strerror(err)}));
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
        const TValue* picture = nullptr;  // decoded last: the colour key decides about alpha
        it.Each([&](const TProperty& p) {
            const std::string& n = p.Name;
            if (SameText(n, "PatternWidth")) pic->PatternWidth = it.Int(p);
            else if (SameText(n, "PatternHeight")) pic->PatternHeight = it.Int(p);
            else if (SameText(n, "SkipWidth")) pic->SkipWidth = it.Int(p);
            else if (SameText(n, "SkipHeight")) pic->SkipHeight = it.Int(p);
            else if (SameText(n, "Transparent")) pic->Transparent = it.Bool(p);
            else if (SameText(n, "TransparentColor")) pic->TransparentColor = it.Color(p);
            else if (SameText(n, "SystemMemory")) pic->SystemMemory = it.Bool(p);
            else if (StartsWithText(n, "Picture") && p.Value.Type == vaBinary && !picture) picture = &p.Value;
        });
        // An item without picture data stays empty: it draws nothing.
        if (picture) {
            const uint32_t c = pic->TransparentColor;
            std::optional<uint32_t> key;
            if (pic->Transparent && (c & 0xFF000000u) == 0) key = (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
            pic->Picture = PictureFromBinary(it, *picture, key);
        }
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
                wave->Wave = WaveFromBinary(it, p.Value);  // none or empty: the item plays nothing
                haveWave = true;
            }
        });
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
        if (!it.Picture.Pixels.empty() || it.Picture.Width != 0 || it.Picture.Height != 0) {  // else an empty item
            const std::vector<uint8_t> bmp = EncodeBmp(it.Picture);
            TPropertyWriter data;
            data.ShortStr("TBitmap"), data.U32(static_cast<uint32_t>(bmp.size())), data.Raw(bmp.data(), bmp.size());
            w.Property("Picture.Data"), w.Binary(data.Out);
        }
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
        if (!it.Wave.empty()) {  // else an empty item
            const uint64_t riff = RiffLength(TByteReader(it.Wave.data(), it.Wave.size(), it.Name));
            if (!riff) throw EStreamError("the sound data is not a complete RIFF WAVE image");
            w.Property("Wave.Data"), w.Binary(std::vector<uint8_t>(it.Wave.begin(), it.Wave.begin() + riff));
        }
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
