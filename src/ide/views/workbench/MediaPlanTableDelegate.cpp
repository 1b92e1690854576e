#include "ide/views/workbench/MediaPlanTableDelegate.h"

#include "ide/views/kit/CappedTextEdit.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/workbench/MediaPlanTableModel.h"
#include "platform/ui/Symbols.h"

#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStringBuilder>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace orvane {

using Column = MediaPlanTableModel::Column;

namespace media_plan_layout {

int sectionWidth(int column)
{
    if (column == Column::actions)
        return MediaPlanTableModel::contentWidth(column) + rowLead;
    return MediaPlanTableModel::contentWidth(column) + cellGap + (column == 0 ? rowLead : 0);
}

QRect contentRect(const QRect &cell, int column)
{
    // The cell less its lead and gap, so that a text column that gave way keeps its gap.
    const int lead = column == 0 || column == Column::actions ? rowLead : 0;
    const int gap = column == Column::actions ? 0 : cellGap;
    const int width = column == Column::spacer ? 0 : std::max(0, cell.width() - lead - gap);
    return QRect(cell.left() + (column == Column::actions ? 0 : lead), cell.top(), width, cell.height());
}

QRect stepperRect(const QRect &cell)
{
    const QRect content = contentRect(cell, Column::dailyBudget);
    return QRect(content.right() - 13, content.center().y() - 10, 14, 20);
}

QRect deleteRect(const QRect &cell)
{
    return QRect(cell.left(), cell.center().y() - 11, 22, 22);
}

QRect focusRect(const QRect &cell, int column)
{
    if (column == Column::actions)
        return deleteRect(cell).adjusted(-4, -4, 4, 4);
    // The ring is drawn a pixel inside this rectangle, 2 pixels wide: 3 pixels from the content.
    return contentRect(cell, column).adjusted(-6, 3, 6, -4);
}

FittedText fitText(const QString &text, const QFontMetrics &metrics, const QRect &rect, const QRect &viewport)
{
    QString shown = metrics.elidedText(labelText(text), Qt::ElideRight, rect.width());
    QRect drawn(rect.left(), rect.top(), std::min(metrics.horizontalAdvance(shown), rect.width()), rect.height());
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    if (drawn.right() > viewport.right()) {
        drawn.setRight(viewport.right() - cellGap);
        shown = metrics.elidedText(shown, Qt::ElideRight, std::max(0, drawn.width()));
    }
    if (drawn.left() < viewport.left()) {
        // What shows is the end of the text, where it would end uncut.
        drawn.setLeft(viewport.left());
        shown = metrics.elidedText(shown, Qt::ElideLeft, std::max(0, drawn.width()));
        alignment = Qt::AlignRight | Qt::AlignVCenter;
    }
    // Narrower than even "…": nothing rather than a sliver of a glyph.
    if (drawn.width() <= 0 || metrics.horizontalAdvance(shown) > drawn.width())
        shown.clear();
    return { shown, drawn, alignment };
}

} // namespace media_plan_layout

namespace {

// The text a cell's field opened with, kept on the field.
constexpr char openedTextProperty[] = "openedText";

struct CellLook {
    QFont font;
    ThemeColor color;
};

CellLook cellLook(int column)
{
    switch (column) {
    case Column::channel:
        return { themeFont(11, QFont::Bold), ThemeColor::accentCyan };
    case Column::campaignName:
        return { themeFont(11, QFont::DemiBold, true), ThemeColor::textPrimary };
    case Column::audience:
        return { themeFont(11), ThemeColor::textSecondary };
    case Column::dailyBudget:
        return { themeFont(11, QFont::Bold, true), ThemeColor::accentLime };
    case Column::monthlyBudget:
        return { themeFont(11, QFont::Normal, true), ThemeColor::textPrimary };
    case Column::targetCPA:
        return { themeFont(11, QFont::Normal, true), ThemeColor::textSecondary };
    case Column::estimatedConversions:
        return { themeFont(11, QFont::DemiBold, true), ThemeColor::accentEmerald };
    default:
        return { themeFont(9, QFont::Bold, true), ThemeColor::textMuted };
    }
}

void drawChevron(QPainter *painter, const QRect &box, bool up, const QColor &color)
{
    const QPointF c = QRectF(box).center();
    QPainterPath path;
    const qreal w = 3, h = 2;
    if (up) {
        path.moveTo(c.x() - w, c.y() + h / 2);
        path.lineTo(c.x(), c.y() - h / 2);
        path.lineTo(c.x() + w, c.y() + h / 2);
    } else {
        path.moveTo(c.x() - w, c.y() - h / 2);
        path.lineTo(c.x(), c.y() + h / 2);
        path.lineTo(c.x() + w, c.y() - h / 2);
    }
    painter->setPen(QPen(color, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(path);
}

} // namespace

MediaPlanTableDelegate::MediaPlanTableDelegate(const ThemeSource &theme, QObject *parent)
    : QStyledItemDelegate(parent), m_theme(&theme)
{
}

QString MediaPlanTableDelegate::placeholderText(int column)
{
    return column == Column::campaignName ? u"Campaign Name"_s : u"Audience"_s;
}

void MediaPlanTableDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!m_theme)
        return;
    const OrvaneWebTheme theme = m_theme->theme();
    const int column = index.column();
    const QRect cell = option.rect;
    painter->save();
    painter->fillRect(cell, theme.panelBackground());
    painter->setPen(QPen(theme.borderSubtle(), 1));
    painter->drawLine(cell.bottomLeft(), cell.bottomRight());

    const QRect content = media_plan_layout::contentRect(cell, column);
    const QString text = index.data(Qt::DisplayRole).toString();
    const CellLook look = cellLook(column);
    painter->setFont(look.font);
    const QFontMetrics metrics(look.font);

    if (column == Column::status) {
        const QString shown = metrics.elidedText(labelText(text), Qt::ElideRight, content.width() - 12);
        const QRect badge(content.left(), content.center().y() - (metrics.height() + 6) / 2,
            metrics.horizontalAdvance(shown) + 12, metrics.height() + 6);
        painter->fillRect(badge, theme.elevatedBackground());
        const bool ready = index.data(MediaPlanTableModel::StatusReadyRole).toBool();
        painter->setPen(ready ? theme.accentEmerald() : theme.accentAmber());
        painter->drawText(badge, Qt::AlignCenter, shown);
    } else if (column == Column::actions) {
        const QRect button = media_plan_layout::deleteRect(cell);
        const QPixmap trash = ui::symbolPixmap(u"trash", theme.textMuted(), 10, painter->device()->devicePixelRatioF());
        painter->drawPixmap(QRect(button.center() - QPoint(4, 4), QSize(10, 10)), trash);
    } else if (column != Column::spacer) {
        QRect textRect = content;
        if (column == Column::dailyBudget) {
            const QRect stepper = media_plan_layout::stepperRect(cell);
            textRect.setRight(stepper.left() - 4);
            painter->setPen(QPen(theme.borderSubtle(), 1));
            painter->setBrush(theme.elevatedBackground());
            painter->drawRect(QRectF(stepper).adjusted(0.5, 0.5, -0.5, -0.5));
            const QRect upper(stepper.left(), stepper.top(), stepper.width(), stepper.height() / 2);
            const QRect lower(stepper.left(), upper.bottom() + 1, stepper.width(), stepper.height() / 2);
            drawChevron(painter, upper, true, theme.textSecondary());
            drawChevron(painter, lower, false, theme.textSecondary());
        }
        // The editable texts sit where their field's text will be; an empty one shows the
        // field's placeholder.
        const bool editable = column == Column::campaignName || column == Column::audience;
        if (editable)
            textRect.adjust(2, 0, 0, 0);
        const bool placeholder = editable && text.isEmpty();
        painter->setPen(placeholder ? theme.textMuted() : theme.color(look.color));
        painter->setFont(look.font);
        const auto *view = qobject_cast<const QAbstractScrollArea *>(option.widget);
        const media_plan_layout::FittedText fitted = media_plan_layout::fitText(
            placeholder ? placeholderText(column) : text, metrics, textRect, view ? view->viewport()->rect() : cell);
        painter->drawText(fitted.rect, int(fitted.alignment), fitted.text);
    }
    painter->restore();
}

QSize MediaPlanTableDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const
{
    return QSize(media_plan_layout::sectionWidth(index.column()), media_plan_layout::rowHeight);
}

QWidget *MediaPlanTableDelegate::createEditor(
    QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    if (index.column() != Column::campaignName && index.column() != Column::audience)
        return nullptr;
    // A long paste is kept whole and shown cut, as in the other single-line fields.
    auto *field = new CappedLineEdit(parent);
    field->setObjectName(index.column() == Column::campaignName ? u"campaignNameCellField"_s : u"audienceCellField"_s);
    field->setFrame(false);
    field->setPlaceholderText(placeholderText(index.column()));
    field->setAccessibleName(index.model()->headerData(index.column(), Qt::Horizontal).toString());
    const CellLook look = cellLook(index.column());
    field->setFont(look.font);
    if (m_theme) {
        const OrvaneWebTheme theme = m_theme->theme();
        QPalette palette = theme.palette();
        palette.setColor(QPalette::Base, theme.elevatedBackground());
        palette.setColor(QPalette::Text, theme.color(look.color));
        field->setPalette(palette);
    }
    // Every keystroke reaches the model, as the field is typed in; Escape gives back this text.
    field->setProperty(openedTextProperty, index.data(Qt::EditRole));
    auto *self = const_cast<MediaPlanTableDelegate *>(this);
    connect(field, &QLineEdit::textEdited, self, [self, field] { Q_EMIT self->commitData(field); });
    return field;
}

void MediaPlanTableDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *field = qobject_cast<CappedLineEdit *>(editor);
    if (!field)
        return;
    const QString text = index.data(Qt::EditRole).toString();
    if (field->fullText() != text)
        field->showText(text);
}

void MediaPlanTableDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *field = qobject_cast<CappedLineEdit *>(editor);
    if (field && field->fullText() != index.data(Qt::EditRole).toString())
        model->setData(index, field->fullText(), Qt::EditRole);
}

bool MediaPlanTableDelegate::eventFilter(QObject *object, QEvent *event)
{
    // The keystrokes are in the row already: Escape puts back what the field opened with, through
    // the same row update, before the field closes without committing.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Cancel)) {
        if (auto *field = qobject_cast<CappedLineEdit *>(object)) {
            field->showText(field->property(openedTextProperty).toString());
            Q_EMIT commitData(field);
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

void MediaPlanTableDelegate::updateEditorGeometry(
    QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QRect content = media_plan_layout::contentRect(option.rect, index.column());
    editor->setGeometry(content.adjusted(0, 8, 0, -8));
}

bool MediaPlanTableDelegate::editorEvent(
    QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option, const QModelIndex &index)
{
    auto *table = qobject_cast<MediaPlanTableModel *>(model);
    if (!table || !index.isValid())
        return false;
    const int column = index.column();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        const QPoint at = mouse->position().toPoint();
        if (column == Column::dailyBudget && media_plan_layout::stepperRect(option.rect).contains(at)) {
            // One step per click as the button goes down: the second press of a quick pair comes
            // as a double click.
            if (event->type() != QEvent::MouseButtonRelease)
                table->stepDailyBudget(
                    index.row(), at.y() < media_plan_layout::stepperRect(option.rect).center().y() ? 1 : -1);
            return true;
        }
        if (column == Column::actions && media_plan_layout::deleteRect(option.rect).contains(at)) {
            if (event->type() == QEvent::MouseButtonRelease) {
                // The row goes away after the view has finished with this click.
                const QUuid id = index.data(MediaPlanTableModel::RowIDRole).toUuid();
                QMetaObject::invokeMethod(
                    table,
                    [table, id] {
                        for (int row = 0; row < table->rows().size(); ++row) {
                            if (table->rows().at(row).id == id)
                                return table->deleteRow(row);
                        }
                    },
                    Qt::QueuedConnection);
            }
            return true;
        }
        return false;
    }
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (column == Column::dailyBudget && (key->key() == Qt::Key_Plus || key->key() == Qt::Key_Equal)) {
            table->stepDailyBudget(index.row(), 1);
            return true;
        }
        if (column == Column::dailyBudget && key->key() == Qt::Key_Minus) {
            table->stepDailyBudget(index.row(), -1);
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

MediaPlanHeaderView::MediaPlanHeaderView(const ThemeSource &theme, QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent), m_theme(&theme)
{
    setSectionsClickable(false);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Fixed);
    setMinimumSectionSize(0);
    setFixedHeight(30);
    connect(&theme, &ThemeSource::themeChanged, viewport(), qOverload<>(&QWidget::update));
}

void MediaPlanHeaderView::paintEvent(QPaintEvent *event)
{
    if (m_theme) {
        QPainter painter(viewport());
        painter.fillRect(viewport()->rect(), m_theme->theme().sidebarBackground());
        painter.setPen(QPen(m_theme->theme().borderSubtle(), 1));
        painter.drawLine(viewport()->rect().bottomLeft(), viewport()->rect().bottomRight());
    }
    QHeaderView::paintEvent(event);
}

void MediaPlanHeaderView::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (!m_theme)
        return;
    const OrvaneWebTheme theme = m_theme->theme();
    painter->save();
    painter->fillRect(rect, theme.sidebarBackground());
    painter->setPen(QPen(theme.borderSubtle(), 1));
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->setFont(titleFont());
    painter->setPen(theme.textMuted());
    const media_plan_layout::FittedText title = titleIn(rect, logicalIndex);
    painter->drawText(title.rect, int(title.alignment), title.text);
    painter->restore();
}

QFont MediaPlanHeaderView::titleFont()
{
    return themeFont(9, QFont::Bold, true);
}

media_plan_layout::FittedText MediaPlanHeaderView::drawnTitle(int logicalIndex) const
{
    if (isSectionHidden(logicalIndex))
        return {};
    return titleIn(
        QRect(sectionViewportPosition(logicalIndex), 0, sectionSize(logicalIndex), viewport()->height()), logicalIndex);
}

media_plan_layout::FittedText MediaPlanHeaderView::titleIn(const QRect &section, int logicalIndex) const
{
    const QString title = model() ? model()->headerData(logicalIndex, Qt::Horizontal).toString() : QString();
    return media_plan_layout::fitText(
        title, QFontMetrics(titleFont()), media_plan_layout::contentRect(section, logicalIndex), viewport()->rect());
}

QSize MediaPlanHeaderView::sectionSizeFromContents(int logicalIndex) const
{
    return QSize(media_plan_layout::sectionWidth(logicalIndex), 30);
}

} // namespace orvane
