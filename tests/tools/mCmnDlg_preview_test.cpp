// The save dialog with a video preview, as the desktop shows it.
#include "platform/forms/UserInterface.h"
#include "tests/support/Patience.h"
#include "tests/support/TempDir.h"
#include "tests/tools/MediaProbe.h"
#include "tools/mCmnDlg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QLabel>
#include <QTimer>
#include <gtest/gtest.h>

TEST(mCmnDlgPreview, TheSaveDialogShowsThePictureOfTheChosenVideo)
{
    TempDir dir;
    const QString clip = dir.file("clip.avi");
    ASSERT_TRUE(media::Ffmpeg({"-f", "lavfi", "-i", "smptebars=size=320x240:rate=25", "-t", "1", "-c:v", "mjpeg", clip}));

    forms::UserInterface* scripted = forms::SetUserInterface(nullptr);
    bool previewed = false;
    auto* poll = new QTimer;
    int tries = 0;
    QObject::connect(poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (++tries > 3000) poll->stop();
            return;
        }
        poll->stop();
        auto* picture = dialog->findChild<QLabel*>("preview");
        if (picture) {
            // The user clicks the file in the list.
            auto* list = dialog->findChild<QListView*>("listView");
            auto* files = dialog->findChild<QFileSystemModel*>();
            if (list && files) list->setCurrentIndex(files->index(clip));
            QElapsedTimer clock;
            clock.start();
            while (picture->pixmap().isNull() && clock.elapsed() < Patience)
                QApplication::processEvents();
            previewed = !picture->pixmap().isNull();
        }
        static_cast<QDialog*>(dialog)->accept();
    });
    poll->start(10);

    QString name;
    QString title;
    bool readOnly = false;
    QString filter = "AVI files (*.avi)|*.avi";
    int index = 1;
    int flags = 0;
    const bool chosen = mCmnDlg::ShowSavePreviewDialog(
        name, title, false, false, readOnly, false, filter, index, dir.path(), "Save AVI File", "avi", -1, flags);
    forms::SetUserInterface(scripted);
    delete poll;

    EXPECT_TRUE(previewed) << "the picture of the chosen video shows beside the list";
    EXPECT_TRUE(chosen);
    EXPECT_EQ(name, clip);
    EXPECT_EQ(title, "clip.avi");
}
