#include "ide/views/thread/WorkbenchTabRegistry.h"

#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"

#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {

void WorkbenchTabRegistry::setTab(IDEWorkbenchView view, TabFactory factory)
{
    m_tabs.emplace(view, std::move(factory));
}

QWidget *WorkbenchTabRegistry::makeTab(
    IDEWorkbenchView view, const WorkspaceViewContext &context, QWidget *parent) const
{
    if (const auto found = m_tabs.constFind(view); found != m_tabs.cend() && *found) {
        if (QWidget *widget = (*found)(context, parent))
            return widget;
    }
    return new WorkbenchTabPlaceholder(view, context, parent);
}

WorkbenchTabPlaceholder::WorkbenchTabPlaceholder(
    IDEWorkbenchView view, const WorkspaceViewContext &context, QWidget *parent)
    : QWidget(parent), m_view(view), m_context(context)
{
    setObjectName(u"workbenchTabPlaceholder"_s);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(24, 24, 24, 24);
    m_title = new QLabel(rawValue(view));
    m_title->setObjectName(u"workbenchTabTitleLabel"_s);
    m_title->setTextFormat(Qt::PlainText);
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setFont(themeFont(18, QFont::DemiBold));
    column->addWidget(m_title, 1);
    if (context.theme)
        connect(context.theme, &ThemeSource::themeChanged, this, &WorkbenchTabPlaceholder::applyTheme);
    applyTheme();
}

QString WorkbenchTabPlaceholder::title() const
{
    return m_title->text();
}

void WorkbenchTabPlaceholder::applyTheme()
{
    if (!m_context.theme)
        return;
    QPalette palette = m_title->palette();
    palette.setColor(QPalette::WindowText, m_context.theme->theme().textSecondary());
    m_title->setPalette(palette);
}

} // namespace orvane
