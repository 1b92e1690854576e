#pragma once

// The speech decoder's and the sound server's client libraries, loaded when voice input is first
// used instead of when the process starts: a window that never dictates never maps them.

#include <pocketsphinx.h>
#include <pulse/error.h>
#include <pulse/simple.h>
#include <sphinxbase/err.h>

namespace orvane::voice {

struct SphinxFunctions {
    decltype(&::ps_args) args;
    decltype(&::ps_init) init;
    decltype(&::ps_free) free;
    decltype(&::ps_start_utt) startUtterance;
    decltype(&::ps_end_utt) endUtterance;
    decltype(&::ps_process_raw) processRaw;
    decltype(&::ps_get_hyp) hypothesis;
    decltype(&::ps_get_in_speech) inSpeech;
    decltype(&::cmd_ln_init) configInit;
    decltype(&::cmd_ln_free_r) configFree;
    decltype(&::err_set_logfp) setLogFile;
};

struct PulseFunctions {
    decltype(&::pa_simple_new) open;
    decltype(&::pa_simple_read) read;
    decltype(&::pa_simple_free) free;
    decltype(&::pa_strerror) errorText;
};

// Loaded once, from any thread; null when a library or one of its functions is missing.
[[nodiscard]] const SphinxFunctions *sphinxFunctions();
[[nodiscard]] const PulseFunctions *pulseFunctions();

} // namespace orvane::voice
