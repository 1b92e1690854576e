#include "platform/ui/Symbols.h"

#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

#include <array>

using namespace Qt::StringLiterals;

namespace orvane::ui {
namespace {

enum class Style { Outline, Solid };

struct Entry {
    QStringView symbol;
    QStringView icon;
    Style style;
};

constexpr std::array entries {
#define ORVANE_SYMBOL(symbol, icon, style) Entry { u"" symbol, u"" icon, Style::style },
#include "platform/ui/Symbols.def"
#undef ORVANE_SYMBOL
};

const Entry *find(QStringView symbol)
{
    for (const Entry &entry : entries) {
        if (entry.symbol == symbol)
            return &entry;
    }
    return nullptr;
}

QString resourcePath(const Entry &entry)
{
    return u":/orvane/symbols/"_s + entry.icon + u".svg"_s;
}

double strokeWidth(SymbolWeight weight)
{
    switch (weight) {
    case SymbolWeight::regular:
        return 2.0;
    case SymbolWeight::semibold:
        return 2.4;
    case SymbolWeight::bold:
        return 2.8;
    }
    return 2.0;
}

// The icon's SVG in opaque black at the weight's stroke width (and filled for a solid symbol);
// the tint is applied to the rendered pixels, so overlapping strokes never double an alpha.
QByteArray preparedSvg(const Entry &entry, SymbolWeight weight)
{
    QFile file(resourcePath(entry));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray svg = file.readAll();
    svg.replace("currentColor", "#000000");
    const QByteArray stroke = QByteArray("stroke-width=\"") + QByteArray::number(strokeWidth(weight)) + '"';
    svg.replace("stroke-width=\"2\"", stroke);
    if (entry.style == Style::Solid)
        svg.replace("fill=\"none\"", "fill=\"#000000\"");
    return svg;
}

// The symbol's shape in black at a pixel size: parsed and rendered once, then tinted per colour.
QImage shape(const Entry &entry, int device, SymbolWeight weight)
{
    static QHash<QString, QImage> shapes;
    const QString key = entry.symbol + u':' + QString::number(device) + u':' + QString::number(int(weight));
    if (const auto found = shapes.constFind(key); found != shapes.cend())
        return *found;
    QImage image(device, device, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QSvgRenderer renderer(preparedSvg(entry, weight));
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, device, device));
    }
    if (shapes.size() > 512) // a few hundred symbol sizes: far more than the interface draws
        shapes.clear();
    shapes.insert(key, image);
    return image;
}

QPixmap render(const Entry &entry, const QColor &color, int size, qreal dpr, SymbolWeight weight)
{
    const QString key = u"orvane-symbol:%1:%2:%3:%4:%5"_s.arg(entry.symbol, QString::number(color.rgba(), 16),
        QString::number(size), QString::number(dpr), QString::number(int(weight)));
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;

    const int device = qMax(1, qRound(size * dpr));
    QImage image = shape(entry, device, weight);
    {
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), color);
    }
    pixmap = QPixmap::fromImage(std::move(image));
    pixmap.setDevicePixelRatio(dpr);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

class SymbolIconEngine final : public QIconEngine {
public:
    SymbolIconEngine(const Entry &entry, const QColor &color, SymbolWeight weight)
        : m_entry(entry), m_color(color), m_weight(weight)
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        const int side = qMin(rect.width(), rect.height());
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        const QPixmap pixmap = render(m_entry, colorFor(mode), side, dpr, m_weight);
        const QRect target(rect.x() + (rect.width() - side) / 2, rect.y() + (rect.height() - side) / 2, side, side);
        painter->drawPixmap(target, pixmap);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State, qreal scale) override
    {
        return render(m_entry, colorFor(mode), qMin(size.width(), size.height()), scale, m_weight);
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = qMin(size.width(), size.height());
        return { side, side };
    }

    QIconEngine *clone() const override { return new SymbolIconEngine(*this); }
    QString key() const override { return u"orvane-symbol"_s; }
    QString iconName() override { return m_entry.symbol.toString(); }

private:
    QColor colorFor(QIcon::Mode mode) const
    {
        if (mode != QIcon::Disabled)
            return m_color;
        QColor dimmed = m_color;
        dimmed.setAlphaF(m_color.alphaF() * 0.4f);
        return dimmed;
    }

    Entry m_entry;
    QColor m_color;
    SymbolWeight m_weight;
};

const Entry *findOrWarn(QStringView symbol)
{
    const Entry *entry = find(symbol);
    if (!entry)
        qWarning("No icon for the symbol \"%s\": add it to Symbols.def", qUtf8Printable(symbol.toString()));
    return entry;
}

} // namespace

QStringList symbolNames()
{
    QStringList names;
    names.reserve(qsizetype(entries.size()));
    for (const Entry &entry : entries)
        names.append(entry.symbol.toString());
    return names;
}

bool hasSymbol(QStringView symbol)
{
    return find(symbol) != nullptr;
}

QString symbolIconName(QStringView symbol)
{
    const Entry *entry = find(symbol);
    return entry ? entry->icon.toString() : QString();
}

QString symbolResourcePath(QStringView symbol)
{
    const Entry *entry = find(symbol);
    return entry ? resourcePath(*entry) : QString();
}

QPixmap symbolPixmap(QStringView symbol, const QColor &color, int size, qreal devicePixelRatio, SymbolWeight weight)
{
    const Entry *entry = findOrWarn(symbol);
    if (!entry || size <= 0)
        return {};
    return render(*entry, color, size, devicePixelRatio, weight);
}

QIcon symbolIcon(QStringView symbol, const QColor &color, SymbolWeight weight)
{
    const Entry *entry = findOrWarn(symbol);
    if (!entry)
        return {};
    return QIcon(new SymbolIconEngine(*entry, color, weight));
}

} // namespace orvane::ui
