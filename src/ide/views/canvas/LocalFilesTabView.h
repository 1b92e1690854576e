#pragma once

#include "ide/views/kit/Panel.h"
#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QWidget>

#include <optional>

class QListView;

namespace orvane {

class ElidedLabel;
class LocalFilesListModel;
class ThemedTextEditor;
class ThemeSplitter;
class WrappingLabel;

// The local files editor: the selected project's text files on the left, the selected file's name,
// "Save to Disk" and a plain-text editor on the right. Every keystroke goes to the model, which
// marks the file modified; only saving writes the file, and its outcome arrives as a notice. The
// editor stays the same widget throughout: switching files replaces its text, edits from the model
// that match what is typed leave it alone.
class LocalFilesTabView final : public Panel {
    Q_OBJECT
public:
    static constexpr int listMinimumWidth = 210;
    static constexpr int listIdealWidth = 230;
    static constexpr int listMaximumWidth = 270;
    // What the header names while the folder has no files.
    static const QString defaultFileName;

    LocalFilesTabView(const WorkspaceViewContext &context, QWidget *parent = nullptr);

    // Nothing: a narrow workbench column clips the view rather than widening the window.
    [[nodiscard]] QSize minimumSizeHint() const override { return { 0, 0 }; }

protected:
    // The view's own ground, so dividers and gaps show over the theme's canvas in any parent.

private:
    QWidget *buildFileList();
    QWidget *buildEditor();
    void syncEditor();

    WorkspaceViewContext m_context;
    LocalFilesListModel *m_files;
    ThemeSplitter *m_splitter = nullptr;
    QListView *m_list = nullptr;
    ElidedLabel *m_fileName = nullptr;
    ThemedTextEditor *m_editor = nullptr;
    WrappingLabel *m_cutNote = nullptr;
    std::optional<QString> m_shownFileID;
};

} // namespace orvane
