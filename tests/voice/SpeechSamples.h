#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace orvane::voice::test {

// Spoken test audio made at test time: espeak-ng speaks a sentence, sox turns it into raw 16 kHz mono 16-bit
// samples (without dither, so every run feeds the same samples) padded with silence.
class SpeechSamples {
public:
    SpeechSamples();

    // The raw audio file of the sentence; empty when synthesis failed (the failure is in lastError()).
    QString sentence(const QString &text, double leadSeconds = 0.3, double trailSeconds = 0.5);
    // Digital silence of the given length.
    QString silence(double seconds);
    // A JSGF grammar whose only phrases are the given ones.
    QString grammar(const QStringList &phrases);

    [[nodiscard]] const QString &lastError() const { return m_lastError; }

private:
    bool run(const QString &program, const QStringList &arguments);
    QString nextPath(const QString &suffix);

    QTemporaryDir m_dir;
    int m_count = 0;
    QString m_lastError;
};

} // namespace orvane::voice::test
