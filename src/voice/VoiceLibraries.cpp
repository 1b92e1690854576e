#include "voice/VoiceLibraries.h"

#include <QLibrary>

#include <optional>

namespace orvane::voice {
namespace {

// Resolves every named function or none: a half-loaded table is never handed out.
class Resolver {
public:
    Resolver(const char *name, int version) : m_library(QString::fromLatin1(name), version) { m_ok = m_library.load(); }

    template <typename Function> void operator()(Function &slot, const char *symbol)
    {
        slot = m_ok ? reinterpret_cast<Function>(m_library.resolve(symbol)) : nullptr;
        m_ok = m_ok && slot != nullptr;
    }
    [[nodiscard]] bool ok() const { return m_ok; }

private:
    QLibrary m_library; // never unloaded: the functions stay valid for the process
    bool m_ok = false;
};

} // namespace

const SphinxFunctions *sphinxFunctions()
{
    static const std::optional<SphinxFunctions> loaded = []() -> std::optional<SphinxFunctions> {
        SphinxFunctions f {};
        Resolver decoder("pocketsphinx", 3);
        decoder(f.args, "ps_args");
        decoder(f.init, "ps_init");
        decoder(f.free, "ps_free");
        decoder(f.startUtterance, "ps_start_utt");
        decoder(f.endUtterance, "ps_end_utt");
        decoder(f.processRaw, "ps_process_raw");
        decoder(f.hypothesis, "ps_get_hyp");
        decoder(f.inSpeech, "ps_get_in_speech");
        Resolver base("sphinxbase", 3);
        base(f.configInit, "cmd_ln_init");
        base(f.configFree, "cmd_ln_free_r");
        base(f.setLogFile, "err_set_logfp");
        if (!decoder.ok() || !base.ok())
            return std::nullopt;
        return f;
    }();
    return loaded ? &*loaded : nullptr;
}

const PulseFunctions *pulseFunctions()
{
    static const std::optional<PulseFunctions> loaded = []() -> std::optional<PulseFunctions> {
        PulseFunctions f {};
        Resolver simple("pulse-simple", 0);
        simple(f.open, "pa_simple_new");
        simple(f.read, "pa_simple_read");
        simple(f.free, "pa_simple_free");
        Resolver client("pulse", 0);
        client(f.errorText, "pa_strerror");
        if (!simple.ok() || !client.ok())
            return std::nullopt;
        return f;
    }();
    return loaded ? &*loaded : nullptr;
}

} // namespace orvane::voice
