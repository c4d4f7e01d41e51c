#pragma once

// A drive stand-in with a damaged disc: the test program's own cdio_read_audio_sectors takes the
// place of libcdio's for every reader in the process, and reads the image through libcdio's,
// except that a read that takes in an unreadable sector fails, as a drive's read does, and one that
// takes in the hanging sector waits until Mend is called or a long time has passed. Undamaged, it
// is libcdio's own.
namespace damage {

void MakeUnreadable(int firstSector, int count);
void MakeHang(int sector);
// Reads waiting at the hanging sector now.
int Hanging();
// Reads that waited at the hanging sector until the time ran out: someone waited for them.
int TimedOut();
// Lets every waiting read go, failed, and takes the damage away.
void Mend();

} // namespace damage
