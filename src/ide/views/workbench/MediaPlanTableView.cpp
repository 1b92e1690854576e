#include "ide/views/workbench/MediaPlanTableView.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/ThreadList.h"
#include "ide/views/kit/Card.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/KickerLabel.h"
#include "ide/views/kit/SymbolView.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/window/WindowPrimitives.h"
#include "ide/views/workbench/MediaPlanTableDelegate.h"
#include "ide/views/workbench/MediaPlanTableModel.h"
#include "ide/views/workbench/WorkbenchFormat.h"
#include "ide/views/workbench/WorkbenchThreadBinding.h"
#include "ide/views/workbench/WorkbenchWidgets.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStringBuilder>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace orvane {

// A table that keeps a margin free at the right of its viewport, beside its header and rows (the
// table's own geometry update sets every viewport margin but the header's to nothing).
class EdgeReservingTable final : public QTableView {
public:
    EdgeReservingTable(const ThemeSource &theme, QWidget *parent) : QTableView(parent), m_theme(&theme) { }

    void reserveRightEdge(int width)
    {
        if (width == m_reserved)
            return;
        m_reserved = width;
        updateGeometries();
    }
    [[nodiscard]] int reservedRightEdge() const { return m_reserved; }

protected:
    void scrollContentsBy(int dx, int dy) override
    {
        QTableView::scrollContentsBy(dx, dy);
        // Cells and titles are shortened against the viewport's edges: pixels moved sideways would
        // keep the cuts drawn for the old offset, so a sideways scroll paints rows and titles anew.
        if (dx != 0) {
            viewport()->update();
            horizontalHeader()->viewport()->update();
        }
    }

    // Tab leaves the table: the arrow keys move between cells, typing or Return edits one.
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
            // Ctrl+Tab leaves as Tab does; a Tab the window did not take never edits a cell.
            if (event->modifiers() & Qt::ControlModifier)
                leave(event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier));
            else
                event->ignore();
            return;
        }
        const bool returnKey = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (returnKey && state() != EditingState && currentIndex().isValid()
            && edit(currentIndex(), EditKeyPressed, event)) {
            return;
        }
        QTableView::keyPressEvent(event);
    }

    // A click opens the field of a name or audience cell, whether or not the keyboard was already
    // there; the arrows only move between cells.
    void mousePressEvent(QMouseEvent *event) override
    {
        QTableView::mousePressEvent(event);
        const QModelIndex index = indexAt(event->position().toPoint());
        if (event->button() == Qt::LeftButton && index.isValid() && index == currentIndex()
            && index.flags().testFlag(Qt::ItemIsEditable) && state() != EditingState) {
            edit(index, AllEditTriggers, nullptr);
        }
    }

    // Tab in a cell's field leaves the table too, rather than opening the next cell.
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override
    {
        const bool onward = hint == QAbstractItemDelegate::EditNextItem;
        if (!onward && hint != QAbstractItemDelegate::EditPreviousItem) {
            QTableView::closeEditor(editor, hint);
            return;
        }
        const bool hadFocus = editor && editor->hasFocus();
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        if (hadFocus)
            leave(onward);
    }

    // The current cell shows the keyboard's ring while the table has the focus (not while its
    // field is open: the field shows it then). Drawn over the rows, as it reaches into the gap of
    // the cell before.
    void paintEvent(QPaintEvent *event) override
    {
        QTableView::paintEvent(event);
        const QModelIndex current = currentIndex();
        if (!hasFocus() || !current.isValid() || state() == EditingState || isColumnHidden(current.column())
            || !m_theme)
            return;
        QPainter painter(viewport());
        const OrvaneWebTheme theme = m_theme->theme();
        paintButtonFocusRing(painter, media_plan_layout::focusRect(visualRect(current), current.column()), theme,
            theme.panelBackground());
    }

    // The ring reaches past its cell's rectangle, which is all the view repaints by itself.
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override
    {
        QTableView::currentChanged(current, previous);
        viewport()->update();
    }
    void focusInEvent(QFocusEvent *event) override
    {
        // The keyboard arrives on a cell: the first one when none is current (the toolkit picks
        // one only the first time, not after the rows were replaced).
        if (event->reason() != Qt::MouseFocusReason && !currentIndex().isValid() && selectionModel()) {
            const QModelIndex first = moveCursor(MoveNext, Qt::NoModifier);
            if (first.isValid() && first.flags().testFlag(Qt::ItemIsEnabled))
                selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        }
        QTableView::focusInEvent(event);
        viewport()->update();
    }
    void focusOutEvent(QFocusEvent *event) override
    {
        QTableView::focusOutEvent(event);
        viewport()->update();
    }

    void updateGeometries() override
    {
        QTableView::updateGeometries();
        QMargins margins = viewportMargins();
        if (margins.right() == m_reserved)
            return;
        margins.setRight(m_reserved);
        setViewportMargins(margins);
        QTableView::updateGeometries();
    }

private:
    void leave(bool onward)
    {
        // Without Tab navigation between the cells, this follows the window's focus chain.
        focusNextPrevChild(onward);
    }

    QPointer<const ThemeSource> m_theme;
    int m_reserved = 0;
};

const QString MediaPlanTableView::optimizePrompt
    = u"Rebalance the media plan table to add a high-intent Google Search exact-match conquest flight."_s;

MediaPlanTableView::MediaPlanTableView(const WorkspaceViewContext &context, QWidget *parent)
    : QWidget(parent),
      m_context(context),
      m_binding(new WorkbenchThreadBinding(*context.model, this)),
      m_tableModel(new MediaPlanTableModel(*m_binding, this))
{
    setObjectName(u"mediaPlanTableView"_s);
    const ThemeSource &theme = *context.theme;
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // Header bar.
    auto *bar
        = new Card(theme, Card::Look { .stroked = false, .padding = QMargins(14, 14, 14, 14), .spacing = 0 }, this);
    bar->setObjectName(u"mediaPlanHeaderBar"_s);
    // The buttons go under the titles when the column cannot hold them side by side.
    auto *barRow = new AdaptiveRow(10, bar);
    auto *titleBlock = new QWidget(barRow);
    auto *titles = new QVBoxLayout(titleBlock);
    titles->setContentsMargins(0, 0, 0, 0);
    titles->setSpacing(2);
    titles->addWidget(new KickerLabel(theme, u"MEDIA PLAN & TRAFFICKING TABLE · SYNCED TO MEDIA-PLAN.CSV"_s, bar));
    m_totals = new ThemedLabel(theme, QString(), themeFont(12, QFont::DemiBold), ThemeColor::textPrimary, bar);
    m_totals->setObjectName(u"mediaPlanTotalsLabel"_s);
    m_totals->setWordWrap(true);
    titles->addWidget(m_totals);
    barRow->addLeading(titleBlock, true);
    auto *buttons = new QWidget(barRow);
    auto *buttonRow = new QHBoxLayout(buttons);
    buttonRow->setContentsMargins(0, 0, 0, 0);
    buttonRow->setSpacing(10);

    ClickableButton::Look addLook;
    addLook.fill = ThemeColor::elevatedBackground;
    addLook.stroke = ThemeColor::borderSubtle;
    addLook.padding = QMargins(10, 6, 10, 6);
    addLook.spacing = 4;
    auto *add = new ClickableButton(theme, addLook, bar);
    add->setObjectName(u"addFlightRowButton"_s);
    add->addSymbol(u"plus"_s, ThemeColor::textPrimary, 10, ui::SymbolWeight::bold);
    ownTextColor(add->addText(u"Add Flight Row"_s, themeFont(11, QFont::Bold), ThemeColor::textPrimary));
    connect(add, &QAbstractButton::clicked, this, &MediaPlanTableView::addRow);
    buttonRow->addWidget(add);

    ClickableButton::Look optimizeLook;
    optimizeLook.fill = ThemeColor::accentLimeFill;
    optimizeLook.padding = QMargins(10, 6, 10, 6);
    optimizeLook.spacing = 4;
    auto *optimizeButton = new ClickableButton(theme, optimizeLook, bar);
    optimizeButton->setObjectName(u"aiOptimizeTableButton"_s);
    SymbolView *sparkles
        = optimizeButton->addSymbol(u"sparkles"_s, ThemeColor::textPrimary, 10, ui::SymbolWeight::bold);
    sparkles->setFixedColor(Qt::black);
    ownTextColor(optimizeButton->addText(u"AI Optimize Table"_s, themeFont(11, QFont::Bold), QColor(Qt::black)));
    connect(optimizeButton, &QAbstractButton::clicked, this, &MediaPlanTableView::optimize);
    buttonRow->addWidget(optimizeButton);
    barRow->addTrailing(buttons);
    bar->contentLayout()->addWidget(barRow);
    column->addWidget(bar);
    column->addWidget(new ThemeDivider(theme, Qt::Horizontal, this));

    // The spreadsheet; its header is the column strip.
    m_table = new EdgeReservingTable(theme, this);
    m_table->setObjectName(u"mediaPlanTable"_s);
    m_table->setAccessibleName(u"Media Plan"_s);
    setUpSheet(m_table);
    m_table->horizontalHeader()->setSectionResizeMode(MediaPlanTableModel::spacer, QHeaderView::Stretch);
    m_table->setFocusPolicy(Qt::StrongFocus);
    m_table->setTabKeyNavigation(false);
    // No field opens as the current cell changes: an arrow moves the keyboard on to the next cell
    // rather than into its field. Return, F2, typing or a click open one.
    m_table->setEditTriggers(
        QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    column->addWidget(m_table, 1);

    // When the columns are wider than the table, the status and the delete button stay in view: a
    // second view of the same rows, showing only those two columns, is pinned in a margin kept free
    // at the table's right edge, and the table hides its own two (and the spacer between them)
    // while the rest scrolls sideways beside it.
    m_pinned = new QTableView(m_table);
    m_pinned->setObjectName(u"mediaPlanPinnedColumns"_s);
    m_pinned->setAccessibleName(u"Media Plan Status"_s);
    setUpSheet(m_pinned);
    // The spacer goes first there, as the gap between the rule and the status.
    for (int i = 0; i < MediaPlanTableModel::columnCount_; ++i) {
        m_pinned->setColumnHidden(i,
            i != MediaPlanTableModel::status && i != MediaPlanTableModel::spacer && i != MediaPlanTableModel::actions);
    }
    QHeaderView *pinnedHeader = m_pinned->horizontalHeader();
    pinnedHeader->moveSection(
        pinnedHeader->visualIndex(MediaPlanTableModel::spacer), pinnedHeader->visualIndex(MediaPlanTableModel::status));
    pinnedHeader->resizeSection(MediaPlanTableModel::spacer, media_plan_layout::cellGap);
    m_pinned->setFocusPolicy(Qt::NoFocus);
    m_pinned->horizontalHeader()->setFocusPolicy(Qt::NoFocus);
    m_pinned->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pinned->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pinned->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pinned->hide();
    m_pinRule = new ThemeDivider(theme, Qt::Vertical, m_table);
    m_pinRule->setObjectName(u"mediaPlanPinnedRule"_s);
    m_pinRule->hide();
    connect(
        m_table->verticalScrollBar(), &QScrollBar::valueChanged, m_pinned->verticalScrollBar(), &QScrollBar::setValue);
    connect(
        m_pinned->verticalScrollBar(), &QScrollBar::valueChanged, m_table->verticalScrollBar(), &QScrollBar::setValue);
    m_table->viewport()->installEventFilter(this);

    connect(m_tableModel, &QAbstractItemModel::modelReset, this, &MediaPlanTableView::refreshTotals);
    connect(m_tableModel, &QAbstractItemModel::rowsInserted, this, &MediaPlanTableView::refreshTotals);
    connect(m_tableModel, &QAbstractItemModel::rowsRemoved, this, &MediaPlanTableView::refreshTotals);
    connect(m_tableModel, &QAbstractItemModel::dataChanged, this, &MediaPlanTableView::refreshTotals);
    connect(&theme, &ThemeSource::themeChanged, this, &MediaPlanTableView::applyTheme);
    applyTheme();
    refreshTotals();
}

void MediaPlanTableView::setUpSheet(QTableView *sheet)
{
    const ThemeSource &theme = *m_context.theme;
    sheet->setModel(m_tableModel);
    auto *header = new MediaPlanHeaderView(theme, sheet);
    sheet->setHorizontalHeader(header);
    sheet->setItemDelegate(new MediaPlanTableDelegate(theme, sheet));
    for (int i = 0; i < MediaPlanTableModel::columnCount_; ++i) {
        if (i != MediaPlanTableModel::spacer)
            header->resizeSection(i, media_plan_layout::sectionWidth(i));
    }
    header->setMinimumSectionSize(0);
    sheet->verticalHeader()->hide();
    sheet->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sheet->verticalHeader()->setDefaultSectionSize(media_plan_layout::rowHeight);
    sheet->setShowGrid(false);
    sheet->setFrameShape(QFrame::NoFrame);
    sheet->setSelectionMode(QAbstractItemView::NoSelection);
    sheet->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    sheet->setWordWrap(false);
}

QTableView *MediaPlanTableView::table() const
{
    return m_table;
}

int MediaPlanTableView::pinnedWidth()
{
    return media_plan_layout::cellGap + media_plan_layout::sectionWidth(MediaPlanTableModel::status)
        + media_plan_layout::sectionWidth(MediaPlanTableModel::actions);
}

int MediaPlanTableView::fitTextColumns(int room)
{
    // The campaign name and audience give way first, alike, down to their minimum; every other
    // column keeps its width.
    constexpr int texts[] = { MediaPlanTableModel::campaignName, MediaPlanTableModel::audience };
    int fixed = 0;
    for (int i = 0; i < MediaPlanTableModel::columnCount_; ++i) {
        if (i != MediaPlanTableModel::spacer && i != texts[0] && i != texts[1])
            fixed += media_plan_layout::sectionWidth(i);
    }
    const int ideal = media_plan_layout::sectionWidth(texts[0]) + media_plan_layout::sectionWidth(texts[1]);
    const int textRoom = room - fixed;
    int widths[2] = {};
    int total = fixed;
    for (int i = 0; i < 2; ++i) {
        const int full = media_plan_layout::sectionWidth(texts[i]);
        const int least = media_plan_layout::minimumTextWidth + media_plan_layout::cellGap;
        widths[i] = textRoom >= ideal ? full : std::max(least, int(qint64(full) * std::max(textRoom, 0) / ideal));
        total += widths[i];
    }
    if (total > room) {
        // The rows scroll sideways beside the pinned columns. A column after the texts that the
        // edge cuts where the rows start, too narrow there for its title, is pushed out of view by
        // the texts taking its part: no column rests as a sliver with "…" for a title.
        const int edge = room - pinnedWidth() - 1;
        int left = media_plan_layout::sectionWidth(MediaPlanTableModel::channel) + widths[0] + widths[1];
        for (int column = MediaPlanTableModel::dailyBudget; column < MediaPlanTableModel::status && left < edge;
             ++column) {
            const int right = left + media_plan_layout::sectionWidth(column);
            if (right > edge) {
                const int part = edge - left;
                const QRect shown = media_plan_layout::contentRect(QRect(0, 0, part, 1), column);
                const int title = QFontMetrics(MediaPlanHeaderView::titleFont())
                                      .horizontalAdvance(MediaPlanTableModel::columnTitle(column));
                if (shown.width() < title) {
                    const int first = part / 2;
                    widths[0] += first;
                    widths[1] += part - first;
                    total += part;
                }
                break;
            }
            left = right;
        }
    }
    QHeaderView *header = m_table->horizontalHeader();
    for (int i = 0; i < 2; ++i) {
        if (header->sectionSize(texts[i]) != widths[i])
            header->resizeSection(texts[i], widths[i]);
    }
    return total;
}

void MediaPlanTableView::placePinnedColumns()
{
    // The room is the viewport's width with the pin's margin given back, so that pinning does not
    // change what decides it.
    const int room = m_table->viewport()->width() + m_table->reservedRightEdge();
    const bool pinned = fitTextColumns(room) > room;
    for (const int column : { MediaPlanTableModel::status, MediaPlanTableModel::spacer, MediaPlanTableModel::actions })
        m_table->setColumnHidden(column, pinned);
    // The rule before the pinned columns is part of the margin.
    m_table->reserveRightEdge(pinned ? pinnedWidth() + 1 : 0);
    m_pinned->setVisible(pinned);
    m_pinRule->setVisible(pinned);
    if (!pinned)
        return;
    const QRect viewport = m_table->viewport()->geometry();
    const int top = m_table->horizontalHeader()->geometry().top();
    const int left = viewport.right() + 1;
    m_pinRule->setGeometry(left, top, 1, viewport.bottom() + 1 - top);
    m_pinned->setGeometry(left + 1, top, pinnedWidth(), viewport.bottom() + 1 - top);
    m_pinned->verticalScrollBar()->setValue(m_table->verticalScrollBar()->value());
}

bool MediaPlanTableView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table->viewport() && event->type() == QEvent::Resize) {
        fitTextColumns(m_table->viewport()->width() + m_table->reservedRightEdge());
        // Pinned once the table has laid out its header and viewport for the new size.
        QMetaObject::invokeMethod(this, &MediaPlanTableView::placePinnedColumns, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

void MediaPlanTableView::refreshTotals()
{
    const std::optional<CampaignIDEThread> thread = m_binding->thread();
    const CampaignIDEThread shown = thread.value_or(CampaignIDEThread {});
    m_totals->setText(workbench::plainNumber(shown.mediaPlanRows.size()) % u" Flights · "_s
        % workbench::plainDollars(shown.totalDailyBudget()) % u"/day ("_s
        % workbench::groupedDollars(shown.totalMonthlyBudget()) % u"/mo) · Blended Target CPA "_s
        % workbench::plainDollars(shown.blendedTargetCPA()));
}

void MediaPlanTableView::addRow()
{
    if (const std::optional<QUuid> id = m_binding->threadID())
        m_context.model->addMediaPlanRow(*id);
}

void MediaPlanTableView::optimize()
{
    // The tab comes from the thread read whole: the copy shown while a large body is still being
    // read has no tabs. A thread without agent tabs answers with a stand-in tab that no operation
    // finds: no turn.
    const std::optional<QUuid> id = m_binding->threadID();
    const CampaignIDEThread *thread = id ? m_context.model->threadList().wholeThread(*id) : nullptr;
    if (!thread)
        return;
    const QUuid threadID = thread->id;
    const QUuid tabID = thread->activeAgentTab().id;
    m_context.model->sendMessageInThread(threadID, tabID, optimizePrompt, m_context.session);
}

void MediaPlanTableView::applyTheme()
{
    const OrvaneWebTheme theme = m_context.theme->theme();
    QPalette palette = theme.palette();
    palette.setColor(QPalette::Base, theme.canvasBackground());
    palette.setColor(QPalette::Window, theme.canvasBackground());
    m_table->setPalette(palette);
    m_table->viewport()->update();
    m_pinned->setPalette(palette);
    m_pinned->viewport()->update();
}

} // namespace orvane
