#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace orvane::platform {

// The application's small preference store: one file per key, named "<key>.json", holding the
// key's value as JSON text, in one folder (by default Orvane/defaults/ under $XDG_CONFIG_HOME, else
// ~/.config). Every write replaces the file atomically, so a crash never leaves half a value.
//
// The store is a cheap value (it only knows its folder) and may be copied to any thread; writes of
// two threads to one key end with one of the two values intact.
//
// Keys are file names: a key that is empty, longer than 200 characters, starts with a dot, or holds
// a path separator, a control character or ".." is refused (reads find nothing, writes fail), so
// no key can reach outside the folder.
class UserDefaults final {
public:
    // The largest value stored and read back; a larger one is refused on writing.
    static constexpr qint64 maxValueSize = 64 * 1024 * 1024;

    // The store in the given folder, which is created on the first write.
    explicit UserDefaults(QString directory);

    // The user's standard store, for the environment as it is now.
    [[nodiscard]] static UserDefaults standard();
    [[nodiscard]] static QString standardDirectory();

    [[nodiscard]] static bool isValidKey(const QString &key);

    [[nodiscard]] const QString &directory() const { return m_directory; }

    // The stored JSON text of a key; nothing when it is absent, refused, unreadable or not a regular
    // file (a FIFO there is never opened for reading).
    [[nodiscard]] std::optional<QByteArray> value(const QString &key) const;
    // Stores the JSON text of a key. False when the key or the size is refused or the file could not
    // be written; the value stored before then stays whole.
    bool setValue(const QString &key, QByteArrayView json) const;

    // A stored JSON boolean; nothing when the key is absent or holds anything else.
    [[nodiscard]] std::optional<bool> boolValue(const QString &key) const;
    bool setBool(const QString &key, bool value) const;

    [[nodiscard]] bool contains(const QString &key) const;
    // Removes a key; removing an absent key succeeds. In a process that may not write
    // (platform::refuseWrites()), setting or removing a key fails and changes nothing.
    bool remove(const QString &key) const;

private:
    [[nodiscard]] QString filePath(const QString &key) const;

    QString m_directory;
};

} // namespace orvane::platform
