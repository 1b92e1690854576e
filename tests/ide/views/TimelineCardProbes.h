#pragma once

#include "ide/views/timeline/TimelineCardLayout.h"

#include <QFontMetricsF>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <string>

namespace orvane::test {

// A wrapped text of a card breaks its lines at spaces only; inside a word only when the word alone
// is wider than the line. No line is wider than the text's place.
inline void expectBreaksAtSpaces(const TimelineCardLayout::Piece &piece, const std::string &where)
{
    ASSERT_TRUE(piece.wrapped) << where;
    const QFontMetricsF metrics(piece.font);
    for (int i = 0; i < piece.wrapped->lineCount(); ++i) {
        const QTextLine line = piece.wrapped->lineAt(i);
        EXPECT_LE(line.naturalTextWidth(), piece.rect.width() + 0.5) << where << " \"" << piece.text.toStdString();
        const qsizetype start = line.textStart();
        if (start == 0 || piece.text.at(start - 1).isSpace())
            continue;
        qsizetype first = start;
        while (first > 0 && !piece.text.at(first - 1).isSpace())
            --first;
        qsizetype last = start;
        while (last < piece.text.size() && !piece.text.at(last).isSpace())
            ++last;
        const QString word = piece.text.mid(first, last - first);
        EXPECT_GT(metrics.horizontalAdvance(word), piece.rect.width())
            << where << " \"" << piece.text.toStdString() << "\" broken inside \"" << word.toStdString() << "\" at "
            << start;
    }
}

} // namespace orvane::test
