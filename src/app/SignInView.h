#pragma once

#include "app/SignInLayout.h"
#include "kit/brand/Brand.h"
#include "kit/session/SessionStore.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QBoxLayout;
class QLabel;
class QScrollArea;
class QSpacerItem;
class QPushButton;
class QVBoxLayout;

namespace orvane {

class EntryButton;
class PlainTextBlock;

// The full-window screen that connects the application to a cloud account with the device-code
// flow. It holds no state of its own: what it shows follows the session store, and each button
// calls one session-store operation, opens the verification page again, or leaves for the local
// workspace. Service texts (the code, the error, the notice) are shown as plain text.
//
// Controls carry stable object names that tests and accessibility tools use: "signIn.start",
// "signIn.localIDE", "signIn.footnote", "signIn.userCode", "signIn.reopen", "signIn.cancel",
// "signIn.error", "signIn.orphanedKeyNotice", "signIn.orphanedKeyNotice.dismiss", and beside the code
// "signIn.verificationURL" (the address to approve at, selectable) and "signIn.browserNotice" (shown
// when no browser could be opened).
class SignInView final : public QWidget {
    Q_OBJECT

public:
    // `session` must outlive the view. Without `onOpenLocalIDE` the screen offers no way back to the
    // local workspace.
    SignInView(SessionStore *session, std::function<void()> onOpenLocalIDE, QWidget *parent = nullptr);
    ~SignInView() override;

    // The measures in force, from the space the screen has.
    [[nodiscard]] const SignInLayout &currentLayout() const { return m_layout; }

    // Whether the desktop asks for large accessibility text; the screen then always uses one column.
    void setAccessibilityTextSize(bool large);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    void buildIntroduction(QVBoxLayout *column);
    void buildEntry(QVBoxLayout *column);
    void updateFromSession();
    void stateChanged();
    // Opens the verification page; says so on the card when no browser could open it.
    void openBrowser();
    void setBrowserFailed(bool failed);
    void applyLayout();
    void applyColors();

    QPointer<SessionStore> m_session;
    std::function<void()> m_onOpenLocalIDE;
    SessionStore::State m_shownState;
    SignInLayout m_layout;
    bool m_layoutApplied = false;
    bool m_accessibilityTextSize = false;
    ColorScheme m_appliedScheme = ColorScheme::light;

    QScrollArea *m_scroll = nullptr;
    QWidget *m_content = nullptr;
    QBoxLayout *m_contentRow = nullptr; // centres the block horizontally
    QWidget *m_block = nullptr;
    QVBoxLayout *m_blockLayout = nullptr;
    QSpacerItem *m_topSpace = nullptr;
    QSpacerItem *m_bottomSpace = nullptr;
    QWidget *m_columns = nullptr;
    QBoxLayout *m_columnsLayout = nullptr;
    QWidget *m_introduction = nullptr;
    QWidget *m_entry = nullptr;

    QLabel *m_heading = nullptr;
    QWidget *m_welcome = nullptr; // "Welcome to Orvane" and the two buttons
    EntryButton *m_start = nullptr;
    EntryButton *m_localIDE = nullptr;
    QWidget *m_pending = nullptr; // the card shown while signing in
    EntryButton *m_reopen = nullptr;
    QLabel *m_userCode = nullptr;
    QLabel *m_verificationURL = nullptr;
    PlainTextBlock *m_browserNotice = nullptr;
    PlainTextBlock *m_error = nullptr;
    QWidget *m_notice = nullptr;
    PlainTextBlock *m_noticeText = nullptr;
    QPushButton *m_dismiss = nullptr;
};

} // namespace orvane
