#include "ide/views/sheets/NewProjectSheet.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/WorkspaceWindowState.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/kit/ThemedLabel.h"
#include "ide/views/sheets/SheetParts.h"

#include <QBoxLayout>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace orvane {

NewProjectSheet::NewProjectSheet(const WorkspaceViewContext &context, QWidget *parent)
    : QWidget(parent), m_context(context), m_state(context.state)
{
    setObjectName(u"newProjectSheetContent"_s);
    const ThemeSource &theme = *context.theme;
    QVBoxLayout *column = sheetparts::column(this, 14);
    column->addWidget(sheetparts::eyebrow(theme, u"NEW LOCAL + CLOUD PROJECT"_s));
    QLabel *title = sheetparts::heading(theme, u"Create a Campaign Project Folder"_s);
    column->addWidget(title);
    auto *description = new ThemedLabel(theme,
        u"Creates a local directory in "_s + context.model->shownWorkspaceRoot()
            + u"/ with campaign-plan.md, media-plan.csv, and creatives.json plus a live Agent Thread."_s,
        themeFont(12), ThemeColor::textSecondary);
    description->setObjectName(u"newProjectDescriptionLabel"_s);
    description->setWordWrap(true);
    column->addWidget(description);

    m_nameField = sheetparts::field(u"newProjectNameField"_s, u"e.g., Q3 Enterprise AI Search Conquest"_s);
    sheetparts::syncField(m_nameField, m_state->newProjectName());
    // The sheet's title is the field's label: it names the field for screen readers.
    title->setBuddy(m_nameField);
    column->addWidget(m_nameField);

    auto *cancel = sheetparts::cancelButton(theme);
    auto *create = sheetparts::confirmButton(theme, u"createProjectButton"_s, u"Create Project & Open Thread"_s, 7);
    column->addLayout(sheetparts::buttonRow(cancel, QMargins(12, 6, 12, 6), create));

    connect(m_nameField, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (m_state)
            m_state->setNewProjectName(text);
    });
    connect(m_state, &WorkspaceWindowState::newProjectNameChanged, this,
        [this] { sheetparts::syncField(m_nameField, m_state->newProjectName()); });
    connect(cancel, &QAbstractButton::clicked, this, [this] {
        if (m_state)
            m_state->setShowingNewProjectSheet(false);
    });
    connect(create, &QAbstractButton::clicked, this, &NewProjectSheet::create);
}

void NewProjectSheet::create()
{
    CampaignIDEWorkspaceModel *model = m_context.model;
    if (!model || !m_state)
        return;
    // The name goes over exactly as typed; the model keeps it untrimmed.
    const QUuid projectID = model->createProject(m_state->newProjectName(), std::nullopt, m_context.session);
    model->openThread(model->ensureThreadID(projectID), std::nullopt);
    m_state->setShowingNewProjectSheet(false);
}

} // namespace orvane
