#include "app/StopSignals.h"

#include <csignal>
#include <initializer_list>

namespace kv::app {

namespace {
volatile std::sig_atomic_t Signalled = 0;

extern "C" void OnStopSignal(int) { Signalled = 1; }
}  // namespace

void CatchStopSignals() {
    struct sigaction a {};
    a.sa_handler = OnStopSignal;
    sigemptyset(&a.sa_mask);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaction(s, &a, nullptr);
}

bool StopSignalled() { return Signalled != 0; }

}  // namespace kv::app
