#pragma once

#include <functional>

namespace orvane::voice {

// Runs blocking voice work (capture, decoding, teardown) on a pool of our own, so a slow sound server or decoder
// never takes threads from the application's global pool. At exit the pool waits for its jobs, which all end
// promptly once their session is torn down.
void runVoiceWorker(std::function<void()> job);

} // namespace orvane::voice
