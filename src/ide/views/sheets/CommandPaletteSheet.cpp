#include "ide/views/sheets/CommandPaletteSheet.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/WorkspaceWindowState.h"
#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/Panel.h"
#include "ide/views/kit/SymbolView.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/sheets/CommandPaletteDelegate.h"
#include "ide/views/sheets/CommandPaletteResultsModel.h"
#include "ide/views/sheets/FittedListView.h"
#include "ide/views/sheets/SheetParts.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace orvane {

CommandPaletteSheet::CommandPaletteSheet(const WorkspaceViewContext &context, QWidget *parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(u"commandPaletteSheetContent"_s);
    const ThemeSource &theme = *context.theme;
    QVBoxLayout *column = sheetparts::column(this, 12);

    // The search row's box: elevatedBackground under a 1-point borderStrong outline.
    auto *searchRow
        = new Panel(theme, PanelLook { .fill = ThemeColor::elevatedBackground, .stroke = ThemeColor::borderStrong });
    searchRow->setObjectName(u"commandPaletteSearchRow"_s);
    searchRow->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto *row = new QHBoxLayout(searchRow);
    row->setContentsMargins(12, 12, 12, 12);
    row->setSpacing(10);
    row->addWidget(new SymbolView(theme, u"magnifyingglass"_s, ThemeColor::accentLime, 14));
    m_queryField = new QLineEdit;
    m_queryField->setObjectName(u"commandQueryField"_s);
    // Named as the top bar's control that opens the palette.
    m_queryField->setAccessibleName(u"Search"_s);
    m_queryField->setPlaceholderText(u"Jump to thread, workbench tab, agent persona, or project…"_s);
    m_queryField->setFrame(false);
    m_queryField->setFont(themeFont(14));
    m_queryField->setText(context.state->commandQuery());
    row->addWidget(m_queryField, 1);
    ClickableButton::Look escLook;
    escLook.padding = QMargins();
    auto *esc = new ClickableButton(theme, escLook);
    esc->setObjectName(u"commandPaletteEscButton"_s);
    esc->addText(u"ESC"_s, themeFont(10, QFont::Bold, true), ThemeColor::textMuted);
    row->addWidget(esc);
    column->addWidget(searchRow);

    m_results = new CommandPaletteResultsModel(*context.threads, this);
    m_results->setQuery(context.state->commandQuery());
    m_list = new FittedListView;
    m_list->setObjectName(u"commandPaletteResultList"_s);
    m_list->setItemDelegate(new CommandPaletteDelegate(theme, m_list));
    m_list->setModel(m_results);
    // Each row is a button of the keyboard after the field and "ESC"; none is current until Tab
    // reaches it.
    m_list->setRowsAreTabStops(true);
    // Named once the rows are tab stops: naming it makes its accessibility interface, which they choose.
    m_list->setAccessibleName(u"Search Results"_s);
    m_list->setMaximumContentHeight(maximumListHeight);
    column->addWidget(m_list);

    const auto applyFieldColors = [this, &theme] {
        QPalette palette = m_queryField->palette();
        palette.setColor(QPalette::Base, Qt::transparent);
        palette.setColor(QPalette::Text, theme.theme().textPrimary());
        palette.setColor(QPalette::PlaceholderText, theme.theme().textMuted());
        m_queryField->setPalette(palette);
    };
    applyFieldColors();
    connect(&theme, &ThemeSource::themeChanged, this, applyFieldColors);
    connect(&theme, &ThemeSource::themeChanged, m_list->viewport(), qOverload<>(&QWidget::update));

    WorkspaceWindowState *state = context.state;
    connect(m_queryField, &QLineEdit::textEdited, state, &WorkspaceWindowState::setCommandQuery);
    connect(state, &WorkspaceWindowState::commandQueryChanged, this, [this, state] {
        sheetparts::syncField(m_queryField, state->commandQuery());
        m_results->setQuery(state->commandQuery());
    });
    connect(esc, &QAbstractButton::clicked, this, &CommandPaletteSheet::dismiss);
    connect(m_list, &QAbstractItemView::clicked, this, &CommandPaletteSheet::pick);
    // The sheet's height follows the list.
    connect(m_list, &FittedListView::fittedHeightChanged, this, [this] {
        if (QWidget *sheet = window(); sheet && sheet != this && sheet->isWindow()) {
            // Settle this layout first so the sheet measures the new list, not the cached one.
            layout()->activate();
            sheet->adjustSize();
        }
    });
    m_queryField->setFocus();
}

void CommandPaletteSheet::dismiss()
{
    if (m_context.state)
        m_context.state->setShowingCommandPalette(false);
}

void CommandPaletteSheet::pick(const QModelIndex &index)
{
    CampaignIDEWorkspaceModel *model = m_context.model;
    if (!model || !index.isValid())
        return;
    switch (index.data(CommandPaletteResultsModel::KindRole).value<CommandPaletteResultsModel::Kind>()) {
    case CommandPaletteResultsModel::Kind::thread:
        // A thread deleted meanwhile opens nothing; the palette still closes.
        model->openThread(index.data(CommandPaletteResultsModel::ThreadIDRole).toUuid(), std::nullopt);
        break;
    case CommandPaletteResultsModel::Kind::persona: {
        const QList<OrvaneAgentPersona> &personas = OrvaneWebParitySeeds::personas();
        const int personaIndex = index.data(CommandPaletteResultsModel::PersonaIndexRole).toInt();
        if (personaIndex < 0 || personaIndex >= personas.size())
            return;
        const OrvaneAgentPersona &persona = personas.at(personaIndex);
        CampaignIDEWorkspaceModel::NewThread request;
        request.title = persona.name + u" Session"_s;
        request.initialPrompt = persona.starterPrompt;
        request.persona = persona;
        request.projectID = model->selectedProjectID();
        if (!request.projectID && !model->projects().isEmpty())
            request.projectID = model->projects().constFirst().id;
        request.workbench = persona.defaultWorkbench;
        request.autoSend = true;
        model->createNewThread(request, m_context.session);
        break;
    }
    case CommandPaletteResultsModel::Kind::threadsHeader:
    case CommandPaletteResultsModel::Kind::personasHeader:
        return;
    }
    dismiss();
}

} // namespace orvane
