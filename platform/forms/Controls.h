#pragma once

#include "platform/forms/Extent.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

namespace forms {

class Label : public QLabel, public Extent {
    Q_OBJECT
public:
    explicit Label(QWidget* parent, const QString& caption = {});
    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }
};

class CommandButton : public QPushButton, public Extent {
    Q_OBJECT
public:
    explicit CommandButton(QWidget* parent, const QString& caption = {});
    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }
signals:
    void Click();
};

class TextBox : public QLineEdit, public Extent {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent, const QString& text = {});
    QString Text() const { return text(); }
    bool Locked() const { return isReadOnly(); }
    void setLocked(bool on) { setReadOnly(on); }
signals:
    void Change();
};

// Check box values as the program stores them.
namespace CheckValue {
constexpr int Unchecked = 0;
constexpr int Checked = 1;
constexpr int Grayed = 2;
} // namespace CheckValue

class CheckBox : public QCheckBox, public Extent {
    Q_OBJECT
public:
    explicit CheckBox(QWidget* parent, const QString& caption = {});
    int Value() const;
    void setValue(int value);
signals:
    // Raised whenever the value changes, whoever changes it.
    void Click();
};

// Option buttons placed in the same container form one group: choosing one clears the others.
class OptionButton : public QRadioButton, public Extent {
    Q_OBJECT
public:
    explicit OptionButton(QWidget* parent, const QString& caption = {});
    bool Value() const { return isChecked(); }
    void setValue(bool on);
signals:
    void Click();
};

// A container that may show a picture; its children are placed in its own twips.
class PictureBox : public QLabel, public Extent {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent);
    void setPicture(const QPixmap& picture);
    const QPixmap& Picture() const { return picture_; }
    double ScaleWidth() const;
    double ScaleHeight() const;

private:
    QPixmap picture_;
};

// A frame container, with a caption when one is given.
class Frame : public QGroupBox, public Extent {
    Q_OBJECT
public:
    explicit Frame(QWidget* parent, const QString& caption = {});
    QString Caption() const { return title(); }
    void setCaption(const QString& caption);
};

} // namespace forms
