#include "app/TakeOver.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "app/GameRecorder.h"

namespace kv::app {

void TTakeOverReplay::Begin(const std::string& Original, int64_t At) {
    std::ifstream in(Original, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read the replay " + Original + " again to take its game over");
    std::vector<std::string> lines;
    std::string start, line;
    bool head = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const bool action = !line.empty() && std::isdigit(static_cast<unsigned char>(line[0]));
        if (head && !action) {
            if (line.rfind("end ", 0) == 0 || line.rfind("# ", 0) == 0) continue;
            if (line.rfind("start ", 0) == 0) start = line.substr(6);
            lines.push_back(line);
            continue;
        }
        head = false;
        if (action && std::stoll(line) <= At) lines.push_back(line);
    }
    if (in.bad() || start.empty()) throw std::runtime_error("cannot read the replay " + Original + " again to take its game over");
    Lines_ = std::move(lines);
    OriginalStart_ = std::move(start);
    At_ = At;
    Started_ = false;
}

void TTakeOverReplay::Add(const headless::TScriptAction& A) {
    if (Started_) Lines_.push_back(headless::FormatScriptAction(A));
}

void TTakeOverReplay::Start(int64_t Frame) {
    Started_ = true;
    headless::TScriptAction a;
    a.Frame = Frame;
    a.Kind = headless::TScriptAction::TakeOver;
    Add(a);
}

void TTakeOverReplay::States(int64_t Frame, const TDXInputStates& Current) {
    // What the original held is let go, or kept, as the player's own keys say at the first frame.
    if (Started_)
        for (const headless::TScriptAction& a : StateChanges(Frame, Keys_, Current)) Add(a);
    Keys_ = Current;
}

std::string TTakeOverReplay::Text(int64_t End) const {
    std::string text;
    for (const std::string& l : Lines_) text += l + '\n';
    return text + "end " + std::to_string(End) + '\n';
}

std::string TTakeOverReplay::StartLabel() const {
    std::string from = OriginalStart_ == "normal"  ? "Normal"
                       : OriginalStart_ == "extra" ? "Extra"
                       : OriginalStart_.rfind("practice ", 0) == 0 ? OriginalStart_.substr(9)
                                                                   : OriginalStart_;
    const int64_t s = At_ / 60;
    char clock[32];
    std::snprintf(clock, sizeof clock, " @%lld:%02lld", static_cast<long long>(s / 60), static_cast<long long>(s % 60));
    return from + clock;
}

}  // namespace kv::app
