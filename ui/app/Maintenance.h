#pragma once

class QWidget;

namespace mlk {
class TMainDM;
}

namespace mlk::ui {

// The 数据维护 menu: backing up, checking and restoring the database, each with its progress in
// a box of its own and its questions and results through the dialog seam.

// Asks where to save the backup, proposing the unit's node name and the time, and saves it.
void BackupDatabaseClick(QWidget* parent, TMainDM& dm);
// The engine's full check; the result in words a clerk understands.
void CheckDatabaseClick(QWidget* parent, TMainDM& dm);
// Asks for a backup, checks it, warns when it is another unit's, asks, keeps a safety copy and
// puts the backup in the database's place. True when the database was replaced: the main
// window then follows the restored unit.
bool RestoreDatabaseClick(QWidget* parent, TMainDM& dm);

}  // namespace mlk::ui
