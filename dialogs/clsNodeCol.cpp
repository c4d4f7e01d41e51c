#include "dialogs/clsNodeCol.h"

void clsNodeCol::AddNode(const QString& Key)
{
    if (Key.isEmpty() || byKey_.contains(Key)) return;
    auto node = std::make_unique<clsNode>();
    node->setNodeID(Key);
    byKey_.insert(Key, node.get());
    order_.push_back(std::move(node));
}

void clsNodeCol::Clear()
{
    while (!order_.empty()) {
        byKey_.remove(order_.back()->NodeID());
        order_.pop_back();
    }
}

clsNode* clsNodeCol::Item(const QString& Key) const { return byKey_.value(Key); }
