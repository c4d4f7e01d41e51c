#include "components/cdwriter/CDWriterXP.h"

#include "components/cdwriter/AudioWrite.h"

#include "components/cdwriter/DataImage.h"
#include "components/cdwriter/DataWrite.h"
#include "components/cdwriter/DiscJobs.h"
#include "components/cdwriter/Drives.h"
#include "components/cdwriter/JobThread.h"

#include "components/cdwriter/Libraries.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <map>

using namespace cdwriter;

namespace {

// Deeper folders than this are not followed; a tree that deep is a loop or a mistake.
constexpr int kMaxDepth = 64;

} // namespace

CDWriterXP::CDWriterXP(QObject* parent)
    : QObject(parent)
    , image_(std::make_unique<DataImage>())
    , job_(std::make_unique<JobThread>(this))
{
}

CDWriterXP::~CDWriterXP()
{
    // The job ends before the image and the drive it uses go.
    job_.reset();
    image_.reset();
    imported_.reset();
}

void CDWriterXP::setVolumeIdentifier(const QString& id) { volumeIdentifier_ = id.left(32); }

bool CDWriterXP::Busy() const { return job_->Running(); }

// --- Drives ---------------------------------------------------------------------------------

int CDWriterXP::DeviceCount()
{
    if (!devices_) devices_ = std::make_unique<DeviceList>();
    return devices_->Count();
}

QString CDWriterXP::DeviceTextA(int index)
{
    DeviceCount();
    const Device* device = devices_->At(index);
    return device ? device->vendor : QString();
}

QString CDWriterXP::DeviceTextB(int index)
{
    DeviceCount();
    const Device* device = devices_->At(index);
    return device ? device->product : QString();
}

QString CDWriterXP::DeviceTextC(int index)
{
    DeviceCount();
    const Device* device = devices_->At(index);
    return device ? device->revision : QString();
}

const Device* CDWriterXP::CurrentDevice()
{
    DeviceCount();
    return devices_->At(device_);
}

bool CDWriterXP::OpenDevice(int index)
{
    if (ImageLocked()) return false;
    DeviceCount();
    // The drive an imported session is read from is held already.
    if (imported_ && index == device_) return true;
    if (imported_) ClearImage();
    device_ = -1;
    const Device* device = devices_->At(index);
    if (!device || !DeviceOpens(*device)) return false;
    device_ = index;
    return true;
}

bool CDWriterXP::WithDrive(const std::function<void(HeldDrive&)>& use)
{
    if (Busy()) return false;
    const Device* device = CurrentDevice();
    if (!device) return false;
    if (imported_) {
        use(*imported_);
        return true;
    }
    std::unique_ptr<HeldDrive> held = HeldDrive::Acquire(*device);
    if (!held) return false;
    use(*held);
    return true;
}

std::shared_ptr<HeldDrive> CDWriterXP::DriveForJob()
{
    if (ImageLocked()) return nullptr;
    if (imported_) return imported_;
    const Device* device = CurrentDevice();
    if (!device) return nullptr;
    return HeldDrive::Acquire(*device, true);
}

DiscInfo CDWriterXP::CurrentDisc()
{
    DiscInfo info;
    WithDrive([&](HeldDrive& held) { info = ReadDiscInfo(held); });
    return info;
}

bool CDWriterXP::EjectDisc()
{
    if (ImageLocked() || !CurrentDevice()) return false;
    if (CurrentDevice()->imageRecorder) return true;
    // The image may hold files of the disc that leaves.
    if (imported_) ClearImage();
    return WithDrive([](HeldDrive& held) { held.EjectOnRelease(); });
}

bool CDWriterXP::LoadDisc()
{
    const Device* device = CurrentDevice();
    if (Busy() || !device) return false;
    // A drive held for an imported session has its disc in; any other closes its tray when it is
    // taken for loading.
    return imported_ || HeldDrive::Acquire(*device, true);
}

bool CDWriterXP::DiscPresent() { return CurrentDisc().present; }

bool CDWriterXP::SetSpeed(int speed)
{
    if (speed < 0) return false;
    speed_ = speed;
    return true;
}

int CDWriterXP::MaxSpeed()
{
    int speed = 0;
    WithDrive([&](HeldDrive& held) { speed = held.MaxSpeed(); });
    return speed;
}

bool CDWriterXP::SupportsFeature(int feature)
{
    if (feature != 7) return false;
    // The disc-image recorder writes rewritable discs whatever its file holds.
    if (const Device* device = CurrentDevice(); device && device->imageRecorder) return true;
    bool supported = false;
    WithDrive([&](HeldDrive& held) { supported = held.WritesRewritable(); });
    return supported;
}

bool CDWriterXP::SupportsBurnProof()
{
    bool supported = false;
    WithDrive([&](HeldDrive& held) { supported = held.HasBurnProof(); });
    return supported;
}

// --- Disc -----------------------------------------------------------------------------------

int CDWriterXP::DiscStatus() { return CurrentDisc().status; }
int CDWriterXP::DiscType() { return CurrentDisc().type; }
bool CDWriterXP::DiscErasable() { return CurrentDisc().erasable; }
int CDWriterXP::SessionCount() { return CurrentDisc().sessions; }
int CDWriterXP::LastSessionState() { return CurrentDisc().lastSession; }

qint64 CDWriterXP::DiscCapacity(int unit)
{
    const qint64 blocks = CurrentDisc().freeBlocks;
    return unit == 1 ? blocks : ConvertSize(blocks, 1);
}

// --- Jobs -----------------------------------------------------------------------------------

DataWriteOptions CDWriterXP::JobOptions() const
{
    DataWriteOptions options;
    options.testWrite = testWrite_;
    options.finalizeDisc = finalizeDisc_;
    options.closeSession = closeSession_;
    options.joliet = joliet_;
    options.isoLevel1 = isoLevel1_;
    options.burnProof = burnProof_;
    options.cacheImage = cacheImage_;
    options.speed = speed_;
    options.volumeId = volumeIdentifier_;
    return options;
}

bool CDWriterXP::StartWrite()
{
    // Audio discs are written from the track list.
    if (writeType_ != 1) return StartAudioWrite();
    std::shared_ptr<HeldDrive> held = DriveForJob();
    if (!held) return false;
    DataImage* image = image_.get();
    const DataWriteOptions options = JobOptions();
    const bool fromDisc = imported_ != nullptr;
    return job_->Start([this, held, image, options, fromDisc](JobThread& job) -> std::function<void()> {
        bool wrote = false;
        std::function<void()> end = WriteDataSession(job, *this, *held, *image, options, wrote);
        if (!fromDisc || !wrote) return end;
        // The image is the disc's last session now: it is read back from the disc, so that the
        // next session follows this one and the disc's state is the one it has now.
        return [this, end] {
            ReadSession(false, false);
            end();
        };
    });
}

bool CDWriterXP::WriteIsoFile(const QString& file)
{
    refusal_.clear();
    if (!LooksLikeIsoFile(file)) {
        refusal_ = QStringLiteral("The file is not an ISO image.");
        return false;
    }
    std::shared_ptr<HeldDrive> held = DriveForJob();
    const DiscInfo disc = held ? ReadDiscInfo(*held) : DiscInfo();
    if (!held) refusal_ = QStringLiteral("The recorder or the disc in it cannot be used.");
    else if (!disc.present) refusal_ = QStringLiteral("There is no writable disc in the drive.");
    else if (disc.status != 0) refusal_ = QStringLiteral("The disc is not blank.");
    if (!refusal_.isEmpty()) return false;
    const DataWriteOptions options = JobOptions();
    return job_->Start([this, held, file, options](JobThread& job) {
        return WriteIsoFileToDisc(job, *this, *held, file, options);
    });
}

bool CDWriterXP::CreateIsoFile(const QString& file)
{
    if (ImageLocked() || file.isEmpty()) return false;
    bool ok = false;
    DataImage* image = image_.get();
    const DataWriteOptions options = JobOptions();
    if (!job_->Start([this, image, options, file, &ok](JobThread& job) -> std::function<void()> {
            const bool written = WriteImageFile(job, *this, *image, options, file);
            return [&ok, written] { ok = written; };
        }))
        return false;
    job_->WaitDelivered();
    return ok;
}

bool CDWriterXP::EraseDisc(bool quick)
{
    if (ImageLocked() || !CurrentDevice()) return false;
    // The files of an imported session go with the disc's contents.
    if (imported_) ClearImage();
    std::shared_ptr<HeldDrive> held = DriveForJob();
    if (!held) return false;
    return job_->Start([this, held, quick](JobThread& job) { return EraseDiscJob(job, *this, *held, quick); });
}

bool CDWriterXP::CloseDiscOrSession(bool disc)
{
    std::shared_ptr<HeldDrive> held = DriveForJob();
    if (!held) return false;
    const bool fromDisc = imported_ != nullptr;
    return job_->Start([this, held, disc, fromDisc](JobThread& job) -> std::function<void()> {
        std::function<void()> end = CloseDiscJob(job, *this, *held, disc);
        if (!fromDisc) return end;
        // The drive held for the imported session still knows the disc as it was.
        return [this, end] {
            ReadSession(true, false);
            end();
        };
    });
}

void CDWriterXP::AbortWrite() { job_->Abort(); }

bool CDWriterXP::KeepImported(const QString& imported, const QString& added, qint64 size)
{
    bool replace = false;
    emit ReplaceImportedFile(imported, added, size, replace);
    return !replace;
}

bool CDWriterXP::ImportSession(bool import)
{
    if (!import) return true;
    if (ImageLocked() || !CurrentDevice()) return false;
    // Files added before the first import that meet files of the disc are asked about; those
    // added after it were asked about when they were added.
    return ReadSession(true, !imported_);
}

bool CDWriterXP::ReadSession(bool keepOwn, bool ask)
{
    std::map<QString, ImageItem> before;
    image_->Walk([&](const ImageItem& item) { before.emplace(item.path, item); });
    auto own = std::make_unique<DataImage>();
    if (keepOwn) own->TakeOwnFrom(*image_);
    // The image goes before the drive its imported files are read from.
    image_ = std::make_unique<DataImage>();
    imported_.reset();
    const Device* device = CurrentDevice();
    std::shared_ptr<HeldDrive> held = device ? HeldDrive::Acquire(*device) : nullptr;
    IsoImage* read = held ? ReadLastSession(*held) : nullptr;
    if (read) {
        image_ = std::make_unique<DataImage>(read);
        image_->MergeFrom(*own, [this, ask](const ImageItem& imported) {
            return ask && KeepImported(imported.path, imported.path, imported.size);
        });
        imported_ = held;
        const char* id = iso_image_get_volume_id(image_->Image());
        volumeIdentifier_ = id ? QString::fromUtf8(id).left(32) : QString();
    } else {
        image_ = std::move(own);
    }

    std::vector<ImageItem> added;
    image_->Walk([&](const ImageItem& item) {
        if (before.erase(item.path) == 0) added.push_back(item);
    });
    // What went is reported deepest first, before what came.
    for (auto gone = before.rbegin(); gone != before.rend(); ++gone)
        emit ItemRemoved(gone->second.path, gone->second.name, gone->second.isDirectory);
    for (const ImageItem& item : added)
        emit ItemAdded(item.parent, item.path, item.name, item.source, item.isDirectory, item.date, item.size);
    return read != nullptr;
}

// --- The data image -------------------------------------------------------------------------

void CDWriterXP::ClearImage()
{
    if (ImageLocked()) return;
    // The image goes before the drive its imported files are read from.
    image_ = std::make_unique<DataImage>();
    imported_.reset();
    emit ImageCleared();
}

qint64 CDWriterXP::ImageSize() { return image_->Blocks(); }

qint64 CDWriterXP::ConvertSize(qint64 size, int unit) { return unit == 1 ? size * 2048 : size; }

int CDWriterXP::FileCount() { return image_->Files(); }

int CDWriterXP::DirectoryCount() { return image_->Directories(); }

bool CDWriterXP::AddFile(const QString& imagePath, const QString& source)
{
    ImageItem item;
    // The image does not change while a job reads it.
    const auto added = Busy() ? DataImage::Added::No : image_->AddFile(imagePath, source, item, [&](const ImageItem& imported) {
        return KeepImported(imported.path, source, QFileInfo(source).size());
    });
    if (added == DataImage::Added::Yes)
        emit ItemAdded(item.parent, item.path, item.name, item.source, false, item.date, item.size);
    else if (added == DataImage::Added::No)
        emit ItemNotAdded(imagePath, source);
    return added != DataImage::Added::No;
}

bool CDWriterXP::AddDirectory(const QString& imagePath, const QString& source)
{
    QString folder = source;
    if (folder.endsWith(QLatin1String("/*.*")) || folder.endsWith(QLatin1String("\\*.*"))) folder.chop(4);
    if (Busy() || !QFileInfo(folder).isDir()) {
        emit ItemNotAdded(imagePath, folder);
        return false;
    }
    ++adding_;
    const auto done = qScopeGuard([this] { --adding_; });
    return AddFolderTree(imagePath, folder, 0);
}

bool CDWriterXP::AddFolderTree(const QString& imagePath, const QString& folder, int depth)
{
    ImageItem item;
    if (Busy() || !image_->AddFolder(imagePath, folder, item)) {
        emit ItemNotAdded(imagePath, folder);
        return false;
    }
    emit ItemAdded(item.parent, item.path, item.name, item.source, true, item.date, item.size);
    if (depth >= kMaxDepth) return true;
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString path = JoinImagePath(item.path, entry.fileName());
        // A linked folder may lead back up the tree; its files are reached where they live.
        if (entry.isDir() && !entry.isSymLink()) AddFolderTree(path, entry.absoluteFilePath(), depth + 1);
        else if (!entry.isDir()) AddFile(path, entry.absoluteFilePath());
    }
    return true;
}

bool CDWriterXP::RemoveItem(const QString& imagePath)
{
    if (ImageLocked()) return false;
    bool directory = false;
    if (!image_->Remove(imagePath, directory)) return false;
    QString parent, name;
    SplitImagePath(imagePath, parent, name);
    emit ItemRemoved(imagePath, name, directory);
    return true;
}

bool CDWriterXP::RenameFile(const QString& imagePath, const QString& name)
{
    if (ImageLocked()) return false;
    QString newPath;
    if (!image_->Rename(imagePath, name, false, newPath)) return false;
    emit ItemRenamed(imagePath, newPath, false);
    return true;
}

bool CDWriterXP::RenameDirectory(const QString& imagePath, const QString& name)
{
    if (ImageLocked()) return false;
    QString newPath;
    if (!image_->Rename(imagePath, name, true, newPath)) return false;
    emit ItemRenamed(imagePath, newPath, true);
    return true;
}

bool CDWriterXP::ListDirectory(const QString& imagePath)
{
    std::vector<ImageItem> items;
    if (!image_->List(imagePath, items)) return false;
    for (const ImageItem& item : items)
        emit ItemEnumerated(item.parent, item.path, item.name, item.source, item.isDirectory, item.date, item.size);
    return true;
}
