#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Extent.h"

#include <QWidget>

// The playback control: one media file on the device alias "music", its video bound to Frame1.
class Media : public QWidget, public forms::Extent {
    Q_OBJECT
public:
    explicit Media(QWidget* parent);

    forms::PictureBox* Frame1;
};
