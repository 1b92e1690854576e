#pragma once

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <mutex>

namespace orvane::ui {

// A set of font files made available to this process only (never installed for the user), once,
// on first use. A missing or unreadable file is skipped without a message; a font built for one
// of its faces then falls back to the system font.
class ApplicationFonts final {
public:
    explicit ApplicationFonts(QStringList files);
    ApplicationFonts(const ApplicationFonts &) = delete;
    ApplicationFonts &operator=(const ApplicationFonts &) = delete;

    // Registers the files in order the first time it is called; later calls do nothing.
    // Thread-safe.
    void ensureRegistered();

    [[nodiscard]] bool isRegistered() const;
    // The font families the registered files brought, in file order.
    [[nodiscard]] QStringList families() const;
    // How many files were registered (skipped ones not counted).
    [[nodiscard]] int registeredFileCount() const;

private:
    QStringList m_files;
    std::once_flag m_once;
    mutable std::mutex m_mutex;
    bool m_registered = false;
    QList<int> m_ids;
    QStringList m_families;
};

// The application's own type of the sign-in screen: Space Grotesk for display text, Inter for
// body text. The files are registered on the first call of any accessor, so a process that never
// shows the sign-in screen registers none. Sizes are pixels; callers apply weights.
class OrvaneSignInType final {
public:
    OrvaneSignInType() = delete;

    [[nodiscard]] static QFont display(qreal size);
    [[nodiscard]] static QFont body(qreal size);
    // Body text at 13.
    [[nodiscard]] static QFont caption();

    // The process's registry of the bundled files (":/orvane/fonts/...": "SpaceGrotesk",
    // "Inter", "IBMPlexMono-Regular", in that order).
    [[nodiscard]] static ApplicationFonts &fonts();
    [[nodiscard]] static QStringList bundledFiles();
};

// Every monospaced text of the application: the bundled IBM Plex Mono, so the look does not depend
// on what the system calls monospace. Registers that one bundled file on first use. Size in pixels.
[[nodiscard]] QFont monospacedFont(qreal size);

} // namespace orvane::ui
