#include "ide/views/canvas/CreativeCanvasInspector.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/canvas/ArtboardCardDelegate.h"
#include "ide/views/canvas/ButtonLooks.h"
#include "ide/views/canvas/ThemedTextEditor.h"
#include "ide/views/kit/Card.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/KickerLabel.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/kit/Panel.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/window/WindowPrimitives.h"

#include <QHBoxLayout>

#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace orvane {

CreativeCanvasInspector::CreativeCanvasInspector(const WorkspaceViewContext &context, QWidget *parent)
    : QWidget(parent), m_context(context)
{
    const ThemeSource &theme = *context.theme;
    setObjectName(u"artboardInspector"_s);
    setFixedWidth(inspectorWidth);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *background = new Panel(theme, ThemeColor::panelBackground, this);
    outer->addWidget(background);

    auto *column = new QVBoxLayout(background);
    column->setContentsMargins(14, 14, 14, 14);
    column->setSpacing(12);
    column->addWidget(new KickerLabel(theme, u"ARTBOARD INSPECTOR"_s, background));

    m_title = new WrappingLabel(theme, themeFont(14, QFont::Bold), ThemeColor::textPrimary, background);
    m_title->setObjectName(u"artboardInspectorTitleLabel"_s);
    column->addWidget(m_title);
    m_size = new ElidedLabel(theme, themeFont(11, QFont::Normal, true), ThemeColor::textSecondary, background);
    m_size->setObjectName(u"artboardInspectorSizeLabel"_s);
    column->addWidget(m_size);

    auto *headlineColumn = new QVBoxLayout;
    headlineColumn->setSpacing(4);
    auto *headlineLabel = new ElidedLabel(theme, themeFont(11, QFont::DemiBold), ThemeColor::textSecondary, background);
    headlineLabel->setText(u"Primary Ad Hook / Headline"_s);
    headlineColumn->addWidget(headlineLabel);
    auto *editorBox = new Card(theme,
        Card::Look {
            .fill = ThemeColor::elevatedBackground,
            .stroke = ThemeColor::borderSubtle,
            .stroked = true,
            .padding = { 6, 6, 6, 6 },
            .spacing = 0,
        },
        background);
    m_headline = new ThemedTextEditor(theme, ThemeColor::elevatedBackground, editorBox);
    m_headline->setObjectName(u"artboardHeadlineEditor"_s);
    m_headline->setAccessibleName(u"Headline"_s);
    m_headline->setFont(themeFont(12));
    m_headline->setFixedHeight(90);
    // Ad copy is never indented: Tab moves on, as in the plan document's fields.
    m_headline->setTabChangesFocus(true);
    m_headline->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editorBox->contentLayout()->addWidget(m_headline);
    headlineColumn->addWidget(editorBox);
    m_headlineCutNote = new WrappingLabel(theme, themeFont(11, QFont::DemiBold), cutNoteColor, background);
    m_headlineCutNote->setObjectName(u"artboardHeadlineCutNoteLabel"_s);
    m_headlineCutNote->hide();
    headlineColumn->addWidget(m_headlineCutNote);
    column->addLayout(headlineColumn);

    auto *decisions = new QBoxLayout(QBoxLayout::LeftToRight);
    m_decisions = decisions;
    decisions->setSpacing(8);
    auto *approve = new ClickableButton(
        theme, buttonLook(ThemeColor::accentLimeFill, std::nullopt, { 10, 6, 10, 6 }, 5), background);
    approve->setObjectName(u"approveArtboardButton"_s);
    approve->addText(u"Approve Artboard"_s, themeFont(11, QFont::Bold), QColor(Qt::black));
    decisions->addWidget(approve);
    m_decisionButtons.append(approve);
    auto *flag = new ClickableButton(
        theme, buttonLook(ThemeColor::elevatedBackground, ThemeColor::borderSubtle, { 10, 6, 10, 6 }, 5), background);
    flag->setObjectName(u"flagArtboardButton"_s);
    flag->addText(u"Flag for Revision"_s, themeFont(11, QFont::DemiBold), ThemeColor::textSecondary);
    decisions->addWidget(flag);
    m_decisionButtons.append(flag);
    decisions->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    column->addLayout(decisions);
    column->addStretch(1);

    connect(m_headline, &ThemedTextEditor::userEdited, this, [this](const QString &text) {
        if (m_context.model && m_artboardID)
            m_context.model->updateArtboardHeadline(*m_artboardID, text);
    });
    connect(approve, &QAbstractButton::clicked, this, [this] {
        if (m_context.model && m_artboardID)
            m_context.model->setArtboardReviewStatus(*m_artboardID, CreativeReviewStatus::approved);
    });
    connect(flag, &QAbstractButton::clicked, this, [this] {
        if (m_context.model && m_artboardID)
            m_context.model->setArtboardReviewStatus(*m_artboardID, CreativeReviewStatus::rejected);
    });
}

void CreativeCanvasInspector::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitDecisions();
}

void CreativeCanvasInspector::fitDecisions()
{
    // One row, 8 apart. When the labels are too wide for the row at the full side padding of 10,
    // the padding gives way, down to 4; only labels wider still (very wide system fonts) put the
    // buttons one over the other, so neither label is ever cut.
    const int available = width() - 2 * 14;
    int labels = m_decisions->spacing();
    for (const ClickableButton *button : m_decisionButtons) {
        const QMargins padding = button->look().padding;
        labels += button->sizeHint().width() - padding.left() - padding.right();
    }
    const int side
        = std::clamp((available - labels) / (2 * int(m_decisionButtons.size())), minimumSidePadding, fullSidePadding);
    for (ClickableButton *button : m_decisionButtons) {
        ClickableButton::Look look = button->look();
        if (look.padding.left() != side || look.padding.right() != side) {
            look.padding.setLeft(side);
            look.padding.setRight(side);
            button->setLook(look);
        }
    }
    const bool fits = labels + 2 * int(m_decisionButtons.size()) * side <= available;
    m_decisions->setDirection(fits ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
}

QString CreativeCanvasInspector::sizeText(int width, int height)
{
    return QString::number(width) + u" × "_s + QString::number(height) + u" px"_s;
}

void CreativeCanvasInspector::showArtboard(const CreativeCanvasArtboard &artboard)
{
    // Another artboard's headline is another document, even with the same text.
    if (artboard.id != m_artboardID)
        m_headline->showDocumentQuietly(artboard.headline);
    else
        m_headline->setTextQuietly(artboard.headline);
    m_artboardID = artboard.id;
    m_title->setText(ArtboardCardDelegate::title(artboard.platform, artboard.format));
    m_size->setText(sizeText(artboard.width, artboard.height));
    m_headlineCutNote->setText(m_headline->cutNote());
    m_headlineCutNote->setVisible(m_headline->isCut());
}

} // namespace orvane
