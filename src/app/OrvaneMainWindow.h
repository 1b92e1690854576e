#pragma once

#include <QMainWindow>

#include <memory>
#include <optional>

namespace orvane {

class CampaignIDECommands;
class RootView;
class SessionStore;
class StandardMenus;

namespace voice {
class VoiceInputProvider;
}

// The application window: the menu bar ("File", "Edit", "Campaign", "Help") around the root view.
class OrvaneMainWindow final : public QMainWindow {
    Q_OBJECT

public:
    static constexpr QSize defaultSize { 1440, 900 };

    OrvaneMainWindow(SessionStore *session, std::shared_ptr<voice::VoiceInputProvider> voice,
        bool showCloudSignInScreen, QWidget *parent = nullptr);
    ~OrvaneMainWindow() override;

    [[nodiscard]] RootView *rootView() const { return m_root; }
    [[nodiscard]] CampaignIDECommands *commands() const { return m_commands; }
    [[nodiscard]] StandardMenus *standardMenus() const { return m_standardMenus; }

    // Shows the window if it is hidden or minimised, raises it and gives it the keyboard.
    void bringToFront();
    // Tells the user, once and without blocking, that the data folder cannot be written.
    void showStorageProblem(const QString &reason);
    // Tells the user, once and without blocking, that this window saves nothing, and why.
    void showReadOnlyNotice(const QString &reason);

    // The window size to start with on `available` (the screen's free area): the default size,
    // shrunk to fit a smaller screen.
    [[nodiscard]] static QSize initialSize(const QSize &available);
    // Where the window goes when its frame (`frame`, with `margins` round the content) does not lie
    // whole inside `available`: shrunk to the area and moved into it; returned as the content's
    // geometry (QWidget::geometry()). None when the frame fits or the area is unknown.
    [[nodiscard]] static std::optional<QRect> fittedGeometry(
        const QRect &frame, const QMargins &margins, const QRect &available);

protected:
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;
    // With unsaved local files, asks first: Save All, Discard or Cancel (which keeps the window);
    // then, when the disk still refuses store writes, Try Again or Quit Anyway.
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void activateAtFirstShow();
    // Looks for the frame until it is known, for a desktop that frames the window unannounced.
    void watchForTheFrame();
    // Once the desktop has framed the new window (its frame margins are known), the whole frame is
    // brought inside the screen's free area.
    void fitFrameOnScreen();
    // The menu bar and its menu take the colours of the screen on show.
    void applyChromeColours();
    void applyTint();

    static constexpr int framePollMilliseconds = 100;
    static constexpr int frameWaitMilliseconds = 30000;

    // First: the window's events reach event() while the members after it are being made.
    bool m_placing = false; // the first placement waits for the frame
    bool m_refitOnLayout = false; // the first placement was held back by a minimum that counted no frame
    RootView *m_root;
    StandardMenus *m_standardMenus;
    CampaignIDECommands *m_commands;
    bool m_shownOnce = false;
    bool m_darkAppearance = false;
};

} // namespace orvane
