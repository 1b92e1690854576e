#include "voice/FileAudioInput.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace orvane::voice::test {

class FileAudioInput final : public AudioInput {
public:
    FileAudioInput(FileAudioDevice &device, const QString &path, FileAudioDevice::Options options)
        : m_device(device), m_options(options)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return;
        const QByteArray bytes = file.readAll();
        m_samples.resize(static_cast<size_t>(bytes.size()) / sizeof(qint16));
        std::memcpy(m_samples.data(), bytes.constData(), m_samples.size() * sizeof(qint16));
        m_readable = true;
    }

    ~FileAudioInput() override
    {
        stop();
        if (m_thread.joinable())
            m_thread.join();
    }

    [[nodiscard]] AudioFormat outputFormat() const override
    {
        return m_readable ? AudioFormat { recognizerSampleRate, 1 } : AudioFormat {};
    }

    void installTap(qsizetype framesPerBuffer, Tap tap, EndHandler onEnd) override
    {
        std::lock_guard lock(m_mutex);
        m_frames = framesPerBuffer;
        m_tap = std::move(tap);
        m_onEnd = std::move(onEnd);
        ++m_device.m_taps;
    }

    void removeTap() override
    {
        std::lock_guard lock(m_mutex);
        m_tap = nullptr;
        m_onEnd = nullptr;
    }

    std::optional<QString> start() override
    {
        m_thread = std::thread([this] { play(); });
        return std::nullopt;
    }

    void stop() override
    {
        {
            std::lock_guard lock(m_mutex);
            if (m_stopped)
                return;
            m_stopped = true;
        }
        m_wake.notify_all();
    }

private:
    void play()
    {
        using Clock = std::chrono::steady_clock;
        const auto startedAt = Clock::now();
        const auto chunk = static_cast<size_t>(m_frames);
        std::vector<qint16> buffer(chunk);
        for (size_t index = 0;; ++index) {
            std::unique_lock lock(m_mutex);
            if (m_options.speed > 0) {
                const auto due = startedAt
                    + std::chrono::duration_cast<Clock::duration>(
                        std::chrono::duration<double>(double(index * chunk) / recognizerSampleRate / m_options.speed));
                m_wake.wait_until(lock, due, [this] { return m_stopped; });
            }
            if (m_stopped)
                return;
            const size_t offset = index * chunk;
            if (offset >= m_samples.size() && m_options.endAtFileEnd) {
                if (m_onEnd)
                    m_onEnd(std::nullopt);
                return;
            }
            std::fill(buffer.begin(), buffer.end(), qint16(0));
            if (offset < m_samples.size()) {
                const size_t count = std::min(chunk, m_samples.size() - offset);
                std::copy_n(m_samples.begin() + std::ptrdiff_t(offset), count, buffer.begin());
            }
            if (m_tap)
                m_tap(buffer.data(), qsizetype(chunk));
        }
    }

    FileAudioDevice &m_device;
    const FileAudioDevice::Options m_options;
    std::vector<qint16> m_samples;
    bool m_readable = false;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    qsizetype m_frames = 1024;
    Tap m_tap;
    EndHandler m_onEnd;
    bool m_stopped = false;
    std::thread m_thread;
};

FileAudioDevice::FileAudioDevice(QString path, Options options) : m_path(std::move(path)), m_options(options)
{
}

bool FileAudioDevice::isPresent() const
{
    return QFileInfo::exists(m_path);
}

std::unique_ptr<AudioInput> FileAudioDevice::makeInput()
{
    return std::make_unique<FileAudioInput>(*this, m_path, m_options);
}

} // namespace orvane::voice::test
