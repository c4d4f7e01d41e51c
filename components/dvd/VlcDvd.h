#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <cstdint>

struct libvlc_instance_t;
struct libvlc_media_player_t;
struct libvlc_event_t;

// One libvlc player of a DVD with its disc navigation, used from the user-interface thread.
// libvlc reports from its own threads; each report is handed to the user-interface thread and
// raised there as a signal. Titles are numbered as the disc numbers them (title 0 stands for the
// menus), chapters from 0.
class VlcDvd : public QObject {
    Q_OBJECT
public:
    // Outputs: with nullOutputs the picture and the sound go nowhere.
    explicit VlcDvd(bool nullOutputs, QObject* parent = nullptr);
    ~VlcDvd() override;

    // False when the library could not start.
    bool Ok() const { return player_ != nullptr; }

    // The disc to play: a DVD device, an ISO image or a VIDEO_TS folder (or the folder above it).
    void SetDisc(const QString& disc);
    // The native window the picture is drawn into.
    void SetWindow(quintptr window);

    void Start();
    void Stop();
    void SetPause(bool paused);
    // True while the disc is being played or paused.
    bool Running() const;
    bool Paused() const;

    int Title() const;
    int TitleCount() const;
    void SetTitle(int title);
    int Chapter() const;
    // The chapters of a title as the disc's table of titles gives them.
    int ChapterCount(int title) const;
    void SetChapter(int chapter);

    // Position in the title in milliseconds, -1 when there is none.
    std::int64_t Time() const;
    // Length of a title in milliseconds as the disc's table of titles gives it, -1 when unknown.
    std::int64_t Length(int title) const;
    void SetTime(std::int64_t ms);
    void SetRate(double rate);
    double Rate() const;
    void SetMute(bool muted);

    enum class Navigation { Activate, Up, Down, Left, Right };
    void Navigate(Navigation step);

    // The picture's own size and frame rate; empty or 0 while unknown.
    QSize PictureSize() const;
    double FrameRate() const;
    // The part of the picture shown, as the picture's pixels cut off at the left, top, right and
    // bottom ("L+T+R+B"); empty for all of it.
    void SetCrop(const QString& geometry);

signals:
    void Playing();
    void Ended();
    void Failed();
    void TitleChanged(int title);

private:
    static void OnEvent(const libvlc_event_t* event, void* self);
    void Attach(bool on);

    libvlc_instance_t* vlc_ = nullptr;
    libvlc_media_player_t* player_ = nullptr;
    // Reports from libvlc's threads are queued here; deleting it drops those not yet delivered.
    QObject* context_ = nullptr;
};
