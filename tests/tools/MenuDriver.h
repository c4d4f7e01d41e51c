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

class PlayerProcess;

// Chooses the menu item and waits for the window whose title contains `title`. A click can go
// astray on a busy machine, so when the window does not come, any menu left open is closed and
// the item is chosen again (three times at most). Returns the window's id, or an empty text.
QString OpenFromMenu(PlayerProcess& player, const QString& window, const QString& keys, const std::vector<MenuRow>& path,
    const QString& title, int timeoutMs = 20000);
