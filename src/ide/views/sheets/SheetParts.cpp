#include "ide/views/sheets/SheetParts.h"

#include "ide/views/kit/CappedTextEdit.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/kit/ThemedLabel.h"
#include "ide/views/window/WindowPrimitives.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {

namespace sheetparts {

QVBoxLayout *column(QWidget *content, int spacing)
{
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

QLabel *eyebrow(const ThemeSource &theme, const QString &text)
{
    auto *label = new ThemedLabel(theme, text, themeFont(11, QFont::Bold, true), ThemeColor::accentLime);
    label->setObjectName(u"sheetEyebrowLabel"_s);
    return label;
}

QLabel *heading(const ThemeSource &theme, const QString &text)
{
    auto *label = new ThemedLabel(theme, text, themeFont(18, QFont::Bold), ThemeColor::textPrimary);
    label->setObjectName(u"sheetHeadingLabel"_s);
    label->setWordWrap(true);
    return label;
}

QLineEdit *field(const QString &objectName, const QString &placeholder)
{
    // A long paste is kept whole and shown cut, never cut at the field's maximum length.
    auto *edit = new CappedLineEdit;
    edit->setObjectName(objectName);
    edit->setPlaceholderText(placeholder);
    edit->setFont(themeFont(13));
    edit->setFrame(true);
    return edit;
}

QWidget *group(const ThemeSource &theme, const QString &label, QWidget *control)
{
    auto *box = new QWidget;
    auto *layout = column(box, 6);
    auto *caption = new ThemedLabel(theme, label, themeFont(11, QFont::DemiBold), ThemeColor::textSecondary);
    // The label names the control for screen readers, unless it has a name of its own.
    caption->setBuddy(control);
    layout->addWidget(caption);
    layout->addWidget(control);
    return box;
}

ClickableButton *cancelButton(const ThemeSource &theme)
{
    ClickableButton::Look look;
    look.padding = QMargins();
    auto *button = new ClickableButton(theme, look);
    button->setObjectName(u"sheetCancelButton"_s);
    button->addText(u"Cancel"_s, themeFont(13), ThemeColor::textPrimary);
    return button;
}

ClickableButton *confirmButton(
    const ThemeSource &theme, const QString &objectName, const QString &text, int verticalPadding)
{
    ClickableButton::Look look;
    look.fill = ThemeColor::accentLimeFill;
    look.padding = QMargins(14, verticalPadding, 14, verticalPadding);
    auto *button = new ClickableButton(theme, look);
    button->setObjectName(objectName);
    // Painted in its own colour: black on the lime in both themes, whatever palette reaches it.
    button->addWidget(new FixedTag(text, themeFont(12, QFont::Bold), Qt::black, Qt::transparent, QMargins()));
    return button;
}

QBoxLayout *buttonRow(ClickableButton *cancel, QMargins cancelPadding, ClickableButton *confirm)
{
    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    row->addStretch(1);
    // The padding sits outside the button: a plain layout margin around it.
    auto *cancelBox = new QHBoxLayout;
    cancelBox->setContentsMargins(cancelPadding);
    cancelBox->addWidget(cancel);
    row->addLayout(cancelBox);
    row->addWidget(confirm);
    return row;
}

void syncField(QLineEdit *field, const QString &text)
{
    if (auto *capped = qobject_cast<CappedLineEdit *>(field)) {
        if (capped->fullText() != text)
            capped->showText(text);
    } else if (field->text() != text) {
        field->setText(text);
    }
}

} // namespace sheetparts
} // namespace orvane
