#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>
#include <functional>

namespace forms {

// What the program asks of the desktop's common dialogs, and what comes back after OK. Colours
// are in the program's 0x00BBGGRR form. Owner is the window handle that owns the dialog (0: none).

struct FileRequest {
    bool save = false;
    quintptr owner = 0;
    QString title;
    QString initialFolder;
    // The name the dialog proposes, as the file-name field shows it at first.
    QString fileName;
    // Description and pattern list of each filter pair, in order; patterns are separated by ";".
    QStringList descriptions;
    QStringList patterns;
    // The pair (from 1) chosen at first; the first one when there is no such pair.
    int filterIndex = 1;
    QString defaultExtension;
    int flags = 0;
    // When set, the dialog shows beside its list the picture this gives for the file chosen in it
    // (a null picture for none).
    std::function<QImage(const QString& path)> preview;
};

struct FileResult {
    QString path;
    // 1-based pair of the filter list the user chose; 0 without a filter list.
    int filterIndex = 0;
    // The request's flags as the dialog hands them back, with ExtensionDifferent when the chosen
    // name's extension is not the default one.
    int flags = 0;
    static constexpr int ExtensionDifferent = 0x400;
};

struct ColorRequest {
    quintptr owner = 0;
    int flags = 0;
    std::array<int, 16> customColors {};
};

struct ColorResult {
    int color = 0;
    std::array<int, 16> customColors {};
};

struct FontRequest {
    quintptr owner = 0;
    int flags = 0;
    QString faceName;
    int minSize = 0;
    int maxSize = 0;
};

struct FontResult {
    QString faceName;
    // Character height in logical pixels of the screen, negative as the font record keeps it.
    int height = 0;
    // 100 (thin) to 900 (black); 400 is regular.
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = 0;
    int color = 0;
    int hDC = 0;
};

struct PrinterRequest {
    quintptr owner = 0;
    int flags = 0;
    int fromPage = 0;
    int toPage = 0;
    int minPage = 0;
    int maxPage = 0;
    // The application's current printer.
    QString driverName;
    QString deviceName;
    QString port;
};

// The printer chosen and its settings, with the platform's numbering (orientation 1 portrait,
// 2 landscape; duplex 1 simplex, 2 long edge, 3 short edge; colour 1 monochrome, 2 colour).
struct PrinterResult {
    int flags = 0;
    int copies = 1;
    int fromPage = 0;
    int toPage = 0;
    int hDC = 0;
    QString driverName;
    QString deviceName;
    QString port;
    bool isDefault = false;
    int orientation = 1;
    int defaultSource = 0;
    int collate = 0;
    int color = 0;
    int displayFlags = 0;
    int driverVersion = 0;
    int duplex = 1;
    int fields = 0;
    int paperLength = 0;
    int paperSize = 0;
    int paperWidth = 0;
    int printQuality = 0;
    int scale = 100;
    int specVersion = 0;
    int ttOption = 0;
    int yResolution = 0;
};

// The folder browser's root: the number of a special folder (0 the whole file system, 17 the
// mounted drives).
struct FolderRequest {
    quintptr owner = 0;
    int root = 0;
    QString title;
    int flags = 0;
};

// A call of the help viewer: command 1 shows the topic of a context number, other commands take
// a text (a keyword) or nothing.
struct HelpRequest {
    quintptr owner = 0;
    QString helpFile;
    int command = 0;
    QVariant data;
};

} // namespace forms
