#pragma once

#include "dialogs/clsNode.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

// The folder browser's node records by key. Keys keep their letter case: two folders whose
// names differ only in case are two records.
class clsNodeCol {
public:
    int Count() const { return int(order_.size()); }
    // Adds a record for a key that is not empty and not present yet; otherwise adds nothing.
    void AddNode(const QString& Key);
    // Removes every record, from the last to the first.
    void Clear();
    // The record of a key; null when there is none.
    clsNode* Item(const QString& Key) const;

private:
    std::vector<std::unique_ptr<clsNode>> order_;
    QHash<QString, clsNode*> byKey_;
};
