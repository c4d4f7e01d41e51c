#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh folder for one test's files, removed afterwards.
class TempDir {
public:
    TempDir();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};
