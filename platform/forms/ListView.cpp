#include "platform/forms/ListView.h"

#include "platform/forms/RuntimeError.h"
#include "platform/forms/Twips.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QLabel>
#include <QMainWindow>

namespace forms {

ListView::ListView(QWidget* parent)
    : QTreeWidget(parent)
    , Extent(this)
{
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setColumnCount(0);
    header()->setStretchLastSection(false);
    connect(this, &QTreeWidget::itemClicked, this,
        [this](QTreeWidgetItem* item) { emit ItemClick(indexOfTopLevelItem(item) + 1); });
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (column == 0 && checkboxes_) emit ItemCheck(indexOfTopLevelItem(item) + 1);
    });
}

void ListView::AddColumn(const QString& caption, double widthTwips, Align align)
{
    const int column = columnCount();
    setColumnCount(column + 1);
    headerItem()->setText(column, caption);
    const Qt::Alignment a = align == Align::Center ? Qt::AlignHCenter : align == Align::Right ? Qt::AlignRight : Qt::AlignLeft;
    headerItem()->setTextAlignment(column, a | Qt::AlignVCenter);
    setColumnWidth(column, ToPixels(widthTwips));
    aligns_.push_back(align);
}

void ListView::AcceptFiles(bool on)
{
    acceptFiles_ = on;
    setAcceptDrops(on);
    viewport()->setAcceptDrops(on);
    setDropIndicatorShown(false);
}

namespace {

QStringList LocalFiles(const QMimeData* data)
{
    QStringList files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    return files;
}

} // namespace

void ListView::dragEnterEvent(QDragEnterEvent* event)
{
    if (acceptFiles_ && !LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
    else event->ignore();
}

void ListView::dragMoveEvent(QDragMoveEvent* event)
{
    if (acceptFiles_ && !LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
    else event->ignore();
}

void ListView::dropEvent(QDropEvent* event)
{
    const QStringList files = acceptFiles_ ? LocalFiles(event->mimeData()) : QStringList();
    if (files.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit FilesDropped(files);
}

int ListView::Add(const QStringList& texts)
{
    auto* item = new QTreeWidgetItem(this);
    for (int c = 0; c < texts.size(); ++c) {
        item->setText(c, texts[c]);
        if (c < static_cast<int>(aligns_.size()) && aligns_[c] != Align::Left)
            item->setTextAlignment(c, (aligns_[c] == Align::Center ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignVCenter);
    }
    if (checkboxes_) {
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        const QSignalBlocker quiet(this);
        item->setCheckState(0, Qt::Unchecked);
    }
    return Count();
}

QTreeWidgetItem* ListView::Row(int index) const
{
    QTreeWidgetItem* item = index >= 1 ? topLevelItem(index - 1) : nullptr;
    if (!item) Raise(Err::InvalidPropertyValue);
    return item;
}

void ListView::Remove(int index) { delete Row(index); }

QString ListView::Text(int index, int column) const { return Row(index)->text(column); }

void ListView::setText(int index, int column, const QString& text) { Row(index)->setText(column, text); }

bool ListView::Checked(int index) const { return Row(index)->checkState(0) == Qt::Checked; }

void ListView::setChecked(int index, bool on)
{
    QTreeWidgetItem* item = Row(index);
    const QSignalBlocker quiet(this);
    item->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
    viewport()->update();
}

int ListView::SelectedIndex() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? 0 : indexOfTopLevelItem(selected.front()) + 1;
}

void ListView::setSelectedIndex(int index)
{
    if (index == 0) {
        clearSelection();
        return;
    }
    QTreeWidgetItem* item = Row(index);
    setCurrentItem(item);
    item->setSelected(true);
}

// A panel asks for the width of its whole text but makes do with the width of an ellipsis, and
// shows as much of the text as its width holds.
class StatusPanel : public QLabel {
public:
    explicit StatusPanel(QWidget* parent)
        : QLabel(parent)
    {
    }

    const QString& FullText() const { return text_; }
    void SetFullText(const QString& text)
    {
        text_ = text;
        Fit();
        updateGeometry();
    }

    QSize sizeHint() const override { return WithWidth(fontMetrics().horizontalAdvance(text_)); }
    QSize minimumSizeHint() const override { return WithWidth(fontMetrics().horizontalAdvance(QStringLiteral("..."))); }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QLabel::resizeEvent(event);
        Fit();
    }

private:
    QSize WithWidth(int textWidth) const
    {
        const QMargins margins = contentsMargins();
        return {textWidth + margins.left() + margins.right() + 2 * margin() + 2,
            QLabel::minimumSizeHint().height()};
    }
    void Fit() { setText(fontMetrics().elidedText(text_, Qt::ElideRight, std::max(0, contentsRect().width() - 2 * margin()))); }

    QString text_;
};

StatusBar::StatusBar(QMainWindow* form, int panels)
    : QStatusBar(form)
{
    setSizeGripEnabled(false);
    for (int i = 0; i < panels; ++i) {
        auto* label = new StatusPanel(this);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        addPermanentWidget(label, i + 1 == panels ? 1 : 0);
        panels_.push_back(label);
    }
    form->setStatusBar(this);
}

QString StatusBar::PanelText(int panel) const
{
    if (panel < 1 || panel > PanelCount()) Raise(Err::InvalidPropertyValue);
    return panels_[panel - 1]->FullText();
}

void StatusBar::setPanelText(int panel, const QString& text)
{
    if (panel < 1 || panel > PanelCount()) Raise(Err::InvalidPropertyValue);
    panels_[panel - 1]->SetFullText(text);
}

} // namespace forms
