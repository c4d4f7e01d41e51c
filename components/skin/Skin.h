#pragma once

#include "platform/forms/Controls.h"

#include <QHash>
#include <QIcon>
#include <QObject>
#include <QString>

class QWidget;

// The skin component: the program's one look, a style sheet with its images shipped in the
// program, put on a window by its handle and taken off again.
class Skin : public QObject {
    Q_OBJECT
public:
    explicit Skin(QObject* parent = nullptr);

    // Paints the window with the skin; a handle that names no window of the program does nothing.
    void ApplySkin(quintptr hWnd);
    // Gives the window back the look it had before ApplySkin.
    void RemoveSkin(quintptr hWnd);

    // The skin's style sheet text.
    static QString StyleSheet();
    // The program's icon as the skin draws it.
    static QIcon ProgramIcon();

private:
    // The look each skinned window had before, by window (its handle may change while skinned).
    QHash<QWidget*, QString> previous_;
};

// A label drawn in the skin's accent.
class SkinLabel : public forms::Label {
    Q_OBJECT
public:
    SkinLabel(QWidget* parent, const QString& caption = {});
};
