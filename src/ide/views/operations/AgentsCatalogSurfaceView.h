#pragma once

#include "ide/records/OrvaneAgentPersona.h"
#include "ide/views/operations/CardGrid.h"
#include "ide/views/operations/OperationsSurface.h"
#include "ide/views/operations/RecordListModel.h"

namespace orvane::operations {

using PersonaListModel = RecordListModel<OrvaneAgentPersona>;

// A persona's card: symbol, name and handle, role, specialty and the full-width launch button
// (launchPart).
class PersonaCardDelegate final : public CardDelegate {
public:
    static constexpr int launchPart = 1;

    PersonaCardDelegate(const ThemeSource &theme, const PersonaListModel &personas);

    [[nodiscard]] int cardHeight(const QModelIndex &index, int width) const override;
    void paintCard(QPainter &painter, const QRect &rect, const QModelIndex &index, int pressedPart) const override;
    [[nodiscard]] QList<int> parts(const QModelIndex &) const override { return { launchPart }; }
    [[nodiscard]] QRect partRect(const QModelIndex &index, const QRect &rect, int part) const override;

private:
    QPointer<const ThemeSource> m_theme;
    const PersonaListModel &m_personas;
};

} // namespace orvane::operations

namespace orvane {

// The catalog of specialist agents; each card starts a new thread led by its persona, primed with
// the persona's starter prompt.
class AgentsCatalogSurfaceView final : public operations::OperationsSurfaceView {
    Q_OBJECT
public:
    AgentsCatalogSurfaceView(const WorkspaceViewContext &context, QWidget *parent = nullptr);

    [[nodiscard]] operations::PersonaListModel *personaModel() const { return m_personas; }

private:
    void launch(const OrvaneAgentPersona &persona);

    operations::PersonaListModel *m_personas;
};

} // namespace orvane
