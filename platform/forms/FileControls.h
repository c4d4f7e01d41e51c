#pragma once

#include <QObject>
#include <QStringList>

namespace forms {

// The directory list: the subfolders of its path as full paths, by name without regard to
// letter case. Hidden folders are not listed. A path that names no folder lists nothing.
class DirListBox : public QObject {
    Q_OBJECT
public:
    explicit DirListBox(QObject* parent);

    QString Path() const { return path_; }
    // Reads the folder again; raises Change when the path is another one.
    void setPath(const QString& path);
    int ListCount() const { return int(folders_.size()); }
    QString List(int index) const { return folders_.value(index); }

signals:
    void Change();

private:
    QString path_;
    QStringList folders_;
};

// The file list: the names of the plain files of its path, by name without regard to letter case.
// Hidden files are not listed. A path that names no folder lists nothing.
class FileListBox : public QObject {
    Q_OBJECT
public:
    explicit FileListBox(QObject* parent);

    QString Path() const { return path_; }
    void setPath(const QString& path);
    int ListCount() const { return int(files_.size()); }
    QString List(int index) const { return files_.value(index); }

private:
    QString path_;
    QStringList files_;
};

} // namespace forms
