#include "ide/views/workbench/CampaignPlanDocumentView.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/kit/CappedTextEdit.h"
#include "ide/views/kit/Card.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/KickerLabel.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/kit/SymbolView.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/window/WindowPrimitives.h"
#include "ide/views/workbench/DefaultPlanMarkdown.h"
#include "ide/views/workbench/WorkbenchFormat.h"
#include "ide/views/workbench/WorkbenchThreadBinding.h"
#include "ide/views/workbench/WorkbenchWidgets.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStringBuilder>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {

namespace {

QScrollArea *makeScrollArea(QWidget *content, QWidget *parent)
{
    auto *scroll = new QScrollArea(parent);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);
    scroll->setWidget(content);
    return scroll;
}

QVBoxLayout *fieldColumn(QWidget *label, QWidget *field)
{
    auto *column = new QVBoxLayout;
    column->setSpacing(4);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(label);
    column->addWidget(field);
    return column;
}

// A note saying a field shows its text cut; hidden while there is nothing to say.
WrappingLabel *cutNoteLabel(const ThemeSource &theme, const QString &name, QWidget *parent)
{
    auto *note = new WrappingLabel(theme, themeFont(11, QFont::DemiBold), cutNoteColor, parent);
    note->setObjectName(name);
    note->hide();
    return note;
}

void showCutNote(WrappingLabel *label, const QString &note)
{
    label->setText(note);
    label->setVisible(!note.isEmpty());
}

} // namespace

CampaignPlanDocumentView::CampaignPlanDocumentView(const WorkspaceViewContext &context, QWidget *parent)
    : QWidget(parent), m_context(context), m_binding(new WorkbenchThreadBinding(*context.model, this))
{
    setObjectName(u"campaignPlanDocumentView"_s);
    auto *content = new QWidget;
    auto *stack = new QVBoxLayout(content);
    stack->setContentsMargins(18, 18, 18, 18);
    stack->setSpacing(16);
    stack->addWidget(buildHeader());
    m_modes = new QStackedWidget(content);
    m_modes->addWidget(buildStructuredEditor());
    m_modes->addWidget(buildRawEditor());
    stack->addWidget(m_modes);
    stack->addStretch(1);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *scroll = makeScrollArea(content, this);
    scroll->setObjectName(u"planDocumentScrollArea"_s);
    scroll->setAccessibleName(u"Campaign Plan"_s);
    outer->addWidget(scroll);

    CampaignIDEWorkspaceModel *model = context.model;
    using Model = CampaignIDEWorkspaceModel;
    connect(m_binding, &WorkbenchThreadBinding::threadReplaced, this, &CampaignPlanDocumentView::refresh);
    connect(m_binding, &WorkbenchThreadBinding::threadUpdated, this, &CampaignPlanDocumentView::refresh);
    connect(model, &Model::projectChanged, this, &CampaignPlanDocumentView::refresh);
    connect(model, &Model::projectsChanged, this, &CampaignPlanDocumentView::refresh);
    connect(model, &Model::projectInserted, this, &CampaignPlanDocumentView::refresh);
    connect(model, &Model::projectRemoved, this, &CampaignPlanDocumentView::refresh);
    connect(model, &Model::selectedProjectIDChanged, this, &CampaignPlanDocumentView::refresh);
    connect(model, &Model::localFilesChanged, this, &CampaignPlanDocumentView::refreshRawEditor);
    connect(model, &Model::localFileChanged, this, &CampaignPlanDocumentView::refreshRawEditor);
    refresh();
}

QWidget *CampaignPlanDocumentView::buildHeader()
{
    const ThemeSource &theme = *m_context.theme;
    // The mode button goes under the titles when the column cannot hold both side by side.
    auto *header = new AdaptiveRow(10);
    auto *titleBlock = new QWidget(header);
    auto *titles = new QVBoxLayout(titleBlock);
    titles->setContentsMargins(0, 0, 0, 0);
    titles->setSpacing(3);
    // A kicker's one line, cut with "…", and a title that wraps inside a long word: a name of any
    // length never widens the page.
    m_kicker = new ElidedLabel(theme, themeFont(10, QFont::Bold, true), ThemeColor::accentLime, header);
    m_kicker->setObjectName(u"planKickerLabel"_s);
    m_title = new WrappingLabel(theme, themeFont(20, QFont::Bold), ThemeColor::textPrimary, header);
    m_title->setObjectName(u"planTitleLabel"_s);
    titles->addWidget(m_kicker);
    titles->addWidget(m_title);
    header->addLeading(titleBlock, true);

    ClickableButton::Look look;
    look.fill = ThemeColor::panelBackground;
    look.stroke = ThemeColor::borderSubtle;
    look.padding = QMargins(10, 6, 10, 6);
    look.spacing = 5;
    m_modeButton = new ClickableButton(theme, look, header);
    m_modeButton->setObjectName(u"rawMarkdownToggleButton"_s);
    m_modeSymbol = m_modeButton->addSymbol(u"chevron.left.forwardslash.chevron.right"_s, ThemeColor::accentCyan, 11);
    m_modeText = ownTextColor(
        m_modeButton->addText(u"Edit Raw Markdown"_s, themeFont(11, QFont::DemiBold), ThemeColor::accentCyan));
    connect(m_modeButton, &QAbstractButton::clicked, this, &CampaignPlanDocumentView::toggleMode);
    header->addTrailing(m_modeButton);
    return header;
}

QWidget *CampaignPlanDocumentView::buildRawEditor()
{
    const ThemeSource &theme = *m_context.theme;
    auto *pane = new QWidget;
    auto *column = new QVBoxLayout(pane);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    m_rawCaption = new WrappingLabel(theme, themeFont(11, QFont::Normal, true), ThemeColor::textSecondary, pane);
    m_rawCaption->setObjectName(u"rawMarkdownCaptionLabel"_s);
    column->addWidget(m_rawCaption);
    m_rawMissing = new WrappingLabel(theme, themeFont(11, QFont::DemiBold), ThemeColor::accentAmber, pane);
    m_rawMissing->setObjectName(u"rawMarkdownMissingLabel"_s);
    m_rawMissing->hide();
    column->addWidget(m_rawMissing);
    m_rawCutNote = cutNoteLabel(theme, u"rawMarkdownCutNoteLabel"_s, pane);
    column->addWidget(m_rawCutNote);

    // Tab indents as in any file's editor; Ctrl+Tab leaves.
    m_rawEditor = new CappedTextEdit(pane);
    m_rawEditor->setObjectName(u"rawMarkdownEditor"_s);
    m_rawEditor->setAccessibleName(u"Campaign Plan Markdown"_s);
    m_rawEditor->setFont(themeFont(12, QFont::Normal, true));
    m_rawEditor->setMinimumHeight(420);
    m_rawEditor->setTabChangesFocus(false);
    styleTextEditor(m_rawEditor, theme, ThemeColor::panelBackground, 8);
    m_rawEditor->installEventFilter(this);
    connect(m_rawEditor, &CappedTextEdit::userEdited, this,
        [this](const QString &text) { m_context.model->updateCampaignPlanFileContent(text); });
    column->addWidget(m_rawEditor);

    auto *saveRow = new QHBoxLayout;
    saveRow->addStretch(1);
    ClickableButton::Look look;
    look.fill = ThemeColor::accentLimeFill;
    look.padding = QMargins(12, 6, 12, 6);
    m_saveButton = new ClickableButton(theme, look, pane);
    m_saveButton->setObjectName(u"savePlanFileButton"_s);
    ownTextColor(
        m_saveButton->addText(u"Save campaign-plan.md to Disk"_s, themeFont(11, QFont::Bold), QColor(Qt::black)));
    connect(m_saveButton, &QAbstractButton::clicked, this, &CampaignPlanDocumentView::savePlanFile);
    saveRow->addWidget(m_saveButton);
    column->addLayout(saveRow);
    return pane;
}

QWidget *CampaignPlanDocumentView::buildStructuredEditor()
{
    auto *pane = new QWidget;
    auto *column = new QVBoxLayout(pane);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(16);
    column->addWidget(buildStrategyCard());
    column->addWidget(buildAllocationCard());
    column->addWidget(buildTrackingCard());
    // A page shorter than the column keeps its cards at their own heights.
    column->addStretch(1);
    return pane;
}

QWidget *CampaignPlanDocumentView::buildStrategyCard()
{
    const ThemeSource &theme = *m_context.theme;
    auto *card = new Card(theme, Card::Look { .padding = QMargins(14, 14, 14, 14), .spacing = 12 });
    card->setObjectName(u"strategyCard"_s);
    QVBoxLayout *column = card->contentLayout();
    column->addWidget(new KickerLabel(theme, u"01 · EXECUTIVE STRATEGY & BUDGET"_s, ThemeColor::accentCyan, 10, card));

    const auto fieldLabel = [&](const QString &text) {
        return new ThemedLabel(theme, text, themeFont(11, QFont::DemiBold), ThemeColor::textSecondary, card);
    };

    m_nameField = new CappedLineEdit(card);
    m_nameField->setObjectName(u"campaignNameField"_s);
    m_nameField->setAccessibleName(u"Campaign Name"_s);
    m_nameField->setPlaceholderText(u"Campaign Name"_s);
    m_nameField->setFont(themeFont(13));
    styleTextField(m_nameField, theme, ThemeColor::elevatedBackground);
    // The name and the budget commit when editing finishes (Return, or the focus leaves): the
    // project's folder follows its name, so it must not move on every keystroke.
    connect(m_nameField, &QLineEdit::editingFinished, this, &CampaignPlanDocumentView::commitName);
    // A paste too long to show leaves the field cut and read only: it is committed at once.
    connect(m_nameField, &QLineEdit::textEdited, this, [this] {
        if (m_nameField->isCut())
            commitName();
    });

    m_budgetField = new CappedLineEdit(card);
    m_budgetField->setObjectName(u"monthlyBudgetField"_s);
    m_budgetField->setAccessibleName(u"Monthly Budget"_s);
    m_budgetField->setPlaceholderText(u"Budget"_s);
    m_budgetField->setFont(themeFont(13));
    m_budgetField->setFixedWidth(180);
    styleTextField(m_budgetField, theme, ThemeColor::elevatedBackground);
    connect(m_budgetField, &QLineEdit::editingFinished, this, &CampaignPlanDocumentView::commitBudget);
    connect(m_budgetField, &QLineEdit::textEdited, this, [this] {
        if (m_budgetField->isCut())
            commitBudget();
    });

    auto *fields = new QHBoxLayout;
    fields->setSpacing(12);
    fields->addLayout(fieldColumn(fieldLabel(u"Campaign Name"_s), m_nameField), 1);
    fields->addLayout(fieldColumn(fieldLabel(u"Monthly Budget Allocation"_s), m_budgetField), 0);
    column->addLayout(fields);
    m_fieldsCutNote = cutNoteLabel(theme, u"planFieldsCutNoteLabel"_s, card);
    column->addWidget(m_fieldsCutNote);

    const auto makeEditor = [&](const QString &name, int height) {
        auto *editor = new CappedTextEdit(card);
        editor->setObjectName(name);
        editor->setFont(themeFont(12));
        editor->setFixedHeight(height);
        editor->setTabChangesFocus(true);
        styleTextEditor(editor, theme, ThemeColor::elevatedBackground, 6);
        editor->installEventFilter(this);
        return editor;
    };
    m_objectiveEditor = makeEditor(u"objectiveEditor"_s, 76);
    m_objectiveEditor->setAccessibleName(u"Objective"_s);
    connect(m_objectiveEditor, &CappedTextEdit::userEdited, this,
        [this](const QString &text) { m_context.model->updateSelectedProjectObjective(text); });
    m_audienceEditor = makeEditor(u"audienceEditor"_s, 68);
    m_audienceEditor->setAccessibleName(u"Target Audience"_s);
    connect(m_audienceEditor, &CappedTextEdit::userEdited, this,
        [this](const QString &text) { m_context.model->updateSelectedProjectAudience(text); });
    m_objectiveCutNote = cutNoteLabel(theme, u"objectiveCutNoteLabel"_s, card);
    m_audienceCutNote = cutNoteLabel(theme, u"audienceCutNoteLabel"_s, card);
    QVBoxLayout *objective = fieldColumn(fieldLabel(u"Campaign Objective & KPI Contract"_s), m_objectiveEditor);
    objective->addWidget(m_objectiveCutNote);
    column->addLayout(objective);
    QVBoxLayout *audience = fieldColumn(fieldLabel(u"Target Audience & Buying Committee (ICP)"_s), m_audienceEditor);
    audience->addWidget(m_audienceCutNote);
    column->addLayout(audience);
    return card;
}

QWidget *CampaignPlanDocumentView::buildAllocationCard()
{
    const ThemeSource &theme = *m_context.theme;
    auto *card = new Card(theme, Card::Look { .padding = QMargins(14, 14, 14, 14), .spacing = 10 });
    card->setObjectName(u"allocationCard"_s);
    QVBoxLayout *column = card->contentLayout();
    auto *top = new AdaptiveRow(10, card);
    top->addLeading(new KickerLabel(
        theme, u"02 · MULTI-CHANNEL ALLOCATION & LINKED WORKBENCH VIEWS"_s, ThemeColor::accentCyan, 10, card));
    ClickableButton::Look look;
    look.padding = QMargins(0, 0, 0, 0);
    m_tableLink = new ClickableButton(theme, look, card);
    m_tableLink->setObjectName(u"openMediaPlanTableButton"_s);
    m_tableLinkText
        = ownTextColor(m_tableLink->addText(QString(), themeFont(11, QFont::Bold, true), ThemeColor::accentLime));
    connect(m_tableLink, &QAbstractButton::clicked, this, &CampaignPlanDocumentView::openMediaPlanTable);
    top->addTrailing(m_tableLink);
    column->addWidget(top);

    // Side by side when they fit, else one above the other.
    auto *tiles = new AdaptiveRow(10, card);
    m_spendTile = new SummaryStatTile(theme, u"MONTHLY PLANNED SPEND"_s, ThemeColor::accentLime, card);
    m_spendTile->setObjectName(u"plannedSpendTile"_s);
    m_cpaTile = new SummaryStatTile(theme, u"BLENDED TARGET CPA"_s, ThemeColor::accentCyan, card);
    m_cpaTile->setObjectName(u"targetCpaTile"_s);
    m_creativeTile = new SummaryStatTile(theme, u"CREATIVE ARTBOARDS"_s, ThemeColor::accentEmerald, card);
    m_creativeTile->setObjectName(u"creativeArtboardsTile"_s);
    tiles->addLeading(m_spendTile, true);
    tiles->addLeading(m_cpaTile, true);
    tiles->addLeading(m_creativeTile, true);
    column->addWidget(tiles);
    return card;
}

QWidget *CampaignPlanDocumentView::buildTrackingCard()
{
    const ThemeSource &theme = *m_context.theme;
    auto *card = new Card(theme, Card::Look { .padding = QMargins(14, 14, 14, 14), .spacing = 10 });
    card->setObjectName(u"trackingCard"_s);
    QVBoxLayout *column = card->contentLayout();
    auto *top = new AdaptiveRow(10, card);
    top->addLeading(new KickerLabel(
        theme, u"03 · ATTRIBUTION, UTM TAXONOMY & CONVERSION PIXEL GATE"_s, ThemeColor::accentCyan, 10, card));
    auto *sealBlock = new QWidget(top);
    auto *seal = new QHBoxLayout(sealBlock);
    seal->setContentsMargins(0, 0, 0, 0);
    seal->setSpacing(5);
    seal->addWidget(new SymbolView(theme, u"checkmark.seal.fill"_s, ThemeColor::accentEmerald, 12));
    auto *sealText = new ThemedLabel(
        theme, u"Conversions API & UTMs Verified"_s, themeFont(11, QFont::Bold), ThemeColor::accentEmerald, card);
    sealText->setObjectName(u"trackingSealLabel"_s);
    seal->addWidget(sealText);
    top->addTrailing(sealBlock);
    column->addWidget(top);

    auto *preview = new Card(theme,
        Card::Look { .fill = ThemeColor::elevatedBackground, .padding = QMargins(10, 10, 10, 10), .spacing = 0 }, card);
    // The query string is one long token: it wraps anywhere rather than widening the page.
    m_utmPreview = new WrappingLabel(theme, themeFont(11, QFont::DemiBold, true), ThemeColor::accentLime, preview);
    m_utmPreview->setObjectName(u"utmPreviewLabel"_s);
    m_utmPreview->setBreakAnywhere(true);
    preview->contentLayout()->addWidget(m_utmPreview);
    column->addWidget(preview);
    return card;
}

std::optional<CampaignIDEProject> CampaignPlanDocumentView::documentProject() const
{
    const CampaignIDEWorkspaceModel &model = *m_context.model;
    if (std::optional<CampaignIDEProject> selected = model.selectedProject())
        return selected;
    if (!model.projects().isEmpty())
        return model.projects().first();
    return std::nullopt;
}

void CampaignPlanDocumentView::toggleMode()
{
    m_rawMarkdownMode = !m_rawMarkdownMode;
    m_modeSymbol->setSymbol(m_rawMarkdownMode ? u"doc.richtext"_s : u"chevron.left.forwardslash.chevron.right"_s);
    m_modeText->setText(m_rawMarkdownMode ? u"Structured Editor"_s : u"Edit Raw Markdown"_s);
    m_modeButton->updateGeometry();
    m_modes->setCurrentIndex(m_rawMarkdownMode ? 1 : 0);
    refresh();
}

void CampaignPlanDocumentView::refresh()
{
    refreshHeader();
    if (m_rawMarkdownMode)
        refreshRawEditor();
    else
        refreshStructured();
}

void CampaignPlanDocumentView::refreshHeader()
{
    const std::optional<CampaignIDEProject> project = documentProject();
    const std::optional<CampaignIDEThread> thread = m_binding->thread();
    // A name of any length is shown in a moment: a label shows only what fits on a few lines.
    m_kicker->setText(
        labelText(u"CAMPAIGN PLAN DOCUMENT · "_s % (project ? project->slug().toUpper() : u"WORKSPACE"_s)));
    m_title->setText(labelText(project ? project->name : (thread ? thread->title : QString())));
    m_rawCaption->setText(u"Editing "_s % m_context.model->shownWorkspaceRoot() % u'/'
        % (project ? m_context.model->projectFolderName(*project) : u"campaign"_s) % u"/campaign-plan.md"_s);
}

QString CampaignPlanDocumentView::rawContent(const std::optional<LocalWorkspaceFile> &file) const
{
    if (file && !file->content.isEmpty())
        return file->content;
    const std::optional<CampaignIDEThread> thread = m_binding->thread();
    return defaultPlanMarkdown(documentProject(), thread ? thread->title : QString());
}

void CampaignPlanDocumentView::refreshRawEditor()
{
    if (!m_rawMarkdownMode)
        return;
    const std::optional<LocalWorkspaceFile> file = m_context.model->campaignPlanFile();
    // A file too large to edit is not held: nothing of it is shown.
    const bool editable = file && !file->isTooLarge();
    const QString content = !file || editable ? rawContent(file) : QString();
    // Without the file there is nothing to edit or save: say so rather than drop the edits, and
    // show the default plan even to a user who was typing.
    m_rawEditor->setEditable(editable);
    const std::optional<QString> fileID = file ? std::optional<QString>(file->id()) : std::nullopt;
    const bool newDocument = fileID != m_rawFileID;
    m_rawFileID = fileID;
    if (editable)
        m_rawEditor->showModelText(content, newDocument);
    else
        m_rawEditor->showText(content, newDocument);
    if (!file)
        m_rawMissing->setText(CampaignIDEWorkspaceModel::campaignPlanFileName
            + u" is not in this project's folder, so there is nothing to save."_s);
    else if (!editable)
        m_rawMissing->setText(file->tooLargeText() + u'.');
    m_rawMissing->setVisible(!editable);
    showCutNote(m_rawCutNote, m_rawEditor->cutNote());
    m_saveButton->setEnabled(editable);
}

void CampaignPlanDocumentView::savePlanFile()
{
    const std::optional<LocalWorkspaceFile> file = m_context.model->campaignPlanFile();
    if (!file || file->isTooLarge())
        return;
    // An empty file shows the default plan: what the editor shows is what goes to disk, whole
    // where the editor shows it cut.
    const QString shown = m_rawEditor->isCut() ? rawContent(file) : m_rawEditor->toPlainText();
    if (shown != file->content)
        m_context.model->updateCampaignPlanFileContent(shown);
    m_context.model->saveCampaignPlanFile();
}

void CampaignPlanDocumentView::refreshStructured()
{
    const std::optional<CampaignIDEProject> project = documentProject();
    const bool editable = m_context.model->planEditTargetProjectID().has_value();
    m_nameField->setEditable(editable);
    m_budgetField->setEditable(editable);
    m_objectiveEditor->setEditable(editable);
    m_audienceEditor->setEditable(editable);
    const std::optional<QUuid> projectID = project ? std::optional<QUuid>(project->id) : std::nullopt;
    const bool newRecord = projectID != m_fieldsProjectID;
    m_fieldsProjectID = projectID;
    showModelText(m_nameField, project ? project->name : QString(), newRecord);
    showModelText(m_budgetField, project ? project->budget() : u"$45,000"_s, newRecord);
    m_objectiveEditor->showModelText(project ? project->objective : QString(), newRecord);
    m_audienceEditor->showModelText(project ? project->audience : QString(), newRecord);
    showCutNote(m_fieldsCutNote, m_nameField->isCut() ? m_nameField->cutNote() : m_budgetField->cutNote());
    showCutNote(m_objectiveCutNote, m_objectiveEditor->cutNote());
    showCutNote(m_audienceCutNote, m_audienceEditor->cutNote());

    const std::optional<CampaignIDEThread> thread = m_binding->thread();
    const CampaignIDEThread shown = thread.value_or(CampaignIDEThread {});
    const QString rows = workbench::plainNumber(shown.mediaPlanRows.size());
    m_tableLinkText->setText(u"Open Full Media Plan Table ("_s % rows % u" rows) →"_s);
    m_tableLink->updateGeometry();
    m_tableLink->setEnabled(thread.has_value());
    m_spendTile->setValue(workbench::monthlyPlannedSpend(shown));
    m_spendTile->setSublabel(
        workbench::plainDollars(shown.totalDailyBudget()) % u"/day across "_s % rows % u" flights"_s);
    m_cpaTile->setValue(workbench::plainDollars(shown.blendedTargetCPA()));
    m_cpaTile->setSublabel(workbench::plainNumber(shown.totalEstimatedConversions()) % u" est. SQLs / month"_s);
    m_creativeTile->setValue(workbench::plainNumber(project ? project->creatives.size() : 0) % u" Variants"_s);
    m_creativeTile->setSublabel(
        workbench::plainNumber(project ? project->approvedCreativeCount() : 0) % u" approved for launch"_s);
    m_utmPreview->setText(labelText(u"?utm_source="_s % shown.utmSource % u"&utm_medium="_s % shown.utmMedium
        % u"&utm_campaign="_s % shown.utmCampaign % u"&utm_content={{creative_id}}"_s));
}

void CampaignPlanDocumentView::commitName()
{
    const std::optional<CampaignIDEProject> project = documentProject();
    if (project && m_nameField->isEditable() && m_nameField->fullText() != project->name)
        m_context.model->updateSelectedProjectName(m_nameField->fullText());
    refreshStructured();
}

void CampaignPlanDocumentView::commitBudget()
{
    const std::optional<CampaignIDEProject> project = documentProject();
    if (project && m_budgetField->isEditable() && m_budgetField->fullText() != project->budget())
        m_context.model->updateSelectedProjectBudget(m_budgetField->fullText());
    // A refused amount gives way to the stored one, even while the field keeps the focus.
    const std::optional<CampaignIDEProject> now = documentProject();
    const QSignalBlocker quiet(m_budgetField);
    m_budgetField->showText(now ? now->budget() : u"$45,000"_s);
    refreshStructured();
}

void CampaignPlanDocumentView::openMediaPlanTable()
{
    if (const std::optional<QUuid> id = m_binding->threadID())
        m_context.model->selectWorkbenchView(IDEWorkbenchView::table, *id);
}

bool CampaignPlanDocumentView::eventFilter(QObject *watched, QEvent *event)
{
    // An editor catches up with the model once the user leaves it.
    if (event->type() == QEvent::FocusOut) {
        if (watched == m_rawEditor)
            QMetaObject::invokeMethod(this, &CampaignPlanDocumentView::refreshRawEditor, Qt::QueuedConnection);
        else if (watched == m_objectiveEditor || watched == m_audienceEditor)
            QMetaObject::invokeMethod(this, &CampaignPlanDocumentView::refreshStructured, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace orvane
