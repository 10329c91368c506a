// A replay or input script from anyone, as the program takes it: read and checked, and when
// accepted, played headless as --input plays it, for at most MaxFrames frames and past its
// checkpoints. Whatever it holds, an accepted file must not crash, hang or overflow the game
// (the sanitizers watch).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/HeadlessLoop.h"
#include "app/RecordingCheck.h"
#include "app/Session.h"
#include "engine/dxg/DxgFile.h"
#include "platform/headless/Headless.h"

using namespace kv;

namespace {

// Past the first checkpoint after the start (frame 300), yet short enough for many inputs a
// second.
constexpr int64_t MaxFrames = 320;

// The game's own pictures and sounds, read once: every input gets copies of them.
struct TAssets {
    std::vector<std::unique_ptr<TPictureCollectionItem>> Pictures;
    std::vector<std::unique_ptr<TWaveCollectionItem>> Waves;
    std::filesystem::path DataDir;  // where a game writes its Score.dtf, emptied after each input
};

const TAssets& Assets() {
    // Never freed: the folder is removed at exit, after static objects are gone.
    static const TAssets* const assets = [] {
        auto* a = new TAssets;
        const std::string run = KV_FUZZ_RUN_DIR;
        try {
            a->Pictures = dxg::LoadPictures(run + "/Pictures.dxg");
            a->Waves = dxg::LoadWaves(run + "/Sounds.dxg");
        } catch (const std::exception& e) {
            std::fprintf(stderr, "replay fuzz: the game's assets are needed (build the asset_lists target): %s\n", e.what());
            std::exit(1);
        }
        std::string dir = (std::filesystem::temp_directory_path() / "kalvento-fuzz-XXXXXX").string();
        if (!mkdtemp(dir.data())) {
            std::perror("replay fuzz: mkdtemp");
            std::exit(1);
        }
        a->DataDir = dir;
        std::atexit([] { std::filesystem::remove_all(Assets().DataDir); });
        return a;
    }();
    return *assets;
}

template <class T>
std::vector<std::unique_ptr<T>> Copies(const std::vector<std::unique_ptr<T>>& Items) {
    std::vector<std::unique_ptr<T>> out;
    out.reserve(Items.size());
    for (const auto& it : Items) out.push_back(std::make_unique<T>(*it));
    return out;
}

void Play(headless::TRecording Rec) {
    const TAssets& assets = Assets();
    app::TOptions o;
    o.Headless = true;
    o.InputFile = "fuzz.kvr";
    o.Frames = MaxFrames;
    o.DataDir = assets.DataDir.string();
    app::TSession session(o);
    try {
        session.PlayRecording(std::move(Rec));
    } catch (const std::runtime_error&) {
        return;  // refused with a message, as --input would be
    }
    session.KeepUserFiles(false);
    app::THeadlessKit kit;
    TServices s = kit.Services();
    s.DataDir = o.DataDir;
    s.Seed = session.ScriptSeed().value_or(0);
    TForm1 form(s);
    session.Attach(form, s.Seed);
    form.ErrorSink = nullptr;  // reported errors are the game's business, not a finding
    form.Handle([&] {
        form.DXWaveList1.SetItems(Copies(assets.Waves));
        form.DXImageList1.SetItems(Copies(assets.Pictures));
        form.FormCreateAfterAssets();
    });
    if (session.StartRequestedGame()) {
        app::THeadlessLoop loop(session, form, kit);
        while (loop.Step()) {
        }
    }
    session.Finish();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const std::string text(reinterpret_cast<const char*>(Data), Size);
    headless::TRecording rec;
    try {
        rec = headless::ParseRecording(text, "fuzz.kvr");
        app::CheckRecording(rec, "fuzz.kvr");
    } catch (const std::runtime_error&) {
        return 0;
    }
    // Played past its checkpoints: a changed start diverges at the first one and would end the
    // playback there, yet what the game does with that start afterwards is what may break.
    std::erase_if(rec.Actions, [](const headless::TScriptAction& A) { return A.Kind == headless::TScriptAction::Check; });
    Play(std::move(rec));
    // Each input starts from no record, as the first one did.
    std::error_code ec;
    std::vector<std::filesystem::path> left;
    for (const auto& e : std::filesystem::directory_iterator(Assets().DataDir, ec)) left.push_back(e.path());
    for (const auto& p : left) std::filesystem::remove_all(p, ec);
    return 0;
}
