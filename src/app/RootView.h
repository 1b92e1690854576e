#pragma once

#include "ide/views/window/CampaignIDEFocusedActions.h"

#include <QWidget>

#include <memory>
#include <optional>

class QVBoxLayout;

namespace orvane {

class CampaignIDEWorkspaceView;
class SessionStore;
class SignInView;

namespace voice {
class VoiceInputProvider;
}

// The content of the application window: the cloud sign-in screen or the workspace window.
//
// A normal launch opens the local workspace. The sign-in screen shows only while its flag is set
// (by the launch argument "--sign-in", or by the workspace's request for cloud sign-in) and no
// account is signed in; once an account signs in the workspace comes back by itself. Switching
// replaces the screen: each entry into the workspace builds a new workspace window, whose new
// model reads the stored projects and threads again.
class RootView final : public QWidget {
    Q_OBJECT

public:
    // `none` only while the flag is set and the session store is still reading the stored account:
    // the screen is chosen once it knows whether an account is signed in.
    enum class Screen { none, signIn, workspace };

    // session must outlive the view.
    RootView(SessionStore *session, std::shared_ptr<voice::VoiceInputProvider> voice, bool showCloudSignInScreen,
        QWidget *parent = nullptr);
    ~RootView() override;

    // Whether the launch arguments ask for the sign-in screen: one of them is exactly "--sign-in".
    [[nodiscard]] static bool wantsSignInScreen(const QStringList &arguments);

    [[nodiscard]] Screen screen() const { return m_screen; }
    [[nodiscard]] bool showsCloudSignInScreen() const { return m_showCloudSignInScreen; }
    [[nodiscard]] CampaignIDEWorkspaceView *workspace() const { return m_workspace; }
    [[nodiscard]] SignInView *signInView() const { return m_signIn; }
    [[nodiscard]] const std::shared_ptr<voice::VoiceInputProvider> &voice() const { return m_voice; }

    // The record the "Campaign" menu uses: the workspace window's, nothing while the sign-in screen
    // is on show.
    [[nodiscard]] std::optional<CampaignIDEFocusedActions> focusedActions() const;

    // The two ways the flag changes: the workspace's cloud sign-in request and the sign-in screen's
    // "Open Local Campaign IDE". The screen switches on the next turn of the event loop, so the
    // control that asked is never destroyed while it handles its click.
    void requestCloudSignIn();
    void openLocalWorkspace();

    // With unsaved local files in the workspace on show, asks `question` with Save All, Discard and
    // Cancel. True when the workspace may go: nothing was unsaved, the edits were saved or the user
    // dropped them. False on Cancel, or when a save failed (its notice says why): the text stays.
    bool settleUnsavedLocalFiles(const QString &question);
    // Before a quit the user asked for: store writes that failed are tried once more, and what the
    // disk still refuses is named with Try Again and Quit Anyway. True when the workspace may go:
    // everything landed, or Quit Anyway (its end then keeps a rescue copy). False when the question
    // was closed without an answer.
    bool settleUnsavedStores();

Q_SIGNALS:
    void screenChanged(orvane::RootView::Screen screen);
    void focusedActionsChanged();

private:
    void scheduleRoute();
    void route();
    [[nodiscard]] Screen wantedScreen() const;
    void showScreen(Screen screen);
    void retireCurrentScreen();

    SessionStore *m_session;
    std::shared_ptr<voice::VoiceInputProvider> m_voice;
    bool m_showCloudSignInScreen;
    bool m_routeScheduled = false;
    Screen m_screen = Screen::none;
    QVBoxLayout *m_layout;
    // The screen on show (children of this view); null when it is not the one on show.
    CampaignIDEWorkspaceView *m_workspace = nullptr;
    SignInView *m_signIn = nullptr;
};

} // namespace orvane
