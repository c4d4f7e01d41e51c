#include "components/avi/SaveOptionsDialog.h"

#include "components/avi/AviEncoders.h"
#include "components/avi/AviObjects.h"
#include "platform/shell/DialogOwner.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace avifile {

SaveOptionsDialog::SaveOptionsDialog(QWidget* owner, int flags, PAVISTREAM stream, const AVICOMPRESSOPTIONS& start)
    : QDialog(owner)
{
    setWindowTitle(tr("Video Compression"));
    auto* form = new QFormLayout;

    compressor_ = new QComboBox(this);
    compressor_->setObjectName(QStringLiteral("compressor"));
    for (const VideoEncoder& e : AviVideoEncoders())
        compressor_->addItem(QStringLiteral("%1 (%2)").arg(e.description, e.name), e.name);
    const QString wanted = start.fccHandler.empty() ? QStringLiteral("mpeg4") : QString::fromStdString(start.fccHandler);
    compressor_->setCurrentIndex(std::max(0, compressor_->findData(wanted)));
    form->addRow(tr("Compressor:"), compressor_);

    quality_ = new QSlider(Qt::Horizontal, this);
    quality_->setObjectName(QStringLiteral("quality"));
    quality_->setRange(0, 100);
    quality_->setValue(start.dwFlags & AVICOMPRESSF_VALID ? int(start.dwQuality / 100) : 75);
    form->addRow(tr("Compression Quality:"), quality_);

    auto spinRow = [&](QCheckBox*& box, QSpinBox*& spin, const QString& caption, const QString& unit, int max,
                       bool on, int value, const char* name) {
        box = new QCheckBox(caption, this);
        box->setObjectName(QString::fromLatin1(name));
        box->setChecked(on);
        spin = new QSpinBox(this);
        spin->setObjectName(QString::fromLatin1(name) + QStringLiteral("Value"));
        spin->setRange(1, max);
        spin->setValue(value);
        spin->setSuffix(unit);
        spin->setEnabled(on);
        connect(box, &QCheckBox::toggled, spin, &QWidget::setEnabled);
        form->addRow(box, spin);
    };
    spinRow(keyFrames_, keyFrameEvery_, tr("Key Frame Every"), tr(" frames"), 9999,
        start.dwFlags & AVICOMPRESSF_KEYFRAMES, start.dwKeyFrameEvery ? int(start.dwKeyFrameEvery) : 12, "keyFrames");
    spinRow(dataRate_, dataRateKB_, tr("Data Rate"), tr(" KB/sec"), 100000, start.dwFlags & AVICOMPRESSF_DATARATE,
        start.dwBytesPerSecond ? int(start.dwBytesPerSecond / 1000) : 300, "dataRate");
    keyFrames_->setVisible(flags & ICMF_CHOOSE_KEYFRAME);
    keyFrameEvery_->setVisible(flags & ICMF_CHOOSE_KEYFRAME);
    dataRate_->setVisible(flags & ICMF_CHOOSE_DATARATE);
    dataRateKB_->setVisible(flags & ICMF_CHOOSE_DATARATE);

    auto* columns = new QHBoxLayout;
    columns->addLayout(form, 1);
    if (flags & ICMF_CHOOSE_PREVIEW) {
        auto* preview = new QLabel(this);
        preview->setObjectName(QStringLiteral("preview"));
        preview->setFixedSize(160, 120);
        preview->setAlignment(Qt::AlignCenter);
        preview->setFrameShape(QFrame::StyledPanel);
        const QImage frame = AVIStreamFirstFrame(stream);
        if (!frame.isNull())
            preview->setPixmap(QPixmap::fromImage(frame.scaled(preview->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        columns->addWidget(preview);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(compressor_->count() > 0);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
}

AVICOMPRESSOPTIONS SaveOptionsDialog::Options() const
{
    AVICOMPRESSOPTIONS options;
    options.fccType = streamtypeVIDEO;
    options.fccHandler = compressor_->currentData().toString().toStdString();
    options.dwQuality = std::uint32_t(quality_->value()) * 100;
    options.dwFlags = AVICOMPRESSF_VALID;
    if (keyFrames_->isChecked()) {
        options.dwFlags |= AVICOMPRESSF_KEYFRAMES;
        options.dwKeyFrameEvery = std::uint32_t(keyFrameEvery_->value());
    }
    if (dataRate_->isChecked()) {
        options.dwFlags |= AVICOMPRESSF_DATARATE;
        options.dwBytesPerSecond = std::uint32_t(dataRateKB_->value()) * 1000;
    }
    return options;
}

int AVISaveOptions(quintptr owner, int flags, int streams, PAVISTREAM* stream, AVICOMPRESSOPTIONS** options)
{
    if (streams < 1 || !stream || !options) return 0;
    for (int i = 0; i < streams; ++i) {
        if (!stream[i] || !options[i] || stream[i]->type != streamtypeVIDEO) continue;
        SaveOptionsDialog dialog(shell::DialogOwner(owner), flags, stream[i], *options[i]);
        if (dialog.exec() != QDialog::Accepted) return 0;
        *options[i] = dialog.Options();
    }
    return 1;
}

} // namespace avifile
