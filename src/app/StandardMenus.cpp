#include "app/StandardMenus.h"

#include "app/AboutDialog.h"
#include "app/OrvaneMainWindow.h"
#include "app/RootView.h"
#include "ide/views/kit/CappedTextEdit.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/window/CampaignIDEWorkspaceView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace orvane {

using namespace Qt::StringLiterals;

namespace {

// The platform's bindings for a standard key with `primary` first, the one the menu shows (some
// platforms bind no key to Quit, or put Ctrl+F4 before Ctrl+W).
QList<QKeySequence> standardKeys(QKeySequence::StandardKey key, const QKeySequence &primary)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    keys.removeAll(primary);
    keys.prepend(primary);
    return keys;
}

QAction *addAction(QMenu *menu, const QString &title, const QString &objectName, const QList<QKeySequence> &keys)
{
    QAction *action = menu->addAction(title);
    action->setObjectName(objectName);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

// The text field behind a focused control: a line edit, a text editor, or an editable combo box's
// line edit.
QWidget *textFieldOf(QWidget *widget)
{
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        return combo->isEditable() ? combo->lineEdit() : nullptr;
    if (qobject_cast<QLineEdit *>(widget) || qobject_cast<QTextEdit *>(widget)
        || qobject_cast<QPlainTextEdit *>(widget))
        return widget;
    return nullptr;
}

// What a text field can do now, one flag per Edit item.
struct EditAbilities {
    bool undo = false, redo = false, cut = false, copy = false, paste = false, selectAll = false;
};

bool clipboardHasText()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

EditAbilities abilitiesOf(QWidget *field)
{
    EditAbilities can;
    if (auto *line = qobject_cast<QLineEdit *>(field)) {
        const bool editable = !line->isReadOnly() && line->isEnabled();
        const bool hidden = line->echoMode() != QLineEdit::Normal;
        can.undo = editable && line->isUndoAvailable();
        can.redo = editable && line->isRedoAvailable();
        can.copy = line->hasSelectedText() && !hidden;
        can.cut = can.copy && editable;
        can.paste = editable && clipboardHasText();
        can.selectAll = !line->text().isEmpty();
        if (auto *capped = qobject_cast<CappedLineEdit *>(line))
            can.undo = can.undo || capped->canUndoLongPaste();
        return can;
    }
    const auto fromDocument = [&can](auto *edit) {
        const bool editable = !edit->isReadOnly() && edit->isEnabled();
        can.undo = editable && edit->document()->isUndoAvailable();
        can.redo = editable && edit->document()->isRedoAvailable();
        can.copy = edit->textCursor().hasSelection();
        can.cut = can.copy && editable;
        can.paste = editable && edit->canPaste();
        can.selectAll = !edit->document()->isEmpty();
    };
    if (auto *text = qobject_cast<QTextEdit *>(field))
        fromDocument(text);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(field))
        fromDocument(plain);
    if (auto *capped = qobject_cast<CappedTextEdit *>(field))
        can.undo = can.undo || capped->canUndoLongPaste();
    return can;
}

// The capped fields' paste and their undo of a paste shown cut, as their keys do them; the
// fields' standard operations miss both (QLineEdit::paste() is not virtual). Whether it acted.
bool applyCappedEdit(QWidget *field, StandardMenus::EditItem item)
{
    if (auto *line = qobject_cast<CappedLineEdit *>(field)) {
        if (item == StandardMenus::EditItem::paste) {
            line->pasteWhole();
            return true;
        }
        return item == StandardMenus::EditItem::undo && line->undoLongPaste();
    }
    auto *editor = qobject_cast<CappedTextEdit *>(field);
    return editor && item == StandardMenus::EditItem::undo && editor->undoLongPaste();
}

// Calls the field's own operation for the item (each of the three kinds has the same six).
template <typename Field> void applyEdit(Field *field, StandardMenus::EditItem item)
{
    switch (item) {
    case StandardMenus::EditItem::undo:
        field->undo();
        break;
    case StandardMenus::EditItem::redo:
        field->redo();
        break;
    case StandardMenus::EditItem::cut:
        field->cut();
        break;
    case StandardMenus::EditItem::copy:
        field->copy();
        break;
    case StandardMenus::EditItem::paste:
        field->paste();
        break;
    case StandardMenus::EditItem::selectAll:
        field->selectAll();
        break;
    }
}

} // namespace

StandardMenus::StandardMenus(QMainWindow *window)
    : QObject(window),
      m_window(window),
      m_file(window->menuBar()->addMenu(u"&File"_s)),
      m_edit(window->menuBar()->addMenu(u"&Edit"_s))
{
    m_file->setObjectName(u"fileMenu"_s);
    QAction *close = addAction(m_file, u"Close Window"_s, u"closeWindowAction"_s,
        standardKeys(QKeySequence::Close, QKeySequence(Qt::CTRL | Qt::Key_W)));
    connect(close, &QAction::triggered, m_window, &QWidget::close);
    m_file->addSeparator();
    QAction *quit = addAction(
        m_file, u"Quit"_s, u"quitAction"_s, standardKeys(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));
    quit->setMenuRole(QAction::QuitRole);
    connect(quit, &QAction::triggered, this, &StandardMenus::quitApplication);

    m_edit->setObjectName(u"editMenu"_s);
    const struct {
        QString title;
        QString objectName;
        EditItem item;
        QKeySequence::StandardKey key;
    } items[] = {
        { u"Undo"_s, u"undoAction"_s, EditItem::undo, QKeySequence::Undo },
        { u"Redo"_s, u"redoAction"_s, EditItem::redo, QKeySequence::Redo },
        { u"Cut"_s, u"cutAction"_s, EditItem::cut, QKeySequence::Cut },
        { u"Copy"_s, u"copyAction"_s, EditItem::copy, QKeySequence::Copy },
        { u"Paste"_s, u"pasteAction"_s, EditItem::paste, QKeySequence::Paste },
        { u"Select All"_s, u"selectAllAction"_s, EditItem::selectAll, QKeySequence::SelectAll },
    };
    for (const auto &entry : items) {
        if (entry.item == EditItem::cut || entry.item == EditItem::selectAll)
            m_edit->addSeparator();
        QAction *action = addAction(m_edit, entry.title, entry.objectName, QKeySequence::keyBindings(entry.key));
        connect(action, &QAction::triggered, this, [this, item = entry.item] { triggerEdit(item); });
        m_editActions.append(action);
    }
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { followFocus(now); });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &StandardMenus::updateEditActions);
    connect(m_edit, &QMenu::aboutToShow, this, &StandardMenus::updateEditActions);
    // Nothing to edit until a text field has the focus: an enabled item would take its keys (Ctrl+C
    // in a selectable text) and do nothing.
    updateEditActions();
    followFocus(QApplication::focusWidget());
}

void StandardMenus::addHelpMenu()
{
    m_help = m_window->menuBar()->addMenu(u"&Help"_s);
    m_help->setObjectName(u"helpMenu"_s);
    QAction *about = addAction(m_help, u"About Orvane"_s, u"aboutAction"_s, {});
    about->setMenuRole(QAction::AboutRole);
    connect(about, &QAction::triggered, this, &StandardMenus::showAbout);
}

void StandardMenus::quitApplication()
{
    // Copied: closing a window changes the list.
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    for (QWidget *widget : windows) {
        auto *window = qobject_cast<OrvaneMainWindow *>(widget);
        if (window && window->isVisible() && !window->close())
            return;
    }
    QCoreApplication::quit();
}

void StandardMenus::followFocus(QWidget *now)
{
    // The focus passing to a menu, to the menu bar (Alt, Alt+E) or to another window leaves the
    // target as it was, so the menu acts on the field the user was in.
    if (!now || now->window() != m_window || qobject_cast<QMenuBar *>(now))
        return;
    QWidget *field = textFieldOf(now);
    if (field == m_target)
        return;
    for (const QMetaObject::Connection &connection : std::as_const(m_targetConnections))
        disconnect(connection);
    m_targetConnections.clear();
    m_target = field;
    // At once, and again once the edit is done: a field may change what it can do after its last
    // signal of an edit (a long paste becomes the edit to undo once its owner has taken it).
    const auto watch = [this](auto *sender, auto signal) {
        m_targetConnections.append(connect(sender, signal, this, &StandardMenus::updateEditActions));
        m_targetConnections.append(
            connect(sender, signal, this, &StandardMenus::updateEditActions, Qt::QueuedConnection));
    };
    if (auto *line = qobject_cast<QLineEdit *>(field)) {
        watch(line, &QLineEdit::textChanged);
        watch(line, &QLineEdit::selectionChanged);
    } else if (auto *text = qobject_cast<QTextEdit *>(field)) {
        watch(text, &QTextEdit::textChanged);
        watch(text, &QTextEdit::selectionChanged);
        watch(text, &QTextEdit::undoAvailable);
        watch(text, &QTextEdit::redoAvailable);
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(field)) {
        watch(plain, &QPlainTextEdit::textChanged);
        watch(plain, &QPlainTextEdit::selectionChanged);
        watch(plain, &QPlainTextEdit::undoAvailable);
        watch(plain, &QPlainTextEdit::redoAvailable);
    }
    if (field)
        watch(field, &QObject::destroyed);
    updateEditActions();
}

void StandardMenus::updateEditActions()
{
    const EditAbilities can = m_target ? abilitiesOf(m_target) : EditAbilities {};
    const bool flags[] = { can.undo, can.redo, can.cut, can.copy, can.paste, can.selectAll };
    for (int i = 0; i < m_editActions.size(); ++i)
        m_editActions.at(i)->setEnabled(flags[i]);
}

void StandardMenus::triggerEdit(EditItem item)
{
    if (!m_target)
        return;
    if (applyCappedEdit(m_target, item)) {
        updateEditActions();
        return;
    }
    if (auto *line = qobject_cast<QLineEdit *>(m_target))
        applyEdit(line, item);
    else if (auto *text = qobject_cast<QTextEdit *>(m_target))
        applyEdit(text, item);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(m_target))
        applyEdit(plain, item);
    updateEditActions();
}

void StandardMenus::showAbout()
{
    if (auto *open = m_window->findChild<AboutDialog *>(QString(), Qt::FindDirectChildrenOnly)) {
        open->raise();
        open->activateWindow();
        return;
    }
    auto *dialog = new AboutDialog(m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // In the workspace's colours, light or dark, like the window it belongs to.
    auto *main = qobject_cast<OrvaneMainWindow *>(m_window);
    if (CampaignIDEWorkspaceView *workspace = main ? main->rootView()->workspace() : nullptr)
        dialog->setPalette(workspace->themeSource()->theme().palette());
    dialog->show();
}

} // namespace orvane
