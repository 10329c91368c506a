#include "engine/Sounds.h"

#include <algorithm>

#include "engine/Errors.h"
#include "engine/Names.h"
#include "engine/Pictures.h"
#include "engine/dxg/DxgFile.h"
#include "i18n/Tr.h"

namespace kv {

void TWaveCollectionItem::Play(bool) {
    if (!Device || !Device->Initialized() || Wave.empty()) return;  // an item without sound data is silent
    if (Looped) {
        if (Buffers.empty()) Buffers.push_back(Device->NewVoice(*this));
        Device->Start(Buffers.front(), true);
        return;
    }
    int32_t voice = -1;
    auto idle = std::find_if(Buffers.begin(), Buffers.end(), [&](int32_t v) { return !Device->IsPlaying(v); });
    if (idle != Buffers.end()) {
        voice = *idle;
        Buffers.erase(idle);
    } else if (MaxPlayingCount <= 0 || static_cast<int32_t>(Buffers.size()) < MaxPlayingCount) {
        voice = Device->NewVoice(*this);
    } else {
        voice = Buffers.front();  // started longest ago: cut off and reused
        Buffers.erase(Buffers.begin());
    }
    Buffers.push_back(voice);  // the list stays ordered by start time
    Device->Start(voice, false);
}

void TDXWaveList::LoadList(const std::string& FileName) { SetItems(dxg::LoadWaves(FileName)); }

void TDXWaveList::SetItems(std::vector<std::unique_ptr<TWaveCollectionItem>> Items) {
    Items_ = std::move(Items);
    ByName_.clear();
    for (auto& it : Items_) ByName_.emplace(FoldName(it->Name), it.get());
    AttachDevice(Device_);
}

TWaveCollectionItem* TDXWaveList::Find(const std::string& Name) const {
    auto it = ByName_.find(FoldName(Name));
    return it == ByName_.end() ? nullptr : it->second;
}

TWaveCollectionItem* TDXWaveList::Lookup(const std::string& Name) const {
    if (auto* w = Find(Name)) return w;
    throw EWaveCollectionError(i18n::Format(N_("Wave '%s' が見つかりません"), {Name}));
}

void TDXWaveList::AttachDevice(IAudioDevice* D) {
    Device_ = D;
    for (auto& it : Items_) {
        it->Device = D;
        it->Buffers.clear();
        if (D && D->Initialized()) D->Prepare(*it);
    }
}

}  // namespace kv
