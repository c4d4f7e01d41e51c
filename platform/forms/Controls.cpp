#include "platform/forms/Controls.h"

#include "platform/forms/RuntimeError.h"
#include "platform/forms/Twips.h"

namespace forms {

Label::Label(QWidget* parent, const QString& caption)
    : QLabel(caption, parent)
    , Extent(this)
{
}

CommandButton::CommandButton(QWidget* parent, const QString& caption)
    : QPushButton(caption, parent)
    , Extent(this)
{
    connect(this, &QPushButton::clicked, this, &CommandButton::Click);
}

TextBox::TextBox(QWidget* parent, const QString& text)
    : QLineEdit(text, parent)
    , Extent(this)
{
    connect(this, &QLineEdit::textChanged, this, &TextBox::Change);
}

CheckBox::CheckBox(QWidget* parent, const QString& caption)
    : QCheckBox(caption, parent)
    , Extent(this)
{
    // Click follows the value, however it changes: a click, Space, the code, or an assistive
    // tool toggling the box.
    connect(this, &QCheckBox::stateChanged, this, &CheckBox::Click);
}

int CheckBox::Value() const
{
    switch (checkState()) {
    case Qt::Checked: return CheckValue::Checked;
    case Qt::PartiallyChecked: return CheckValue::Grayed;
    default: return CheckValue::Unchecked;
    }
}

void CheckBox::setValue(int value)
{
    if (value < 0 || value > 2) Raise(Err::InvalidPropertyValue);
    setTristate(value == CheckValue::Grayed || isTristate());
    setCheckState(value == CheckValue::Checked ? Qt::Checked
            : value == CheckValue::Grayed      ? Qt::PartiallyChecked
                                               : Qt::Unchecked);
}

OptionButton::OptionButton(QWidget* parent, const QString& caption)
    : QRadioButton(caption, parent)
    , Extent(this)
{
    connect(this, &QRadioButton::clicked, this, &OptionButton::Click);
}

void OptionButton::setValue(bool on)
{
    setChecked(on);
    // Selecting a button in code runs its click behaviour, whether or not it was selected before.
    if (on) emit Click();
}

PictureBox::PictureBox(QWidget* parent)
    : QLabel(parent)
    , Extent(this)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void PictureBox::setPicture(const QPixmap& picture)
{
    picture_ = picture;
    setPixmap(picture);
}

double PictureBox::ScaleWidth() const { return ToTwips(contentsRect().width()); }
double PictureBox::ScaleHeight() const { return ToTwips(contentsRect().height()); }

Frame::Frame(QWidget* parent, const QString& caption)
    : QGroupBox(caption, parent)
    , Extent(this)
{
    setFlat(caption.isEmpty());
    if (caption.isEmpty()) setStyleSheet(QStringLiteral("QGroupBox { border: 0; margin: 0; padding: 0; }"));
}

void Frame::setCaption(const QString& caption) { setTitle(caption); }

} // namespace forms
