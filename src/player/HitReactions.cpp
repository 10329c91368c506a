#include "player/HitReactions.h"

#include "player/Score.h"

namespace kv {

std::vector<TSmallEnemyRow>& SmallEnemyRows() {
    static std::vector<TSmallEnemyRow> rows;
    return rows;
}

std::vector<TBossPhaseRow>& BossPhaseRows() {
    static std::vector<TBossPhaseRow> rows;
    return rows;
}

TSmallEnemyRowRegistrar::TSmallEnemyRowRegistrar(TClassTest Is, int32_t N, void (*OnDeath)(TForm1&, TEnemySprite*)) {
    SmallEnemyRows().push_back({Is, N, OnDeath});
}

TBossPhaseRowRegistrar::TBossPhaseRowRegistrar(TClassTest Is, int32_t K, void (*OnEnd)(TForm1&, TEnemySprite*)) {
    BossPhaseRows().push_back({Is, K, OnEnd});
}

bool IsShootable(const TSprite* S) {
    for (const auto& r : SmallEnemyRows())
        if (r.Is(S)) return true;
    for (const auto& r : BossPhaseRows())
        if (r.Is(S)) return true;
    return false;
}

void DropItems(TForm1& Form, const TSprite* Phase, const std::vector<TItemDrop>& Items) {
    for (const TItemDrop& d : Items) CreateItem(Form, d.Kind, Phase->X + d.DX, Phase->Y + d.DY);
}

void StoreNextPhase(TForm1& Form, TPhaseRef Ref, TSprite* Next) {
    if (Ref) Form.*Ref = Next;
}

void AddPhaseBonus(TForm1& Form, const char* ClassName, int32_t BonusPerHP, int32_t Bonus) {
    // 32-bit and wrapping, like the score itself: HP has no upper limit.
    const int32_t bonus = static_cast<int32_t>(static_cast<uint32_t>(int64_t{BonusPerHP} * Form.HP + Bonus));
    AddScore(Form, bonus);
    Form.Log.Write("phase_end", {{"class", std::string(ClassName)}, {"bonus", int64_t{bonus}}, {"score", int64_t{Form.Score}}});
}

void RunPhaseEnd(TForm1& Form, TEnemySprite* Other, const TPhaseEnd& End) {
    DropItems(Form, Other, End.Items);
    Form.PlaySound("Dead");
    Other->Kill();
    if (End.Extra) End.Extra(Form);
    TSprite* next = End.CreateNext ? End.CreateNext(Form) : nullptr;
    StoreNextPhase(Form, End.Ref, next);
    AddPhaseBonus(Form, End.ClassName, End.BonusPerHP, End.Bonus);
}

}  // namespace kv
