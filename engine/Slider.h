#pragma once

#include "platform/forms/PropertyBag.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Extent.h"

#include <QColor>
#include <QFont>
#include <QFrame>
#include <QImage>
#include <QPixmap>
#include <QSet>
#include <optional>

// The picture-drawn position bar: a background picture, a centred caption and a handle picture
// (optionally drawn through a mask) on a surface that keeps its image between paints. Clicks and
// drags with the left button move the value between 0 and the maximum. The values and settings
// live in hidden holders and are saved in the host's property set. Coordinates are pixels of the
// surface's inner area.
class Slider : public QFrame, public forms::Extent {
    Q_OBJECT
public:
    explicit Slider(QWidget* parent);

    // Hidden holders of the pictures and values.
    forms::PictureBox* BackPicture;
    forms::PictureBox* HandlePicture;
    forms::PictureBox* HandleMaskPicture;
    forms::Label* ValueLabel;
    forms::Label* Max;
    forms::Label* MaskBool;
    forms::Label* Strech;
    forms::Label* SliderCaption;

    // Properties. Each Let stores the value in its holder, marks the key changed and redraws.
    QColor BackColor() const;
    void setBackColor(const QColor& colour);
    QColor ForeColor() const;
    void setForeColor(const QColor& colour);
    bool Enabled() const;
    void setEnabled(bool on);
    QFont Font() const;
    void setFont(const QFont& font);
    bool Border() const;
    void setBorder(bool on);
    QString Caption() const;
    void setCaption(const QString& caption);
    QPixmap MaskPicture() const;
    void setMaskPicture(const QPixmap& picture);
    QPixmap Picture() const;
    void setPicture(const QPixmap& picture);
    bool StrechPicture() const;
    void setStrechPicture(bool on);
    bool Mask() const;
    void setMask(bool on);
    // Kept between 0 and the maximum; raises Change with the stored value.
    double Value() const;
    void setValue(double value);
    double MaxValue() const;
    void setMaxValue(double value);
    QPixmap HPicture() const;
    void setHPicture(const QPixmap& picture);

    // The value under the mouse at its last move over the bar.
    double HooverValue() const { return hooverValue_; }

    // Places the handle centred on the current value and redraws.
    void UpdateSlider();

    // The persisted property set: read at creation by the host, written when the host saves.
    void ReadProperties(const forms::PropertyBag& bag);
    void WriteProperties(forms::PropertyBag& bag) const;
    // Keys whose property was set since the control was created.
    const QSet<QString>& ChangedProperties() const { return changed_; }

    double PixelsPerUnit() const { return pixelsPerUnit_; }
    int HandleLeft() const { return handleLeft_; }
    int HandleTop() const { return handleTop_; }

signals:
    void Click();
    void MouseDown(int Button, int Shift, double X, double Y);
    void MouseMove(int Button, int Shift, double X, double Y);
    void MouseUp(int Button, int Shift, double X, double Y);
    void Change(double Value);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class MouseStep { Down, Move, Up };
    // Everything the surface shows.
    struct Look {
        QSize inner;
        int handleLeft;
        int handleTop;
        QColor back;
        QColor fore;
        QFont font;
        QString caption;
        QSize captionSize;
        qint64 picture;
        qint64 handle;
        qint64 mask;
        QString strech;
        QString maskOn;
        bool operator==(const Look&) const = default;
    };
    Look CurrentLook() const;
    void Mouse(MouseStep step, QMouseEvent* event);
    void ScaleToMaximum();
    void Redraw();
    void Settle();
    void DrawSurface();
    void PropertyChanged(const QString& key) { changed_.insert(key); }
    void HoldBackColor(const QColor& colour);
    void HoldForeColor(const QColor& colour);
    int InnerWidth() const;
    int InnerHeight() const;
    int HandleWidth() const;
    int HandleHeight() const;

    QColor backColor_;
    QColor foreColor_;
    QImage surface_;
    // What the surface shows, and what the screen was last asked to show.
    std::optional<Look> drawn_;
    std::optional<Look> shown_;
    bool redrawPending_ = false;
    double pixelsPerUnit_ = 0;
    int handleLeft_ = 0;
    int handleTop_ = 0;
    double hooverValue_ = 0;
    bool pressedInside_ = false;
    QSet<QString> changed_;
};
