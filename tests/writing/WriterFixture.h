#pragma once

#include "components/cdwriter/CDWriterXP.h"
#include "tests/support/TempDir.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// Processes events until the condition holds; false when it did not within the limit.
bool WaitFor(const std::function<bool()>& condition, int milliseconds = 120000);

// Runs a tool and returns what it wrote to its standard output; exitCode gets its exit status.
QString RunTool(const QString& program, const QStringList& arguments, int* exitCode = nullptr);

// The number of sessions the xorriso tool reads from a disc image.
int SessionsOnImage(const QString& image);
// Copies every file of an ISO image into a folder with the xorriso tool; true when it worked. A
// session other than the last is read when its number (from 1) is given.
bool ExtractImage(const QString& image, const QString& folder, int session = 0);
// The paths of the files in the last session of an image, as the xorriso tool finds them.
QStringList FilesOnImage(const QString& image);
// Where the xorriso tool would write the next session of an image, in blocks.
int NextWritableAddress(const QString& image);

// Makes a small folder tree to add to an image: names with and without dots, a hidden file, a
// name with blanks and non-ASCII letters, a subfolder, an empty file.
void MakeSourceTree(const QString& folder);
void MakeFile(const QString& path, qint64 size, char fill = 'x');

// A writer component whose drive list holds the disc-image recorder, writing to recorder.iso in
// a fresh folder; the recorder is open.
class RecorderFixture {
public:
    RecorderFixture();
    ~RecorderFixture();

    TempDir dir;
    QString image;
    std::unique_ptr<CDWriterXP> writer;
    // The number and text of the last WriteError.
    QString lastError;

    // Starts a data write of the current image and waits for its last event; returns that event's
    // name ("WriteComplete", "WriteCancelled" or "WriteError").
    QString WriteAndWait();
    // Waits for the end of a job already started.
    QString WaitForEnd();

private:
    QString last_;
};
