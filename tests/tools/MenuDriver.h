#pragma once

#include <QString>
#include <vector>

// Drives the real program's menus on the virtual display: the keys open a menu of the window, and
// the mouse walks down the cascade, choosing in each menu the item at a row (from 0) of so many
// rows. Returns true once the last item was clicked.
struct MenuRow {
    int row;
    int rows;
};
bool ChooseMenuItem(const QString& window, qint64 pid, const QString& keys, const std::vector<MenuRow>& path);
