#pragma once

// Finds the symbol names that code passes as string literals to the symbol API, so a test can
// check that every one of them has an icon. Header-only: any test suite can include it.
//
//   for (const auto &use : orvane::test::symbolLiteralsUnder(u"/path/to/src"_s))
//       EXPECT_TRUE(orvane::ui::hasSymbol(use.symbol)) << use.where().toStdString();
//
// Names that reach the API through variables (tables of rows, record fields) are not found here;
// check such tables with unmappedSymbols().

#include "platform/ui/Symbols.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace orvane::test {

struct SymbolUse {
    QString file;
    int line = 0;
    QString symbol;

    [[nodiscard]] QString where() const { return file + u':' + QString::number(line) + u": " + symbol; }
};

// The calls whose arguments name symbols.
inline const QStringList &symbolFunctionNames()
{
    static const QStringList names { QStringLiteral("symbolIcon"), QStringLiteral("symbolPixmap"),
        QStringLiteral("symbolResourcePath"), QStringLiteral("addSymbol"), QStringLiteral("setSymbol"),
        QStringLiteral("SymbolView") };
    return names;
}

// Every string literal inside the argument lists of those calls in one source text (ternaries and
// wrapped literals such as QStringLiteral("x") or u"x"_s included).
inline QList<SymbolUse> symbolLiteralsIn(const QString &source, const QString &file)
{
    static const QRegularExpression call(
        QStringLiteral("\\b(?:") + symbolFunctionNames().join(u'|') + QStringLiteral(")\\s*\\("));
    static const QRegularExpression literal(QStringLiteral(R"re("((?:[^"\\]|\\.)*)")re"));
    QList<SymbolUse> uses;
    auto it = call.globalMatch(source);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        // The argument list up to the matching parenthesis, skipping over string literals.
        qsizetype depth = 1;
        qsizetype end = match.capturedEnd();
        for (bool inString = false; end < source.size() && depth > 0; ++end) {
            const QChar c = source.at(end);
            if (inString) {
                if (c == u'\\')
                    ++end;
                else if (c == u'"')
                    inString = false;
            } else if (c == u'"') {
                inString = true;
            } else if (c == u'(') {
                ++depth;
            } else if (c == u')') {
                --depth;
            }
        }
        const QString arguments = source.mid(match.capturedEnd(), end - match.capturedEnd());
        auto literals = literal.globalMatch(arguments);
        while (literals.hasNext()) {
            const QRegularExpressionMatch found = literals.next();
            const int line = int(source.left(match.capturedEnd() + found.capturedStart()).count(u'\n')) + 1;
            uses.append({ file, line, found.captured(1) });
        }
    }
    return uses;
}

// The uses in every .h and .cpp file under `root`.
inline QList<SymbolUse> symbolLiteralsUnder(const QString &root)
{
    QList<SymbolUse> uses;
    QDirIterator files(
        root, { QStringLiteral("*.h"), QStringLiteral("*.cpp") }, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        uses += symbolLiteralsIn(QString::fromUtf8(file.readAll()), path);
    }
    return uses;
}

// The names of `names` that have no icon.
inline QStringList unmappedSymbols(const QStringList &names)
{
    QStringList unmapped;
    for (const QString &name : names) {
        if (!ui::hasSymbol(name))
            unmapped.append(name);
    }
    return unmapped;
}

} // namespace orvane::test
