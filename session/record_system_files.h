#pragma once
// The system's own files a recording keeps, under its root folder: the sysfs, procfs, /etc and
// /run files the collectors read, by a fixed list of names. Nothing else is read: some sysfs
// files hang or wake hardware when read (a device's ROM, VPD or configuration space).

#include "session/tree_copier.h"

namespace velora {

// Copies them through copier; serials false leaves out every serial number, UUID and MAC
// address (the sysfs attributes holding them, and udev's lines naming them).
void RecordSystemFiles(TreeCopier& copier, bool serials);

}  // namespace velora
