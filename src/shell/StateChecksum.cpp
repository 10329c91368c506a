#include "shell/StateChecksum.h"

#include <cstring>
#include <string_view>
#include <typeinfo>

#include "shell/Form1.h"

namespace kv {

namespace {

// FNV-1a over the bytes of each value.
class THash {
public:
    void Bytes(const void* P, size_t N) {
        const auto* b = static_cast<const unsigned char*>(P);
        for (size_t i = 0; i < N; ++i) {
            H_ ^= b[i];
            H_ *= 1099511628211ull;
        }
    }
    template <class T>
    void Add(const T& V) {
        Bytes(&V, sizeof V);
    }
    void Add(std::string_view S) {
        Add(S.size());
        Bytes(S.data(), S.size());
    }
    uint64_t Value() const { return H_; }

private:
    uint64_t H_ = 14695981039346656037ull;
};

void AddSprites(THash& H, const TSprite& Parent) {
    H.Add(Parent.Children().size());
    for (const TSprite* s : Parent.Children()) {
        H.Add(std::string_view(typeid(*s).name()));
        H.Add(s->X);
        H.Add(s->Y);
        H.Add(s->Z);
        H.Add(s->Width);
        H.Add(s->Height);
        H.Add(static_cast<uint8_t>(s->Killed | s->Visible << 1 | s->Collidable << 2 | s->Movable << 3));
        AddSprites(H, *s);
    }
}

}  // namespace

uint64_t StateChecksum(const TForm1& F) {
    THash h;
    for (int32_t v : {F.StageNo, F.StageCount, F.Score, F.HighScore, F.ExtraOpen, F.HP, F.Bomb, F.TaikyuuCount,
                      F.MutekiCount, F.KekkaiCount, F.ZakoAACount, F.ZakoABCount, F.ZakoACCount, F.ShotCount,
                      F.GameOverCount, F.GameClearCount})
        h.Add(v);
    for (bool b : {F.Playing, F.HudOn, F.TaikyuuMode, F.MutekiMode, F.BombActive, F.ROneDown, F.NameEntry,
                   F.ResetDone})
        h.Add(b);
    for (int32_t c : F.BossCounters) h.Add(c);
    for (int32_t c : F.ZakoBCCounts) h.Add(c);
    h.Add(std::string_view(F.BossName));
    h.Add(std::string_view(F.AttackName));
    h.Add(F.RandomGen.SeedValue());
    h.Add(F.DXInput1.StateSet.to_ullong());
    AddSprites(h, *F.SpriteEngine());
    return h.Value();
}

}  // namespace kv
