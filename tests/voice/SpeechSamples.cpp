#include "voice/SpeechSamples.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace orvane::voice::test {

namespace {

const QStringList rawFormat { QStringLiteral("-r"), QStringLiteral("16000"), QStringLiteral("-c"), QStringLiteral("1"),
    QStringLiteral("-b"), QStringLiteral("16"), QStringLiteral("-e"), QStringLiteral("signed-integer"),
    QStringLiteral("-t"), QStringLiteral("raw") };

} // namespace

SpeechSamples::SpeechSamples() = default;

QString SpeechSamples::nextPath(const QString &suffix)
{
    return m_dir.filePath(QStringLiteral("sample-%1.%2").arg(++m_count).arg(suffix));
}

bool SpeechSamples::run(const QString &program, const QStringList &arguments)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty()) {
        m_lastError = program + QStringLiteral(" is not installed (scripts/setup installs it)");
        return false;
    }
    QProcess process;
    process.start(path, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        m_lastError = program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(process.readAllStandardError());
        return false;
    }
    return true;
}

QString SpeechSamples::sentence(const QString &text, double leadSeconds, double trailSeconds)
{
    const QString wave = nextPath(QStringLiteral("wav"));
    const QString raw = nextPath(QStringLiteral("raw"));
    if (!run(QStringLiteral("espeak-ng"),
            { QStringLiteral("-v"), QStringLiteral("en-us"), QStringLiteral("-w"), wave, text }))
        return {};
    QStringList arguments { QStringLiteral("-D"), wave };
    arguments += rawFormat;
    arguments += { raw, QStringLiteral("pad"), QString::number(leadSeconds), QString::number(trailSeconds) };
    if (!run(QStringLiteral("sox"), arguments))
        return {};
    return raw;
}

QString SpeechSamples::silence(double seconds)
{
    const QString raw = nextPath(QStringLiteral("raw"));
    QStringList arguments { QStringLiteral("-D"), QStringLiteral("-n") };
    arguments += rawFormat;
    arguments += { raw, QStringLiteral("trim"), QStringLiteral("0"), QString::number(seconds) };
    if (!run(QStringLiteral("sox"), arguments))
        return {};
    return raw;
}

QString SpeechSamples::grammar(const QStringList &phrases)
{
    const QString path = nextPath(QStringLiteral("gram"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("#JSGF V1.0;\ngrammar commands;\npublic <command> = ");
    file.write(phrases.join(QStringLiteral(" | ")).toUtf8());
    file.write(";\n");
    return path;
}

} // namespace orvane::voice::test
