#include "ide/views/governance/WorkspaceSettingsSurfaceView.h"

#include "ide/model/WorkspaceMirror.h"
#include "ide/views/kit/Card.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/KickerLabel.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/window/WorkspaceWindowController.h"

#include <QDir>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {

using namespace governance;

QString WorkspaceSettingsSurfaceView::forceSyncNotice(const QString &shownRoot)
{
    return u"Re-synced all projects and threads to "_s + shownRoot + u'.';
}

WorkspaceSettingsSurfaceView::WorkspaceSettingsSurfaceView(const WorkspaceViewContext &context, QWidget *parent)
    : GovernanceSurface(context, parent)
{
    setObjectName(u"settingsSurface"_s);
    const ThemeSource &theme = *context.theme;

    // Kicker and headline are elements of the column itself, 16 apart.
    auto *kicker = new KickerLabel(theme, u"WORKSPACE & LOCAL MODE SETTINGS"_s);
    kicker->setObjectName(u"surfaceKickerLabel"_s);
    column()->addWidget(kicker);
    auto *headline = new ThemedLabel(theme, u"Local Filesystem Sync, Appearance & Cloud Pairing"_s,
        themeFont(20, QFont::Bold), ThemeColor::textPrimary);
    headline->setObjectName(u"surfaceHeadlineLabel"_s);
    headline->setWordWrap(true);
    column()->addWidget(headline);

    Card::Look look;
    look.padding = QMargins(14, 14, 14, 14);
    look.spacing = 10;
    auto *card = new Card(theme, look);
    card->setObjectName(u"workspaceFolderCard"_s);
    QVBoxLayout *content = card->contentLayout();
    content->addWidget(
        new ThemedLabel(theme, u"Local Workspace Directory"_s, themeFont(13, QFont::Bold), ThemeColor::textPrimary));
    // The path as the file system spells it: no percent-encoding, native separators.
    m_path = new ThemedLabel(theme, QDir::toNativeSeparators(context.mirror->workspaceRoot()),
        themeFont(12, QFont::Normal, true), ThemeColor::accentCyan);
    m_path->setObjectName(u"workspacePathLabel"_s);
    m_path->setTextInteractionFlags(Qt::TextSelectableByMouse);
    content->addWidget(m_path);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    auto *reveal = makePrimaryButton(theme, u"Reveal in File Manager"_s, 11, QMargins(12, 6, 12, 6));
    reveal->setObjectName(u"revealWorkspaceButton"_s);
    buttons->addWidget(reveal, 0, Qt::AlignVCenter);
    ClickableButton::Look syncLook;
    syncLook.fill = ThemeColor::elevatedBackground;
    syncLook.stroke = ThemeColor::borderSubtle;
    syncLook.padding = QMargins(12, 6, 12, 6);
    auto *sync = new ClickableButton(theme, syncLook);
    sync->setObjectName(u"forceSyncButton"_s);
    sync->addText(u"Force Sync All Artifacts"_s, themeFont(11, QFont::DemiBold), ThemeColor::textPrimary);
    buttons->addWidget(sync, 0, Qt::AlignVCenter);
    buttons->addStretch(1);
    content->addLayout(buttons);
    column()->addWidget(card, 0, Qt::AlignLeft);

    connect(reveal, &QAbstractButton::clicked, this, [this] {
        if (m_context.controller)
            m_context.controller->revealLocalWorkspaceInFinder();
    });
    // The folders are written on the model's writer; then this notice shows, or one that names the
    // failure when a folder could not be written.
    connect(sync, &QAbstractButton::clicked, this, [this] {
        if (m_context.controller && m_context.mirror)
            m_context.controller->forceSyncLocalFilesWithNotice(
                forceSyncNotice(m_context.mirror->shownWorkspaceRoot()));
    });
}

} // namespace orvane
