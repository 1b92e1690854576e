#include "app/RootView.h"

#include "app/SignInView.h"
#include "app/WindowMessageBox.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/WorkspaceMirror.h"
#include "ide/views/window/CampaignIDEWorkspaceView.h"
#include "kit/session/SessionStore.h"
#include "platform/AtomicFile.h"
#include "voice/VoiceInputProvider.h"

#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane {

using namespace Qt::StringLiterals;

RootView::RootView(SessionStore *session, std::shared_ptr<voice::VoiceInputProvider> voice, bool showCloudSignInScreen,
    QWidget *parent)
    : QWidget(parent),
      m_session(session),
      m_voice(std::move(voice)),
      m_showCloudSignInScreen(showCloudSignInScreen),
      m_layout(new QVBoxLayout(this))
{
    setObjectName(u"rootView"_s);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    // An account that signs in or out while the flag is set switches the screen by itself.
    connect(m_session, &SessionStore::accountChanged, this, &RootView::route);
    connect(m_session, &SessionStore::restoringChanged, this, &RootView::route);
    route();
}

RootView::~RootView() = default;

bool RootView::wantsSignInScreen(const QStringList &arguments)
{
    return arguments.contains(u"--sign-in"_s, Qt::CaseSensitive);
}

std::optional<CampaignIDEFocusedActions> RootView::focusedActions() const
{
    if (m_screen != Screen::workspace || !m_workspace)
        return std::nullopt;
    return m_workspace->focusedActions();
}

void RootView::requestCloudSignIn()
{
    // Signed out, the sign-in screen takes the workspace's place and the workspace goes: its
    // unsaved text is settled first, as when the window closes.
    if (m_screen == Screen::workspace && !m_session->account()
        && !settleUnsavedLocalFiles(u"Save changes to your local files before connecting to the cloud?"_s))
        return;
    m_showCloudSignInScreen = true;
    scheduleRoute();
}

void RootView::openLocalWorkspace()
{
    m_showCloudSignInScreen = false;
    scheduleRoute();
}

bool RootView::settleUnsavedLocalFiles(const QString &question)
{
    WorkspaceMirror *files = m_workspace ? &m_workspace->mirror() : nullptr;
    if (!files || !files->hasUnsavedLocalFiles())
        return true;
    QMessageBox box(QMessageBox::Warning, u"Orvane"_s, question,
        QMessageBox::SaveAll | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName(u"unsavedFilesMessageBox"_s);
    themeMessageBox(box);
    box.setInformativeText(u"Your changes will be lost if you don’t save them."_s);
    box.setDefaultButton(QMessageBox::SaveAll);
    switch (box.exec()) {
    case QMessageBox::SaveAll:
        files->saveAllLocalFiles();
        files->flushUserData(); // written, and their outcome known, before the workspace goes
        return !files->hasUnsavedLocalFiles();
    case QMessageBox::Discard:
        files->discardUnsavedLocalFiles();
        return true;
    default:
        return false;
    }
}

bool RootView::settleUnsavedStores()
{
    CampaignIDEWorkspaceModel *model = m_workspace ? m_workspace->model() : nullptr;
    // A read-only window said from the start that it saves nothing.
    if (!model || platform::writesRefused())
        return true;
    for (;;) {
        const CampaignIDEWorkspaceModel::UnsavedStores unsaved = model->saveAgainWhatFailed();
        if (unsaved.isEmpty())
            return true;
        QMessageBox box(QMessageBox::Warning, u"Orvane"_s, u"Orvane could not save "_s + unsaved.what + u'.',
            QMessageBox::NoButton, this);
        box.setObjectName(u"unsavedStoresMessageBox"_s);
        themeMessageBox(box);
        // The copy is made before the box promises it: where no place takes it, the box says so.
        QString copyError;
        const bool copied = model->keepRescueCopy(&copyError).has_value();
        QString explanation = copied
            ? u"Make room on the disk, then choose Try Again. If you quit anyway, Orvane keeps what it could not save "
              u"in a rescue copy and brings it back the next time it starts."_s
            : u"Make room on the disk, then choose Try Again. No folder took a rescue copy of it either"_s
                + (copyError.isEmpty() ? QString() : u" ("_s + copyError + u')') + u": Quit Anyway then loses it."_s;
        if (!unsaved.error.isEmpty())
            explanation.prepend(u"The disk refused the write: "_s + unsaved.error + u".\n\n"_s);
        box.setInformativeText(explanation);
        QPushButton *tryAgain = box.addButton(u"Try Again"_s, QMessageBox::AcceptRole);
        tryAgain->setObjectName(u"tryAgainButton"_s);
        QPushButton *quitAnyway = box.addButton(u"Quit Anyway"_s, QMessageBox::DestructiveRole);
        quitAnyway->setObjectName(u"quitAnywayButton"_s);
        box.setDefaultButton(tryAgain);
        box.exec();
        if (box.clickedButton() == quitAnyway)
            return true;
        if (box.clickedButton() != tryAgain)
            return false;
    }
}

void RootView::scheduleRoute()
{
    if (m_routeScheduled)
        return;
    m_routeScheduled = true;
    QMetaObject::invokeMethod(this, &RootView::route, Qt::QueuedConnection);
}

RootView::Screen RootView::wantedScreen() const
{
    if (!m_showCloudSignInScreen)
        return Screen::workspace;
    if (m_session->account())
        return Screen::workspace;
    return m_session->isRestoring() ? Screen::none : Screen::signIn;
}

void RootView::route()
{
    m_routeScheduled = false;
    const Screen wanted = wantedScreen();
    if (wanted != m_screen)
        showScreen(wanted);
}

void RootView::showScreen(Screen screen)
{
    retireCurrentScreen();
    m_screen = screen;
    if (screen == Screen::signIn) {
        m_signIn = new SignInView(
            m_session, [this] { openLocalWorkspace(); }, this);
        m_layout->addWidget(m_signIn);
        m_signIn->show();
        m_signIn->setFocus(Qt::OtherFocusReason);
    } else if (screen == Screen::workspace) {
        m_workspace = new CampaignIDEWorkspaceView(
            m_session, m_voice, [this] { requestCloudSignIn(); }, this);
        m_layout->addWidget(m_workspace);
        connect(m_workspace, &CampaignIDEWorkspaceView::focusedActionsChanged, this, &RootView::focusedActionsChanged);
        m_workspace->show();
    }
    Q_EMIT screenChanged(screen);
    Q_EMIT focusedActionsChanged();
}

void RootView::retireCurrentScreen()
{
    // The screen that is left goes with all of its state. It is deleted on a later turn of the event
    // loop, as it may be the one whose control asked for the switch.
    if (m_workspace) {
        CampaignIDEWorkspaceView *workspace = m_workspace;
        m_workspace = nullptr;
        disconnect(workspace, nullptr, this, nullptr);
        // The next workspace reads the stores again: let this one's writes land first. Text nobody
        // saved or dropped (the account signed out under it) is kept beside its file, not lost.
        WorkspaceMirror &files = workspace->mirror();
        files.flushUserData();
        if (files.hasUnsavedLocalFiles())
            files.keepUnsavedLocalFilesAside();
        files.flushPendingWrites();
        workspace->hide();
        m_layout->removeWidget(workspace);
        workspace->deleteLater();
    }
    if (m_signIn) {
        SignInView *signIn = m_signIn;
        m_signIn = nullptr;
        signIn->hide();
        m_layout->removeWidget(signIn);
        signIn->deleteLater();
    }
}

} // namespace orvane
