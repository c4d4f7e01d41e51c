#include "components/explorer/ExplorerViews.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>

ExplorerTree::ExplorerTree(QWidget* parent)
    : QTreeView(parent)
    , Extent(this)
    , model_(new QFileSystemModel(this))
{
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QString());
    setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        hideColumn(column);
    setHeaderHidden(true);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { emit PathChange(); });
}

QString ExplorerTree::Path() const { return model_->filePath(currentIndex()); }

void ExplorerTree::setPath(const QString& path)
{
    const QModelIndex index = model_->index(path);
    if (!index.isValid()) return;
    setCurrentIndex(index);
    scrollTo(index);
    expand(index);
}

ExplorerList::ExplorerList(QWidget* parent, const QString& filter)
    : QTreeView(parent)
    , Extent(this)
    , model_(new QFileSystemModel(this))
{
    model_->setFilter(QDir::Files);
    model_->setNameFilters(filter.split(QLatin1Char(';'), Qt::SkipEmptyParts));
    model_->setNameFilterDisables(false);
    setModel(model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setViewMode(view_);
}

void ExplorerList::setPath(const QString& path)
{
    path_ = path;
    setRootIndex(model_->setRootPath(path));
}

void ExplorerList::setViewMode(View view)
{
    view_ = view;
    setHeaderHidden(view != View::Details);
    for (int column = 1; column < model_->columnCount(); ++column)
        setColumnHidden(column, view != View::Details);
}

QStringList ExplorerList::Files() const
{
    QStringList files;
    const QModelIndex root = rootIndex();
    for (int row = 0; row < model_->rowCount(root); ++row)
        files << model_->filePath(model_->index(row, 0, root));
    return files;
}
