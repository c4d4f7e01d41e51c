// The audio track list of the component. The audio disc window's developer fills these in; until
// then the list stays empty and refuses tracks.
#include "components/cdwriter/CDWriterXP.h"

void CDWriterXP::ClearTracks() { }

int CDWriterXP::TrackCount() { return 0; }

qint64 CDWriterXP::TotalBlocks() { return 0; }

QString CDWriterXP::SizeToTime(qint64 size)
{
    // Audio blocks: 75 to the second.
    const qint64 seconds = size / 75;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

bool CDWriterXP::RemoveTrack(int) { return false; }

bool CDWriterXP::AddTrack(const QString&, int) { return false; }

bool CDWriterXP::ListTracks() { return true; }
