#pragma once

#include <QHash>
#include <QUuid>

#include <optional>
#include <utility>

namespace orvane {

// Card heights at a width, kept by the window so that a timeline shown again lays out from memory:
// measured ones, and the guesses given for cards not measured yet. A height holds while the entry's
// fingerprint (what its card draws) is the same.
class TimelineHeightCache final {
public:
    struct Height {
        int value = 0;
        bool measured = false; // false: a guess from character counts
    };
    [[nodiscard]] std::optional<Height> find(const QUuid &entryID, int width, size_t fingerprint) const;
    // A guess never replaces a measured height of the same content.
    void store(const QUuid &entryID, int width, size_t fingerprint, Height height);
    [[nodiscard]] qsizetype measuredCount() const { return m_measured; }

    // Beyond this many heights the cache starts again (a few widths of a very long history).
    static constexpr qsizetype capacity = 200000;

private:
    struct Slot {
        size_t fingerprint = 0;
        Height height;
    };
    QHash<std::pair<QUuid, int>, Slot> m_heights;
    qsizetype m_measured = 0;
};

} // namespace orvane
