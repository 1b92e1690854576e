#pragma once

#include <QObject>
#include <QSet>
#include <QUuid>

namespace orvane {

// Which tool runs show their input and output. One set per thread workbench: both agent panes of a
// split share it, and it outlives every change of the thread it shows. Never written to the model.
class ExpandedToolSet final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    [[nodiscard]] bool contains(const QUuid &toolID) const { return m_ids.contains(toolID); }
    // Expands a collapsed run, collapses an expanded one.
    void toggle(const QUuid &toolID);
    void clear();

Q_SIGNALS:
    void changed(const QUuid &toolID); // a null id after clear()

private:
    QSet<QUuid> m_ids;
};

} // namespace orvane
