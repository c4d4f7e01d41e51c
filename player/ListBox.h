#pragma once

#include "platform/files/DelimitedFile.h"
#include "platform/files/WholeFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QSet>

// Playlist files and the removal of duplicate rows, for the program's list and combo boxes.
namespace ListBox {

// Rows read between two turns of the window's event processing while a list file loads.
constexpr int RowsPerEventTurn = 50;

// Removes every row equal (exactly, letter case included) to an earlier row; the first
// occurrence of every text stays, and the rows keep their order.
template <class List> void RemoveDuplicateRows(List& list)
{
    QSet<QString> seen;
    for (int i = 0; i < list.ListCount(); ++i) {
        const QString row = list.List(i);
        if (seen.contains(row)) {
            list.RemoveItem(i);
            --i;
        } else {
            seen.insert(row);
        }
    }
}

// Writes every row as one line ended by CR LF, no quoting. False when the file can't be written.
template <class List> bool SaveListBox(const QString& path, List& list)
{
    // Replaced whole: a failed or interrupted save leaves the list file as it was.
    QByteArray bytes;
    for (int i = 0; i < list.ListCount(); ++i)
        bytes += (list.List(i) + QStringLiteral("\r\n")).toUtf8();
    return files::WriteWholeFile(path, bytes);
}

// Appends the delimited items of the file as rows (so a line holding a comma gives two rows).
// The window stays responsive while a long file loads. A file that can't be read adds nothing.
template <class List> void LoadListBox(const QString& path, List& list)
{
    files::DelimitedReader reader(path, files::DelimitedReader::WholeFile);
    QPointer<List> alive(&list);
    int rows = 0;
    while (auto item = reader.ReadItem()) {
        if (++rows % RowsPerEventTurn == 0) {
            QCoreApplication::processEvents();
            if (!alive) return;
        }
        list.AddItem(*item);
    }
}

} // namespace ListBox
