#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <vector>

typedef struct Iso_Image IsoImage;
typedef struct Iso_Node IsoNode;
typedef struct Iso_Dir IsoDir;

namespace cdwriter {

// One item of the image as the component's events report it.
struct ImageItem {
    QString parent;
    QString path;
    QString name;
    QString source;
    bool isDirectory = false;
    QDateTime date;
    qint64 size = 0;
};

// The tree of a data disc: folders and files of the image, each file read from its source
// when the image is written. Paths start at "/" and join names with "/". A tree read from a
// disc's last session may be adopted; its files are then "imported" and keep their place on
// the disc when a new session grows it.
class DataImage {
public:
    DataImage();
    // Takes over a reference to an image read from a disc.
    explicit DataImage(IsoImage* adopted);
    ~DataImage();
    DataImage(const DataImage&) = delete;
    DataImage& operator=(const DataImage&) = delete;

    IsoImage* Image() const { return image_; }

    bool IsDirectory(const QString& path) const;
    bool Exists(const QString& path) const;

    // Adds a regular file (a link to one is followed). A file already at the path is replaced;
    // an imported one only when keepImported answers false. Fails for a source that is no
    // readable regular file, a parent that is no folder, or a name taken by a folder.
    enum class Added { Yes, No, Kept };
    Added AddFile(const QString& path, const QString& source, ImageItem& item,
        const std::function<bool(const ImageItem& imported)>& keepImported);
    // Adds a folder node with the source folder's date, or finds the one already there.
    bool AddFolder(const QString& path, const QString& source, ImageItem& item);

    bool Remove(const QString& path, bool& wasDirectory);
    // Renames a file (directory false) or a folder (directory true); the new name must be free.
    bool Rename(const QString& path, const QString& name, bool directory, QString& newPath);
    bool List(const QString& path, std::vector<ImageItem>& items) const;

    // Moves every item of other into this tree; a file that meets an imported one of this tree
    // replaces it only when keepImported answers false. Items of this tree are reported by
    // reportOwn, before the move, so a viewer can show them.
    void MergeFrom(DataImage& other, const std::function<bool(const ImageItem& imported)>& keepImported);
    // Moves the files of other that were not read from a disc into this tree, each at its path
    // (its folders made here as needed); the imported files stay behind with other.
    void TakeOwnFrom(DataImage& other);
    void Walk(const std::function<void(const ImageItem&)>& visit) const;

    int Files() const;
    int Directories() const;
    // 2048-byte blocks the written image is expected to take.
    qint64 Blocks() const;
    // The source paths of the files that are not imported, in tree order.
    std::vector<QString> SourceFiles() const;

    void SetVolumeId(const QString& id);
    // Empties the tree of another image and builds this one's folders and files in it, read from
    // the same sources. False when an item could not be made.
    bool CopyInto(IsoImage* target) const;

private:
    IsoNode* Find(const QString& path) const;
    ImageItem Describe(IsoNode* node, const QString& parentPath) const;
    void MergeDir(IsoDir* from, IsoDir* to, const QString& toPath,
        const std::function<bool(const ImageItem&)>& keepImported);
    void TakeOwnDir(IsoDir* from, IsoDir* to);
    bool CopyDir(IsoDir* from, IsoImage* target, IsoDir* to) const;
    void WalkDir(IsoDir* dir, const QString& path, const std::function<void(IsoNode*, const QString&)>& visit) const;

    IsoImage* image_ = nullptr;
};

// Splits an image path into its parent's path and its name ("/a/b" gives "/a" and "b").
void SplitImagePath(const QString& path, QString& parent, QString& name);
QString JoinImagePath(const QString& parent, const QString& name);
bool IsImported(IsoNode* node);

} // namespace cdwriter
