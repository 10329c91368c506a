#include "app/RunStats.h"

#include <sys/resource.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace kv::app {

void TRunStats::EndFrame(bool GameCleanedUp) {
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Start_).count();
    ++Frames_;
    Seconds_ += ms / 1000;
    if (ms > WorstMs_) {
        WorstMs_ = ms;
        WorstFrame_ = Frames_;
    }
    if (GameCleanedUp) AfterGames_.push_back({ResidentKb(), AnonymousKb()});
}

void TRunStats::Write(const std::string& Path) const {
    std::ofstream f(Path);
    f << "frames " << Frames_ << "\n"
      << "frame_seconds " << Seconds_ << "\n"
      << "frames_per_second " << (Seconds_ > 0 ? Frames_ / Seconds_ : 0) << "\n"
      << "worst_frame_ms " << WorstMs_ << "\n"
      << "worst_frame " << WorstFrame_ << "\n"
      << "peak_rss_kb " << PeakResidentKb() << "\n";
    if (PilotSeconds_ >= 0)
        f << "autopilot_seconds " << PilotSeconds_ << "\n"
          << "autopilot_share " << (Seconds_ > 0 ? PilotSeconds_ / Seconds_ : 0) << "\n";
    if (SeekFrame_ >= 0) f << "seek_frame " << SeekFrame_ << "\n" << "seek_ms " << SeekSeconds_ * 1000 << "\n";
    for (size_t i = 0; i < AfterGames_.size(); ++i)
        f << "rss_after_game_" << i + 1 << "_kb " << AfterGames_[i].ResidentKb << "\n"
          << "heap_after_game_" << i + 1 << "_kb " << AfterGames_[i].HeapKb << "\n";
    f.flush();
    if (!f) throw std::runtime_error("cannot write the statistics file " + Path);
}

void TWindowStats::Shown(bool Paced) {
    const auto now = std::chrono::steady_clock::now();
    // The clocks start at the first frame shown, after loading.
    if (Shown_++ == 0) {
        Start_ = Last_ = now;
        CpuStart_ = ProcessCpuSeconds();
        return;
    }
    const double ms = std::chrono::duration<double, std::milli>(now - Last_).count();
    Last_ = now;
    if (!Paced) return;
    if (ms > LateMs) ++Late_;
    WorstMs_ = std::max(WorstMs_, ms);
}

void TWindowStats::Write(const std::string& Path, const std::string& Renderer) const {
    const double wall = std::chrono::duration<double>(Last_ - Start_).count();
    const double cpu = ProcessCpuSeconds() - CpuStart_;
    std::ofstream f(Path);
    f << "renderer " << Renderer << "\n"
      << "frames_shown " << Shown_ << "\n"
      << "frames_run " << Run_ << "\n"
      << "frames_late " << Late_ << "\n"
      << "worst_frame_ms " << WorstMs_ << "\n"
      << "wall_seconds " << wall << "\n"
      << "frames_per_second " << (wall > 0 ? Shown_ / wall : 0) << "\n"
      << "cpu_seconds " << cpu << "\n"
      << "cpu_per_cent " << (wall > 0 ? 100 * cpu / wall : 0) << "\n"
      << "peak_rss_kb " << PeakResidentKb() << "\n";
    f.flush();
    if (!f) throw std::runtime_error("cannot write the statistics file " + Path);
}

double ProcessCpuSeconds() {
    rusage u{};
    if (getrusage(RUSAGE_SELF, &u) != 0) return 0;
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(u.ru_utime) + seconds(u.ru_stime);
}

namespace {

// A "Name:   N kB" line of /proc/self/status.
int64_t StatusKb(const std::string& Name) {
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.compare(0, Name.size() + 1, Name + ":") == 0) return std::stoll(line.substr(Name.size() + 1));
    return 0;
}

}  // namespace

int64_t ResidentKb() { return StatusKb("VmRSS"); }
int64_t PeakResidentKb() { return StatusKb("VmHWM"); }
int64_t AnonymousKb() { return StatusKb("RssAnon"); }

}  // namespace kv::app
