#include "ide/views/workbench/WorkbenchWidgets.h"

#include "ide/views/kit/CappedTextEdit.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/kit/Panel.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStringBuilder>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {

namespace {

QString cssColor(const QColor &color)
{
    return u"rgba(%1, %2, %3, %4)"_s.arg(color.red()).arg(color.green()).arg(color.blue()).arg(color.alphaF());
}

QString fieldStyle(const QString &type, const OrvaneWebTheme &theme, ThemeColor fill, int padding)
{
    const QString padText = QString::number(padding);
    return type % u" { background: "_s % cssColor(theme.color(fill)) % u"; color: "_s % cssColor(theme.textPrimary())
        % u"; border: 1px solid "_s % cssColor(theme.borderSubtle()) % u"; padding: "_s % padText
        % u"px; selection-background-color: "_s % cssColor(theme.accentLimeFill()) % u"; selection-color: black; }\n"_s
        % type % u":focus { border: 1px solid "_s % cssColor(withOpacity(theme.accentCyan(), 0.6)) % u"; }"_s;
}

} // namespace

SummaryStatTile::SummaryStatTile(const ThemeSource &theme, const QString &label, ThemeColor accent, QWidget *parent)
    : QWidget(parent)
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    // A box in elevatedBackground inside a borderSubtle stroke, behind the tile's labels.
    auto *frame = new Panel(
        theme, PanelLook { .fill = ThemeColor::elevatedBackground, .stroke = ThemeColor::borderSubtle }, this);
    outer->addWidget(frame);
    auto *column = new QVBoxLayout(frame);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(4);
    auto *labelText = new ThemedLabel(theme, label, themeFont(9, QFont::Bold, true), ThemeColor::textMuted, frame);
    labelText->setObjectName(u"tileTitleLabel"_s);
    m_value = new ThemedLabel(theme, QString(), themeFont(20, QFont::Bold, true), accent, frame);
    m_value->setObjectName(u"tileValueLabel"_s);
    m_sublabel = new ThemedLabel(theme, QString(), themeFont(11), ThemeColor::textSecondary, frame);
    m_sublabel->setObjectName(u"tileSublabelLabel"_s);
    column->addWidget(labelText);
    column->addWidget(m_value);
    column->addWidget(m_sublabel);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void SummaryStatTile::setValue(const QString &value)
{
    m_value->setText(value);
}

void SummaryStatTile::setSublabel(const QString &sublabel)
{
    m_sublabel->setText(sublabel);
}

QString SummaryStatTile::value() const
{
    return m_value->text();
}

QString SummaryStatTile::sublabel() const
{
    return m_sublabel->text();
}

void styleTextField(QLineEdit *field, const ThemeSource &theme, ThemeColor fill)
{
    const auto apply
        = [field, &theme, fill] { field->setStyleSheet(fieldStyle(u"QLineEdit"_s, theme.theme(), fill, 5)); };
    apply();
    QObject::connect(&theme, &ThemeSource::themeChanged, field, apply);
}

void styleTextEditor(QPlainTextEdit *editor, const ThemeSource &theme, ThemeColor fill, int padding)
{
    const auto apply = [editor, &theme, fill, padding] {
        editor->setStyleSheet(fieldStyle(u"QPlainTextEdit"_s, theme.theme(), fill, padding));
    };
    apply();
    QObject::connect(&theme, &ThemeSource::themeChanged, editor, apply);
}

QLabel *ownTextColor(QLabel *label)
{
    label->setForegroundRole(QPalette::WindowText);
    return label;
}

void showModelText(CappedLineEdit *field, const QString &text, bool newRecord)
{
    if (!newRecord && field->fullText() == text)
        return;
    if (!newRecord && field->hasFocus() && !field->isCut() && text.size() <= shownLineLimit)
        return;
    const QSignalBlocker quiet(field);
    field->showText(text, newRecord);
    field->setCursorPosition(0);
}

} // namespace orvane
