#include "platform/headless/Headless.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "engine/Errors.h"
#include "engine/Pictures.h"
#include "i18n/Tr.h"

namespace kv::headless {

void TRecordingSurface::Fill(uint32_t) {
    Fills++;
    Draws.clear();
    Texts.clear();
}

void TRecordingSurface::DrawPicture(const TPictureCollectionItem& Item, const TDrawParams& P) {
    if (Record) Draws.push_back({Item.Name, P});
}

void TRecordingSurface::TextOut(int32_t X, int32_t Y, const std::string& Utf8, TColor Color, int32_t Points) {
    if (Record) Texts.push_back({X, Y, Utf8, Color, Points});
}

void TRecordingAudio::Prepare(TWaveCollectionItem&) {}

int32_t TRecordingAudio::NewVoice(TWaveCollectionItem& Item) {
    Voices_.push_back({&Item});
    return static_cast<int32_t>(Voices_.size()) - 1;
}

bool TRecordingAudio::IsPlaying(int32_t Voice) const {
    const TVoice& v = Voices_.at(Voice);
    return v.Looped || v.Until > Now_;
}

void TRecordingAudio::Start(int32_t Voice, bool Looped) {
    TVoice& v = Voices_.at(Voice);
    // Length of a 16-bit mono 22 kHz image, at least one frame.
    const size_t bytes = v.Item->Wave.size();
    const int64_t frames = std::max<int64_t>(1, static_cast<int64_t>(bytes / (22050 * 2 / 60)));
    v.Until = Now_ + frames;
    v.Looped = Looped;
    if (Record) Plays.push_back({v.Item->Name, Voice, Now_});
}

std::vector<std::string> TRecordingAudio::Names() const {
    std::vector<std::string> out;
    for (auto& p : Plays) out.push_back(p.Name);
    return out;
}

int64_t TRecordingAudio::CountOf(const std::string& Name) const {
    return std::count_if(Plays.begin(), Plays.end(), [&](const TPlay& p) { return p.Name == Name; });
}

void TFakeMusic::Open(const std::string& Path) {
    if (Open_) {
        if (PlayingNow) {
            PlayingNow = false;
            PendingNotifications_++;
        }
        Open_ = false;
    }
    Calls.push_back("open " + Path);
    if (RequireFiles && !std::filesystem::exists(Path))
        throw EMCIDeviceError(i18n::Format(N_("指定されたファイルが見つかりません: %s"), {Path}));
    OpenPath = Path;
    Open_ = true;
}

void TFakeMusic::Play() {
    Calls.push_back("play");
    if (!Open_) throw EMCIDeviceError(N_("MCI デバイスがありません"));
    // The ends of earlier plays are old news once a new play runs; delivered, each would reopen
    // the track, cut off this play and so notify again, without end.
    PendingNotifications_ = 0;
    PlayingNow = true;
}

void TFakeMusic::Stop() {
    Calls.push_back("stop");
    if (!Open_) throw EMCIDeviceError(N_("MCI デバイスがありません"));
    if (PlayingNow) {
        PlayingNow = false;
        PendingNotifications_++;
    }
}

void TFakeMusic::EndTrack() {
    if (PlayingNow) {
        PlayingNow = false;
        PendingNotifications_++;
    }
}

void TFakeMusic::DeliverNotifications() {
    while (PendingNotifications_ > 0) {
        PendingNotifications_--;
        if (OnNotify) OnNotify();
    }
}

std::vector<TScriptAction> ParseInputScript(const std::string& Text, const std::string& Source) {
    return ParseRecording(Text, Source).Actions;
}

TRecording ParseRecording(const std::string& Text, const std::string& Source) {
    TRecording rec;
    std::vector<TScriptAction>& out = rec.Actions;
    bool sawVersion = false;
    std::istringstream in(Text);
    std::string line;
    int lineNo = 0;
    int64_t lastFrame = 0;
    bool endsHere = false;  // an end line below the actions closes the recording
    auto fail = [&](const std::string& why) {
        throw std::runtime_error(Source + ":" + std::to_string(lineNo) + ": " + why);
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        if (endsHere) fail("nothing may follow the end");
        std::istringstream ls(line.substr(start));
        std::string frameText, verb;
        ls >> frameText >> verb;
        if (frameText == "start" || frameText == "state" || frameText == "invincible" || frameText == "end") {
            if (!out.empty() && frameText != "end") fail(frameText + " must come before the actions");
            std::string rest;
            std::getline(ls, rest);
            if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
            if (frameText == "start") {
                if (!rec.Start.empty()) fail("the start is given twice");
                const bool practice = verb == "practice" && !rest.empty() && rest.find(' ') == std::string::npos;
                if (!(((verb == "normal" || verb == "extra") && rest.empty()) || practice))
                    fail("start needs 'normal', 'extra' or 'practice WHAT'");
                rec.Start = practice ? verb + " " + rest : verb;
            } else if (frameText == "state") {
                if (verb.empty()) fail("state needs a name");
                rec.State.emplace_back(verb, rest);
                rec.StateLines.push_back(lineNo);
            } else if (frameText == "invincible") {
                if (!verb.empty()) fail("unexpected '" + verb + "'");
                rec.Invincible = true;
            } else {
                if (rec.HasEnd) fail("the end is given twice");
                if (!rest.empty() || verb.empty() || verb.size() > 12 || verb.find_first_not_of("0123456789") != std::string::npos)
                    fail("end needs a frame number, not '" + verb + (rest.empty() ? "" : " " + rest) + "'");
                rec.HasEnd = true;
                rec.End = std::stoll(verb);
                rec.EndLine = lineNo;
                if (rec.End > MaxRecordingFrames)
                    fail("end " + verb + " is longer than any recording played (" + std::to_string(MaxRecordingFrames) + " frames, a day)");
                if (!out.empty()) {
                    if (rec.End < lastFrame - 1)
                        fail("frame " + std::to_string(lastFrame) + " comes after the end, frame " + std::to_string(rec.End));
                    endsHere = true;
                }
            }
            continue;
        }
        if (frameText == "version" || frameText == "seed") {
            std::string extra;
            const std::string value = verb;
            if (ls >> extra) fail("unexpected '" + extra + "'");
            uint64_t v = 0;
            if (value.empty() || value.size() > 10 || value.find_first_not_of("0123456789") != std::string::npos ||
                (v = std::stoull(value)) > UINT32_MAX)
                fail(frameText + " needs a whole number, not '" + value + "'");
            if (frameText == "version") {
                if (sawVersion) fail("the version is given twice");
                if (!out.empty()) fail("the version must come before the actions");
                if (v < 1) fail("there is no format version 0");
                if (v > RecordingVersion)
                    fail("recorded in format version " + value + "; this Kalvento reads versions up to " +
                         std::to_string(RecordingVersion));
                sawVersion = true;
                rec.Version = static_cast<int32_t>(v);
            } else {
                if (rec.HasSeed) fail("the seed is given twice");
                rec.HasSeed = true;
                rec.Seed = static_cast<uint32_t>(v);
            }
            continue;
        }
        TScriptAction a;
        a.Line = lineNo;
        try {
            size_t used = 0;
            a.Frame = std::stoll(frameText, &used);
            if (used != frameText.size()) throw std::invalid_argument("junk");
        } catch (...) {
            fail("the line does not start with a frame number: '" + frameText + "'");
        }
        if (a.Frame < 1) fail("frames are counted from 1");
        if (a.Frame < lastFrame) fail("frames must not go backwards");
        lastFrame = a.Frame;
        if (verb == "press" || verb == "release") {
            std::string state;
            ls >> state;
            a.Kind = verb == "press" ? TScriptAction::Press : TScriptAction::Release;
            a.State = InputStateOf(state).value_or(-1);
            if (a.State < 0) fail("unknown input state '" + state + "'");
        } else if (verb == "click") {
            a.Kind = TScriptAction::Click;
            ls >> a.Target;
            if (a.Target.empty()) fail("click needs a component name");
        } else if (verb == "type") {
            a.Kind = TScriptAction::Type;
            ls >> a.Target;
            if (a.Target.empty()) fail("type needs an edit name");
            std::string rest;
            std::getline(ls, rest);
            if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
            // A CR at the end would be taken for the line's end when the script is read again.
            if (rest.find('\r') != std::string::npos)
                fail("the typed text holds a carriage return; a field keeps one line");
            a.Text = rest;
        } else if (verb == "practice") {
            a.Kind = TScriptAction::Practice;
            ls >> a.Target;
            if (a.Target.empty()) fail("practice needs a stage or boss phase");
        } else if (verb == "timer") {
            a.Kind = TScriptAction::Timer;
        } else if (verb == "takeover") {
            a.Kind = TScriptAction::TakeOver;
        } else if (verb == "rewind") {
            a.Kind = TScriptAction::Rewind;
            if (!out.empty() && out.back().Kind == TScriptAction::Rewind && out.back().Frame == a.Frame)
                fail("frame " + frameText + " rewinds twice: a frame goes back once");
        } else if (verb == "check") {
            a.Kind = TScriptAction::Check;
            std::string hex;
            ls >> hex;
            if (hex.size() != 16 || hex.find_first_not_of("0123456789abcdef") != std::string::npos)
                fail("check needs 16 lower-case hexadecimal digits, not '" + hex + "'");
            a.Checksum = std::stoull(hex, nullptr, 16);
        } else {
            fail("unknown action '" + verb + "'");
        }
        std::string extra;
        if (a.Kind != TScriptAction::Type && (ls >> extra)) fail("unexpected '" + extra + "'");
        out.push_back(a);
    }
    return rec;
}

TScriptAction CheckAction(int64_t Frame, uint64_t Checksum) {
    TScriptAction a;
    a.Frame = Frame;
    a.Kind = TScriptAction::Check;
    a.Checksum = Checksum;
    return a;
}

std::string FormatScriptAction(const TScriptAction& A) {
    std::string f = std::to_string(A.Frame) + " ";
    switch (A.Kind) {
        case TScriptAction::Press: return f + "press " + InputStateName(A.State);
        case TScriptAction::Release: return f + "release " + InputStateName(A.State);
        case TScriptAction::Click: return f + "click " + A.Target;
        case TScriptAction::Type: return f + "type " + A.Target + " " + A.Text;
        case TScriptAction::Timer: return f + "timer";
        case TScriptAction::Practice: return f + "practice " + A.Target;
        case TScriptAction::TakeOver: return f + "takeover";
        case TScriptAction::Rewind: return f + "rewind";
        case TScriptAction::Check: return f + "check " + FormatChecksum(A.Checksum);
    }
    return f;
}

std::string FormatChecksum(uint64_t Checksum) {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(Checksum));
    return hex;
}

}  // namespace kv::headless
