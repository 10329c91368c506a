#pragma once
// Interrupt, termination and hang-up end a run between two frames, as reaching its last frame
// does, so that its files (the recording's end, the event log) are finished.
namespace kv::app {

// Installs the handlers; the run's loop then asks StopSignalled before every frame.
void CatchStopSignals();
bool StopSignalled();

}  // namespace kv::app
