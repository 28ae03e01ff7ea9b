// Putting a new version's files in the place of the installed ones, so that a kill at any
// moment leaves a program that starts. Only the files the install's list names are touched;
// a journal beside the list ("share/vekanto/update-journal") records every step:
//   staging    each changed or added file is written beside its place ("name.vekanto-new");
//   replacing  each old file is kept aside ("name.vekanto-old", a hard link) and the new one
//              renamed over it, the program itself last;
//   replaced   done; the next start of the program removes the kept files.
// A start that finds the journal at staging or replacing puts the old files back.
#pragma once

#include <QString>

#include <functional>

enum class ReplaceOutcome {
    Replaced,
    Refused,   // the install is not what its list says, or a file not ours is in the way
    Failed,    // the new tree is damaged or a write failed; the old files are back in place
};

// Replaces the files of the install at `root` with those of the unpacked tree `newRoot`
// (both hold their list). `afterEachStep` runs after each file written beside its place and
// after each rename (tests stop there).
ReplaceOutcome replaceInstalledFiles(const QString &root, const QString &newRoot, QString *error,
                                     const std::function<void()> &afterEachStep = {});

// At start-up: finishes an update the journal shows done (removes the kept old files) or
// undoes one that was cut short. A journal that cannot be read is left as it is.
void settleInterruptedUpdate(const QString &root);

// The journal's place under a prefix; an update is refused while one exists.
QString updateJournalPath(const QString &root);
