#pragma once

#include "platform/forms/Extent.h"

#include <QTreeView>

class QFileSystemModel;

// The explorer pane's two views over the file system: a tree of folders and a list of the files
// of one folder. Files can be dragged out of the list as a file list, as the desktop's file
// manager drags them.

// The folder tree. Path is the selected folder; choosing another one raises PathChange.
class ExplorerTree : public QTreeView, public forms::Extent {
    Q_OBJECT
public:
    explicit ExplorerTree(QWidget* parent);

    QString Path() const;
    void setPath(const QString& path);

signals:
    void PathChange();

private:
    QFileSystemModel* model_;
};

// The file list of one folder, filtered by patterns such as "*.mp3;*.wav".
class ExplorerList : public QTreeView, public forms::Extent {
    Q_OBJECT
public:
    // How the files are shown: names only, or names with size, type and date.
    enum class View { List = 2, Details = 3 };

    explicit ExplorerList(QWidget* parent, const QString& filter);

    QString Path() const { return path_; }
    void setPath(const QString& path);
    View ViewMode() const { return view_; }
    void setViewMode(View view);
    // The files shown now, in their order, as full paths.
    QStringList Files() const;

private:
    QFileSystemModel* model_;
    QString path_;
    View view_ = View::List;
};
