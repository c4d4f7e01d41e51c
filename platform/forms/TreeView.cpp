#include "platform/forms/TreeView.h"

#include "platform/forms/RuntimeError.h"

#include <QKeyEvent>
#include <QTimer>
#include <algorithm>

namespace forms {

namespace {
constexpr int KeyRole = Qt::UserRole;
constexpr int ImageRole = Qt::UserRole + 1;
constexpr int ExpandedImageRole = Qt::UserRole + 2;
constexpr int ElementNotFound = 35601;
constexpr int KeyNotUnique = 35602;
} // namespace

void ImageList::Add(const QString& key, const QIcon& picture)
{
    if (!pictures_.contains(key)) keys_ << key;
    pictures_.insert(key, picture);
}

QString TreeNode::Key() const { return item->data(0, KeyRole).toString(); }
QString TreeNode::Text() const { return item->text(0); }
void TreeNode::setText(const QString& text) { item->setText(0, text); }
bool TreeNode::Expanded() const { return item->isExpanded(); }
void TreeNode::setExpanded(bool on) { item->setExpanded(on); }
int TreeNode::Children() const { return item->childCount(); }

void TreeNode::RemoveChildren()
{
    while (item->childCount() > 0)
        tree->Remove(item->child(item->childCount() - 1));
}

void TreeNode::SortChildren()
{
    QList<QTreeWidgetItem*> children = item->takeChildren();
    std::stable_sort(children.begin(), children.end(), [](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        return a->text(0).compare(b->text(0), Qt::CaseInsensitive) < 0;
    });
    item->addChildren(children);
}

TreeNode* TreeNode::Parent() const
{
    return item->parent() ? tree->Node(item->parent()->data(0, KeyRole).toString()) : nullptr;
}

TreeView::TreeView(QWidget* parent)
    : QTreeWidget(parent)
    , Extent(this)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (quiet_) return;
        ShowPicture(item);
        if (TreeNode* node = NodeOf(item)) emit Expand(node);
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) { ShowPicture(item); });
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        if (TreeNode* node = NodeOf(item)) emit NodeClick(node);
    });
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
        if (item != editing_) return;
        editing_ = nullptr;
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        TreeNode* node = NodeOf(item);
        const QString newText = item->text(0);
        {
            const QSignalBlocker still(this);
            item->setText(0, editText_);
        }
        // The edit ends once the editor has closed, so the handler may change the tree.
        QTimer::singleShot(0, this, [this, node, newText] {
            int cancel = 0;
            emit AfterLabelEdit(cancel, newText);
            // The node may have gone, or changed its key, meanwhile.
            if (cancel || std::find(nodes_.cbegin(), nodes_.cend(), node) == nodes_.cend()) return;
            const QSignalBlocker still(this);
            node->item->setText(0, newText);
        });
    });
}

void TreeView::keyPressEvent(QKeyEvent* event)
{
    QTreeWidgetItem* before = currentItem();
    QTreeWidget::keyPressEvent(event);
    if (currentItem() && currentItem() != before)
        if (TreeNode* node = NodeOf(currentItem())) emit NodeClick(node);
}

void TreeView::setSelectedItem(TreeNode* node)
{
    setCurrentItem(node ? node->item : nullptr);
}

void TreeView::Remove(const QString& key)
{
    if (TreeNode* node = Node(key)) Remove(node->item);
}

bool TreeView::ChangeKey(const QString& key, const QString& newKey)
{
    if (!nodes_.contains(key) || (key != newKey && nodes_.contains(newKey))) return false;
    TreeNode* node = nodes_.take(key);
    node->item->setData(0, KeyRole, newKey);
    nodes_.insert(newKey, node);
    return true;
}

void TreeView::StartLabelEdit(TreeNode* node)
{
    if (!node) return;
    int cancel = 0;
    emit BeforeLabelEdit(cancel);
    if (cancel) return;
    node->item->setFlags(node->item->flags() | Qt::ItemIsEditable);
    editing_ = node->item;
    editText_ = node->item->text(0);
    editItem(node->item, 0);
}

TreeView::~TreeView() { qDeleteAll(nodes_); }

TreeNode* TreeView::Add(const QString& parentKey, const QString& key, const QString& text, const QString& image,
    const QString& expandedImage)
{
    if (nodes_.contains(key))
        throw RuntimeError(KeyNotUnique, QStringLiteral("TreeView"), QStringLiteral("Key is not unique in collection"));
    QTreeWidgetItem* item = nullptr;
    if (parentKey.isEmpty()) {
        item = new QTreeWidgetItem(this);
    } else {
        TreeNode* parent = Node(parentKey);
        if (!parent) throw RuntimeError(ElementNotFound, QStringLiteral("TreeView"), QStringLiteral("Element not found"));
        item = new QTreeWidgetItem(parent->item);
    }
    item->setText(0, text);
    item->setData(0, KeyRole, key);
    item->setData(0, ImageRole, image);
    item->setData(0, ExpandedImageRole, expandedImage.isEmpty() ? image : expandedImage);
    ShowPicture(item);
    auto* node = new TreeNode {item, this};
    nodes_.insert(key, node);
    return node;
}

TreeNode* TreeView::Node(const QString& key) const { return nodes_.value(key); }

void TreeView::Clear()
{
    quiet_ = true;
    clear();
    qDeleteAll(nodes_);
    nodes_.clear();
    quiet_ = false;
}

TreeNode* TreeView::SelectedItem() const { return currentItem() ? NodeOf(currentItem()) : nullptr; }

void TreeView::Remove(QTreeWidgetItem* item)
{
    while (item->childCount() > 0)
        Remove(item->child(item->childCount() - 1));
    delete nodes_.take(item->data(0, KeyRole).toString());
    delete item;
}

TreeNode* TreeView::NodeOf(QTreeWidgetItem* item) const { return Node(item->data(0, KeyRole).toString()); }

void TreeView::ShowPicture(QTreeWidgetItem* item)
{
    if (!images_) return;
    const int role = item->isExpanded() ? ExpandedImageRole : ImageRole;
    item->setIcon(0, images_->Picture(item->data(0, role).toString()));
}

} // namespace forms
