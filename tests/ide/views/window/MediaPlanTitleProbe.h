#pragma once

#include "ide/views/workbench/MediaPlanTableDelegate.h"
#include "ide/views/workbench/MediaPlanTableModel.h"
#include "ide/views/workbench/MediaPlanTableView.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QSet>
#include <QTableView>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace orvane::windowtest {

// The column titles of the media-plan table as a user reads them: what each header (the table's
// and, while it shows, the pinned one's) draws of each title, and where, in the view's coordinates.
struct ShownTitle {
    QString title;
    QString text; // as drawn: the title, or a part of it with "…" where an edge cuts it
    QRect drawn;
    QRect header; // the header's viewport
    bool pinned;
};

inline QList<ShownTitle> shownTitles(MediaPlanTableView *view)
{
    QList<ShownTitle> shown;
    for (QTableView *sheet : { view->table(), view->pinnedColumns() }) {
        if (!sheet->isVisible())
            continue;
        auto *header = qobject_cast<MediaPlanHeaderView *>(sheet->horizontalHeader());
        const QPoint origin = header->viewport()->mapTo(view, QPoint());
        for (int column = 0; column < header->count(); ++column) {
            const QString title = MediaPlanTableModel::columnTitle(column);
            const media_plan_layout::FittedText drawn = header->drawnTitle(column);
            if (!title.isEmpty() && !drawn.text.isEmpty()) {
                shown.append({ title, drawn.text, drawn.rect.translated(origin),
                    QRect(origin, header->viewport()->size()), sheet == view->pinnedColumns() });
            }
        }
    }
    return shown;
}

// Scrolled to either end, every title of the table shows once, the pinned columns lie beside the
// table (not over its rows, header or scroll bar), and a title that an edge of the table cuts ends
// in "…" there; scrolling across, each title whose column fits in the view reads whole somewhere. `keep` keeps a
// picture at each end ("ScrolledToTheStart", "ScrolledToTheEnd").
inline void expectMediaPlanTitlesWholeBesideThePin(
    MediaPlanTableView *view, const std::function<void(const QString &)> &keep)
{
    using namespace Qt::StringLiterals;
    QTableView *table = view->table();
    QScrollBar *sideways = table->horizontalScrollBar();
    QStringList titles;
    for (int column = 0; column < MediaPlanTableModel::columnCount_; ++column) {
        if (!MediaPlanTableModel::columnTitle(column).isEmpty())
            titles.append(MediaPlanTableModel::columnTitle(column));
    }
    const QFontMetrics metrics(MediaPlanHeaderView::titleFont());
    QSet<QString> wholeSomewhere;
    const auto checkTitles = [&](const std::string &where) {
        const QRect pin(view->pinnedColumns()->mapTo(view, QPoint()), view->pinnedColumns()->size());
        for (const ShownTitle &each : shownTitles(view)) {
            const std::string what = where + ": " + each.title.toStdString() + " drawn as " + each.text.toStdString();
            EXPECT_TRUE(each.header.contains(each.drawn)) << what;
            EXPECT_LE(metrics.horizontalAdvance(each.text), each.drawn.width()) << what;
            EXPECT_FALSE(!each.pinned && each.drawn.intersects(pin)) << what << " lies under the pinned columns";
            if (each.text == each.title) {
                wholeSomewhere.insert(each.title);
            } else {
                QString part = each.text;
                EXPECT_TRUE(part.startsWith(u'…') || part.endsWith(u'…')) << what;
                part.remove(u'…');
                EXPECT_TRUE(each.title.contains(part)) << what;
            }
        }
    };
    for (const bool atEnd : { false, true }) {
        sideways->setValue(atEnd ? sideways->maximum() : sideways->minimum());
        QCoreApplication::processEvents();
        const std::string where = atEnd ? "scrolled to the end" : "scrolled to the start";
        ASSERT_TRUE(view->pinnedColumns()->isVisible()) << where << ": the columns are wider than the view";
        const QRect pin(view->pinnedColumns()->mapTo(view, QPoint()), view->pinnedColumns()->size());
        for (QWidget *part : { static_cast<QWidget *>(table->horizontalHeader()->viewport()), table->viewport(),
                 static_cast<QWidget *>(table->verticalScrollBar()) }) {
            const QRect inView(part->mapTo(view, QPoint()), part->size());
            EXPECT_FALSE(inView.intersects(pin)) << where << ": the pinned columns lie over the table";
        }
        EXPECT_TRUE(QRect(table->mapTo(view, QPoint()), table->size()).contains(pin)) << where;
        const QList<ShownTitle> shown = shownTitles(view);
        for (const QString &title : titles) {
            const auto count = std::count_if(
                shown.cbegin(), shown.cend(), [&](const ShownTitle &each) { return each.title == title; });
            EXPECT_LE(count, 1) << where << ": " << title.toStdString() << " shows " << count << " times";
        }
        checkTitles(where);
        keep(atEnd ? u"ScrolledToTheEnd"_s : u"ScrolledToTheStart"_s);
    }
    for (int value = sideways->minimum(); value < sideways->maximum(); value += sideways->pageStep() / 4) {
        sideways->setValue(value);
        QCoreApplication::processEvents();
        checkTitles("scrolled to " + std::to_string(value));
    }
    // A title whose column the view can hold reads whole somewhere.
    for (int column = 0; column < MediaPlanTableModel::columnCount_; ++column) {
        const QString title = MediaPlanTableModel::columnTitle(column);
        if (!title.isEmpty() && table->columnWidth(column) <= table->viewport()->width()) {
            EXPECT_TRUE(wholeSomewhere.contains(title)) << title.toStdString() << " is never whole";
        }
    }
}

} // namespace orvane::windowtest
