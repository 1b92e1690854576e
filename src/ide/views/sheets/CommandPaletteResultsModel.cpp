#include "ide/views/sheets/CommandPaletteResultsModel.h"

#include "ide/model/ThreadList.h"
#include "ide/records/OrvaneWebParitySeeds.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace orvane {

const QString CommandPaletteResultsModel::threadsHeader = u"THREADS"_s;
const QString CommandPaletteResultsModel::personasHeader = u"SPECIALIST AGENTS (START NEW THREAD)"_s;
const QString CommandPaletteResultsModel::personaTrailingText = u"Run Sample Task →"_s;

CommandPaletteResultsModel::CommandPaletteResultsModel(ThreadList &model, QObject *parent)
    : KeyedRowsModel(parent), m_store(&model)
{
    m_rows = computeRows();
    connect(&model, &ThreadList::threadsChanged, this, &CommandPaletteResultsModel::refresh);
    connect(&model, &ThreadList::threadChanged, this, &CommandPaletteResultsModel::refresh);
    connect(&model, &ThreadList::threadInserted, this, &CommandPaletteResultsModel::refresh);
    connect(&model, &ThreadList::threadRemoved, this, &CommandPaletteResultsModel::refresh);
}

bool CommandPaletteResultsModel::matches(const QString &text, const QString &query)
{
    return query.isEmpty() || text.contains(query, Qt::CaseInsensitive);
}

void CommandPaletteResultsModel::setQuery(const QString &query)
{
    if (m_query == query)
        return;
    m_query = query;
    refresh();
}

void CommandPaletteResultsModel::refresh()
{
    applyRows(m_rows, computeRows());
}

QList<CommandPaletteResultsModel::Row> CommandPaletteResultsModel::computeRows() const
{
    QList<Row> rows;
    rows.append(Row { .key = u"header:threads"_s, .kind = Kind::threadsHeader, .text = threadsHeader });
    if (m_store) {
        QSet<QUuid> listed;
        for (const CampaignIDEThread &thread : m_store->threads()) {
            if (!matches(thread.title, m_query))
                continue;
            // A thread listed twice (ids are meant to be unique) is shown once.
            if (listed.contains(thread.id))
                continue;
            listed.insert(thread.id);
            rows.append(Row { .key = u"thread:"_s + thread.id.toString(QUuid::WithoutBraces),
                .kind = Kind::thread,
                .text = thread.title,
                .trailing = rawValue(thread.workbenchView),
                .symbol = u"bubble.left.and.bubble.right"_s,
                .threadID = thread.id });
        }
    }
    rows.append(Row { .key = u"header:personas"_s, .kind = Kind::personasHeader, .text = personasHeader });
    const QList<OrvaneAgentPersona> &personas = OrvaneWebParitySeeds::personas();
    for (qsizetype index = 0; index < personas.size(); ++index) {
        const OrvaneAgentPersona &persona = personas.at(index);
        if (!matches(persona.name, m_query) && !matches(persona.handle, m_query))
            continue;
        rows.append(Row { .key = u"persona:"_s + persona.id,
            .kind = Kind::persona,
            .text = persona.name + u" ("_s + persona.handle + u')',
            .trailing = personaTrailingText,
            .symbol = persona.icon,
            .personaIndex = int(index) });
    }
    return rows;
}

int CommandPaletteResultsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant CommandPaletteResultsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.model() != this || index.row() >= m_rows.size())
        return {};
    const Row &row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return row.text;
    case KindRole:
        return QVariant::fromValue(row.kind);
    case TrailingTextRole:
    case Qt::AccessibleDescriptionRole:
        return row.trailing.isEmpty() ? QVariant() : QVariant(row.trailing);
    case SymbolRole:
        return row.symbol.isEmpty() ? QVariant() : QVariant(row.symbol);
    case ThreadIDRole:
        return row.kind == Kind::thread ? QVariant(row.threadID) : QVariant();
    case PersonaIndexRole:
        return row.kind == Kind::persona ? QVariant(row.personaIndex) : QVariant();
    default:
        return {};
    }
}

Qt::ItemFlags CommandPaletteResultsModel::flags(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this || index.row() >= m_rows.size())
        return Qt::NoItemFlags;
    const Kind kind = m_rows.at(index.row()).kind;
    // Headers are labels; rows are buttons (enabled, never selected).
    return kind == Kind::thread || kind == Kind::persona ? Qt::ItemIsEnabled | Qt::ItemNeverHasChildren
                                                         : Qt::ItemNeverHasChildren;
}

QHash<int, QByteArray> CommandPaletteResultsModel::roleNames() const
{
    QHash<int, QByteArray> names = KeyedRowsModel::roleNames();
    names.insert(KindRole, "kind");
    names.insert(TrailingTextRole, "trailingText");
    names.insert(SymbolRole, "symbol");
    names.insert(ThreadIDRole, "threadID");
    names.insert(PersonaIndexRole, "personaIndex");
    return names;
}

} // namespace orvane
