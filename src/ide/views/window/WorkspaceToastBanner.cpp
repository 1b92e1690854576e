#include "ide/views/window/WorkspaceToastBanner.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/kit/SymbolView.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QShortcut>

using namespace Qt::StringLiterals;

namespace orvane {

WorkspaceToastBanner::WorkspaceToastBanner(CampaignIDEWorkspaceModel &model, const ThemeSource &theme, QWidget *parent)
    : Panel(theme,
        PanelLook { .fill = ThemeColor::elevatedBackground, .stroke = ThemeColor::accentLime, .strokeOpacity = 0.45 },
        parent),
      m_model(&model),
      m_theme(&theme)
{
    setObjectName(u"statusToast"_s);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(14, 7, 14, 7);
    row->setSpacing(8);

    m_icon = new SymbolView(theme, u"checkmark.circle.fill"_s, ThemeColor::accentLime, 12);
    m_icon->setObjectName(u"toastSymbol"_s);
    row->addWidget(m_icon, 0, Qt::AlignVCenter);

    m_message = new QLabel;
    m_message->setObjectName(u"toastMessageLabel"_s);
    m_message->setTextFormat(Qt::PlainText);
    m_message->setWordWrap(true); // no line limit: a long notice wraps
    // A word longer than the window (a path with a long file name) does not widen it: the row shows
    // what fits of that word, and its text is copied whole.
    QSizePolicy policy = m_message->sizePolicy();
    policy.setHorizontalPolicy(QSizePolicy::Ignored);
    m_message->setSizePolicy(policy);
    m_message->setFont(themeFont(12, QFont::Medium));
    // Selected by dragging over it or, once it has the keyboard, with the keys; copied from either
    // or from its menu. A plain click dismisses the notice instead, so a press alone does not give
    // the text the keyboard (a drag that selects does, below).
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_message->setFocusPolicy(Qt::TabFocus);
    m_message->installEventFilter(this);
    row->addWidget(m_message, 1, Qt::AlignVCenter);

    ClickableButton::Look closeLook;
    closeLook.padding = QMargins(5, 5, 5, 5); // a 10-pixel symbol centred in 20 by 20
    closeLook.spacing = 0;
    m_close = new ClickableButton(theme, closeLook);
    m_close->setObjectName(u"toastCloseButton"_s);
    m_close->setAccessibleName(u"Dismiss"_s);
    m_close->addSymbol(u"xmark"_s, ThemeColor::textSecondary, 10, ui::SymbolWeight::bold);
    m_close->setFixedSize(20, 20);
    row->addWidget(m_close, 0, Qt::AlignVCenter);

    connect(m_close, &QAbstractButton::clicked, this, &WorkspaceToastBanner::dismiss);
    // Escape anywhere in the window while the toast shows (the window has no other use for it;
    // sheets are windows of their own).
    m_escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_escape->setObjectName(u"toastEscapeShortcut"_s);
    m_escape->setContext(Qt::WindowShortcut);
    m_escape->setEnabled(false);
    connect(m_escape, &QShortcut::activated, this, &WorkspaceToastBanner::dismiss);
    connect(&model, &CampaignIDEWorkspaceModel::statusNoticeChanged, this, &WorkspaceToastBanner::sync);
    connect(&theme, &ThemeSource::themeChanged, this, &WorkspaceToastBanner::sync);
    sync();
}

QString WorkspaceToastBanner::message() const
{
    return m_message->text();
}

QString WorkspaceToastBanner::symbol() const
{
    return m_icon->symbol();
}

void WorkspaceToastBanner::sync()
{
    if (!m_model || !m_theme)
        return;
    const std::optional<QString> &notice = m_model->statusNotice();
    QPalette palette = m_message->palette();
    palette.setColor(QPalette::WindowText, m_theme->theme().textPrimary());
    m_message->setPalette(palette);
    // A notice quoting a long text (a domain, a name) shows a label's worth of it.
    m_message->setText(labelText(notice.value_or(QString())));
    const bool warning = m_model->statusNoticeKind() == NoticeKind::warning;
    m_icon->setSymbol(warning ? u"exclamationmark.triangle.fill"_s : u"checkmark.circle.fill"_s);
    m_icon->setColor(warning ? ThemeColor::accentAmber : ThemeColor::accentLime);
    setVisible(notice.has_value());
    m_escape->setEnabled(notice.has_value());
    if (!notice)
        m_message->setSelection(0, 0);
    updateHold();
}

void WorkspaceToastBanner::dismiss()
{
    if (m_model)
        m_model->setStatusNotice(std::nullopt);
}

void WorkspaceToastBanner::mouseReleaseEvent(QMouseEvent *event)
{
    // A click on the row dismisses it (on its text, see eventFilter()).
    Panel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        dismiss();
}

void WorkspaceToastBanner::enterEvent(QEnterEvent *event)
{
    Panel::enterEvent(event);
    updateHold();
}

void WorkspaceToastBanner::leaveEvent(QEvent *event)
{
    Panel::leaveEvent(event);
    updateHold();
}

bool WorkspaceToastBanner::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_message && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        // While the text has the keyboard, a press anywhere else ends that (below): most of the
        // window's buttons take no focus, so a user who clicked into the text and went on working
        // would otherwise hold the notice for good.
        if (event->type() == QEvent::FocusIn)
            qApp->installEventFilter(this);
        else
            qApp->removeEventFilter(this);
        updateHold();
    } else if (watched == m_message && event->type() == QEvent::MouseButtonPress) {
        m_pressedAt = static_cast<QMouseEvent *>(event)->position().toPoint();
    } else if (watched == m_message && event->type() == QEvent::MouseButtonRelease) {
        const auto *release = static_cast<QMouseEvent *>(event);
        const QPoint at = release->position().toPoint();
        if (release->button() != Qt::LeftButton)
            return Panel::eventFilter(watched, event);
        // A plain click on the text dismisses, as on the rest of the row; a drag selects, and
        // the selection gets the keyboard so that Ctrl+C copies it.
        if (release->modifiers() == Qt::NoModifier && m_message->rect().contains(at)
            && (at - m_pressedAt).manhattanLength() < QApplication::startDragDistance())
            dismiss();
        else if (m_message->hasSelectedText())
            m_message->setFocus(Qt::MouseFocusReason);
    } else if (event->type() == QEvent::MouseButtonPress && m_message->hasFocus()) {
        if (auto *pressed = qobject_cast<QWidget *>(watched); pressed && pressed != this && !isAncestorOf(pressed))
            m_message->clearFocus();
    }
    return Panel::eventFilter(watched, event);
}

void WorkspaceToastBanner::updateHold()
{
    // Only a warning waits for its reader; a report of how something went keeps its 3 seconds.
    if (m_model)
        m_model->holdNotice(isVisible() && m_model->statusNoticeKind() == NoticeKind::warning
            && (underMouse() || m_message->hasFocus()));
}

} // namespace orvane
