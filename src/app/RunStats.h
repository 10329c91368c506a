#pragma once
// Frame timings and memory of a headless run (--stats): what the whole-run benchmark reads.
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace kv::app {

class TRunStats {
public:
    void BeginFrame() { Start_ = std::chrono::steady_clock::now(); }
    // Ends the frame's timing; GameCleanedUp: a game is over and its sprites freed, so the
    // memory in use now is what the next game starts from.
    void EndFrame(bool GameCleanedUp);
    // The time taken to reach the frame a playback starts at (--from, --take-over).
    void SetSeek(int64_t Frame, double Seconds) {
        SeekFrame_ = Frame;
        SeekSeconds_ = Seconds;
    }
    // Raises std::runtime_error naming Path when it cannot be written.
    void Write(const std::string& Path) const;

private:
    struct TMemory {
        int64_t ResidentKb, HeapKb;
    };
    std::chrono::steady_clock::time_point Start_;
    int64_t Frames_ = 0;
    double Seconds_ = 0, WorstMs_ = 0;
    int64_t WorstFrame_ = 0;
    std::vector<TMemory> AfterGames_;
    int64_t SeekFrame_ = -1;
    double SeekSeconds_ = 0;
};

// Resident memory now and at its peak, and the anonymous part of it now (the heap, without
// the program's code paged in), in KiB; 0 where the system does not tell.
int64_t ResidentKb();
int64_t PeakResidentKb();
int64_t AnonymousKb();

}  // namespace kv::app
