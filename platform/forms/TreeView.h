#pragma once

#include "platform/forms/Extent.h"

#include <QHash>
#include <QIcon>
#include <QTreeWidget>

namespace forms {

// Pictures by key, for the nodes of a tree view; the keys also count from 1 in the order added.
class ImageList {
public:
    void Add(const QString& key, const QIcon& picture);
    QIcon Picture(const QString& key) const { return pictures_.value(key); }
    int Count() const { return int(keys_.size()); }
    QString Key(int index) const { return keys_.value(index - 1); }

private:
    QStringList keys_;
    QHash<QString, QIcon> pictures_;
};

class TreeView;

// One node of a tree view, found by its unique key.
class TreeNode {
public:
    QString Key() const;
    QString Text() const;
    void setText(const QString& text);
    bool Expanded() const;
    void setExpanded(bool on);
    int Children() const;
    // Removes every child node with its descendants.
    void RemoveChildren();
    // Orders the children by text, ignoring letter case.
    void SortChildren();
    TreeNode* Parent() const;

    QTreeWidgetItem* item;
    TreeView* tree;
};

// A tree of keyed nodes with pictures from an image list. Expanding a node raises Expand as it
// opens, so that its children can be filled in; choosing one raises NodeClick, whether it is
// clicked or reached with the keyboard (arrow keys, typing the start of its text). Adding a key
// that is already present raises error 35602, naming a parent that is not present error 35601.
class TreeView : public QTreeWidget, public Extent {
    Q_OBJECT
public:
    explicit TreeView(QWidget* parent);
    ~TreeView() override;

    void setImageList(const ImageList* images) { images_ = images; }

    // A root node when parentKey is empty, otherwise a child of that node. Pictures by image key
    // (an empty key for none); the expanded picture shows while the node is open.
    TreeNode* Add(const QString& parentKey, const QString& key, const QString& text, const QString& image = {},
        const QString& expandedImage = {});
    TreeNode* Node(const QString& key) const;
    int Count() const { return int(nodes_.size()); }
    void Clear();
    TreeNode* SelectedItem() const;
    void setSelectedItem(TreeNode* node);
    // Removes the node with its descendants.
    void Remove(const QString& key);
    // Gives a node another key; false when the new key is taken or the node is not there.
    bool ChangeKey(const QString& key, const QString& newKey);

    // Lets the user edit the node's text in place. BeforeLabelEdit may cancel before the editor
    // opens; AfterLabelEdit gets the new text and may cancel, which keeps the old text.
    void StartLabelEdit(TreeNode* node);

signals:
    void Expand(TreeNode* node);
    void NodeClick(TreeNode* node);
    void BeforeLabelEdit(int& cancel);
    void AfterLabelEdit(int& cancel, const QString& newText);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class TreeNode;
    TreeNode* NodeOf(QTreeWidgetItem* item) const;
    // Deletes the item with its descendants and forgets their keys.
    void Remove(QTreeWidgetItem* item);
    void ShowPicture(QTreeWidgetItem* item);

    const ImageList* images_ = nullptr;
    QHash<QString, TreeNode*> nodes_;
    bool quiet_ = false;
    QTreeWidgetItem* editing_ = nullptr;
    QString editText_;
};

} // namespace forms
