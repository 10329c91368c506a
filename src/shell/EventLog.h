#pragma once
// The event log: one JSON object a line, each with the frame and the event's name.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <variant>
#include <vector>

namespace kv {

using TLogValue = std::variant<int64_t, double, bool, std::string>;
using TLogFields = std::vector<std::pair<std::string, TLogValue>>;

class TEventLog {
public:
    // Receives every finished line (without the line break); empty means no log file.
    std::function<void(const std::string&)> Sink;
    // Sees every event as it is written (the app keeps its replays and attack history by them).
    std::function<void(const std::string& Event, const TLogFields& Fields)> Observer;
    int64_t Frame = 0;

    void Write(const std::string& Event, const TLogFields& Fields = {});
    int64_t CountOf(const std::string& Event) const;
    // Every event's count so far, to put back when a snapshot of the game is restored.
    const std::map<std::string, int64_t>& Counts() const { return Counts_; }
    void RestoreCounts(const std::map<std::string, int64_t>& Counts) { Counts_ = Counts; }
    const std::vector<std::string>& Lines() const { return Lines_; }
    bool KeepLines = true;  // tests read the lines back

    static std::string Escape(const std::string& Utf8);

private:
    std::map<std::string, int64_t> Counts_;
    std::vector<std::string> Lines_;
};

}  // namespace kv
