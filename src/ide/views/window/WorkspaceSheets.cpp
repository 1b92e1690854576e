#include "ide/views/window/WorkspaceSheets.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/WorkspaceWindowState.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/KickerLabel.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

constexpr WorkspaceSheet allSheets[] = { WorkspaceSheet::newProject, WorkspaceSheet::newThread,
    WorkspaceSheet::renameThread, WorkspaceSheet::commandPalette, WorkspaceSheet::launchApproval };

QString sheetObjectName(WorkspaceSheet sheet)
{
    switch (sheet) {
    case WorkspaceSheet::newProject:
        return u"newProjectSheet"_s;
    case WorkspaceSheet::newThread:
        return u"newThreadSheet"_s;
    case WorkspaceSheet::renameThread:
        return u"renameThreadSheet"_s;
    case WorkspaceSheet::commandPalette:
        return u"commandPaletteSheet"_s;
    case WorkspaceSheet::launchApproval:
        return u"launchApprovalSheet"_s;
    }
    return {};
}

} // namespace

WorkspaceSheetFrame::Frame WorkspaceSheetFrame::frameOf(WorkspaceSheet sheet)
{
    switch (sheet) {
    case WorkspaceSheet::newProject:
        return { 460, 20, 14 };
    case WorkspaceSheet::newThread:
        return { 500, 20, 14 };
    case WorkspaceSheet::renameThread:
        return { 420, 20, 14 };
    case WorkspaceSheet::commandPalette:
        return { 560, 16, 12 };
    case WorkspaceSheet::launchApproval:
        return {};
    }
    return {};
}

WorkspaceSheetFrame::WorkspaceSheetFrame(WorkspaceSheet sheet, const ThemeSource &theme, QWidget *window)
    : QDialog(window), m_sheet(sheet), m_theme(&theme)
{
    setObjectName(sheetObjectName(sheet));
    setWindowModality(Qt::WindowModal);
    setPalette(theme.theme().palette());
    const Frame frame = frameOf(sheet);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(frame.padding, frame.padding, frame.padding, frame.padding);
    column->setSpacing(frame.spacing);
    // The height follows the content, and the sheet is always exactly its content's size: a window
    // whose size is fixed is one a window manager neither resizes nor maximises.
    column->setSizeConstraint(QLayout::SetFixedSize);
    connect(&theme, &ThemeSource::themeChanged, this, [this] {
        if (m_theme)
            setPalette(m_theme->theme().palette());
        update();
    });
}

void WorkspaceSheetFrame::setContent(QWidget *content)
{
    m_content = content;
    if (!content)
        return;
    // A fixed width, padding included.
    if (const Frame frame = frameOf(m_sheet); frame.width > 0)
        content->setFixedWidth(frame.width - 2 * frame.padding);
    static_cast<QVBoxLayout *>(layout())->addWidget(content);
}

void WorkspaceSheetFrame::paintEvent(QPaintEvent *)
{
    if (!m_theme)
        return;
    QPainter painter(this);
    painter.fillRect(rect(), m_theme->theme().panelBackground());
}

WorkspaceSheets::WorkspaceSheets(
    const WorkspaceViewRegistry &registry, const WorkspaceViewContext &context, QWidget *window)
    : QObject(window), m_registry(registry), m_context(context), m_window(window)
{
    WorkspaceWindowState *state = context.state;
    CampaignIDEWorkspaceModel *model = context.model;
    connect(state, &WorkspaceWindowState::newProjectSheetChanged, this, [this] { sync(WorkspaceSheet::newProject); });
    connect(state, &WorkspaceWindowState::newThreadSheetChanged, this, [this] { sync(WorkspaceSheet::newThread); });
    connect(state, &WorkspaceWindowState::renameSheetChanged, this, [this] { sync(WorkspaceSheet::renameThread); });
    connect(state, &WorkspaceWindowState::appearanceChanged, this, [this] { sync(WorkspaceSheet::commandPalette); });
    // The launch sheet's item follows the confirmation and the project it is computed against.
    const auto launch = [this] { sync(WorkspaceSheet::launchApproval); };
    connect(model, &CampaignIDEWorkspaceModel::launchConfirmationProjectIDChanged, this, launch);
    connect(model, &CampaignIDEWorkspaceModel::selectedProjectIDChanged, this, launch);
    connect(model, &CampaignIDEWorkspaceModel::projectsChanged, this, launch);
    connect(model, &CampaignIDEWorkspaceModel::projectInserted, this, launch);
    connect(model, &CampaignIDEWorkspaceModel::projectRemoved, this, launch);
    for (WorkspaceSheet sheet : allSheets)
        sync(sheet);
}

bool WorkspaceSheets::wanted(WorkspaceSheet sheet) const
{
    const WorkspaceWindowState *state = m_context.state;
    const CampaignIDEWorkspaceModel *model = m_context.model;
    if (!state || !model)
        return false;
    switch (sheet) {
    case WorkspaceSheet::newProject:
        return state->showingNewProjectSheet();
    case WorkspaceSheet::newThread:
        return state->showingNewThreadSheet();
    case WorkspaceSheet::renameThread:
        return state->renamingThread().has_value();
    case WorkspaceSheet::commandPalette:
        return state->showingCommandPalette();
    case WorkspaceSheet::launchApproval:
        return model->activeLaunchRequest().has_value();
    }
    return false;
}

void WorkspaceSheets::sync(WorkspaceSheet sheet)
{
    if (!m_window || !m_context.theme)
        return;
    QPointer<WorkspaceSheetFrame> open = m_open.value(sheet);
    const bool want = wanted(sheet);
    if (want && !open) {
        auto *frame = new WorkspaceSheetFrame(sheet, *m_context.theme, m_window);
        frame->setAttribute(Qt::WA_DeleteOnClose);
        QWidget *content = m_registry.makeSheetContent(sheet, m_context, frame);
        frame->setContent(content ? content : placeholder(sheet, frame));
        m_open.insert(sheet, frame);
        connect(frame, &QDialog::finished, this, [this, sheet, frame] {
            if (m_open.value(sheet) == frame)
                m_open.remove(sheet);
            dismissed(sheet);
        });
        frame->open();
    } else if (!want && open) {
        m_open.remove(sheet);
        open->close();
    }
}

// Writes "not shown" back through the sheet's state; nothing when it says so already.
void WorkspaceSheets::dismissed(WorkspaceSheet sheet)
{
    WorkspaceWindowState *state = m_context.state;
    CampaignIDEWorkspaceModel *model = m_context.model;
    if (!state || !model)
        return;
    switch (sheet) {
    case WorkspaceSheet::newProject:
        state->setShowingNewProjectSheet(false);
        break;
    case WorkspaceSheet::newThread:
        state->setShowingNewThreadSheet(false);
        break;
    case WorkspaceSheet::renameThread:
        state->setRenamingThread(std::nullopt);
        break;
    case WorkspaceSheet::commandPalette:
        state->setShowingCommandPalette(false);
        break;
    case WorkspaceSheet::launchApproval:
        if (model->activeLaunchRequest())
            model->setActiveLaunchRequest(std::nullopt);
        break;
    }
}

// Until a sheet's content is built: its kicker and title, and a way out.
QWidget *WorkspaceSheets::placeholder(WorkspaceSheet sheet, QWidget *parent)
{
    const ThemeSource &theme = *m_context.theme;
    QString kicker;
    QString title;
    switch (sheet) {
    case WorkspaceSheet::newProject:
        kicker = u"NEW LOCAL + CLOUD PROJECT"_s;
        title = u"Create a Campaign Project Folder"_s;
        break;
    case WorkspaceSheet::newThread:
        kicker = u"LAUNCH CAMPAIGN THREAD"_s;
        title = u"Start a New Multi-Agent Thread"_s;
        break;
    case WorkspaceSheet::renameThread:
        kicker = u"RENAME THREAD"_s;
        title = m_context.state->renamingThread() ? m_context.state->renamingThread()->title : QString();
        break;
    case WorkspaceSheet::commandPalette:
        title = u"Search threads, files…"_s;
        break;
    case WorkspaceSheet::launchApproval:
        title = u"Review and Execute…"_s;
        break;
    }
    auto *box = new QWidget(parent);
    box->setObjectName(u"sheetPlaceholder"_s);
    auto *column = new QVBoxLayout(box);
    const int padding = sheet == WorkspaceSheet::launchApproval ? 20 : 0;
    column->setContentsMargins(padding, padding, padding, padding);
    column->setSpacing(WorkspaceSheetFrame::frameOf(sheet).spacing);
    if (!kicker.isEmpty())
        column->addWidget(new KickerLabel(theme, kicker));
    auto *heading = new QLabel(title);
    heading->setObjectName(u"sheetTitleLabel"_s);
    heading->setTextFormat(Qt::PlainText);
    heading->setWordWrap(true);
    heading->setFont(themeFont(18, QFont::Bold));
    QPalette palette = heading->palette();
    palette.setColor(QPalette::WindowText, theme.theme().textPrimary());
    heading->setPalette(palette);
    column->addWidget(heading);

    ClickableButton::Look look;
    look.fill = ThemeColor::elevatedBackground;
    look.stroke = ThemeColor::borderSubtle;
    look.padding = QMargins(12, 6, 12, 6);
    auto *cancel = new ClickableButton(theme, look);
    cancel->setObjectName(u"sheetCancelButton"_s);
    cancel->addText(u"Cancel"_s, themeFont(12, QFont::DemiBold), ThemeColor::textPrimary);
    connect(cancel, &QAbstractButton::clicked, this, [this, sheet] { dismissed(sheet); });
    column->addWidget(cancel, 0, Qt::AlignRight);
    return box;
}

} // namespace orvane
