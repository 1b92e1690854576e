#include "ide/views/sheets/RenameThreadSheet.h"

#include "ide/model/ThreadList.h"
#include "ide/model/WorkspaceWindowState.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/sheets/SheetParts.h"

#include <QBoxLayout>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace orvane {

RenameThreadSheet::RenameThreadSheet(const WorkspaceViewContext &context, QWidget *parent)
    : QWidget(parent), m_context(context), m_state(context.state)
{
    setObjectName(u"renameThreadSheetContent"_s);
    if (m_state->renamingThread())
        m_threadID = m_state->renamingThread()->id;
    const ThemeSource &theme = *context.theme;
    QVBoxLayout *column = sheetparts::column(this, 14);
    column->addWidget(sheetparts::eyebrow(theme, u"RENAME THREAD"_s));

    m_titleField = sheetparts::field(u"renameThreadTitleField"_s, u"Thread Title"_s);
    m_titleField->setAccessibleName(u"Thread Title"_s);
    sheetparts::syncField(m_titleField, m_state->renameThreadText());
    column->addWidget(m_titleField);

    auto *cancel = sheetparts::cancelButton(theme);
    auto *save = sheetparts::confirmButton(theme, u"saveThreadTitleButton"_s, u"Save"_s, 6);
    column->addLayout(sheetparts::buttonRow(cancel, QMargins(), save));

    connect(m_titleField, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (m_state)
            m_state->setRenameThreadText(text);
    });
    connect(m_state, &WorkspaceWindowState::renameThreadTextChanged, this,
        [this] { sheetparts::syncField(m_titleField, m_state->renameThreadText()); });
    connect(cancel, &QAbstractButton::clicked, this, [this] {
        if (m_state)
            m_state->setRenamingThread(std::nullopt);
    });
    connect(save, &QAbstractButton::clicked, this, &RenameThreadSheet::save);
}

void RenameThreadSheet::save()
{
    if (!m_state)
        return;
    if (m_context.threads && !m_threadID.isNull())
        m_context.threads->renameThread(m_threadID, m_state->renameThreadText());
    m_state->setRenamingThread(std::nullopt);
}

} // namespace orvane
