#pragma once

#include "platform/forms/Extent.h"

#include <QWidget>

// The picture-drawn position bar.
class Slider : public QWidget, public forms::Extent {
    Q_OBJECT
public:
    explicit Slider(QWidget* parent);
};
