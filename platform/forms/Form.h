#pragma once

#include "platform/forms/Extent.h"

#include <QMainWindow>
#include <QMargins>
#include <functional>
#include <map>
#include <optional>
#include <typeindex>

class QEventLoop;

namespace forms {

class MenuItem;

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };
enum class ShowMode { Modeless = 0, Modal = 1 };

// A window of the program. Controls are placed on its client area in twips; the menu bar sits
// above it. A form raises Load once before it is first shown, Resize whenever its client area
// changes size, Unload (which may cancel) when it is closed or unloaded, and Terminate last.
class Form : public QMainWindow, public Extent {
    Q_OBJECT
public:
    explicit Form(QWidget* parent = nullptr);
    ~Form() override;

    // The client area: parent of the window's controls.
    QWidget* Client() const { return client_; }

    QString Caption() const { return windowTitle(); }
    void setCaption(const QString& caption) { setWindowTitle(caption); }

    double ScaleWidth() const;
    double ScaleHeight() const;

    WindowState State() const;
    void setState(WindowState state);

    // Raises Load the first time; later calls do nothing.
    void Load();
    bool IsLoaded() const { return loaded_; }
    // Loads the form if needed and shows it. A modal show returns when the form is hidden or
    // unloaded.
    void Show(ShowMode mode = ShowMode::Modeless);
    void Hide() { hide(); }
    // Raises Unload; unless it is cancelled, the form closes, raises Terminate and is deleted
    // later. Returns false when Unload cancelled.
    bool Unload();

    // Keeps the window above all others, or not: a state the window manager keeps, so the
    // window and what draws into it stay as they are.
    void SetTopmost(bool topmost);
    bool Topmost() const;

    // Shows a menu at the cursor and returns when the user has chosen or dismissed it.
    void PopupMenu(MenuItem& menu);

    // Ends the program: every form closes, and only the caller's unload handler has run.
    static void EndProgram();
    // True once EndProgram ran: the program is closing.
    static bool ProgramEnded();

signals:
    void Unloaded();

protected:
    virtual void Form_Load() { }
    virtual void Form_Unload(int& /*cancel*/) { }
    virtual void Form_Resize() { }
    virtual void Form_Terminate() { }

    QRectF Geometry() const override;
    void ApplyGeometry(const QRectF& twips) override;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The window manager told the frame it draws around the window.
    void FrameExtentsKnown();
    // The frame around the client area: as the window manager reported it, or the best guess.
    QMargins Frame() const;

    QWidget* client_;
    bool topmost_ = false;
    // The window manager's frame, once it has told.
    std::optional<QMargins> frameExtents_;
    // The outer rectangle asked for before the frame was known, applied once it is.
    std::optional<QRectF> pendingOuter_;
    // The outer rectangle last set, in twips, and the client rectangle it gave: reads back as set
    // while the window keeps that rectangle.
    QRectF outerTwips_;
    bool placed_ = false; // the program has put the window somewhere itself
    QRect innerPixels_;
    bool loaded_ = false;
    bool unloading_ = false;
    QEventLoop* modalLoop_ = nullptr;
    QRect normalGeometry_;
};

// One instance per window class, as the program's windows expect: the first use creates the
// window, unloading it forgets it, and the next use creates a fresh one.
class Instances {
public:
    template <class F> static F& Of()
    {
        auto it = table().find(typeid(F));
        if (it == table().end()) {
            F* form = new F();
            Register(typeid(F), form);
            return *form;
        }
        return *static_cast<F*>(it->second);
    }
    template <class F> static F* Existing()
    {
        auto it = table().find(typeid(F));
        return it == table().end() ? nullptr : static_cast<F*>(it->second);
    }
    template <class F> static bool Exists() { return Existing<F>() != nullptr; }
    static void Forget(Form* form);
    // Every window in existence, in the order the windows were created.
    static std::vector<Form*> All();

private:
    static void Register(std::type_index type, Form* form);
    static std::map<std::type_index, Form*>& table();
};

template <class F> F& Instance() { return Instances::Of<F>(); }

} // namespace forms
