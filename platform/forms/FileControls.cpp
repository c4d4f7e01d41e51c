#include "platform/forms/FileControls.h"

#include <QDir>

namespace forms {

namespace {
constexpr QDir::SortFlags ByName = QDir::Name | QDir::IgnoreCase;
}

DirListBox::DirListBox(QObject* parent)
    : QObject(parent)
{
}

void DirListBox::setPath(const QString& path)
{
    const bool changed = path != path_;
    path_ = path;
    folders_.clear();
    if (!path.isEmpty()) {
        const QDir folder(path);
        for (const QString& name : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, ByName))
            folders_ << folder.filePath(name);
    }
    if (changed) emit Change();
}

FileListBox::FileListBox(QObject* parent)
    : QObject(parent)
{
}

void FileListBox::setPath(const QString& path)
{
    path_ = path;
    files_ = path.isEmpty() ? QStringList() : QDir(path).entryList(QDir::Files, ByName);
}

} // namespace forms
