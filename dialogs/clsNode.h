#pragma once

#include <QString>

// What the folder browser keeps about one node of its tree.
class clsNode {
public:
    bool CanClickOK() const { return canClickOK_; }
    void setCanClickOK(bool on) { canClickOK_ = on; }
    // The node's subfolders have been added, or it needs none.
    bool HasBeenBrowsed() const { return hasBeenBrowsed_; }
    void setHasBeenBrowsed(bool on) { hasBeenBrowsed_ = on; }
    // The node's key, the same as the tree node's.
    QString NodeID() const { return nodeID_; }
    void setNodeID(const QString& id) { nodeID_ = id; }
    QString FolderPath() const { return folderPath_; }
    void setFolderPath(const QString& path) { folderPath_ = path; }

private:
    bool canClickOK_ = true;
    bool hasBeenBrowsed_ = false;
    QString nodeID_;
    QString folderPath_;
};
