// The data disc window's views of the image: the folder tree, the file list, adding by drop,
// removing, renaming with the ISO9660 and Joliet name rules, the splitter and the status line.
#include "components/cdwriter/CDWriterXP.h"
#include "platform/forms/DoEvents.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/RuntimeError.h"
#include "writing/frmBurnData.h"

#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <utility>

using namespace forms::MsgBoxStyle;

namespace {

constexpr int KeyRole = Qt::UserRole;
const QString Root = QStringLiteral("/");

// "###,###,##0.00"
QString Grouped(double value)
{
    QLocale english(QLocale::English, QLocale::UnitedStates);
    return english.toString(value, 'f', 2);
}

// Takes files dropped from the desktop's file manager on a view, and its right button.
class ViewEvents : public QObject {
public:
    ViewEvents(QAbstractItemView* view, std::function<void(const QStringList&)> dropped, std::function<void()> rightButton)
        : QObject(view)
        , dropped_(std::move(dropped))
        , rightButton_(std::move(rightButton))
    {
        view->setAcceptDrops(true);
        view->viewport()->setAcceptDrops(true);
        view->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* e = static_cast<QDropEvent*>(event);
            if (e->mimeData()->hasUrls()) e->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* e = static_cast<QDropEvent*>(event);
            QStringList paths;
            for (const QUrl& url : e->mimeData()->urls())
                if (url.isLocalFile()) paths << url.toLocalFile();
            e->acceptProposedAction();
            if (!paths.isEmpty()) dropped_(paths);
            return true;
        }
        case QEvent::MouseButtonPress:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) rightButton_();
            return false;
        default:
            return false;
        }
    }

private:
    std::function<void(const QStringList&)> dropped_;
    std::function<void()> rightButton_;
};

} // namespace

void frmBurnData::WireImageEvents()
{
    CDWriterXP* w = CDWriterXP1;
    connect(w, &CDWriterXP::ItemEnumerated, this,
        [this](const QString&, const QString& path, const QString& name, const QString&, bool isDirectory,
            const QDateTime& date, qint64 size) {
            if (isDirectory) return;
            const int row = lvwImageFiles->Add({name, Grouped(double(size) / 1000.0) + QStringLiteral(" KB"),
                QLocale(QLocale::English).toString(date, QStringLiteral("MM/dd/yyyy hh:mm:ss AP"))});
            QTreeWidgetItem* item = lvwImageFiles->topLevelItem(row - 1);
            item->setData(0, KeyRole, path);
            item->setIcon(0, imlIcons.Picture(QStringLiteral("FILE")));
        });
    connect(w, &CDWriterXP::ItemAdded, this,
        [this](const QString& parent, const QString& path, const QString& name, const QString&, bool isDirectory,
            const QDateTime&, qint64) {
            if (isDirectory) {
                // A folder already shown (one met again by an import) keeps its node.
                if (!tvwDirectories->Node(path) && tvwDirectories->Node(parent))
                    tvwDirectories->Add(parent, path, name, QStringLiteral("CLOSEDFOLDER"), QStringLiteral("OPENFOLDER"));
                sbrStatus->setPanelText(1, QStringLiteral("Adding....") + path);
            }
            forms::DoEvents();
        });
    connect(w, &CDWriterXP::ItemRemoved, this, [this](const QString& path, const QString&, bool isDirectory) {
        if (isDirectory) tvwDirectories->Remove(path);
    });
    connect(w, &CDWriterXP::ItemRenamed, this, [this](const QString& oldPath, const QString& newPath, bool isDirectory) {
        if (!isDirectory) return;
        // The folders inside keep their keys in step with the new path.
        const QString oldPrefix = oldPath + QLatin1Char('/');
        std::vector<std::pair<QString, QString>> changes {{oldPath, newPath}};
        QTreeWidgetItemIterator it(tvwDirectories);
        for (; *it; ++it) {
            const QString key = (*it)->data(0, KeyRole).toString();
            if (key.startsWith(oldPrefix)) changes.push_back({key, newPath + key.mid(oldPath.size())});
        }
        for (const auto& [from, to] : changes) tvwDirectories->ChangeKey(from, to);
    });
    connect(w, &CDWriterXP::ImageCleared, this, &frmBurnData::ResetImage);
    connect(w, &CDWriterXP::ItemNotAdded, this, [this](const QString&, const QString& source) { notAdded_ << source; });

    connect(tvwDirectories, &forms::TreeView::NodeClick, this, [this](forms::TreeNode* node) { ListImageDirectory(node->Key()); });
    connect(txtVolIdentifier, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (forms::TreeNode* root = tvwDirectories->Node(Root)) root->setText(text);
    });
    connect(tvwDirectories, &forms::TreeView::BeforeLabelEdit, this, [this](int& cancel) {
        forms::TreeNode* node = tvwDirectories->SelectedItem();
        if (node && node->Key() == Root) {
            forms::MsgBox(QStringLiteral("Root directory can not be renamed."), Information);
            cancel = 1;
        }
    });
    connect(tvwDirectories, &forms::TreeView::AfterLabelEdit, this, [this](int& cancel, const QString& newText) {
        if (!ValidateItemName(newText)) {
            cancel = 1;
            return;
        }
        forms::TreeNode* node = tvwDirectories->SelectedItem();
        if (!node) return;
        if (!CDWriterXP1->RenameDirectory(node->Key(), newText)) {
            forms::MsgBox(QStringLiteral("Directory could not be renamed."), Information);
            cancel = 1;
        }
        RefreshImageView();
    });
    connect(lvwImageFiles, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (item != fileEditing_ || column != 0) return;
        fileEditing_ = nullptr;
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        const QString newText = item->text(0);
        {
            const QSignalBlocker still(lvwImageFiles);
            item->setText(0, fileEditText_);
        }
        // The edit ends once the editor has closed, so the list may be rebuilt.
        const QString key = item->data(0, KeyRole).toString();
        QTimer::singleShot(0, this, [this, key, newText] { lvwImageFiles_AfterLabelEdit(key, newText); });
    });

    new ViewEvents(tvwDirectories, [this](const QStringList& paths) { AddDroppedItems(paths); },
        [this] { ShowFileMenuFor(true); });
    new ViewEvents(lvwImageFiles, [this](const QStringList& paths) { AddDroppedItems(paths); },
        [this] { ShowFileMenuFor(false); });

    connect(imgSplitter->events(), &forms::Events::MouseDown, this, [this](int, int, double, double) {
        picSplitter->Move(imgSplitter->Left(), imgSplitter->Top(), imgSplitter->Width(), tvwDirectories->Height());
        picSplitter->setVisible(true);
        picSplitter->raise();
        splitterDragging_ = true;
    });
    connect(imgSplitter->events(), &forms::Events::MouseMove, this, [this](int, int, double x, double) {
        if (!splitterDragging_) return;
        const double pos = imgSplitter->Left() + x;
        if (pos < 500) picSplitter->setLeft(500);
        else if (pos > ScaleWidth() - 500) picSplitter->setLeft(ScaleWidth() - 500);
        else picSplitter->setLeft(pos);
    });
    connect(imgSplitter->events(), &forms::Events::MouseUp, this, [this](int, int, double, double) {
        LayoutImageViews(picSplitter->Left());
        picSplitter->setVisible(false);
        splitterDragging_ = false;
    });
}

void frmBurnData::ResetImage()
{
    lvwImageFiles->Clear();
    tvwDirectories->Clear();
    CDWriterXP1->setVolumeIdentifier(QStringLiteral("New Disc"));
    tvwDirectories->Add(QString(), Root, CDWriterXP1->VolumeIdentifier(), QStringLiteral("CD"), QStringLiteral("CD"));
    txtVolIdentifier->setText(CDWriterXP1->VolumeIdentifier());
    ShowImageStatus();
}

void frmBurnData::ListImageDirectory(const QString& imagePath)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    lvwImageFiles->Clear();
    CDWriterXP1->ListDirectory(imagePath);
    QApplication::restoreOverrideCursor();
}

void frmBurnData::RefreshImageView()
{
    forms::TreeNode* node = tvwDirectories->SelectedItem();
    if (!node) node = tvwDirectories->Node(Root);
    if (node) {
        ListImageDirectory(node->Key());
        node->setExpanded(true);
    }
    ShowImageStatus();
}

void frmBurnData::ShowImageStatus()
{
    const double megabytes = double(CDWriterXP1->ConvertSize(CDWriterXP1->ImageSize(), 1)) / 1000000.0;
    sbrStatus->setPanelText(1, QStringLiteral("Data Image Size: ") + QString::number(megabytes, 'f', 2) + QStringLiteral(" MB  "));
    sbrStatus->setPanelText(2, QStringLiteral("Files: ") + QString::number(CDWriterXP1->FileCount()));
    sbrStatus->setPanelText(3, QStringLiteral("Directories: ") + QString::number(CDWriterXP1->DirectoryCount()));
}

bool frmBurnData::ValidateItemName(const QString& name)
{
    const bool joliet = CDWriterXP1->Joliet();
    const bool level1 = CDWriterXP1->IsoLevel1();
    QString refusal;
    if (name.isEmpty()) {
        refusal = QStringLiteral("Item name cannot be blank.");
    } else if (joliet && name.size() > 64) {
        refusal = QStringLiteral("Item Name violates Joliet naming rules (64 Char Max).");
    } else if (level1 && !joliet) {
        const int dot = name.indexOf(QLatin1Char('.'));
        const QString base = dot < 0 ? name : name.left(dot);
        const QString extension = dot < 0 ? QString() : name.mid(dot + 1);
        if (base.size() > 8 || extension.size() > 3)
            refusal = QStringLiteral("Item Name violates ISO9660 Level 1 naming rules (8 + 3 Char Max).");
    } else if (!level1 && !joliet && name.size() > 31) {
        refusal = QStringLiteral("Item Name violates ISO9660 Level 2 naming rules (31 Char Max).");
    }
    if (refusal.isEmpty()) return true;
    forms::MsgBox(refusal, Information);
    return false;
}

void frmBurnData::AddDroppedItems(const QStringList& paths)
{
    if (paths.isEmpty()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    SetAddingItems(true);
    QString target;
    if (forms::TreeNode* node = tvwDirectories->SelectedItem(); node && node->Key() != Root) target = node->Key();
    for (const QString& path : paths) {
        const QString imagePath = target + QLatin1Char('/') + NameFromPath(path);
        if (IsDirectory(path)) CDWriterXP1->AddDirectory(imagePath, path + QStringLiteral("/*.*"));
        else CDWriterXP1->AddFile(imagePath, path);
    }
    SetAddingItems(false);
    RefreshImageView();
    QApplication::restoreOverrideCursor();
    // A drop that came while another was adding leaves what it could not add to that one to say.
    if (AddingItems() || notAdded_.isEmpty()) return;
    const QStringList missing = std::exchange(notAdded_, {});
    constexpr int kNamed = 10;
    QString text = QStringLiteral("These items could not be added to the image:");
    for (const QString& item : missing.mid(0, kNamed)) text += QStringLiteral("\r\n") + item;
    if (missing.size() > kNamed) text += QStringLiteral("\r\n...and %1 more.").arg(missing.size() - kNamed);
    forms::MsgBox(text, Information);
}

QString frmBurnData::NameFromPath(const QString& path)
{
    QString trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith(QLatin1Char('/'))) trimmed.chop(1);
    const int slash = trimmed.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? trimmed : trimmed.mid(slash + 1);
}

bool frmBurnData::IsDirectory(const QString& path) { return QFileInfo(path).isDir(); }

void frmBurnData::LayoutImageViews(double x)
{
    if (x < 1500) x = 1500;
    if (x > ScaleWidth() - 1500) x = ScaleWidth() - 1500;
    forms::IgnoreErrors run;
    run([&] { tvwDirectories->Move(20, std::nullopt, x); });
    run([&] { imgSplitter->setLeft(x); });
    run([&] {
        lvwImageFiles->Move(x + imgSplitter->Width(), std::nullopt,
            ScaleWidth() - (tvwDirectories->Width() + imgSplitter->Width()) - 100);
    });
    run([&] { lblImageFileTitle->Move(tvwDirectories->Left(), std::nullopt, ScaleWidth() - 140); });
    const double top = lblImageFileTitle->Top() + lblImageFileTitle->Height();
    tvwDirectories->setTop(top);
    lvwImageFiles->setTop(top);
    imgSplitter->setTop(top);
    imgSplitter->setHeight(tvwDirectories->Height());
}

void frmBurnData::Form_Resize()
{
    if (ScaleWidth() < 3000) {
        forms::IgnoreErrors run;
        run([&] { setWidth(Width() + (3000 - ScaleWidth())); });
    }
    LayoutImageViews(imgSplitter->Left());
}

void frmBurnData::mnuFileClear_Click() { CDWriterXP1->ClearImage(); }

void frmBurnData::mnuFileRemoveDir_Click()
{
    forms::TreeNode* node = tvwDirectories->SelectedItem();
    if (!node) {
        forms::MsgBox(QStringLiteral("No Item Selected."), Information);
        return;
    }
    if (!CDWriterXP1->RemoveItem(node->Key())) forms::MsgBox(QStringLiteral("Item could not be removed."), Information);
    RefreshImageView();
}

QString frmBurnData::SelectedFileKey() const
{
    const int index = lvwImageFiles->SelectedIndex();
    return index > 0 ? lvwImageFiles->topLevelItem(index - 1)->data(0, KeyRole).toString() : QString();
}

void frmBurnData::mnuFileRemoveFile_Click()
{
    const QString key = SelectedFileKey();
    if (key.isEmpty()) {
        forms::MsgBox(QStringLiteral("No Item Selected."), Information);
        return;
    }
    if (!CDWriterXP1->RemoveItem(key)) forms::MsgBox(QStringLiteral("Item could not be removed."), Information);
    RefreshImageView();
}

void frmBurnData::mnuFileRenameDir_Click()
{
    forms::TreeNode* node = tvwDirectories->SelectedItem();
    if (!node) {
        forms::MsgBox(QStringLiteral("No Item Selected."), Information);
        return;
    }
    tvwDirectories->StartLabelEdit(node);
}

void frmBurnData::mnuFileRenameFile_Click()
{
    const int index = lvwImageFiles->SelectedIndex();
    if (index <= 0) {
        forms::MsgBox(QStringLiteral("No Item Selected."), Information);
        return;
    }
    QTreeWidgetItem* item = lvwImageFiles->topLevelItem(index - 1);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    fileEditing_ = item;
    fileEditText_ = item->text(0);
    lvwImageFiles->editItem(item, 0);
}

void frmBurnData::lvwImageFiles_AfterLabelEdit(const QString& key, const QString& newText)
{
    if (!ValidateItemName(newText)) return;
    if (!CDWriterXP1->RenameFile(key, newText)) forms::MsgBox(QStringLiteral("File could not be renamed."), Information);
    RefreshImageView();
}

void frmBurnData::ShowFileMenuFor(bool tree)
{
    for (forms::MenuItem* item : {mnuFileSep1, mnuFileSep2, mnuFileSaveImageAsISO, mnuFileWriteDiscFromISO, mnuFileSep3, mnuFileExit})
        item->setVisible(false);
    mnuFileRemoveDir->setVisible(tree);
    mnuFileRenameDir->setVisible(tree);
    mnuFileRemoveFile->setVisible(!tree);
    mnuFileRenameFile->setVisible(!tree);
    PopupMenu(*mnuFile);
    for (forms::MenuItem* item : {mnuFileClear, mnuFileSep1, mnuFileRemoveDir, mnuFileRenameDir, mnuFileRemoveFile,
             mnuFileRenameFile, mnuFileSep2, mnuFileSaveImageAsISO, mnuFileWriteDiscFromISO, mnuFileSep3, mnuFileExit})
        item->setVisible(true);
}
