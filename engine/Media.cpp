#include "engine/Media.h"

Media::Media(QWidget* parent)
    : QWidget(parent)
    , Extent(this)
    , Frame1(new forms::PictureBox(this))
{
    Frame1->setStyleSheet(QStringLiteral("background: black;"));
}
