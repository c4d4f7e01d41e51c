#include "engine/Slider.h"

#include "platform/forms/RuntimeError.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {

const QString DefaultCaption = QStringLiteral("Slider");
const QString DefaultStrech = QStringLiteral("true");
const QString DefaultValue = QStringLiteral("5");
const QString DefaultMaxValue = QStringLiteral("10");

QColor DefaultBackColor() { return QApplication::palette().color(QPalette::Button); }
QColor DefaultForeColor() { return QApplication::palette().color(QPalette::ButtonText); }

// The leading number of a text, 0 when it does not begin with one: blanks, a sign, digits with
// an optional point (or a point and digits), an optional exponent. Read by hand, without a
// regular expression: the player reads the bar's value and maximum on every tick.
double LeadingNumber(const QString& text)
{
    const auto digitAt = [&](qsizetype i) { return i < text.size() && text[i] >= u'0' && text[i] <= u'9'; };
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
    const qsizetype mantissa = i;
    while (digitAt(i))
        ++i;
    const bool whole = i > mantissa;
    if (i < text.size() && text[i] == u'.' && (whole || digitAt(i + 1))) {
        ++i;
        while (digitAt(i))
            ++i;
    }
    if (i == mantissa) return 0.0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype e = i + 1;
        if (e < text.size() && (text[e] == u'+' || text[e] == u'-')) ++e;
        if (digitAt(e)) {
            while (digitAt(e))
                ++e;
            i = e;
        }
    }
    return QStringView(text).mid(start, i - start).toDouble();
}

QString NumberText(double value) { return QString::number(value, 'g', 15); }

// A holder's text read as a Boolean: True or False in any letter case, or a number (not 0 is
// True). Anything else is a type mismatch.
bool ReadsTrue(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0) return true;
    if (t.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0) return false;
    bool ok = false;
    const double n = t.toDouble(&ok);
    if (!ok) forms::Raise(forms::Err::TypeMismatch);
    return n != 0;
}

QString BooleanText(bool on) { return on ? QStringLiteral("True") : QStringLiteral("False"); }

// Pixel positions are 16-bit integers, rounded half to even; larger values stop at the ends of
// the range instead of overflowing.
int Whole16(double value)
{
    if (std::isnan(value)) return 0;
    return static_cast<int>(std::clamp(std::nearbyint(value), -32768.0, 32767.0));
}

int ButtonsOf(Qt::MouseButtons buttons)
{
    int b = 0;
    if (buttons & Qt::LeftButton) b |= forms::Button::Left;
    if (buttons & Qt::RightButton) b |= forms::Button::Right;
    if (buttons & Qt::MiddleButton) b |= forms::Button::Middle;
    return b;
}

int ShiftOf(Qt::KeyboardModifiers mods)
{
    int s = 0;
    if (mods & Qt::ShiftModifier) s |= forms::Shift::ShiftKey;
    if (mods & Qt::ControlModifier) s |= forms::Shift::Ctrl;
    if (mods & Qt::AltModifier) s |= forms::Shift::Alt;
    return s;
}

QVariant PictureValue(const QPixmap& picture) { return picture.isNull() ? QVariant() : QVariant(picture); }

} // namespace

Slider::Slider(QWidget* parent)
    : QFrame(parent)
    , Extent(this)
    , BackPicture(new forms::PictureBox(this))
    , HandlePicture(new forms::PictureBox(this))
    , HandleMaskPicture(new forms::PictureBox(this))
    , ValueLabel(new forms::Label(this, DefaultValue))
    , Max(new forms::Label(this, DefaultMaxValue))
    , MaskBool(new forms::Label(this, BooleanText(false)))
    , Strech(new forms::Label(this, DefaultStrech))
    , SliderCaption(new forms::Label(this, DefaultCaption))
{
    for (QWidget* holder : std::initializer_list<QWidget*> {
             BackPicture, HandlePicture, HandleMaskPicture, ValueLabel, Max, MaskBool, Strech, SliderCaption})
        holder->hide();
    SliderCaption->setMargin(0);
    SliderCaption->adjustSize();
    setFrameStyle(QFrame::NoFrame);
    setAutoFillBackground(true);
    setMouseTracking(true);
    HoldBackColor(DefaultBackColor());
    HoldForeColor(DefaultForeColor());
}

// The colours are kept with the control as well as in the palettes, so that a style sheet on the
// host window does not repaint the bar in its own colours.
void Slider::HoldBackColor(const QColor& colour)
{
    backColor_ = colour;
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
}

void Slider::HoldForeColor(const QColor& colour)
{
    foreColor_ = colour;
    QPalette p = SliderCaption->palette();
    p.setColor(QPalette::WindowText, colour);
    SliderCaption->setPalette(p);
}

// ---- Properties ----

QColor Slider::BackColor() const { return backColor_; }

void Slider::setBackColor(const QColor& colour)
{
    HoldBackColor(colour);
    PropertyChanged(QStringLiteral("BackColor"));
    UpdateSlider();
}

QColor Slider::ForeColor() const { return foreColor_; }

void Slider::setForeColor(const QColor& colour)
{
    HoldForeColor(colour);
    PropertyChanged(QStringLiteral("ForeColor"));
    UpdateSlider();
}

bool Slider::Enabled() const { return isEnabled(); }

void Slider::setEnabled(bool on)
{
    QWidget::setEnabled(on);
    PropertyChanged(QStringLiteral("Enabled"));
    UpdateSlider();
}

QFont Slider::Font() const { return SliderCaption->font(); }

void Slider::setFont(const QFont& font)
{
    SliderCaption->setFont(font);
    SliderCaption->adjustSize();
    PropertyChanged(QStringLiteral("Font"));
    UpdateSlider();
}

bool Slider::Border() const { return frameShape() != QFrame::NoFrame; }

void Slider::setBorder(bool on)
{
    setFrameStyle(on ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
    setLineWidth(1);
    PropertyChanged(QStringLiteral("Border"));
    UpdateSlider();
}

QString Slider::Caption() const { return SliderCaption->text(); }

void Slider::setCaption(const QString& caption)
{
    SliderCaption->setText(caption);
    SliderCaption->adjustSize();
    PropertyChanged(QStringLiteral("Caption"));
    UpdateSlider();
}

QPixmap Slider::MaskPicture() const { return HandleMaskPicture->Picture(); }

void Slider::setMaskPicture(const QPixmap& picture)
{
    HandleMaskPicture->setPicture(picture);
    PropertyChanged(QStringLiteral("MaskPicture"));
    UpdateSlider();
}

QPixmap Slider::Picture() const { return BackPicture->Picture(); }

void Slider::setPicture(const QPixmap& picture)
{
    BackPicture->setPicture(picture);
    PropertyChanged(QStringLiteral("Picture"));
    UpdateSlider();
}

bool Slider::StrechPicture() const { return ReadsTrue(Strech->text()); }

void Slider::setStrechPicture(bool on)
{
    Strech->setText(on ? QStringLiteral("true") : QStringLiteral("false"));
    PropertyChanged(QStringLiteral("StrechPicture"));
    UpdateSlider();
}

bool Slider::Mask() const { return ReadsTrue(MaskBool->text()); }

void Slider::setMask(bool on)
{
    MaskBool->setText(BooleanText(on));
    PropertyChanged(QStringLiteral("Mask"));
    UpdateSlider();
}

double Slider::Value() const { return LeadingNumber(ValueLabel->text()); }

void Slider::setValue(double value)
{
    if (std::isnan(value) || value < 0) value = 0;
    const double maximum = MaxValue();
    if (value > maximum) value = maximum;
    ValueLabel->setText(NumberText(value));
    PropertyChanged(QStringLiteral("Value"));
    UpdateSlider();
    emit Change(Value());
}

double Slider::MaxValue() const { return LeadingNumber(Max->text()); }

void Slider::setMaxValue(double value)
{
    Max->setText(NumberText(std::isnan(value) ? 0 : value));
    PropertyChanged(QStringLiteral("MaxValue"));
    ScaleToMaximum();
}

QPixmap Slider::HPicture() const { return HandlePicture->Picture(); }

void Slider::setHPicture(const QPixmap& picture)
{
    HandlePicture->setPicture(picture);
    HandlePicture->adjustSize();
    PropertyChanged(QStringLiteral("HPicture"));
    UpdateSlider();
}

// ---- Persisted property set ----

void Slider::ReadProperties(const forms::PropertyBag& bag)
{
    const QFont ambient = parentWidget() ? parentWidget()->font() : QApplication::font();
    HoldBackColor(bag.ReadProperty(QStringLiteral("BackColor"), DefaultBackColor()).value<QColor>());
    HoldForeColor(bag.ReadProperty(QStringLiteral("ForeColor"), DefaultForeColor()).value<QColor>());
    QWidget::setEnabled(bag.ReadProperty(QStringLiteral("Enabled"), true).toBool());
    SliderCaption->setFont(bag.ReadProperty(QStringLiteral("Font"), ambient).value<QFont>());
    const bool border = bag.ReadProperty(QStringLiteral("Border"), false).toBool();
    setFrameStyle(border ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
    setLineWidth(1);
    SliderCaption->setText(bag.ReadProperty(QStringLiteral("Caption"), DefaultCaption).toString());
    SliderCaption->adjustSize();
    HandleMaskPicture->setPicture(bag.ReadProperty(QStringLiteral("MaskPicture")).value<QPixmap>());
    BackPicture->setPicture(bag.ReadProperty(QStringLiteral("Picture")).value<QPixmap>());
    Strech->setText(bag.ReadProperty(QStringLiteral("StrechPicture"), DefaultStrech).toString());
    ValueLabel->setText(bag.ReadProperty(QStringLiteral("Value"), DefaultValue).toString());
    Max->setText(bag.ReadProperty(QStringLiteral("MaxValue"), DefaultMaxValue).toString());
    HandlePicture->setPicture(bag.ReadProperty(QStringLiteral("HPicture")).value<QPixmap>());
    HandlePicture->adjustSize();
    MaskBool->setText(BooleanText(bag.ReadProperty(QStringLiteral("Mask"), false).toBool()));
}

void Slider::WriteProperties(forms::PropertyBag& bag) const
{
    const QFont ambient = parentWidget() ? parentWidget()->font() : QApplication::font();
    bag.WriteProperty(QStringLiteral("BackColor"), BackColor(), DefaultBackColor());
    bag.WriteProperty(QStringLiteral("ForeColor"), ForeColor(), DefaultForeColor());
    bag.WriteProperty(QStringLiteral("Enabled"), Enabled(), true);
    bag.WriteProperty(QStringLiteral("Font"), Font(), ambient);
    bag.WriteProperty(QStringLiteral("Border"), Border(), false);
    bag.WriteProperty(QStringLiteral("Caption"), Caption(), DefaultCaption);
    bag.WriteProperty(QStringLiteral("MaskPicture"), PictureValue(MaskPicture()));
    bag.WriteProperty(QStringLiteral("Picture"), PictureValue(Picture()));
    bag.WriteProperty(QStringLiteral("StrechPicture"), Strech->text(), DefaultStrech);
    bag.WriteProperty(QStringLiteral("Value"), ValueLabel->text(), DefaultValue);
    bag.WriteProperty(QStringLiteral("MaxValue"), Max->text(), DefaultMaxValue);
    bag.WriteProperty(QStringLiteral("HPicture"), PictureValue(HPicture()));
    bag.WriteProperty(QStringLiteral("Mask"), ReadsTrue(MaskBool->text()), false);
}

// ---- Placing the handle ----

int Slider::InnerWidth() const { return contentsRect().width(); }
int Slider::InnerHeight() const { return contentsRect().height(); }
int Slider::HandleWidth() const { return HPicture().width(); }
int Slider::HandleHeight() const { return HPicture().height(); }

// With no maximum to scale to there are no pixels per unit, and the handle rests at the left.
void Slider::ScaleToMaximum()
{
    const double maximum = MaxValue();
    pixelsPerUnit_ = maximum > 0 ? (InnerWidth() - HandleWidth()) / maximum : 0;
    handleLeft_ = Whole16(Value() * pixelsPerUnit_);
    Redraw();
}

void Slider::UpdateSlider()
{
    handleLeft_ = pixelsPerUnit_ != 0 ? Whole16(Value() * pixelsPerUnit_ - HandleWidth() / 2.0) : 0;
    handleTop_ = Whole16(InnerHeight() / 2.0 - HandleHeight() / 2.0);
    Redraw();
}

void Slider::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    if (!event->spontaneous()) ScaleToMaximum();
}

void Slider::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    handleLeft_ = Whole16(Value() * pixelsPerUnit_);
    handleTop_ = Whole16(InnerHeight() / 2.0 - HandleHeight() / 2.0);
    Redraw();
}

// ---- Mouse ----

void Slider::mousePressEvent(QMouseEvent* event)
{
    pressedInside_ = true;
    Mouse(MouseStep::Down, event);
}

void Slider::mouseMoveEvent(QMouseEvent* event) { Mouse(MouseStep::Move, event); }

void Slider::mouseReleaseEvent(QMouseEvent* event)
{
    QPointer<Slider> alive(this);
    const bool clicked = pressedInside_ && rect().contains(event->position().toPoint());
    pressedInside_ = false;
    Mouse(MouseStep::Up, event);
    if (alive && clicked) emit Click();
}

void Slider::Mouse(MouseStep step, QMouseEvent* event)
{
    const int button = ButtonsOf(step == MouseStep::Move ? event->buttons() : Qt::MouseButtons(event->button()));
    const int shift = ShiftOf(event->modifiers());
    const double x = event->position().x() - contentsRect().left();
    const double y = event->position().y() - contentsRect().top();
    const double underMouse = pixelsPerUnit_ > 0 ? x / pixelsPerUnit_ : 0;

    QPointer<Slider> alive(this);
    switch (step) {
    case MouseStep::Down: emit MouseDown(button, shift, x, y); break;
    case MouseStep::Move:
        hooverValue_ = std::clamp(underMouse, 0.0, std::max(0.0, MaxValue()));
        emit MouseMove(button, shift, x, y);
        break;
    case MouseStep::Up: emit MouseUp(button, shift, x, y); break;
    }
    if (!alive || button != forms::Button::Left) return;

    const double whole = std::floor(underMouse);
    QString text = NumberText(whole);
    if (whole < 0) text = QStringLiteral("0");
    if (MaxValue() < LeadingNumber(text)) text = Max->text();
    ValueLabel->setText(text);
    const double value = Value();
    emit Change(value);
    if (!alive) return;

    int left = Whole16(value * pixelsPerUnit_ - HandleWidth() / 2.0);
    if (left < 0) left = 0;
    if (left + HandleWidth() > InnerWidth()) left = InnerWidth() - HandleWidth();
    handleLeft_ = left;
    Redraw();
}

// ---- Drawing ----

Slider::Look Slider::CurrentLook() const
{
    return {QSize(InnerWidth(), InnerHeight()), handleLeft_, handleTop_, backColor_, foreColor_, SliderCaption->font(),
        SliderCaption->text(), SliderCaption->size(), BackPicture->Picture().cacheKey(), HandlePicture->Picture().cacheKey(),
        HandleMaskPicture->Picture().cacheKey(), Strech->text(), MaskBool->text()};
}

// A redraw is made once the handler that asked for it has run, and only when the picture changed:
// the host sets the value, maximum and caption on every tick of its position timer, mostly to
// what they were, and setting the maximum alone moves the handle until the value is set too.
void Slider::Redraw()
{
    if (redrawPending_) return;
    redrawPending_ = true;
    QMetaObject::invokeMethod(this, [this] { Settle(); }, Qt::QueuedConnection);
}

void Slider::Settle()
{
    if (!std::exchange(redrawPending_, false)) return;
    DrawSurface();
    if (shown_ == drawn_) return;
    shown_ = drawn_;
    update();
}

// Draws the surface for the current look, unless it shows it already.
void Slider::DrawSurface()
{
    const Look look = CurrentLook();
    if (drawn_ == look) return;
    drawn_ = look;
    const QSize inner = look.inner;
    if (inner.isEmpty()) {
        surface_ = QImage();
        return;
    }
    if (surface_.size() != inner) surface_ = QImage(inner, QImage::Format_RGB32);

    QPainter painter(&surface_);
    forms::IgnoreErrors run;
    run([&] {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(surface_.rect(), BackColor());
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    });
    run([&] {
        const QPixmap& back = BackPicture->Picture();
        if (back.isNull()) return;
        if (ReadsTrue(Strech->text()))
            painter.drawPixmap(QRect(QPoint(0, 0), inner), back, back.rect());
        else
            painter.drawPixmap(0, 0, back);
    });
    run([&] {
        painter.setFont(SliderCaption->font());
        painter.setPen(foreColor_);
        const int x = Whole16(inner.width() / 2.0 - SliderCaption->width() / 2.0);
        const int y = Whole16(inner.height() / 2.0 - SliderCaption->height() / 2.0);
        painter.drawText(QRect(x, y, SliderCaption->width(), SliderCaption->height()),
            Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, SliderCaption->text());
    });
    run([&] {
        const QImage handle = HPicture().toImage().convertToFormat(QImage::Format_RGB32);
        if (handle.isNull()) return;
        const QPoint at(handleLeft_, handleTop_);
        if (ReadsTrue(MaskBool->text())) {
            const QImage mask = MaskPicture().toImage().convertToFormat(QImage::Format_RGB32);
            if (!mask.isNull()) {
                painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
                painter.drawImage(at, mask.copy(handle.rect()));
            }
            painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        } else {
            painter.setCompositionMode(QPainter::CompositionMode_Source);
        }
        painter.drawImage(at, handle);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    });
    painter.end();
}

void Slider::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    // Painted before the redraw was made (a grab): the surface is drawn now, and the screen is
    // still brought up to date when the redraw is made.
    if (redrawPending_) DrawSurface();
    if (surface_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), surface_);
}
