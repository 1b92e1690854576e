#pragma once

#include "voice/SpeechEngine.h"

#include <QObject>

#include <optional>

namespace orvane::voice::test {

// Opens the permission step of a ScriptedSpeechEngine that holds it.
class PermissionGate final : public QObject {
    Q_OBJECT
signals:
    void opened();
};

// A speech engine whose recognition results the test delivers by hand, for the transcriber's session rules.
class ScriptedSpeechEngine final : public SpeechEngine {
public:
    [[nodiscard]] VoiceAvailability availability() const override { return current; }
    QCoro::Task<VoiceAvailability> requestPermissions() override;
    std::optional<VoiceInputError> start(PartialHandler onPartial, ErrorHandler onError) override;
    void stop() override;

    // Delivers through the callbacks of the running recognition, from a thread of the engine's own like the
    // real recogniser does.
    void partial(const QString &text, bool isFinal = false);
    void error(const EngineError &error);
    void partialAndError(const QString &text, const EngineError &error);
    // Delivers through the callbacks of the recognition before the running one.
    void partialFromPrevious(const QString &text);

    // What availability() reports.
    VoiceAvailability current = VoiceAvailability::granted;
    // What the permission step settles on; current when empty.
    std::optional<VoiceAvailability> afterPrompt;
    // When set, the permission step waits for gate.opened().
    bool holdPermissions = false;
    PermissionGate gate;
    std::optional<VoiceInputError> startError;

    int permissionRequests = 0;
    int permissionsSettled = 0;
    int starts = 0;
    int stops = 0;
    bool running = false;

private:
    void deliver(const std::function<void()> &callback);

    PartialHandler m_onPartial;
    PartialHandler m_previousOnPartial;
    ErrorHandler m_onError;
};

} // namespace orvane::voice::test
