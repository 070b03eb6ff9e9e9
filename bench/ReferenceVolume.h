#pragma once
// A reference database at the size of a full publication: a copy of the sample data
// whose Canada-wide volume 3 table and raw description table are filled up with
// synthetic industries, spread over the sector folders and over added sub-folders.

#include <QString>

// Copies the sample database to targetPath and adds industries until the volume 3
// table of 2011 holds `industries` rows, with `extraFolders` more folders in the tree.
// Returns an empty string on success, else what went wrong.
QString writeReferenceVolume(const QString& samplePath, const QString& targetPath, int industries,
                             int extraFolders);
