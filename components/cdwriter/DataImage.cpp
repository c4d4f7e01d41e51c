#include "components/cdwriter/DataImage.h"

#include "components/cdwriter/BurnLibrary.h"

#include "components/cdwriter/Libraries.h"

#include <QFileInfo>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace cdwriter {

namespace {

constexpr qint64 kBlock = 2048;
// The system area, the volume descriptors and the path tables of an image.
constexpr qint64 kFixedBlocks = 16 + 4 + 8;

QByteArray Local(const QString& text) { return text.toUtf8(); }

IsoDir* AsDir(IsoNode* node) { return node ? ISO_DIR(node) : nullptr; }

IsoNode* Child(IsoDir* dir, const QString& name)
{
    IsoNode* node = nullptr;
    if (iso_dir_get_node(dir, Local(name).constData(), &node) != 1) return nullptr;
    return node;
}

std::vector<IsoNode*> Children(IsoDir* dir)
{
    std::vector<IsoNode*> nodes;
    IsoDirIter* iter = nullptr;
    if (iso_dir_get_children(dir, &iter) < 0) return nodes;
    IsoNode* node = nullptr;
    while (iso_dir_iter_next(iter, &node) == 1) nodes.push_back(node);
    iso_dir_iter_free(iter);
    return nodes;
}

// A regular file (or a link to one) that can be read; pipes and devices never end.
bool ReadableFile(const QString& source)
{
    std::error_code error;
    const std::filesystem::path path(source.toStdString());
    return std::filesystem::is_regular_file(path, error) && ::access(path.c_str(), R_OK) == 0;
}

bool ValidName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

} // namespace

void SplitImagePath(const QString& path, QString& parent, QString& name)
{
    QString p = path;
    while (p.size() > 1 && p.endsWith(QLatin1Char('/'))) p.chop(1);
    const int slash = p.lastIndexOf(QLatin1Char('/'));
    name = p.mid(slash + 1);
    parent = slash <= 0 ? QStringLiteral("/") : p.left(slash);
}

QString JoinImagePath(const QString& parent, const QString& name)
{
    return parent.endsWith(QLatin1Char('/')) ? parent + name : parent + QLatin1Char('/') + name;
}

bool IsImported(IsoNode* node)
{
    IsoFile* file = ISO_FILE(node);
    if (!file) return false;
    int count = 0;
    iso_file_section* sections = nullptr;
    const int result = iso_file_get_old_image_sections(file, &count, &sections, 0);
    std::free(sections);
    return result == 1;
}

DataImage::DataImage()
{
    BurnLibrary::Ensure();
    iso_image_new("New Disc", &image_);
    iso_tree_set_follow_symlinks(image_, 1);
    iso_tree_set_ignore_special(image_, 1);
}

DataImage::DataImage(IsoImage* adopted)
    : image_(adopted)
{
    iso_tree_set_follow_symlinks(image_, 1);
    iso_tree_set_ignore_special(image_, 1);
}

DataImage::~DataImage()
{
    if (image_) iso_image_unref(image_);
}

IsoNode* DataImage::Find(const QString& path) const
{
    IsoNode* node = reinterpret_cast<IsoNode*>(iso_image_get_root(image_));
    const QStringList names = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& name : names) {
        IsoDir* dir = ISO_DIR(node);
        if (!dir) return nullptr;
        node = Child(dir, name);
        if (!node) return nullptr;
    }
    return node;
}

bool DataImage::IsDirectory(const QString& path) const
{
    IsoNode* node = Find(path);
    return node && ISO_NODE_IS_DIR(node);
}

bool DataImage::Exists(const QString& path) const { return Find(path) != nullptr; }

ImageItem DataImage::Describe(IsoNode* node, const QString& parentPath) const
{
    ImageItem item;
    item.parent = parentPath;
    item.name = QString::fromUtf8(iso_node_get_name(node));
    item.path = JoinImagePath(parentPath, item.name);
    item.isDirectory = ISO_NODE_IS_DIR(node);
    item.date = QDateTime::fromSecsSinceEpoch(iso_node_get_mtime(node));
    if (IsoFile* file = ISO_FILE(node)) item.size = iso_file_get_size(file);
    return item;
}

DataImage::Added DataImage::AddFile(const QString& path, const QString& source, ImageItem& item,
    const std::function<bool(const ImageItem&)>& keepImported)
{
    QString parentPath, name;
    SplitImagePath(path, parentPath, name);
    IsoDir* parent = AsDir(Find(parentPath));
    const QFileInfo info(source);
    if (!parent || !ValidName(name) || !ReadableFile(source)) return Added::No;

    if (IsoNode* existing = Child(parent, name)) {
        if (ISO_NODE_IS_DIR(existing)) return Added::No;
        if (IsImported(existing) && keepImported(Describe(existing, parentPath))) return Added::Kept;
        iso_node_remove(existing);
    }
    IsoNode* node = nullptr;
    if (iso_tree_add_new_node(image_, parent, Local(name).constData(), Local(info.absoluteFilePath()).constData(), &node) < 0)
        return Added::No;
    // A link is followed at the add, so the image keeps the size of what it points to.
    item = Describe(node, parentPath);
    item.source = source;
    return Added::Yes;
}

bool DataImage::AddFolder(const QString& path, const QString& source, ImageItem& item)
{
    QString parentPath, name;
    SplitImagePath(path, parentPath, name);
    IsoDir* parent = AsDir(Find(parentPath));
    if (!parent || !ValidName(name)) return false;
    if (IsoNode* existing = Child(parent, name)) {
        if (!ISO_NODE_IS_DIR(existing)) return false;
        item = Describe(existing, parentPath);
        return true;
    }
    IsoNode* node = nullptr;
    const QFileInfo info(source);
    int result = -1;
    if (info.isDir())
        result = iso_tree_add_new_node(image_, parent, Local(name).constData(), Local(info.absoluteFilePath()).constData(), &node);
    if (result < 0 || !node || !ISO_NODE_IS_DIR(node)) {
        if (node) iso_node_remove(node);
        IsoDir* dir = nullptr;
        if (iso_image_add_new_dir(image_, parent, Local(name).constData(), &dir) < 0) return false;
        node = reinterpret_cast<IsoNode*>(dir);
    }
    item = Describe(node, parentPath);
    item.source = source;
    return true;
}

bool DataImage::Remove(const QString& path, bool& wasDirectory)
{
    IsoNode* node = Find(path);
    if (!node || node == reinterpret_cast<IsoNode*>(iso_image_get_root(image_))) return false;
    wasDirectory = ISO_NODE_IS_DIR(node);
    return iso_node_remove(node) == 1;
}

bool DataImage::Rename(const QString& path, const QString& name, bool directory, QString& newPath)
{
    IsoNode* node = Find(path);
    if (!node || node == reinterpret_cast<IsoNode*>(iso_image_get_root(image_))) return false;
    if (ISO_NODE_IS_DIR(node) != directory || !ValidName(name)) return false;
    QString parentPath, oldName;
    SplitImagePath(path, parentPath, oldName);
    if (name == oldName) {
        newPath = path;
        return true;
    }
    if (Child(iso_node_get_parent(node), name)) return false;
    if (iso_image_set_node_name(image_, node, Local(name).constData(), 0) != 1) return false;
    newPath = JoinImagePath(parentPath, name);
    return true;
}

bool DataImage::List(const QString& path, std::vector<ImageItem>& items) const
{
    IsoDir* dir = AsDir(Find(path));
    if (!dir) return false;
    QString parentPath = path.isEmpty() ? QStringLiteral("/") : path;
    for (IsoNode* node : Children(dir)) items.push_back(Describe(node, parentPath));
    return true;
}

void DataImage::WalkDir(IsoDir* dir, const QString& path, const std::function<void(IsoNode*, const QString&)>& visit) const
{
    for (IsoNode* node : Children(dir)) {
        visit(node, path);
        if (IsoDir* sub = ISO_DIR(node))
            WalkDir(sub, JoinImagePath(path, QString::fromUtf8(iso_node_get_name(node))), visit);
    }
}

void DataImage::Walk(const std::function<void(const ImageItem&)>& visit) const
{
    WalkDir(iso_image_get_root(image_), QStringLiteral("/"),
        [&](IsoNode* node, const QString& parent) { visit(Describe(node, parent)); });
}

void DataImage::MergeDir(IsoDir* from, IsoDir* to, const QString& toPath,
    const std::function<bool(const ImageItem&)>& keepImported)
{
    for (IsoNode* node : Children(from)) {
        const char* name = iso_node_get_name(node);
        IsoNode* existing = nullptr;
        iso_dir_get_node(to, name, &existing);
        if (existing && ISO_NODE_IS_DIR(existing) && ISO_NODE_IS_DIR(node)) {
            MergeDir(ISO_DIR(node), ISO_DIR(existing), JoinImagePath(toPath, QString::fromUtf8(name)), keepImported);
            continue;
        }
        if (existing) {
            if (IsImported(existing) && keepImported(Describe(existing, toPath))) continue;
            iso_node_remove(existing);
        }
        iso_node_ref(node);
        iso_node_take(node);
        if (iso_dir_add_node(to, node, ISO_REPLACE_NEVER) < 0) iso_node_unref(node);
        else iso_node_unref(node);
    }
}

void DataImage::MergeFrom(DataImage& other, const std::function<bool(const ImageItem&)>& keepImported)
{
    MergeDir(iso_image_get_root(other.image_), iso_image_get_root(image_), QStringLiteral("/"), keepImported);
}

void DataImage::TakeOwnDir(IsoDir* from, IsoDir* to)
{
    for (IsoNode* node : Children(from)) {
        const char* name = iso_node_get_name(node);
        if (IsoDir* dir = ISO_DIR(node)) {
            IsoNode* existing = nullptr;
            iso_dir_get_node(to, name, &existing);
            IsoDir* copy = existing ? ISO_DIR(existing) : nullptr;
            if (!copy) {
                if (existing || iso_image_add_new_dir(image_, to, name, &copy) < 0) continue;
                iso_node_set_mtime(reinterpret_cast<IsoNode*>(copy), iso_node_get_mtime(node));
            }
            TakeOwnDir(dir, copy);
        } else if (!IsImported(node)) {
            iso_node_ref(node);
            iso_node_take(node);
            // A node the folder does not take is ours to free.
            if (iso_dir_add_node(to, node, ISO_REPLACE_NEVER) < 0) iso_node_unref(node);
            iso_node_unref(node);
        }
    }
}

void DataImage::TakeOwnFrom(DataImage& other)
{
    TakeOwnDir(iso_image_get_root(other.image_), iso_image_get_root(image_));
}

int DataImage::Files() const
{
    int count = 0;
    WalkDir(iso_image_get_root(image_), QStringLiteral("/"), [&](IsoNode* node, const QString&) {
        if (ISO_NODE_IS_FILE(node)) ++count;
    });
    return count;
}

int DataImage::Directories() const
{
    int count = 0;
    WalkDir(iso_image_get_root(image_), QStringLiteral("/"), [&](IsoNode* node, const QString&) {
        if (ISO_NODE_IS_DIR(node)) ++count;
    });
    return count;
}

qint64 DataImage::Blocks() const
{
    // Each folder takes at least one block for its records (two with Joliet's second tree); a
    // file takes whole blocks.
    qint64 blocks = kFixedBlocks + 2;
    WalkDir(iso_image_get_root(image_), QStringLiteral("/"), [&](IsoNode* node, const QString&) {
        if (IsoFile* file = ISO_FILE(node)) {
            if (!IsImported(node)) blocks += (iso_file_get_size(file) + kBlock - 1) / kBlock;
        } else if (ISO_NODE_IS_DIR(node)) {
            blocks += 2;
        }
    });
    return blocks;
}

std::vector<QString> DataImage::SourceFiles() const
{
    std::vector<QString> files;
    WalkDir(iso_image_get_root(image_), QStringLiteral("/"), [&](IsoNode* node, const QString&) {
        IsoFile* file = ISO_FILE(node);
        if (!file || IsImported(node)) return;
        IsoStream* stream = iso_file_get_stream(file);
        if (char* id = stream ? iso_stream_get_source_path(stream, 0) : nullptr) {
            files.push_back(QString::fromUtf8(id));
            std::free(id);
        }
    });
    return files;
}

bool DataImage::CopyDir(IsoDir* from, IsoImage* target, IsoDir* to) const
{
    for (IsoNode* node : Children(from)) {
        const char* name = iso_node_get_name(node);
        if (IsoDir* dir = ISO_DIR(node)) {
            IsoDir* copy = nullptr;
            if (iso_image_add_new_dir(target, to, name, &copy) < 0) return false;
            iso_node_set_mtime(reinterpret_cast<IsoNode*>(copy), iso_node_get_mtime(node));
            if (!CopyDir(dir, target, copy)) return false;
        } else if (IsoFile* file = ISO_FILE(node)) {
            IsoStream* stream = iso_file_get_stream(file);
            char* source = stream ? iso_stream_get_source_path(stream, 0) : nullptr;
            IsoNode* copy = nullptr;
            const int added = source ? iso_tree_add_new_node(target, to, name, source, &copy) : -1;
            std::free(source);
            if (added < 0) return false;
            iso_node_set_mtime(copy, iso_node_get_mtime(node));
        }
    }
    return true;
}

bool DataImage::CopyInto(IsoImage* target) const
{
    IsoDir* root = iso_image_get_root(target);
    for (IsoNode* node : Children(root)) iso_node_remove(node);
    return CopyDir(iso_image_get_root(image_), target, root);
}

void DataImage::SetVolumeId(const QString& id)
{
    iso_image_set_volume_id(image_, Local(id.left(32)).constData());
}

} // namespace cdwriter
