#include "ide/views/canvas/LocalFilesTabView.h"

#include "ide/model/WorkspaceMirror.h"
#include "ide/views/canvas/ButtonLooks.h"
#include "ide/views/canvas/LocalFileRowDelegate.h"
#include "ide/views/canvas/LocalFilesListModel.h"
#include "ide/views/canvas/ThemeSplitter.h"
#include "ide/views/canvas/ThemedTextEditor.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/KickerLabel.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/kit/Panel.h"
#include "ide/views/kit/SymbolView.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/window/WindowPrimitives.h"
#include "ide/views/window/WorkspaceWindowController.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListView>
#include <QPainter>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {

namespace {

// The file list: its rows keep a margin from its edges, and each row is a button of the keyboard
// too. The list is one Tab stop; the arrow keys move between rows, the row they are on is ringed,
// and Space or Return presses it.
class FileListView final : public QListView {
public:
    FileListView(const ThemeSource &theme, QMargins margins, QWidget *parent) : QListView(parent), m_theme(&theme)
    {
        setViewportMargins(margins);
    }

protected:
    void focusInEvent(QFocusEvent *event) override
    {
        // The keyboard starts on the file the editor shows.
        startOnShownFile();
        QListView::focusInEvent(event);
    }

    void reset() override
    {
        QListView::reset();
        // The list read again while the keyboard is on it keeps a ringed row. The selection model
        // forgets its current row on the same reset, after this view: later.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (hasFocus() && !currentIndex().isValid())
                    startOnShownFile();
            },
            Qt::QueuedConnection);
    }

    void startOnShownFile()
    {
        if (!model())
            return;
        for (int row = 0; row < model()->rowCount(); ++row) {
            const QModelIndex index = model()->index(row, 0);
            if (index.data(LocalFilesListModel::SelectedRole).toBool()) {
                setCurrentIndex(index);
                return;
            }
        }
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        const int key = event->key();
        const bool presses = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
        if (presses && event->modifiers() == Qt::NoModifier && currentIndex().isValid()) {
            event->accept();
            Q_EMIT activated(currentIndex());
            return;
        }
        QListView::keyPressEvent(event);
    }

    void paintEvent(QPaintEvent *event) override
    {
        QListView::paintEvent(event);
        if (!m_theme || !hasFocus() || !window()->testAttribute(Qt::WA_KeyboardFocusChange)
            || !currentIndex().isValid())
            return;
        QPainter painter(viewport());
        // A long name lays its row out wider than the list shows; the ring keeps to what shows.
        const QRect row
            = visualRect(currentIndex()).adjusted(0, 0, 0, -LocalFileRowDelegate::rowGap) & viewport()->rect();
        const bool selected = currentIndex().data(LocalFilesListModel::SelectedRole).toBool();
        const OrvaneWebTheme theme = m_theme->theme();
        paintButtonFocusRing(
            painter, row, theme, selected ? theme.elevatedBackground() : theme.color(ThemeColor::sidebarBackground));
    }

    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override
    {
        QListView::currentChanged(current, previous);
        viewport()->update();
    }

private:
    QPointer<const ThemeSource> m_theme;
};

} // namespace

const QString LocalFilesTabView::defaultFileName = u"campaign-plan.md"_s;

LocalFilesTabView::LocalFilesTabView(const WorkspaceViewContext &context, QWidget *parent)
    : Panel(*context.theme, ThemeColor::canvasBackground, parent),
      m_context(context),
      m_files(new LocalFilesListModel(context.mirror, this))
{
    setObjectName(u"localFilesView"_s);
    auto *outer = new QVBoxLayout(this);
    // A narrow workbench column clips the view instead of widening the window for it.
    outer->setSizeConstraint(QLayout::SetNoConstraint);
    outer->setContentsMargins(0, 0, 0, 0);
    m_splitter = new ThemeSplitter(*context.theme, Qt::Horizontal, this);
    m_splitter->setObjectName(u"localFilesSplitter"_s);
    m_splitter->addWidget(buildFileList());
    m_splitter->addWidget(buildEditor());
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({ listIdealWidth, 10'000 });
    outer->addWidget(m_splitter);

    WorkspaceMirror *mirror = context.mirror;
    connect(mirror, &WorkspaceMirror::localFilesChanged, this, &LocalFilesTabView::syncEditor);
    connect(mirror, &WorkspaceMirror::selectedLocalFileIDChanged, this, &LocalFilesTabView::syncEditor);
    connect(mirror, &WorkspaceMirror::localFileChanged, this, [this](const QString &fileID) {
        if (fileID == m_shownFileID)
            syncEditor();
    });
    syncEditor();
}

QWidget *LocalFilesTabView::buildFileList()
{
    const ThemeSource &theme = *m_context.theme;
    auto *pane = new Panel(theme, ThemeColor::sidebarBackground, this);
    pane->setObjectName(u"localFilesPane"_s);
    pane->setMinimumWidth(listMinimumWidth);
    pane->setMaximumWidth(listMaximumWidth);
    auto *column = new QVBoxLayout(pane);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto *header = new QHBoxLayout;
    header->setContentsMargins(10, 10, 10, 10);
    header->addWidget(new KickerLabel(theme, u"LOCAL FILES"_s, pane));
    header->addStretch(1);
    auto *finder = new ClickableButton(theme, buttonLook(std::nullopt, std::nullopt, {}, 0), pane);
    finder->setObjectName(u"revealProjectFolderButton"_s);
    finder->addText(u"File Manager ↗"_s, themeFont(10, QFont::Bold, true), ThemeColor::accentCyan);
    connect(finder, &QAbstractButton::clicked, this, [this] {
        if (m_context.controller)
            m_context.controller->revealSelectedProjectInFinder();
    });
    header->addWidget(finder);
    column->addLayout(header);
    column->addWidget(new ThemeDivider(theme, Qt::Horizontal, pane));

    m_list = new FileListView(theme, { 6, 6, 6, 6 - LocalFileRowDelegate::rowGap }, pane);
    m_list->setObjectName(u"localFilesListView"_s);
    m_list->setAccessibleName(u"Local Files"_s);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setItemDelegate(new LocalFileRowDelegate(theme, m_list));
    m_list->setModel(m_files);
    const auto applyListTheme = [this, &theme] {
        QPalette palette = theme.theme().palette();
        palette.setColor(QPalette::Base, theme.color(ThemeColor::sidebarBackground));
        palette.setColor(QPalette::Window, theme.color(ThemeColor::sidebarBackground));
        m_list->setPalette(palette);
        m_list->viewport()->setPalette(palette);
    };
    applyListTheme();
    connect(&theme, &ThemeSource::themeChanged, m_list, applyListTheme);
    const auto press = [this](const QModelIndex &index) {
        if (m_context.mirror && index.isValid())
            m_context.mirror->selectLocalFile(index.data(LocalFilesListModel::IdRole).toString());
    };
    connect(m_list, &QAbstractItemView::clicked, this, press);
    connect(m_list, &QAbstractItemView::activated, this, press);
    column->addWidget(m_list, 1);
    return pane;
}

QWidget *LocalFilesTabView::buildEditor()
{
    const ThemeSource &theme = *m_context.theme;
    auto *pane = new QWidget(this);
    auto *column = new QVBoxLayout(pane);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto *header = new Panel(theme, ThemeColor::panelBackground, pane);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(10, 10, 10, 10);
    m_fileName = new ElidedLabel(theme, themeFont(12, QFont::Bold, true), ThemeColor::textPrimary, header);
    m_fileName->setObjectName(u"localFileNameLabel"_s);
    row->addWidget(m_fileName, 1);
    auto *save
        = new ClickableButton(theme, buttonLook(ThemeColor::accentLimeFill, std::nullopt, { 10, 5, 10, 5 }, 5), header);
    save->setObjectName(u"saveLocalFileButton"_s);
    save->addSymbol(u"square.and.arrow.down"_s, ThemeColor::textPrimary, 10)->setFixedColor(QColor(Qt::black));
    save->addText(u"Save to Disk"_s, themeFont(11, QFont::Bold), QColor(Qt::black));
    connect(save, &QAbstractButton::clicked, this, [this] {
        if (m_context.mirror)
            m_context.mirror->saveSelectedLocalFile();
    });
    row->addWidget(save);
    column->addWidget(header);
    column->addWidget(new ThemeDivider(theme, Qt::Horizontal, pane));

    auto *editorBox = new Panel(theme, ThemeColor::canvasBackground, pane);
    auto *box = new QVBoxLayout(editorBox);
    box->setContentsMargins(10, 10, 10, 10);
    box->setSpacing(8);
    m_cutNote = new WrappingLabel(theme, themeFont(11, QFont::DemiBold), cutNoteColor, editorBox);
    m_cutNote->setObjectName(u"localFileCutNoteLabel"_s);
    m_cutNote->hide();
    box->addWidget(m_cutNote);
    m_editor = new ThemedTextEditor(theme, ThemeColor::canvasBackground, editorBox);
    m_editor->setObjectName(u"localFileEditor"_s);
    m_editor->setAccessibleName(u"File Contents"_s);
    m_editor->setFont(themeFont(12, QFont::Normal, true));
    // Long lines wrap at the editor's width (inside a word only when it is longer than a line).
    m_editor->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_editor->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    box->addWidget(m_editor);
    column->addWidget(editorBox, 1);

    connect(m_editor, &ThemedTextEditor::userEdited, this, [this](const QString &text) {
        if (m_context.mirror)
            m_context.mirror->updateSelectedLocalFileContent(text);
    });
    return pane;
}

void LocalFilesTabView::syncEditor()
{
    WorkspaceMirror *mirror = m_context.mirror;
    if (!mirror)
        return;
    const auto file = mirror->selectedLocalFile();
    m_fileName->setText(file ? file->name : defaultFileName);
    // With no file, or one too large to edit, there is nothing to edit: typing would go nowhere.
    const bool tooLarge = file && file->isTooLarge();
    m_editor->setEditable(file && !tooLarge);
    m_editor->setPlaceholderText(!file ? u"This folder has no text files to edit."_s
            : tooLarge                 ? QString(file->tooLargeText() + u'.')
                                       : QString());

    const std::optional<QString> fileID = file ? std::optional<QString>(file->id()) : std::nullopt;
    const QString content = file ? file->content : QString();
    if (fileID != m_shownFileID) {
        m_shownFileID = fileID;
        m_editor->showDocumentQuietly(content);
    } else {
        m_editor->setTextQuietly(content);
    }
    m_cutNote->setText(m_editor->cutNote());
    m_cutNote->setVisible(m_editor->isCut());
}

} // namespace orvane
