#include "support/World.h"

#include <fstream>
#include <random>
#include <sstream>
#include <unistd.h>

namespace kvtest {

const std::vector<TPictureSpec>& GamePictures() {
    static const std::vector<TPictureSpec> specs = {
        {"Title", 321, 481},       {"GameOver", 280, 90},     {"GameClear", 250, 90},
        {"Ziki", 50, 50},          {"ShadowZiki", 50, 50},    {"SmallBullet3", 8, 8},
        {"Fire1", 10, 24},         {"Fire2", 10, 24},         {"Kekkai1", 118, 118},
        {"Kekkai2", 118, 118},     {"HPItem", 20, 20},        {"BombItem", 20, 20},
        {"Enemy1-2", 30, 30},      {"Enemy2-1", 50, 50},      {"Enemy2-2", 50, 50},
        {"Enemy2-5", 50, 50},      {"Ring1", 30, 30},         {"Ring2", 30, 30},
        {"Ring3", 30, 30},         {"32Star1", 32, 32},       {"Sign", 50, 50},
        {"Bullet1", 20, 20},       {"Bullet2", 20, 20},       {"Bullet3", 20, 20},
        {"Bullet4", 20, 20},       {"Bullet5", 20, 20},       {"Star1-1", 30, 30},
        {"BigBullet1", 30, 30},    {"BigBullet2", 30, 30},    {"BigBullet3", 30, 30},
        {"アールワン", 50, 50},     {"マルコ", 60, 60},         {"ヴェルス", 60, 60},
        {"衛兵ガドニック", 50, 50}, {"ガドニック", 80, 70},     {"ダガー", 80, 60},
        {"Ghost", 321, 481},       {"lazer1", 14, 480},       {"lazer2", 480, 14},
        {"高彩小弾1", 10, 10},      {"高彩小弾2", 10, 10},      {"高彩小弾3", 10, 10},
        {"高彩小弾4", 10, 10},      {"高彩弾1", 20, 20},        {"高彩弾2", 20, 20},
        {"高彩弾3", 20, 20},
    };
    return specs;
}

const std::vector<std::string>& GameSounds() {
    static const std::vector<std::string> names = {"Pingpong", "ZikiHit", "Dead"};
    return names;
}

TWorld::TWorld(const TWorldOptions& O) {
    static int serial = 0;
    Dir = std::filesystem::temp_directory_path() /
          ("kvtest-" + std::to_string(getpid()) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(Dir);
    if (O.WriteScoreFile || !O.ScoreFile.empty()) {
        std::ofstream f(ScorePath(), std::ios::binary);
        f << O.ScoreFile;
    }
    kv::TServices s;
    s.Surface = O.Surface ? O.Surface : &Surface;
    s.Audio = &Audio;
    s.Music = &Music;
    s.Dialogs = &Dialogs;
    s.Keyboard = &Keyboard;
    s.ExeDir = Dir.string() + "/";
    s.DataDir = Dir.string();
    s.Seed = O.Seed;
    Form = std::make_unique<kv::TForm1>(s);
    Form->ErrorSink = [this](const std::string& m) { Errors.push_back(m); };
    if (O.LoadAssets) {
        std::vector<std::unique_ptr<kv::TPictureCollectionItem>> pics;
        for (const auto& p : GamePictures()) {
            auto item = std::make_unique<kv::TPictureCollectionItem>();
            item->Name = p.Name;
            item->Picture.Width = p.W;
            item->Picture.Height = p.H;
            item->Picture.Pixels.assign(static_cast<size_t>(p.W) * p.H, 0xFFFFFFFFu);
            pics.push_back(std::move(item));
        }
        Form->DXImageList1.SetItems(std::move(pics));
        std::vector<std::unique_ptr<kv::TWaveCollectionItem>> waves;
        for (const auto& n : GameSounds()) {
            auto w = std::make_unique<kv::TWaveCollectionItem>();
            w->Name = n;
            w->Wave.assign(22050, 0);  // half a second
            waves.push_back(std::move(w));
        }
        Form->DXWaveList1.SetItems(std::move(waves));
    }
    if (O.RunFormCreate && O.LoadAssets) {
        // Start-up without reading the asset files: the lists are already filled.
        Form->Handle([&] {
            Form->FormCreateAfterAssets();
        });
    }
}

TWorld::~TWorld() {
    Form.reset();
    std::error_code ec;
    std::filesystem::remove_all(Dir, ec);
}

void TWorld::Frame(int N) {
    for (int i = 0; i < N; ++i) {
        Form->DXTimer1.OnTimer(1);  // the window's own handler, with its own guard
        Audio.AdvanceFrame();
        Music.DeliverNotifications();
    }
}

std::string TWorld::ReadScoreFile() const {
    std::ifstream f(ScorePath(), std::ios::binary);
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

}  // namespace kvtest
