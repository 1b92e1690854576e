#pragma once

#include "ide/views/sheets/KeyedRowsModel.h"

#include <QPointer>
#include <QUuid>

namespace orvane {

class ThreadList;

// The command palette's results: the header "THREADS", the threads whose title holds the query,
// the header "SPECIALIST AGENTS (START NEW THREAD)" and the personas whose name or handle holds it.
// Matching ignores case; the query is used exactly as typed (not trimmed) and an empty query
// matches everything. Threads keep the model's order (every project's), personas the catalog's;
// nothing is ranked or capped. Follows the model's thread signals in place.
class CommandPaletteResultsModel final : public KeyedRowsModel {
    Q_OBJECT
public:
    enum class Kind { threadsHeader, thread, personasHeader, persona };
    Q_ENUM(Kind)

    enum Role {
        KindRole = Qt::UserRole + 1,
        TrailingTextRole, // the thread's workbench name; "Run Sample Task →" for personas
        SymbolRole, // system symbol name of the row's image
        ThreadIDRole,
        PersonaIndexRole, // index into the persona catalog
    };

    explicit CommandPaletteResultsModel(ThreadList &model, QObject *parent = nullptr);

    void setQuery(const QString &query);
    [[nodiscard]] const QString &query() const { return m_query; }

    [[nodiscard]] static bool matches(const QString &text, const QString &query);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex &index) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    static const QString threadsHeader;
    static const QString personasHeader;
    static const QString personaTrailingText;

private:
    struct Row {
        QString key = {};
        Kind kind = Kind::thread;
        QString text = {};
        QString trailing = {};
        QString symbol = {};
        QUuid threadID = {};
        int personaIndex = -1;
        bool operator==(const Row &) const = default;
    };

    void refresh();
    [[nodiscard]] QList<Row> computeRows() const;

    QPointer<ThreadList> m_store;
    QString m_query;
    QList<Row> m_rows;
};

} // namespace orvane
