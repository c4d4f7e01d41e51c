#include "components/vidcap/CaptureDialogs.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

namespace vidcap {

namespace {

// A small dialog of labelled rows with OK and Cancel.
class RowsDialog : public QDialog {
public:
    RowsDialog(QWidget* owner, const QString& title) : QDialog(owner), rows_(new QFormLayout(this))
    {
        setWindowTitle(title);
    }
    template <class W> W* Add(const QString& label, W* widget, const char* name)
    {
        widget->setObjectName(QString::fromLatin1(name));
        rows_->addRow(label, widget);
        return widget;
    }
    bool Run()
    {
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        rows_->addRow(buttons);
        return exec() == QDialog::Accepted;
    }

private:
    QFormLayout* rows_;
};

QComboBox* Choices(QWidget* parent, const QStringList& texts, const QString& current)
{
    auto* box = new QComboBox(parent);
    box->addItems(texts);
    box->setCurrentIndex(std::max<qsizetype>(0, texts.indexOf(current)));
    return box;
}

} // namespace

bool SourceDialog(QWidget* owner, const CaptureDriver& driver, CaptureFormat& format)
{
    RowsDialog dialog(owner, QObject::tr("Video Source"));
    if (driver.IsPattern()) {
        auto* pattern = dialog.Add(QObject::tr("Pattern:"), Choices(&dialog, Patterns(), format.pattern), "pattern");
        if (!dialog.Run()) return false;
        format.pattern = pattern->currentText();
        return true;
    }
    auto* channel = dialog.Add(QObject::tr("Input:"), new QSpinBox(&dialog), "channel");
    channel->setRange(0, 15);
    channel->setValue(format.channel);
    if (!dialog.Run()) return false;
    format.channel = channel->value();
    return true;
}

bool FormatDialog(QWidget* owner, CaptureFormat& format)
{
    RowsDialog dialog(owner, QObject::tr("Video Format"));
    const QStringList sizes {"160x120", "176x144", "320x240", "352x288", "640x480", "800x600", "1280x720", "1920x1080"};
    auto* size = dialog.Add(QObject::tr("Picture size:"),
        Choices(&dialog, sizes, QStringLiteral("%1x%2").arg(format.width).arg(format.height)), "size");
    auto* rate = dialog.Add(QObject::tr("Frames per second:"), new QSpinBox(&dialog), "rate");
    rate->setRange(1, 60);
    rate->setValue(format.rate);
    if (!dialog.Run()) return false;
    format.width = size->currentText().section('x', 0, 0).toInt();
    format.height = size->currentText().section('x', 1, 1).toInt();
    format.rate = rate->value();
    return true;
}

bool AudioFormatDialog(QWidget* owner, AudioFormat& format)
{
    RowsDialog dialog(owner, QObject::tr("Sound Format"));
    const QStringList rates {"8000", "11025", "22050", "44100", "48000"};
    auto* rate = dialog.Add(QObject::tr("Samples per second:"),
        Choices(&dialog, rates, QString::number(format.sampleRate)), "sampleRate");
    const QStringList channels {QObject::tr("Mono"), QObject::tr("Stereo")};
    auto* layout = dialog.Add(QObject::tr("Channels:"),
        Choices(&dialog, channels, channels.value(format.channels - 1)), "channels");
    if (!dialog.Run()) return false;
    format.sampleRate = rate->currentText().toInt();
    format.channels = layout->currentIndex() + 1;
    return true;
}

} // namespace vidcap
