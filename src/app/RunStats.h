#pragma once
// Frame timings and memory of a run (--stats): what the whole-run benchmark and the window's
// pacing checks read.
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
    // The part of the frames' time the autopilot took (written only when it flew).
    void SetPilot(double Seconds) { PilotSeconds_ = Seconds; }
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
    double PilotSeconds_ = -1;
};

// The pacing of a windowed run: frames shown and run, the shown frames that came later than
// 17 ms after the one before, the longest such gap, and the CPU time the process used, all from
// the first frame shown (after loading).
class TWindowStats {
public:
    // A frame was presented; Paced: the loop was running frames (not paused or in the background),
    // so the gap before it counts.
    void Shown(bool Paced);
    void Ran(int64_t Frames) { Run_ += Frames; }
    int64_t Late() const { return Late_; }
    // Raises std::runtime_error naming Path when it cannot be written.
    void Write(const std::string& Path, const std::string& Renderer) const;

    static constexpr double LateMs = 17.0;

private:
    std::chrono::steady_clock::time_point Start_, Last_;
    double CpuStart_ = 0;
    int64_t Shown_ = 0, Run_ = 0, Late_ = 0;
    double WorstMs_ = 0;
};

// CPU seconds the process has used, user and system.
double ProcessCpuSeconds();

// Resident memory now and at its peak, and the anonymous part of it now (the heap, without
// the program's code paged in), in KiB; 0 where the system does not tell.
int64_t ResidentKb();
int64_t PeakResidentKb();
int64_t AnonymousKb();

}  // namespace kv::app
