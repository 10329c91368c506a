#include "shell/EventLog.h"

#include <cmath>
#include <cstdio>

namespace kv {

std::string TEventLog::Escape(const std::string& s) {
    std::string out;
    out.reserve(s.size() + 2);
    for (unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out;
}

void TEventLog::Write(const std::string& Event, const TLogFields& Fields) {
    std::string line = "{\"frame\":" + std::to_string(Frame) + ",\"event\":\"" + Escape(Event) + "\"";
    for (const auto& [k, v] : Fields) {
        line += ",\"" + Escape(k) + "\":";
        if (auto* i = std::get_if<int64_t>(&v)) {
            line += std::to_string(*i);
        } else if (auto* d = std::get_if<double>(&v)) {
            char buf[40];
            if (std::isfinite(*d))
                std::snprintf(buf, sizeof buf, "%.17g", *d);
            else
                std::snprintf(buf, sizeof buf, "null");
            line += buf;
        } else if (auto* b = std::get_if<bool>(&v)) {
            line += *b ? "true" : "false";
        } else {
            line += "\"" + Escape(std::get<std::string>(v)) + "\"";
        }
    }
    line += "}";
    Counts_[Event]++;
    if (KeepLines) Lines_.push_back(line);
    if (Sink) Sink(line);
    if (Observer) Observer(Event, Fields);
}

int64_t TEventLog::CountOf(const std::string& Event) const {
    auto it = Counts_.find(Event);
    return it == Counts_.end() ? 0 : it->second;
}

}  // namespace kv
