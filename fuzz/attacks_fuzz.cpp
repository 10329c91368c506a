// The attack history's reader on arbitrary text: it either reads a history or raises an error
// naming the line. A history it reads is written back and reads back the same, and with one
// more game's counts added it is still a file the reader takes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "userfiles/AttackHistory.h"
#include "Broken.h"

using namespace kv::userfiles;

namespace {

TAttackHistory ReadBack(const std::string& Text, const char* What) {
    try {
        return ParseAttackHistory(Text, "again.txt");
    } catch (const std::runtime_error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        Broken("attacks", What);
    }
}

bool Same(const TAttackCounts& A, const TAttackCounts& B) { return A.Reached == B.Reached && A.Unhurt == B.Unhurt; }

bool Same(const TAttackHistory& A, const TAttackHistory& B) {
    if (A.Attacks.size() != B.Attacks.size()) return false;
    for (size_t i = 0; i < A.Attacks.size(); ++i) {
        const TAttackRecord &a = A.Attacks[i], &b = B.Attacks[i];
        if (a.Phase != b.Phase || a.Attack != b.Attack || !Same(a.Normal, b.Normal) || !Same(a.Practice, b.Practice))
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const std::string text(reinterpret_cast<const char*>(Data), Size);
    TAttackHistory h;
    try {
        h = ParseAttackHistory(text, "attacks.txt");
    } catch (const std::runtime_error&) {
        return 0;
    }
    const std::string written = FormatAttackHistory(h);
    TAttackHistory back = ReadBack(written, "the history written back cannot be read");
    if (!Same(h, back)) Broken("attacks", "the history reads back differently");
    if (FormatAttackHistory(back) != written) Broken("attacks", "a second write gives other bytes");
    // A game that reached every attack twice and ended it once unhurt, in both kinds of game.
    TAttackHistory game;
    for (const TAttackRecord& r : h.Attacks) {
        TAttackRecord& g = game.Of(r.Phase, r.Attack);
        g.Normal = g.Practice = {2, 1};
    }
    back.Add(game);
    const TAttackHistory added = ReadBack(FormatAttackHistory(back), "the history with a game added cannot be read");
    for (const TAttackRecord& r : added.Attacks)
        for (const TAttackCounts* c : {&r.Normal, &r.Practice})
            if (c->Unhurt > c->Reached || c->Reached > MaxAttackCount) Broken("attacks", "a game added gives impossible counts");
    return 0;
}
