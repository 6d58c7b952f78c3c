#pragma once

#include <QString>

// Every path of the install comes from here. The root is C:\VELTRA\수리볼\ on Windows; elsewhere the
// folder named by SURIBALL_ROOT, or ~/VELTRA/수리볼. Paths are returned without a trailing separator.
namespace InstallPaths {

QString root();
QString binDir();
QString dataDir();
QString prDir();
QString docDir();
QString tempDir();

QString systemDb();
QString userDbTemplate();
// The member's own database, "id_" + ID + ".mdb" in DATA. The file name is lower-cased because the
// names were matched without regard to case where the program came from; the folders keep their case.
QString userDb(const QString& userId);
QString systemIfo();
QString prIfo();
QString dateFormatHelp();

// The service's public key for updates (BIN/UPDATE.KEY), the note of refused updates (BIN/UPDATE.NOTE)
// and the record of a copy of new files under way (TEMP/UPDATE.RUN).
QString updateKey();
QString updateNote();
QString updateJournal();

QString mainProgram();
QString updaterProgram();

// A path of the install given relative to the root (as settings keep them, to stay short) or absolute.
QString resolve(const QString& path);

} // namespace InstallPaths

// The program files as they came, outside any install: the package puts the programs and the setup tool
// in one folder (/usr/lib/suriball), the build tree in app/, updater/ and setup/.
namespace ProgramFiles {

// The setup tool that came with the running program: beside it, in the build tree's setup/ folder, or
// the one on the PATH.
QString setupTool();
// Where the setup tool takes the programs it copies into an install: beside itself (the package), else
// app/ and updater/ beside its own folder (the build tree). Empty where neither holds them.
QString mainProgramBeside(const QString& setupToolDir);
QString updaterProgramBeside(const QString& setupToolDir);

} // namespace ProgramFiles
